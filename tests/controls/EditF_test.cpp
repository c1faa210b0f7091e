// The numeric edit: display rounding, entry by Enter and by focus loss, the range rules
// and message, initialisation mode, saved values, F1 and the settings store.
#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolTip>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>
#include <cmath>

#include "controls/EditF.h"
#include "controls/ToolsText.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"

namespace {

constexpr Real kDegree = 0.017453292519943295L;
constexpr Real kHalfPi = 1.5707963267948966L;

// A window with a group box holding the edit under test and a second edit to tab to.
struct TWindow {
  QWidget Window;
  QGroupBox* Group = new QGroupBox(&Window);
  TEditF* Edit = new TEditF(Group);
  TEditF* Other = new TEditF(Group);

  TWindow()
  {
    Group->setObjectName(QStringLiteral("GroupBox2"));
    auto* layout = new QVBoxLayout(Group);
    layout->addWidget(Edit);
    layout->addWidget(Other);
    (new QVBoxLayout(&Window))->addWidget(Group);
  }

  bool ShowAndFocus()
  {
    Window.show();
    QApplication::setActiveWindow(&Window);
    if (!QTest::qWaitForWindowActive(&Window))
      return false;
    Edit->setFocus();
    return Edit->hasFocus();
  }

  // Types text into the emptied edit.
  void Type(const QString& text)
  {
    Edit->selectAll();
    QTest::keyClick(Edit, Qt::Key_Delete);
    QTest::keyClicks(Edit, text);
  }
};

// The trawl resistance edit: [100..10000000] N shown in kN.
void MakeTrawlResistance(TEditF& e)
{
  TEditFInit init(e);
  e.setObjectName(QStringLiteral("TrawlResistance"));
  e.SetVal(100000);
  e.SetValDefault(100000);
  e.SetValMin(100);
  e.SetValMax(10000000);
  e.SetValMultiplier(1000);
}

// A warp angle edit: ]-pi/2..pi/2[ radians shown in degrees.
void MakeWarpAngle(TEditF& e)
{
  TEditFInit init(e);
  e.setObjectName(QStringLiteral("WarpAngleOnSide"));
  e.SetValMin(-kHalfPi);
  e.SetValMinIncl(false);
  e.SetValMax(kHalfPi);
  e.SetValMaxIncl(false);
  e.SetValMultiplier(kDegree);
}

}  // namespace

Q_DECLARE_METATYPE(Real)

class TEditFTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { ProcessNumberLocale() = TNumberLocale{'.', '\0'}; }
  void cleanup() { ProcessNumberLocale() = TNumberLocale{'.', '\0'}; }

  void Redisplay_data()
  {
    QTest::addColumn<Real>("val");
    QTest::addColumn<Real>("multiplier");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("text");
    QTest::newRow("kN") << Real(100000) << Real(1000) << 3 << "100";
    QTest::newRow("degrees") << 0.08726646259971647L << 0.0174532925199433L << 3 << "5";
    QTest::newRow("negative whole") << Real(-5) << Real(1) << 1 << "-5";
    QTest::newRow("negative rounds like magnitude") << -0.0017L << Real(1) << 3 << "-0.002";
    QTest::newRow("negative one") << Real(-1) << Real(1) << 3 << "-1";
    QTest::newRow("negative kN") << Real(-1000) << Real(1000) << 3 << "-1";
    QTest::newRow("exact half away from zero") << 0.125L << Real(1) << 2 << "0.13";
    QTest::newRow("exact negative half") << -0.125L << Real(1) << 2 << "-0.13";
    QTest::newRow("half up") << 2.5L << Real(1) << 0 << "3";
    QTest::newRow("half down") << -2.5L << Real(1) << 0 << "-3";
    QTest::newRow("tiny negative is zero") << -0.0004L << Real(1) << 3 << "0";
    QTest::newRow("scientific") << 1.63e-6L << Real(1) << 9 << "1.63E-6";
    QTest::newRow("beyond 64-bit count") << 1e30L << Real(1) << 3 << "1E30";
    QTest::newRow("negative precision") << Real(1234) << Real(1) << -2 << "1200";
  }

  void Redisplay()
  {
    QFETCH(Real, val);
    QFETCH(Real, multiplier);
    QFETCH(int, precision);
    QFETCH(QString, text);
    TEditF e;
    e.SetValCheck(false);
    e.SetValMultiplier(multiplier);
    e.SetValPrecision(precision);
    e.SetValue(val);
    QCOMPARE(e.text(), text);
  }

  void RedisplayUsesTheLocaleSeparatorAndShowsNaN()
  {
    TEditF e;
    e.SetValCheck(false);
    ProcessNumberLocale() = TNumberLocale{',', ' '};
    e.SetValue(2.5L);
    QCOMPARE(e.text(), QStringLiteral("2,5"));
    e.SetValue(std::numeric_limits<Real>::quiet_NaN());
    QCOMPARE(e.text(), QStringLiteral("NAN"));
  }

  void OutOfRangeEntryShowsTheMessageAndTakesTheDefault()
  {
    TWindow w;
    MakeTrawlResistance(*w.Edit);
    QVERIFY(w.ShowAndFocus());
    QSignalSpy input(w.Edit, &TEditF::OnInput);
    TMessageCapture boxes;

    w.Type(QStringLiteral("0.05"));  // 50 N, below the minimum
    QTest::keyClick(w.Edit, Qt::Key_Return);
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
    QCOMPARE(boxes.Messages()[0].Kind, TMessageKind::Error);
    QCOMPARE(boxes.Messages()[0].Text, QStringLiteral("TrawlResistance\r\rGroupBox2 : TrawlResistance\r"
                                                      "Value is out of range: [100..10000000]"));
    QCOMPARE(w.Edit->Val(), Real(100000));
    QCOMPARE(w.Edit->text(), QStringLiteral("100"));
    QCOMPARE(w.Edit->selectedText(), QStringLiteral("100"));
    QCOMPARE(input.count(), 0);  // the value was the default already

    // From another value the correction is a change the owner hears of.
    w.Edit->SetValue(200000);
    w.Type(QStringLiteral("0.05"));
    QTest::keyClick(w.Edit, Qt::Key_Return);
    QCOMPARE(w.Edit->Val(), Real(100000));
    QCOMPARE(input.count(), 1);

    // The tool tip heads the message when there is one.
    w.Edit->setToolTip(QStringLiteral("Trawl resistance"));
    boxes.Clear();
    w.Edit->SetValue(1);
    QVERIFY(boxes.Messages()[0].Text.startsWith(QStringLiteral("Trawl resistance\r\rGroupBox2 : TrawlResistance\r")));
  }

  void ExclusiveRangeOfTheWarpAngle()
  {
    TWindow w;
    MakeWarpAngle(*w.Edit);
    QVERIFY(w.ShowAndFocus());
    TMessageCapture boxes;

    w.Type(QStringLiteral("5"));
    QTest::keyClick(w.Edit, Qt::Key_Enter);
    QVERIFY(std::fabs(w.Edit->Val() - 5 * kDegree) < 1e-15L);
    QVERIFY(boxes.Messages().empty());

    w.Type(QStringLiteral("100"));
    QTest::keyClick(w.Edit, Qt::Key_Enter);
    QCOMPARE(w.Edit->Val(), Real(0));
    QCOMPARE(w.Edit->text(), QStringLiteral("0"));
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
    QVERIFY(boxes.Messages()[0].Text.endsWith(QStringLiteral("Value is out of range: ]-1.5707963267949..1.5707963267949[")));
  }

  void BoundsInclusiveOrExclusive_data()
  {
    QTest::addColumn<bool>("minIncl");
    QTest::addColumn<bool>("maxIncl");
    QTest::addColumn<Real>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("at inclusive min") << true << true << Real(2) << true;
    QTest::newRow("at inclusive max") << true << true << Real(8) << true;
    QTest::newRow("at exclusive min") << false << true << Real(2) << false;
    QTest::newRow("at exclusive max") << true << false << Real(8) << false;
    QTest::newRow("inside exclusive") << false << false << Real(5) << true;
  }

  void BoundsInclusiveOrExclusive()
  {
    QFETCH(bool, minIncl);
    QFETCH(bool, maxIncl);
    QFETCH(Real, typed);
    QFETCH(bool, accepted);
    TEditF e;
    {
      TEditFInit init(e);
      e.SetValMin(2);
      e.SetValMax(8);
      e.SetValMinIncl(minIncl);
      e.SetValMaxIncl(maxIncl);
      e.SetVal(5);
      e.SetValDefault(5);
    }
    TMessageCapture boxes;
    e.setText(QString::number(static_cast<double>(typed)));
    e.AcceptInput();
    QCOMPARE(e.Val(), accepted ? typed : Real(5));
    QCOMPARE(boxes.Messages().empty(), accepted);
    const QString range = QString(minIncl ? "[" : "]") + "2..8" + (maxIncl ? "]" : "[");
    QVERIFY(e.RangeText() == range);
  }

  void FocusLossCommitsLikeEnterWithoutSelecting()
  {
    TWindow w;
    w.Edit->SetValCheck(false);
    QVERIFY(w.ShowAndFocus());
    QSignalSpy input(w.Edit, &TEditF::OnInput);
    w.Type(QStringLiteral("7.25"));
    QTest::keyClick(w.Edit, Qt::Key_Tab);
    QVERIFY(w.Other->hasFocus());
    QCOMPARE(w.Edit->Val(), 7.25L);
    QCOMPARE(w.Edit->text(), QStringLiteral("7.25"));
    QVERIFY(!w.Edit->hasSelectedText());
    QCOMPARE(input.count(), 1);
    QCOMPARE(input.at(0).at(0).value<TEditF*>(), w.Edit);

    // Tabbing through again changes nothing and tells nobody.
    w.Edit->setFocus();
    QTest::keyClick(w.Edit, Qt::Key_Tab);
    QCOMPARE(input.count(), 1);
  }

  void LeavingRoundsTheValueToWhatIsShown()
  {
    TWindow w;
    w.Edit->SetValCheck(false);
    w.Edit->SetValue(0.123456L);
    QVERIFY(w.ShowAndFocus());
    QSignalSpy input(w.Edit, &TEditF::OnInput);
    QCOMPARE(w.Edit->text(), QStringLiteral("0.123"));
    w.Other->setFocus();
    QCOMPARE(w.Edit->Val(), 0.123L);
    QCOMPARE(input.count(), 1);
  }

  // A menu bar that takes the keyboard is no control the user moved to.
  void MenusLeaveTheEntryAlone_data()
  {
    QTest::addColumn<QString>("how");
    QTest::newRow("Alt+letter") << "alt";
    QTest::newRow("Alt+letter, Esc, Esc") << "alt-escape";
    QTest::newRow("mouse, Esc") << "mouse-escape";
  }
  void MenusLeaveTheEntryAlone()
  {
    QFETCH(QString, how);
    TWindow w;
    auto* menuBar = new QMenuBar(&w.Window);
    QMenu* options = menuBar->addMenu(QStringLiteral("&Options"));
    options->addAction(QStringLiteral("&About"));
    w.Window.layout()->setMenuBar(menuBar);
    w.Edit->SetValCheck(false);
    w.Edit->SetValue(0.123456L);
    QVERIFY(w.ShowAndFocus());
    QSignalSpy input(w.Edit, &TEditF::OnInput);
    if (how == QLatin1String("mouse-escape"))
      QTest::mouseClick(menuBar, Qt::LeftButton, {}, menuBar->actionGeometry(options->menuAction()).center());
    else
      QTest::keyClick(w.Edit, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(options->isVisible());
    if (how != QLatin1String("alt")) {
      QTest::keyClick(options, Qt::Key_Escape);
      QVERIFY(!options->isVisible());
      QTest::keyClick(menuBar, Qt::Key_Escape);
    }
    QCOMPARE(w.Edit->Val(), 0.123456L);
    QCOMPARE(input.count(), 0);
    options->close();
  }

  void LeavingTheMenuBarForAnotherControlCommits()
  {
    TWindow w;
    auto* menuBar = new QMenuBar(&w.Window);
    QMenu* options = menuBar->addMenu(QStringLiteral("&Options"));
    options->addAction(QStringLiteral("&About"));
    w.Window.layout()->setMenuBar(menuBar);
    w.Edit->SetValCheck(false);
    QVERIFY(w.ShowAndFocus());
    w.Type(QStringLiteral("7.5"));
    QTest::keyClick(w.Edit, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(options->isVisible());
    QTest::keyClick(options, Qt::Key_Escape);
    QCOMPARE(w.Edit->Val(), Real(0));
    // From the menu bar the user clicks another edit: the entry is left, so it counts.
    w.Other->setFocus(Qt::MouseFocusReason);
    QCOMPARE(w.Edit->Val(), 7.5L);
  }

  // A number wider than its box shows from its sign on; the tool tip shows it whole.
  void LongNumbersShowTheirBeginning_data()
  {
    QTest::addColumn<Real>("value");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("fits");
    QTest::newRow("read-out, too long") << Real(-602277.394L) << true << false;
    QTest::newRow("edit, too long") << Real(-602277.394L) << false << false;
    QTest::newRow("read-out, short") << Real(-2.5L) << true << true;
  }
  void LongNumbersShowTheirBeginning()
  {
    QFETCH(Real, value);
    QFETCH(bool, readOnly);
    QFETCH(bool, fits);
    TWindow w;
    w.Edit->SetValCheck(false);
    w.Edit->setReadOnly(readOnly);
    w.Edit->setFixedWidth(50);
    QVERIFY(w.ShowAndFocus());
    w.Other->setFocus();
    w.Edit->SetValue(value);
    QCOMPARE(w.Edit->cursorPosition(), 0);
    QCOMPARE(w.Edit->TextFits(), fits);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w.Edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w.Edit, &help);
    QCOMPARE(QToolTip::isVisible(), !fits);
    if (!fits)
      QCOMPARE(QToolTip::text(), w.Edit->text());
    QToolTip::hideText();
    // A read-out keeps showing its beginning while it has the focus.
    if (readOnly) {
      w.Edit->setFocus();
      w.Edit->SetValue(value * 2);
      QCOMPARE(w.Edit->cursorPosition(), 0);
    }
  }

  void TextThatDoesNotConvertIsReplaced()
  {
    TWindow w;
    w.Edit->SetValCheck(false);
    w.Edit->SetValue(3);
    QVERIFY(w.ShowAndFocus());
    QSignalSpy input(w.Edit, &TEditF::OnInput);
    TMessageCapture boxes;
    for (const char* bad : {"abc", "1.2.3", "", "1,5", "5e"}) {
      w.Type(QString::fromLatin1(bad));
      QTest::keyClick(w.Edit, Qt::Key_Return);
      QCOMPARE(w.Edit->Val(), Real(3));
      QCOMPARE(w.Edit->text(), QStringLiteral("3"));
    }
    QCOMPARE(input.count(), 0);
    QVERIFY(boxes.Messages().empty());
  }

  void ACommaTypedWithTheCommaLocale()
  {
    ProcessNumberLocale() = TNumberLocale{',', ' '};
    TEditF e;
    e.SetValCheck(false);
    e.setText(QStringLiteral(" -1,5e1 "));
    e.AcceptInput();
    QCOMPARE(e.Val(), Real(-15));
    QCOMPARE(e.text(), QStringLiteral("-15"));
  }

  void UncheckedEditNeverComplains()
  {
    TMessageCapture boxes;
    TEditF e;
    e.SetValCheck(false);
    e.SetValue(-1e12L);
    e.setText(QStringLiteral("1e9"));
    e.AcceptInput();
    QCOMPARE(e.Val(), 1e9L);
    QVERIFY(boxes.Messages().empty());
  }

  void BoundAndDefaultAdjustments()
  {
    TMessageCapture boxes;
    TEditF e;  // [0..1], default 0
    e.SetValMin(5);
    QCOMPARE(e.ValMin(), Real(0));
    QCOMPARE(e.ValMax(), Real(1));
    e.SetValMax(-2);
    QCOMPARE(e.ValMax(), Real(1));
    QCOMPARE(e.ValMin(), Real(0));

    e.SetValDefault(7);  // outside: the middle of the range
    QCOMPARE(e.ValDefault(), 0.5L);
    e.SetValMax(0.5L);  // the default sits on the inclusive bound: kept
    QCOMPARE(e.ValDefault(), 0.5L);
    e.SetValMaxIncl(false);
    e.SetValMax(0.5L);  // on the exclusive bound: moved
    QCOMPARE(e.ValDefault(), 0.25L);
    e.SetValMin(0.25L);  // on the inclusive lower bound: kept
    QCOMPARE(e.ValDefault(), 0.25L);
    e.SetValMinIncl(false);
    e.SetValMin(0.25L);
    QCOMPARE(e.ValDefault(), 0.375L);

    // Narrowing the range around the value replaces it, with the message.
    boxes.Clear();
    TEditF f;
    f.SetValMax(10);
    f.SetValue(9);
    f.SetValMax(5);
    QCOMPARE(f.Val(), Real(0));
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
  }

  void InitialisationModeOnlyStores()
  {
    TMessageCapture boxes;
    TEditF e;
    {
      TEditFInit init(e);
      e.SetVal(50);        // outside [0..1]: kept
      e.SetValMin(5);      // above the maximum: kept
      e.SetValDefault(9);  // outside: kept
      e.SetValMultiplier(10);
      QCOMPARE(e.text(), QStringLiteral("5"));  // the multiplier still redisplays
    }
    QCOMPARE(e.Val(), Real(50));
    QCOMPARE(e.ValMin(), Real(5));
    QCOMPARE(e.ValDefault(), Real(9));
    QVERIFY(boxes.Messages().empty());
    QVERIFY(!e.Initializing());
  }

  void RangeHandler()
  {
    TMessageCapture boxes;
    TEditF e;  // [0..1]
    e.setText(QStringLiteral("x"));
    int calls = 0;
    e.SetOnRangeError([&](TEditF* sender, Real& v, bool& suppress, bool& again) {
      ++calls;
      QCOMPARE(sender, &e);
      QCOMPARE(v, Real(3));
      QVERIFY(!suppress && again);
      suppress = true;
      again = false;
    });
    e.SetValue(3);  // accepted silently, text still re-shown and selected
    QCOMPARE(calls, 1);
    QCOMPARE(e.Val(), Real(3));
    QCOMPARE(e.text(), QStringLiteral("3"));
    QVERIFY(boxes.Messages().empty());

    e.SetOnRangeError([](TEditF*, Real& v, bool&, bool&) { v = 0.75L; });
    e.SetVal(-4);
    QCOMPARE(e.Val(), 0.75L);
    QCOMPARE(boxes.Messages().size(), std::size_t(1));

    // Left outside with CheckAgain set: the default after all.
    e.SetOnRangeError([](TEditF*, Real& v, bool& suppress, bool&) {
      v = 2;
      suppress = true;
    });
    e.SetVal(-4);
    QCOMPARE(e.Val(), Real(0));
  }

  void ChangedTagIsSetOnTheFirstUserChange()
  {
    TEditF e;
    e.SetValCheck(false);
    QPushButton ok;
    e.SetValChangedTag(&ok);
    e.SetValue(2);  // code: no tag
    QCOMPARE(ComponentTag(&ok), 0);
    e.setText(QStringLiteral("4"));
    e.AcceptInput();
    QCOMPARE(ComponentTag(&ok), 1);
    SetComponentTag(&ok, 5);
    e.setText(QStringLiteral("6"));
    e.AcceptInput();
    QCOMPARE(ComponentTag(&ok), 5);
  }

  void StoreAndRestoreEditValues()
  {
    TMessageCapture boxes;
    QDialog dialog;
    auto* a = new TEditF(&dialog);
    auto* nested = new TEditF(new QGroupBox(&dialog));
    QWidget childWindow(&dialog, Qt::Window);
    auto* elsewhere = new TEditF(&childWindow);
    for (TEditF* e : {a, nested, elsewhere})
      e->SetValue(0.5L);
    StoreEditValues(&dialog);
    a->SetValue(0.25L);
    nested->SetValue(1);
    elsewhere->SetValue(1);
    a->SetValMax(0.3L);  // 0.5 is now out of range, yet comes back unchecked
    boxes.Clear();
    QSignalSpy input(a, &TEditF::OnInput);
    RestoreEditValues(&dialog);
    QCOMPARE(a->Val(), 0.5L);
    QCOMPARE(a->text(), QStringLiteral("0.5"));
    QCOMPARE(nested->Val(), 0.5L);
    QCOMPARE(elsewhere->Val(), Real(1));
    QVERIFY(boxes.Messages().empty());
    QCOMPARE(input.count(), 0);
  }

  void F1ShowsTheRangeOncePerPress()
  {
    TWindow w;
    MakeTrawlResistance(*w.Edit);
    QVERIFY(w.ShowAndFocus());
    TMessageCapture boxes;
    QTest::keyClick(w.Edit, Qt::Key_F1);
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
    QCOMPARE(boxes.Messages()[0].Kind, TMessageKind::Information);
    QCOMPARE(boxes.Messages()[0].Text, QStringLiteral("TrawlResistance\r\rRange: [100..10000000]"));

    // A window shortcut on F1 still runs, and the box still comes once.
    QAction help(&w.Window);
    help.setShortcut(Qt::Key_F1);
    w.Window.addAction(&help);
    QSignalSpy triggered(&help, &QAction::triggered);
    QTest::keyClick(w.Edit, Qt::Key_F1);
    QCOMPARE(boxes.Messages().size(), std::size_t(2));
    QCOMPARE(triggered.count(), 1);
  }

  void EnterCommitsThenReachesTheDefaultButton()
  {
    QDialog dialog;
    auto* edit = new TEditF(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(ok);
    edit->SetValCheck(false);
    QSignalSpy input(edit, &TEditF::OnInput);
    Real valueAtAccept = -1;
    QObject::connect(&dialog, &QDialog::accepted, [&] { valueAtAccept = edit->Val(); });
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    edit->setText(QStringLiteral("42"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(input.count(), 1);
    QCOMPARE(valueAtAccept, Real(42));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void HandlerMayCloseTheWindowOnEnter()
  {
    TWindow w;
    w.Edit->SetValCheck(false);
    QVERIFY(w.ShowAndFocus());
    QPointer<TEditF> edit = w.Edit;
    connect(w.Edit, &TEditF::OnInput, this, [](TEditF* sender) { delete sender; });
    w.Type(QStringLiteral("3"));
    QTest::keyClick(w.Edit, Qt::Key_Return);
    QVERIFY(!edit);
  }

  void RegistryRoundTripAndBadValues()
  {
    QTemporaryDir dir;
    TSettingsRegistry reg(dir.filePath(QStringLiteral("r.ini")));
    QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), true));
    TMessageCapture boxes;
    TEditF e;
    MakeTrawlResistance(e);
    e.SetValue(123456.789L);
    QVERIFY(e.SaveToRegistry(reg));
    QVERIFY(reg.ValueExists(QStringLiteral("TrawlResistance")));
    QVERIFY(e.SaveToRegistry(reg, QStringLiteral("Other")));

    e.SetValue(200000);
    QCOMPARE(e.LoadFromRegistry(reg), static_cast<Real>(123456.789));  // through a double
    QCOMPARE(e.text(), QStringLiteral("123.457"));

    // Missing, of another type or size: the current value stays and is re-shown.
    QVERIFY(reg.WriteString(QStringLiteral("Text"), QStringLiteral("5")));
    QVERIFY(reg.WriteBinary(QStringLiteral("Short"), QByteArray(4, '\0')));
    for (const char* name : {"Missing", "Text", "Short"}) {
      e.SetValue(300000);
      e.setText(QStringLiteral("garbage"));
      QCOMPARE(e.LoadFromRegistry(reg, QString::fromLatin1(name)), Real(300000));
      QCOMPARE(e.text(), QStringLiteral("300"));
    }
    QVERIFY(boxes.Messages().empty());

    // A stored value out of range gets the default and the message.
    QVERIFY(reg.WriteReal(QStringLiteral("Low"), 5));
    QCOMPARE(e.LoadFromRegistry(reg, QStringLiteral("Low")), Real(100000));
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
  }
};

QTEST_MAIN(TEditFTest)
#include "EditF_test.moc"
