// The evaluation cycle, the display update, the balance run, the animation, the solver
// prompt and the variant commands of the main window.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>

#include <cmath>

#include "CommandTable.h"
#include "DoorF.h"
#include "controls/EditF.h"
#include "controls/ToolsPump.h"
#include "dialogs/Askanyth.h"
#include "mechanics/DoorStatics.h"
#include "tools/StaticsText.h"

namespace {

// The hourglass for the length of a balance run, whatever way the run ends.
class TBusyCursor {
public:
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// Same attitude angles, or both NaN: a step of degenerate geometry turns nothing either.
bool SameAngle(Real a, Real b) { return a == b || (std::isnan(a) && std::isnan(b)); }
bool SameVector(const Txyz& a, const Txyz& b) { return SameAngle(a.X, b.X) && SameAngle(a.Y, b.Y) && SameAngle(a.Z, b.Z); }

// Whether a solver step with this moment turns the door at all from where it stands.
bool StepTurns(TDoorModel& model, const Txyz& moment)
{
  const Txyz start = model.Attitude();
  StepAttitude(model, moment);
  const Txyz next = model.Attitude();
  model.SetAttitude(start);
  return !(SameAngle(next.X, start.X) && SameAngle(next.Y, start.Y) && SameAngle(next.Z, start.Z));
}

}  // namespace

void TFDoor::KeepLive() { PumpWindowMessages(this); }

void TFDoor::AngleXInput()
{
  for (TEditF* edit : {AngleX, AngleY, AngleZ, TrawlResistance, TrawlSpeed})
    edit->update();
  FModel.SetAttitude(Txyz{AngleX->Val(), AngleY->Val(), AngleZ->Val()} * kDegToRad);
  FModel.EvaluateDoor(FModel.Attitude());
  ShowResults();
}

void TFDoor::EvaluationCycle()
{
  FModel.EvaluateDoor(FModel.Attitude());
  ShowResults();
}

void TFDoor::ShowResults()
{
  // The view moves its objects (and the water past the door) and repaints.
  const TDoorResults& results = FModel.Results();
  FView->ShowResults(ComputeScenePoses(FModel, {AngleX->Val(), AngleY->Val(), AngleZ->Val()}, ForceScale->Val()),
                     TrawlSpeed->Val());

  const TReadouts readouts = ComputeReadouts(results);
  AngleAttack->SetValue(readouts.AngleAttack);
  ResResistance->SetValue(readouts.ResResistance);
  ResSpreading->SetValue(readouts.ResSpreading);
  ResVertical->SetValue(readouts.ResVertical);
  MomX->SetValue(readouts.Moment.X);
  MomY->SetValue(readouts.Moment.Y);
  MomZ->SetValue(readouts.Moment.Z);
  // The new scale draws the arrows from the next refresh on.
  if (AutoForceScale->isChecked())
    ForceScale->SetValue(AutoForceScaleValue(results));
  ShowHealth();
}

void TFDoor::ShowHealth()
{
  if (FHealthText.isEmpty())
    return;
  const bool asBalanced =
      SameVector(FModel.Attitude(), FHealthAttitude) && SameVector(FModel.Results().FMoment, FHealthMoment);
  const QString text = asBalanced ? FHealthText : QStringLiteral("Door changed since the last balance. ") + FHealthText;
  FHealthLabel->setText(text);
  FHealthLabel->setToolTip(text);
}

void TFDoor::BalanceActExecute()
{
  CommitEntries();
  TSolveResult result;
  {
    TBusyCursor busy;
    const bool outerRun = !FBalancing;
    FBalancing = true;
    FView->RestartClock();
    // Every 100 iterations the window answers: repaints, commands, link requests.
    result = SolveBalance(FModel, [this](int) { KeepLive(); });
    // Whoever started the run, its results go to the balance link.
    FDoorConnect->WriteResults(BalanceResultsOf(FModel, result));
    // The health of the door as balanced, in the words of the command line; the
    // stability check ends evaluated at the final attitude again.
    const QString health = QString::fromStdString(HealthLine(AssessBalance(FModel, result)));
    EvaluationCycle();
    const Txyz& a = FModel.Attitude();
    AngleX->SetValue(a.X / kDegToRad);
    AngleY->SetValue(a.Y / kDegToRad);
    AngleZ->SetValue(a.Z / kDegToRad);
    AngleXInput();
    // The words hold for the door as the edits now show it.
    FHealthText = health;
    FHealthAttitude = FModel.Attitude();
    FHealthMoment = FModel.Results().FMoment;
    ShowHealth();
    if (outerRun)
      FBalancing = false;
    if (FBalanceListener)
      FBalanceListener(result);
  }
  if (FCollaborators.GraphVisible && FCollaborators.GraphVisible() && FCollaborators.RedrawGraph)
    FCollaborators.RedrawGraph(FModel.Results().FAttackW);
  if (!FBalancing && FCloseAfterRun) {
    FCloseAfterRun = false;
    close();
  }
}

void TFDoor::AnimateExecute()
{
  CommitEntries();
  QAction* animate = Command(TDoorCommand::Animate);
  FView->RestartClock();
  // Runs at least one step: executing Animate to stop it steps the door once more.
  do {
    Txyz moment = FModel.EvaluateDoor(FModel.Attitude());
    if (!StepTurns(FModel, moment)) {
      // At rest: a step would show nothing new. The loop sleeps until an event comes and
      // steps again after it; an entry, a command or a link request that moves the door
      // shows itself and sets the door turning again.
      if (animate->isChecked())
        WaitWindowMessages(this);
      continue;
    }
    ShowResults();
    StepAttitude(FModel, moment);
    const Txyz& a = FModel.Attitude();
    AngleX->SetValue(a.X / kDegToRad);
    AngleY->SetValue(a.Y / kDegToRad);
    AngleZ->SetValue(a.Z / kDegToRad);
    moment = FModel.EvaluateDoor(FModel.Attitude());
    ShowResults();
    KeepLive();
  } while (animate->isChecked());
  const Txyz& a = FModel.Attitude();
  AngleX->SetValue(a.X / kDegToRad);
  AngleY->SetValue(a.Y / kDegToRad);
  AngleZ->SetValue(a.Z / kDegToRad);
  AngleXInput();
}

void TFDoor::AskSolverFactorExecute()
{
  if (!FCollaborators.AskAny)
    return;
  Real factor = FModel.SolverFactor();
  const TInputDef& def = InputDef(TInput::SolverFactor);
  FCollaborators.AskAny->AskReal(tr("Solver sensitivity"),
                                 tr("Value from 5.0 to 10000.0\rLess - coarse, quick solving.\rGreat - fine, slow solving."),
                                 15, def.Decimals, def.Min, def.Max, def.Default, factor);
  // Takes effect at the next run; nothing is evaluated now.
  FModel.SetSolverFactor(factor);
}

void TFDoor::ResetModelExecute()
{
  CommitEntries();
  AngleX->SetValue(0);
  AngleY->SetValue(0);
  AngleZ->SetValue(0);
  AngleXInput();
}

void TFDoor::BuildModel()
{
  FModel.BuildModel();
  const TDoorVariant& variant = FModel.Variant();
  FView->BuildModel({variant.FDoorScale, kBracketTags[static_cast<std::size_t>(variant.Bracket)], variant.FBallastCount});
  // The ballast pieces are made anew: a hover over something other than a marker may
  // have been over one of them.
  if (FHoverObject.Kind == TViewPick::TKind::Other)
    FHoverObject = {};
  // The evaluation places every marker, mesh and line; the water starts again at X = 0.
  AngleXInput();
  FView->ResetGrids();
}

void TFDoor::Area_045Execute(int tag)
{
  CommitEntries();
  FModel.SetAreaTag(tag);
  BuildModel();
  EvaluationCycle();
  Command(TDoorCommand::ResetModel)->trigger();
}

void TFDoor::Ballast1Execute(int tag)
{
  CommitEntries();
  FModel.SetBallastCount(tag);
  FView->SetBallastCount(tag);
  EvaluationCycle();
}

void TFDoor::ViewSwitchExecute(TViewSwitch which, const QAction& command) { FView->SetSwitch(which, command.isChecked()); }

void TFDoor::BracketSmallExecute()
{
  CommitEntries();
  const auto checked = [this](TDoorCommand id) { return Command(id)->isChecked(); };
  FModel.SetBracket(checked(TDoorCommand::BracketSmall)    ? TBracketSize::Small
                    : checked(TDoorCommand::BracketMedium) ? TBracketSize::Medium
                                                           : TBracketSize::Large);
  BuildModel();
}
