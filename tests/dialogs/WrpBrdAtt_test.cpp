// The warp and bridle angle dialog as the user meets it: first start, the ranges of the
// five edits (90 degrees refused), values set by code as the balance link sets them,
// OK and Cancel with the settings store, restoring at creation, and the edits over their
// spots when the dialog is resized.
#include <QPushButton>
#include <QtTest>
#include <cmath>
#include <memory>

#include "controls/LabeledEditF.h"
#include "controls/LinkLabel.h"
#include "dialogs/WrpBrdAtt.h"
#include "mechanics/DoorModel.h"
#include "platform/MessageBox.h"
#include "tests/dialogs/ModalDriver.h"

namespace {

const QString kKey = QStringLiteral("\\Software\\Tamarek\\Ravlen");
const char* const kDirectionEdits[] = {"WarpAngleOnPlan", "BridleAngleOnPlan", "WarpAngleOnSide", "BridleAngleOnSide"};

TEditF* EditNamed(TWrpBrdAttack& dialog, const QString& name) { return dialog.Panel1->findChild<TEditF*>(name); }

double Degrees(Real radians) { return double(radians / kAngleEditMultiplier); }

}  // namespace

class TWrpBrdAttackTest : public QObject {
  Q_OBJECT

private slots:
  void init()
  {
    ClearStore();
    FCapture = std::make_unique<TMessageCapture>();
  }
  void cleanup() { FCapture.reset(); }

  void firstStartShowsStraightLinesAndFiveDegrees()
  {
    TWrpBrdAttack dialog;
    QVERIFY(dialog.isHidden());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Attack Angles of Warp and Bridle "));
    for (const char* name : kDirectionEdits) {
      QCOMPARE(double(EditNamed(dialog, QLatin1String(name))->Val()), 0.0);
      QCOMPARE(EditNamed(dialog, QLatin1String(name))->text(), QStringLiteral("0"));
    }
    QCOMPARE(double(dialog.BridleAngleBridle->Val()), 0.08726646259971647);
    QCOMPARE(dialog.BridleAngleBridle->text(), QStringLiteral("5"));
    QCOMPARE(dialog.BridleAngleBridle->ValDimLabel()->text(), QStringLiteral("deg"));
    QVERIFY(dialog.LinkLabel4->text().startsWith(QStringLiteral("Wh - Warp attack")));
    QVERIFY(FCapture->Messages().empty());
  }

  void typedEntries_data()
  {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<double>("degrees");  // the value kept, in the edit's degrees
    QTest::addColumn<bool>("refused");
    for (const char* name : kDirectionEdits) {
      const QString n = QLatin1String(name);
      QTest::addRow("%s 95", name) << n << "95" << 0.0 << true;
      QTest::addRow("%s -95", name) << n << "-95" << 0.0 << true;
      QTest::addRow("%s 89.9", name) << n << "89.9" << 89.9 << false;
      QTest::addRow("%s -89.9", name) << n << "-89.9" << -89.9 << false;
      // 90 once slipped inside the bound; an entry that reads 90.000 at three decimals is refused.
      QTest::addRow("%s 90", name) << n << "90" << 0.0 << true;
      QTest::addRow("%s -90", name) << n << "-90" << 0.0 << true;
    }
    QTest::newRow("89.9995 shows as 90") << "BridleAngleOnPlan" << "89.9995" << 0.0 << true;
    QTest::newRow("89.9994 shows as 89.999") << "BridleAngleOnPlan" << "89.9994" << 89.9994 << false;
    QTest::newRow("-89.9995 shows as -90") << "WarpAngleOnSide" << "-89.9995" << 0.0 << true;
    QTest::newRow("bridles 80") << "BridleAngleBridle" << "80" << 5.0 << true;
    QTest::newRow("bridles 79.9") << "BridleAngleBridle" << "79.9" << 79.9 << false;
    QTest::newRow("bridles 0") << "BridleAngleBridle" << "0" << 0.0 << false;
    QTest::newRow("bridles -1") << "BridleAngleBridle" << "-1" << 5.0 << true;
  }
  void typedEntries()
  {
    QFETCH(QString, edit);
    QFETCH(QString, entry);
    QFETCH(double, degrees);
    QFETCH(bool, refused);
    TWrpBrdAttack dialog;
    TEditF* target = EditNamed(dialog, edit);
    QVERIFY(target);
    RunModal(dialog, [&] { dialog.Execute(); }, [&] {
      Enter(target, entry);
      dialog.OKBtn->click();
    });
    QCOMPARE(FCapture->Messages().size(), size_t(refused ? 1 : 0));
    const double multiplier = double(target->ValMultiplier());
    QVERIFY2(std::fabs(double(target->Val()) / multiplier - degrees) < 1e-9, qPrintable(target->text()));
    if (refused) {
      const QString text = FCapture->Messages()[0].Text;
      QVERIFY(text.contains(QStringLiteral(": ") + edit + QStringLiteral("\rValue is out of range: ")));
      QVERIFY(text.endsWith(target->RangeText()));
    }
    QCOMPARE(double(StoredReal(kKey, edit).value_or(-1)), double(target->Val()));
  }

