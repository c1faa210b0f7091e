// The labelled edit: label placement, category and unit selection, the unit menu, the
// catalogue language shared by every labelled edit, and the registry forms.
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "controls/EditFDlg.h"
#include "controls/LabeledEditF.h"
#include "controls/ToolsText.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"

namespace {

constexpr int kAngle = 3;
constexpr int kDegrees = 2;
constexpr int kLastCategory = 31;

// An angle edit in degrees holding 5 degrees, like the bridle angle of the dialog.
void MakeBridleAngle(TLabeledEditF& e)
{
  {
    TEditFInit init(e);
    e.setObjectName(QStringLiteral("BridleAngle"));
    e.SetValMin(-1.5707963267948966L);
    e.SetValMax(1.5707963267948966L);
    e.SetValDimensionTypeIdx(kAngle);
    e.SetValDimensionIdx(kDegrees);
  }
  e.SetValue(0.08726646259971647L);
}

QStringList MenuCaptions(const QMenu* menu)
{
  QStringList captions;
  for (const QAction* item : menu->actions())
    captions << item->text();
  return captions;
}

QAction* CheckedItem(const QMenu* menu)
{
  for (QAction* item : menu->actions())
    if (item->isChecked())
      return item;
  return nullptr;
}

}  // namespace

class TLabeledEditFTest : public QObject {
  Q_OBJECT

private slots:
  void init() { ProcessNumberLocale() = TNumberLocale{'.', '\0'}; }

  void StartsDimensionless()
  {
    QWidget panel;
    auto* e = new TLabeledEditF(&panel);
    QCOMPARE(e->ValDimensionIdx(), 0);
    QCOMPARE(e->ValDimensionTypeIdx(), 0);
    QCOMPARE(e->ValDimension(), QStringLiteral("<Dimless>"));
    QCOMPARE(e->ValDimensionType(), QString());
    QCOMPARE(e->ValDimensionLang(), QString());
    QCOMPARE(e->ValDimLabel()->Caption(), QString());
    QCOMPARE(e->ValMultiplier(), Real(1));
    QCOMPARE(e->ValLabelPosition(), TLabelPosition::lpLeft);
    QCOMPARE(e->ValDimPosition(), TLabelPosition::lpRight);
    QCOMPARE(e->ValLabelSpacing(), 3);
    QCOMPARE(e->ValDimSpacing(), 3);
    QCOMPARE(e->ValLabel()->objectName(), QStringLiteral("SubLabel"));
    QCOMPARE(e->ValDimLabel()->objectName(), QStringLiteral("SubLabelDim"));
    QCOMPARE(e->ValLabel()->parentWidget(), &panel);
    QCOMPARE(e->ValDimLabel()->cursor().shape(), Qt::PointingHandCursor);
    // An empty unit caption still leaves a blank's width to click on.
    QVERIFY(e->ValDimLabel()->width() > 0);
    QVERIFY(e->ValDimLabel()->height() > 0);
    e->setObjectName(QStringLiteral("WDens"));
    QCOMPARE(e->ValLabel()->Caption(), QStringLiteral("WDens"));
    QCOMPARE(e->ValDimLabel()->Caption(), QString());
  }

  void LabelPlacement_data()
  {
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("caption");
    QTest::addColumn<QPoint>("unit");
    // Edit at 308, 332, 73 x 21; caption label 74 x 26; unit label 30 x 13; gaps 3.
    QTest::newRow("above") << int(TLabelPosition::lpAbove) << QPoint(308, 303) << QPoint(308, 316);
    QTest::newRow("below") << int(TLabelPosition::lpBelow) << QPoint(308, 356) << QPoint(308, 356);
    QTest::newRow("left") << int(TLabelPosition::lpLeft) << QPoint(231, 330) << QPoint(275, 336);
    QTest::newRow("right") << int(TLabelPosition::lpRight) << QPoint(384, 330) << QPoint(384, 336);
  }

  void LabelPlacement()
  {
    QFETCH(int, position);
    QFETCH(QPoint, caption);
    QFETCH(QPoint, unit);
    QWidget panel;
    auto* e = new TLabeledEditF(&panel);
    e->ValLabel()->SetAutoSize(false);
    e->ValLabel()->resize(74, 26);
    e->ValDimLabel()->SetAutoSize(false);
    e->ValDimLabel()->resize(30, 13);
    e->setGeometry(308, 332, 73, 21);
    e->SetValLabelPosition(static_cast<TLabelPosition>(position));
    e->SetValDimPosition(static_cast<TLabelPosition>(position));
    QCOMPARE(e->ValLabel()->pos(), caption);
    QCOMPARE(e->ValDimLabel()->pos(), unit);
    QCOMPARE(e->ValLabel()->size(), QSize(74, 26));
  }

