// The conditions dialogs opened from the main window's commands: after OK the door is
// evaluated with the new water density and warp and bridle angles, exactly as a door model
// given the same inputs evaluates it.
#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/CommandTable.h"
#include "app/Conditions.h"
#include "app/DoorF.h"
#include "controls/LabeledEditF.h"
#include "dialogs/Envir.h"
#include "dialogs/WrpBrdAtt.h"
#include "mechanics/DoorModel.h"
#include "platform/MessageBox.h"
#include "tests/dialogs/ModalDriver.h"

namespace {

// The main window writes its bar files into the working directory.
class TWorkingDir {
public:
  TWorkingDir() : FOld(QDir::currentPath()) { QDir::setCurrent(FDir.path()); }
  ~TWorkingDir() { QDir::setCurrent(FOld); }

private:
  QTemporaryDir FDir;
  QString FOld;
};

void CompareXyz(const Txyz& actual, const Txyz& expected)
{
  QCOMPARE(double(actual.X), double(expected.X));
  QCOMPARE(double(actual.Y), double(expected.Y));
  QCOMPARE(double(actual.Z), double(expected.Z));
}

}  // namespace

class TConditionsTest : public QObject {
  Q_OBJECT

private slots:
  void init()
  {
    ClearStore();
    FCapture = std::make_unique<TMessageCapture>();
  }
  void cleanup() { FCapture.reset(); }

  void everyInputEditTakesItsDefinition_data()
  {
    QTest::addColumn<int>("input");
    for (TInput input : {TInput::TrawlSpeed, TInput::TrawlResistance, TInput::WaterDensity, TInput::WarpAngleOnPlan,
                         TInput::WarpAngleOnSide, TInput::BridleAngleOnPlan, TInput::BridleAngleOnSide,
                         TInput::BridleAngleBridle})
      QTest::newRow(InputDef(input).Name) << int(input);
  }
  // Each input has one edit among the windows, and it has the input's numbers: range,
  // bounds, default, start value, decimals and display unit.
  void everyInputEditTakesItsDefinition()
  {
    QFETCH(int, input);
    const TInputDef& def = InputDef(TInput(input));
    TWorkingDir workingDir;
    TFDoor door;
    TEnvironment environment;
    TWrpBrdAttack wrpBrdAttack;
    QList<TEditF*> edits;
    for (QWidget* window : {static_cast<QWidget*>(&door), static_cast<QWidget*>(&environment),
                            static_cast<QWidget*>(&wrpBrdAttack)})
      edits += window->findChildren<TEditF*>(QString::fromLatin1(def.Name));
    QCOMPARE(edits.size(), 1);
    const TEditF& edit = *edits[0];
    QVERIFY(edit.ValCheck());
    QCOMPARE(double(edit.ValMin()), double(def.Min));
    QCOMPARE(double(edit.ValMax()), double(def.Max));
    QCOMPARE(edit.ValMinIncl(), def.MinIncl);
    QCOMPARE(edit.ValMaxIncl(), def.MaxIncl);
    QCOMPARE(double(edit.ValDefault()), double(def.Default));
    QCOMPARE(double(edit.Val()), double(def.Start));
    QCOMPARE(edit.ValPrecision(), def.Decimals);
    QCOMPARE(double(edit.ValMultiplier()), double(def.Multiplier));
  }

  void evaluationTakesTheConditionsAfterOk()
  {
    TWorkingDir workingDir;
    TFDoor door;
    TEnvironment environment;
    TWrpBrdAttack wrpBrdAttack;
    TDoorCollaborators collaborators;
    ConnectConditions(collaborators, environment, wrpBrdAttack);
    // The balance link goes through the same edits, with their range checks.
    QCOMPARE(collaborators.WDens, static_cast<TEditF*>(environment.WDens));
    QCOMPARE(collaborators.WarpAngleOnPlan, wrpBrdAttack.WarpAngleOnPlan);
    QCOMPARE(collaborators.WarpAngleOnSide, wrpBrdAttack.WarpAngleOnSide);
    QCOMPARE(collaborators.BridleAngleOnPlan, wrpBrdAttack.BridleAngleOnPlan);
    QCOMPARE(collaborators.BridleAngleOnSide, wrpBrdAttack.BridleAngleOnSide);
    door.SetCollaborators(collaborators);
    door.show();
    const Txyz startMoment = door.Model().Results().FMoment;

    RunModal(environment, [&] { door.Commands().Find(QStringLiteral("CallEnvironment"))->trigger(); }, [&] {
      Enter(environment.WDens, QStringLiteral("1012"));
      environment.OKBtn->click();
    });
    QCOMPARE(double(door.Model().Inputs().WaterDensity), 1012.0);
    RunModal(wrpBrdAttack, [&] { door.Commands().Find(QStringLiteral("CallBridleAngles"))->trigger(); }, [&] {
      Enter(wrpBrdAttack.WarpAngleOnPlan, QStringLiteral("12"));
      Enter(wrpBrdAttack.WarpAngleOnSide, QStringLiteral("25"));
      Enter(wrpBrdAttack.BridleAngleOnPlan, QStringLiteral("9"));
      Enter(wrpBrdAttack.BridleAngleOnSide, QStringLiteral("-3"));
      Enter(wrpBrdAttack.BridleAngleBridle, QStringLiteral("7"));
      wrpBrdAttack.OKBtn->click();
    });
    QVERIFY(FCapture->Messages().empty());

    TDoorModel reference;
    TDoorInputs& in = reference.Inputs();
    in.TrawlResistance = door.TrawlResistance->Val();
    in.TrawlSpeed = door.TrawlSpeed->Val();
    in.WaterDensity = 1012;
    in.WarpAngleOnPlan = 12 * kAngleEditMultiplier;
    in.WarpAngleOnSide = 25 * kAngleEditMultiplier;
    in.BridleAngleOnPlan = 9 * kAngleEditMultiplier;
    in.BridleAngleOnSide = -3 * kAngleEditMultiplier;
    in.BridleAngleBridle = 7 * wrpBrdAttack.BridleAngleBridle->ValMultiplier();
    reference.EvaluateDoor(door.Model().Attitude());

    const TDoorResults& shown = door.Model().Results();
    const TDoorResults& expected = reference.Results();
    CompareXyz(shown.FMoment, expected.FMoment);
    CompareXyz(shown.FForce, expected.FForce);
    for (int i = 0; i < kLoadCount; ++i)
      CompareXyz(shown.FLoad[i], expected.FLoad[i]);
    CompareXyz(shown.FTowPoint, expected.FTowPoint);
    QVERIFY(shown.FMoment.X != startMoment.X);
  }

private:
  std::unique_ptr<TMessageCapture> FCapture;
};

QTEST_MAIN(TConditionsTest)
#include "Conditions_test.moc"