  // A change typed into any of the four directions sets the OK button's tag.
  void directionChangesTagTheOkButton_data()
  {
    QTest::addColumn<QString>("edit");
    for (const char* name : {"WarpAngleOnPlan", "BridleAngleOnPlan", "WarpAngleOnSide", "BridleAngleOnSide"})
      QTest::newRow(name) << name;
  }
  void directionChangesTagTheOkButton()
  {
    QFETCH(QString, edit);
    TWrpBrdAttack dialog;
    QCOMPARE(ComponentTag(dialog.OKBtn), 0);
    RunModal(dialog, [&] { dialog.Execute(); }, [&] {
      Enter(dialog.findChild<TEditF*>(edit), QStringLiteral("0"));  // no change: no tag
      QCOMPARE(ComponentTag(dialog.OKBtn), 0);
      Enter(dialog.findChild<TEditF*>(edit), QStringLiteral("12"));
      dialog.OKBtn->click();
    });
    QCOMPARE(ComponentTag(dialog.OKBtn), 1);
  }

  void theRangeTheBoxShowsIsTheRangeApplied()
  {
    TWrpBrdAttack dialog;
    // ]-89.9995..89.9995[ degrees, in the radians the edit holds.
    QCOMPARE(dialog.WarpAngleOnPlan->RangeText(), QStringLiteral("]-1.57078760014864..1.57078760014864["));
    QVERIFY(!dialog.WarpAngleOnPlan->InRange(kHalfPi));
    QVERIFY(dialog.WarpAngleOnPlan->InRange(89.9994L * kAngleEditMultiplier));
  }

  void valuesSetByCodePassTheSameCheck()
  {
    // The balance link puts its angles in with SetValue.
    TWrpBrdAttack dialog;
    dialog.BridleAngleOnPlan->SetValue(90 * kAngleEditMultiplier);
    QCOMPARE(double(dialog.BridleAngleOnPlan->Val()), 0.0);
    dialog.WarpAngleOnSide->SetValue(-kHalfPi);
    QCOMPARE(double(dialog.WarpAngleOnSide->Val()), 0.0);
    QCOMPARE(FCapture->Messages().size(), size_t(2));
    dialog.BridleAngleOnSide->SetValue(0.3L);
    QCOMPARE(double(dialog.BridleAngleOnSide->Val()), 0.3);
    QCOMPARE(dialog.BridleAngleOnSide->text(), QStringLiteral("17.189"));
    QCOMPARE(FCapture->Messages().size(), size_t(2));
  }