  void LabelsTravelWithTheEdit()
  {
    QWidget panel;
    auto* e = new TLabeledEditF(&panel);
    e->ValDimLabel()->SetAutoSize(false);
    e->ValDimLabel()->resize(20, 13);
    panel.show();  // a hidden edit reports its moves when it is shown
    e->setGeometry(255, 40, 59, 21);
    QCOMPARE(e->ValDimLabel()->pos(), QPoint(317, 44));  // right of it, centred
    e->move(100, 100);
    QCOMPARE(e->ValDimLabel()->pos(), QPoint(162, 104));
    // A new caption fits the label to its text but does not move it.
    e->ValLabel()->SetCaption(QStringLiteral("A much longer caption:"));
    const QPoint before = e->ValLabel()->pos();
    e->ValLabel()->SetCaption(QStringLiteral("Short:"));
    QCOMPARE(e->ValLabel()->pos(), before);
    QCOMPARE(e->ValLabel()->width(), e->ValLabel()->sizeHint().width());
  }

  void LabelsFollowParentVisibilityAndState()
  {
    QWidget panel;
    auto* e = new TLabeledEditF;
    QVERIFY(!e->ValLabel()->parentWidget());
    e->setParent(&panel);
    QCOMPARE(e->ValLabel()->parentWidget(), &panel);
    QCOMPARE(e->ValDimLabel()->parentWidget(), &panel);
    panel.show();
    QVERIFY(e->ValLabel()->isVisible());
    e->hide();
    QVERIFY(!e->ValLabel()->isVisible());
    QVERIFY(!e->ValDimLabel()->isVisible());
    e->show();
    QVERIFY(e->ValDimLabel()->isVisible());
    e->setEnabled(false);
    QVERIFY(!e->ValLabel()->isEnabled());
    e->setLayoutDirection(Qt::RightToLeft);
    QCOMPARE(e->ValDimLabel()->layoutDirection(), Qt::RightToLeft);

    // A label destroyed on its own is forgotten.
    delete e->ValDimLabel();
    QCOMPARE(e->ValDimLabel(), nullptr);
    e->move(10, 10);
    e->SetValDimensionTypeIdx(kAngle);
    e->SetValDimPosition(TLabelPosition::lpAbove);
    QCOMPARE(e->ValDimPosition(), TLabelPosition::lpRight);  // kept while the label is missing
    delete e;
    QCOMPARE(panel.findChildren<QLabel*>().size(), 0);  // the edit took its labels along
  }

  void CategoryAndUnitIndices()
  {
    TLabeledEditF e;
    e.SetValDimensionTypeIdx(99);
    QCOMPARE(e.ValDimensionTypeIdx(), kLastCategory);
    QCOMPARE(e.ValDimensionIdx(), 0);
    QCOMPARE(e.ValDimensionType(), QStringLiteral("Viscosity Kinematic"));
    QCOMPARE(e.ValDimension(), QStringLiteral("Meter^2/Second"));
    e.SetValDimensionIdx(-4);
    QCOMPARE(e.ValDimensionIdx(), 0);
    e.SetValDimensionIdx(7);
    QCOMPARE(e.ValDimensionIdx(), 1);
    QCOMPARE(e.ValDimLabel()->Caption(), QStringLiteral("stokes"));
    QCOMPARE(e.ValMultiplier(), 0.0001L);

    e.SetValDimensionType(QStringLiteral("Force"));
    QCOMPARE(e.ValDimensionTypeIdx(), 13);
    e.SetValDimension(QStringLiteral("Kilonewtons [kN]"));
    QCOMPARE(e.ValDimLabel()->Caption(), QStringLiteral("kN"));
    e.SetValDimension(QStringLiteral("kilonewtons [kN]"));  // letter case counts: no match
    e.SetValDimensionType(QStringLiteral("No such category"));
    QCOMPARE(e.ValDimensionTypeIdx(), 13);
    QCOMPARE(e.ValDimensionIdx(), 1);
  }