  // Cancel (the button or Esc) puts back all five values the dialog opened with; the close
  // box keeps what was entered and stores it.
  void cancelLeavesDialogAndStore_data()
  {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "button";
    QTest::newRow("Esc") << "escape";
    QTest::newRow("close box") << "close";
  }
  void cancelLeavesDialogAndStore()
  {
    QFETCH(QString, how);
    TWrpBrdAttack dialog;
    RunModal(dialog, [&] { dialog.Execute(); }, [&] {
      Enter(dialog.WarpAngleOnPlan, QStringLiteral("12"));
      Enter(dialog.BridleAngleBridle, QStringLiteral("7"));
      dialog.OKBtn->click();
    });
    const auto expectKept = [&] {
      QCOMPARE(Degrees(dialog.WarpAngleOnPlan->Val()), 12.0);
      QCOMPARE(dialog.WarpAngleOnPlan->text(), QStringLiteral("12"));
      QCOMPARE(double(dialog.BridleAngleOnPlan->Val()), 0.0);
      QCOMPARE(double(dialog.WarpAngleOnSide->Val()), 0.0);
      QCOMPARE(double(dialog.BridleAngleOnSide->Val()), 0.0);
      QCOMPARE(dialog.BridleAngleBridle->text(), QStringLiteral("7"));
      // The store keeps doubles.
      QCOMPARE(double(StoredReal(kKey, QStringLiteral("WarpAngleOnPlan")).value_or(-1)), double(dialog.WarpAngleOnPlan->Val()));
      QCOMPARE(double(StoredReal(kKey, QStringLiteral("BridleAngleOnPlan")).value_or(-1)), 0.0);
      QCOMPARE(double(StoredReal(kKey, QStringLiteral("BridleAngleBridle")).value_or(-1)), double(dialog.BridleAngleBridle->Val()));
    };
    expectKept();
    int result = -1;
    RunModal(dialog, [&] { result = dialog.Execute(); }, [&] {
      Enter(dialog.WarpAngleOnPlan, QStringLiteral("20"));
      Enter(dialog.BridleAngleOnPlan, QStringLiteral("15"));
      Enter(dialog.WarpAngleOnSide, QStringLiteral("30"));
      Enter(dialog.BridleAngleOnSide, QStringLiteral("-4"));
      Enter(dialog.BridleAngleBridle, QStringLiteral("9"));
      if (how == QLatin1String("escape"))
        QTest::keyClick(dialog.BridleAngleBridle, Qt::Key_Escape);
      else if (how == QLatin1String("close"))
        dialog.close();
      else
        QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(dialog.isHidden());
    if (how != QLatin1String("close")) {
      expectKept();
      return;
    }
    const QList<std::pair<TEditF*, double>> entered{{dialog.WarpAngleOnPlan, 20},
                                                    {dialog.BridleAngleOnPlan, 15},
                                                    {dialog.WarpAngleOnSide, 30},
                                                    {dialog.BridleAngleOnSide, -4},
                                                    {dialog.BridleAngleBridle, 9}};
    for (const auto& [edit, degrees] : entered) {
      QCOMPARE(edit->text(), QString::number(degrees));
      QCOMPARE(double(StoredReal(kKey, edit->objectName()).value_or(-1)), double(edit->Val()));
    }
  }

  void anglesAndPlacementComeBackAtCreation()
  {
    {
      TWrpBrdAttack dialog;
      RunModal(dialog, [&] { dialog.Execute(); }, [&] {
        dialog.resize(600, 500);
        Enter(dialog.BridleAngleOnSide, QStringLiteral("-6.5"));
        Enter(dialog.WarpAngleOnPlan, QStringLiteral("21.25"));
        Enter(dialog.BridleAngleBridle, QStringLiteral("11"));
        dialog.OKBtn->click();
      });
    }
    TWrpBrdAttack again;
    QVERIFY(again.isHidden());
    QCOMPARE(again.size(), QSize(600, 500));
    QCOMPARE(again.BridleAngleOnSide->text(), QStringLiteral("-6.5"));
    QCOMPARE(again.WarpAngleOnPlan->text(), QStringLiteral("21.25"));
    QCOMPARE(again.BridleAngleBridle->text(), QStringLiteral("11"));
    QCOMPARE(again.BridleAngleBridle->ValDimension(), QStringLiteral("Degrees [deg]"));
    QVERIFY(FCapture->Messages().empty());
  }

  void aStoredRightAngleIsRefusedAtCreation()
  {
    // An earlier version accepted a typed 90 and stored it.
    StoreReal(kKey, QStringLiteral("BridleAngleOnPlan"), 90 * kAngleEditMultiplier);
    StoreReal(kKey, QStringLiteral("WarpAngleOnPlan"), 0.2L);
    TWrpBrdAttack dialog;
    QCOMPARE(double(dialog.BridleAngleOnPlan->Val()), 0.0);
    QCOMPARE(double(dialog.WarpAngleOnPlan->Val()), 0.2);
    QCOMPARE(FCapture->Messages().size(), size_t(1));
  }

  void resizingKeepsTheEditsOverTheirSpots_data()
  {
    QTest::addColumn<QSize>("client");
    QTest::newRow("stretched") << QSize(900, 828);
    QTest::newRow("wide") << QSize(700, 414);
    QTest::newRow("smallest") << QSize(392, 323);
  }
  void resizingKeepsTheEditsOverTheirSpots()
  {
    QFETCH(QSize, client);
    struct TDesign {
      TEditF* Edit;
      QRect Bounds;
    };
    TWrpBrdAttack dialog;
    const TDesign design[] = {{dialog.WarpAngleOnPlan, {39, 99, 69, 21}},   {dialog.BridleAngleOnPlan, {198, 113, 69, 21}},
                              {dialog.WarpAngleOnSide, {21, 326, 69, 21}},  {dialog.BridleAngleOnSide, {163, 308, 69, 21}},
                              {dialog.BridleAngleBridle, {308, 332, 73, 21}}};
    std::vector<QRect> placed;
    QSize panel;
    QRect ok;
    QRect caption;
    RunModal(dialog, [&] { dialog.Execute(); }, [&] {
      dialog.resize(client);
      panel = dialog.Panel1->size();
      for (const TDesign& d : design)
        placed.push_back(d.Edit->geometry());
      ok = dialog.OKBtn->geometry();
      caption = dialog.LinkLabel2->geometry();
      dialog.OKBtn->click();
    });
    QCOMPARE(panel, client - QSize(450 - 441, 414 - 368));
    QCOMPARE(ok, QRect(6, client.height() - 414 + 380, 76, 27));
    for (size_t i = 0; i < placed.size(); ++i) {
      const QRect& b = design[i].Bounds;
      const QPointF centre = QRectF(placed[i]).center();
      QCOMPARE(placed[i].size(), b.size());
      QVERIFY(qAbs(centre.x() - QRectF(b).center().x() * panel.width() / 441) <= 0.5);
      QVERIFY(qAbs(centre.y() - QRectF(b).center().y() * panel.height() / 368) <= 0.5);
    }
    // The caption over Bv rides 2 pixels above its edit, centred on it.
    QCOMPARE(caption.bottom() + 1 + 2, placed[3].top());
    QVERIFY(qAbs(QRectF(caption).center().x() - QRectF(placed[3]).center().x()) <= 1);
  }

  void theModelTakesTheFiveAngles()
  {
    TWrpBrdAttack dialog;
    dialog.WarpAngleOnPlan->SetValue(0.1L);
    dialog.WarpAngleOnSide->SetValue(0.2L);
    dialog.BridleAngleOnPlan->SetValue(0.3L);
    dialog.BridleAngleOnSide->SetValue(-0.4L);
    dialog.BridleAngleBridle->SetValue(0.5L);
    TDoorInputs inputs;
    dialog.ReadConditions(inputs);
    QCOMPARE(double(inputs.WarpAngleOnPlan), 0.1);
    QCOMPARE(double(inputs.WarpAngleOnSide), 0.2);
    QCOMPARE(double(inputs.BridleAngleOnPlan), 0.3);
    QCOMPARE(double(inputs.BridleAngleOnSide), -0.4);
    QCOMPARE(double(inputs.BridleAngleBridle), 0.5);
  }

private:
  std::unique_ptr<TMessageCapture> FCapture;
};

QTEST_MAIN(TWrpBrdAttackTest)
#include "WrpBrdAtt_test.moc"