  void TextFormsWaitForTheEndOfInitialisation()
  {
    TLabeledEditF e;
    {
      TEditFInit init(e);
      e.SetValDimensionTypeIdx(kAngle);
      e.SetValDimensionIdx(kDegrees);
      e.SetValDimension(QStringLiteral("Radians [rad]"));
      e.SetValDimensionType(QStringLiteral("Force"));
      e.SetValDimensionLang(QStringLiteral("RUS"));
      e.ValDimLabel()->SetCaption(QStringLiteral("degrees"));  // the layout's own caption stays
    }
    QCOMPARE(e.ValDimensionTypeIdx(), kAngle);
    QCOMPARE(e.ValDimensionIdx(), kDegrees);
    QCOMPARE(e.ValDimensionLangIdx(), 0);
    QCOMPARE(e.ValDimLabel()->Caption(), QStringLiteral("degrees"));
  }

  void UnitMenuSwitchesTheDisplayUnit()
  {
    QWidget panel;
    auto* e = new TLabeledEditF(&panel);
    MakeBridleAngle(*e);
    e->setGeometry(50, 50, 60, 21);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCOMPARE(e->text(), QStringLiteral("5"));
    QSignalSpy clicked(e->ValDimLabel(), &TBoundLabelDim::Clicked);

    QTest::mouseClick(e->ValDimLabel(), Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QMenu* menu = e->ValDimLabel()->PopupMenu();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(MenuCaptions(menu),
             QStringList({QStringLiteral("Radians [rad]"), QStringLiteral("Steradian [sr]"), QStringLiteral("Degrees [deg]")}));
    QCOMPARE(CheckedItem(menu)->text(), QStringLiteral("Degrees [deg]"));
    menu->actions().at(0)->trigger();
    menu->hide();
    QCOMPARE(e->ValDimLabel()->Caption(), QStringLiteral("rad"));
    QCOMPARE(e->ValDimension(), QStringLiteral("Radians [rad]"));
    QCOMPARE(e->text(), QStringLiteral("0.087"));
    QCOMPARE(e->Val(), 0.08726646259971647L);  // the value itself never moves

    // Picking the checked unit again changes nothing; with the comma separator the text
    // follows the locale.
    ProcessNumberLocale() = TNumberLocale{',', ' '};
    e->ValDimLabel()->ShowUnitMenu();
    QCOMPARE(CheckedItem(menu)->text(), QStringLiteral("Radians [rad]"));
    CheckedItem(menu)->trigger();
    QCOMPARE(e->ValDimensionIdx(), 0);
    menu->actions().at(kDegrees)->trigger();
    menu->hide();
    QCOMPARE(e->text(), QStringLiteral("5"));
    e->SetValue(0.1L);
    QCOMPARE(e->text(), QStringLiteral("5,73"));
  }

  void PercentOfTheDimensionlessCategory()
  {
    TLabeledEditF e;
    e.SetValCheck(false);
    e.SetValue(0.25L);
    QCOMPARE(e.text(), QStringLiteral("0.25"));
    e.ValDimLabel()->ShowUnitMenu();
    QMenu* menu = e.ValDimLabel()->PopupMenu();
    QCOMPARE(MenuCaptions(menu), QStringList({QStringLiteral("<Dimless>"), QStringLiteral("Percent [%]")}));
    menu->actions().at(1)->trigger();
    menu->hide();
    QCOMPARE(e.text(), QStringLiteral("25"));
    QCOMPARE(e.ValDimLabel()->Caption(), QStringLiteral("%"));
  }

  // Back on the dimensionless unit, whose caption is empty, the unit label can still be
  // clicked where it stands to open the menu again.
  void EmptyUnitLabelStaysClickable()
  {
    QWidget panel;
    auto* e = new TLabeledEditF(&panel);
    e->SetValCheck(false);
    e->setGeometry(50, 50, 60, 21);
    panel.resize(200, 120);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    TBoundLabelDim* label = e->ValDimLabel();
    QMenu* menu = label->PopupMenu();
    label->ShowUnitMenu();
    menu->actions().at(1)->trigger();  // Percent [%]
    menu->hide();
    QTest::mouseClick(label, Qt::LeftButton);
    QTRY_VERIFY(menu->isVisible());
    menu->actions().at(0)->trigger();  // <Dimless>
    menu->hide();
    QCOMPARE(label->Caption(), QString());
    const QPoint spot = label->pos() + QPoint(10, label->height() / 2);
    QWidget* hit = panel.childAt(spot);
    QCOMPARE(hit, static_cast<QWidget*>(label));
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&panel, spot));
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(CheckedItem(menu)->text(), QStringLiteral("<Dimless>"));
    menu->hide();
  }

  void LanguageRenamesEveryLabelledEdit()
  {
    TLabeledEditF a;
    TLabeledEditF b;
    MakeBridleAngle(a);
    MakeBridleAngle(b);
    a.SetValDimensionLangIdx(5);
    QCOMPARE(a.ValDimensionLangIdx(), 1);
    QCOMPARE(a.ValDimensionLang(), QStringLiteral("RUS"));
    QCOMPARE(DimensionsLanguage(), 1);
    for (TLabeledEditF* e : {&a, &b}) {
      QCOMPARE(e->ValDimensionType(), QStringLiteral("Угол"));
      QCOMPARE(e->ValDimension(), QStringLiteral("Градусы [град]"));
      QCOMPARE(e->ValDimLabel()->Caption(), QStringLiteral("град"));
      QCOMPARE(e->ValDimensionLangIdx(), 1);
      QCOMPARE(e->text(), QStringLiteral("5"));
    }
    b.ValDimLabel()->ShowUnitMenu();
    QCOMPARE(b.ValDimLabel()->PopupMenu()->actions().at(0)->text(), QStringLiteral("Радианы [рад]"));
    b.ValDimLabel()->PopupMenu()->hide();
    b.SetValDimension(QStringLiteral("Радианы [рад]"));
    QCOMPARE(b.ValDimLabel()->Caption(), QStringLiteral("рад"));

    // By code: the first language whose code begins with the text.
    a.SetValDimensionLang(QStringLiteral("E"));
    QCOMPARE(a.ValDimensionLangIdx(), 0);
    QCOMPARE(b.ValDimension(), QStringLiteral("Radians [rad]"));
    a.SetValDimensionLang(QString());
    a.SetValDimensionLang(QStringLiteral("X"));
    QCOMPARE(a.ValDimensionLangIdx(), 0);

    // A new labelled edit loads language 0 again, and the others follow it back.
    a.SetValDimensionLangIdx(1);
    TLabeledEditF c;
    QCOMPARE(DimensionsLanguage(), 0);
    QCOMPARE(a.ValDimensionType(), QStringLiteral("Angle"));
    QCOMPARE(a.ValDimensionLangIdx(), 0);
  }

  void RegistryCarriesValueCategoryAndUnit()
  {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("r.ini"));
    TSettingsRegistry reg(file);
    QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), true));
    TMessageCapture boxes;
    {
      TLabeledEditF e;
      MakeBridleAngle(e);
      e.SetValDimension(QStringLiteral("Radians [rad]"));
      e.SetValue(0.5L);
      QVERIFY(e.SaveToRegistry(reg));
      TLabeledEditF plain;  // category never chosen: its name is empty
      plain.setObjectName(QStringLiteral("Plain"));
      QVERIFY(plain.SaveToRegistry(reg));
    }
    QVERIFY(reg.ReadString(QStringLiteral("BridleAngle_ValDimType")) == QStringLiteral("Angle"));
    QVERIFY(reg.ReadString(QStringLiteral("BridleAngle_ValDim")) == QStringLiteral("Radians [rad]"));
    QVERIFY(reg.ReadString(QStringLiteral("Plain_ValDimType")) == QString());

    TLabeledEditF e;
    e.setObjectName(QStringLiteral("BridleAngle"));
    e.SetValCheck(false);
    QCOMPARE(e.LoadFromRegistry(reg), 0.5L);
    QCOMPARE(e.ValDimensionTypeIdx(), kAngle);
    QCOMPARE(e.ValDimLabel()->Caption(), QStringLiteral("rad"));
    QCOMPARE(e.text(), QStringLiteral("0.5"));

    // An empty category name leaves the category as it is.
    e.SetValDimensionIdx(kDegrees);
    e.LoadFromRegistry(reg, QStringLiteral("Plain"));
    QCOMPARE(e.ValDimensionTypeIdx(), kAngle);
    QCOMPARE(e.ValDimensionIdx(), kDegrees);
    QCOMPARE(e.Val(), Real(0));

    // A unit stored with the wrong type stops the load: the value read is dropped.
    QVERIFY(reg.WriteReal(QStringLiteral("Bad"), 0.25L));
    QVERIFY(reg.WriteInteger(QStringLiteral("Bad_ValDim"), 3));
    e.SetValue(0.75L);
    QCOMPARE(e.LoadFromRegistry(reg, QStringLiteral("Bad")), 0.75L);
    QVERIFY(boxes.Messages().empty());
  }
};

QTEST_MAIN(TLabeledEditFTest)
#include "LabeledEditF_test.moc"
