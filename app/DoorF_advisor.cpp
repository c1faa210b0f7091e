// The main window's side of the rigging advisor: what the dialog searches (the window's
// door and towing conditions) and how an advised rigging comes back into the window.
#include "CommandTable.h"
#include "DoorF.h"
#include "controls/EditF.h"
#include "dialogs/RiggingAdvisor.h"

namespace {

using C = TDoorCommand;

constexpr TDoorCommand kAreaCommands[] = {C::Area_045, C::Area_076, C::Area_104, C::Area_116, C::Area_144};
constexpr TDoorCommand kBallastCommands[] = {C::Ballast1, C::Ballast2, C::Ballast3,
                                             C::Ballast4, C::Ballast5, C::Ballast6};

TDoorCommand BracketCommand(TBracketSize size)
{
  switch (size) {
    case TBracketSize::Small: return C::BracketSmall;
    case TBracketSize::Medium: return C::BracketMedium;
    case TBracketSize::Large: return C::BracketLarge;
  }
  return C::BracketMedium;
}

}  // namespace

TRiggingAdvisor* TFDoor::Advisor() const { return FAdvisor; }

TDoorChoice TFDoor::CurrentDoor() const
{
  TDoorChoice door;
  // The start-up door keeps scale 5 until an area command is chosen; the checked area
  // command names the door only once its scale has been taken.
  for (TDoorCommand id : kAreaCommands) {
    const QAction* area = Command(id);
    if (area->isChecked() && DoorScaleForAreaTag(TCommandTable::Tag(area)) == FModel.DoorScale())  // exact: same tag
      door.AreaTag = TCommandTable::Tag(area);
  }
  door.Ballast = FModel.Variant().FBallastCount;
  door.Bracket = FModel.Variant().Bracket;
  return door;
}

void TFDoor::RiggingAdvisorExecute()
{
  if (!FAdvisor) {
    FAdvisor = new TRiggingAdvisor(this);
    FAdvisor->setWindowIcon(Command(C::RiggingAdvisor)->icon());
    FAdvisor->SetSource([this] {
      CommitEntries();
      TRiggingSearchDef def;
      def.Doors = {CurrentDoor()};
      ReadInputs(def.Inputs);
      // Every rigging is balanced from the door's zero attitude, as the command line's
      // advise does unless told otherwise.
      def.StartAttitude = Txyz{};
      def.SolverFactor = FModel.SolverFactor();
      return def;
    });
    FAdvisor->SetOnApply([this](const TRiggingCandidate& advice) { ApplyAdvice(advice); });
  }
  FAdvisor->show();
  FAdvisor->raise();
  FAdvisor->activateWindow();
}

void TFDoor::ApplyAdvice(const TRiggingCandidate& advice)
{
  CommitEntries();
  // A member of the family comes in through its commands, as the user would choose it:
  // the bracket and the area rebuild the model (and so put the rigging back to its first
  // choices), the ballast does not.
  const TDoorChoice now = CurrentDoor();
  if (advice.Door.Bracket != now.Bracket)
    Command(BracketCommand(advice.Door.Bracket))->trigger();
  if (advice.Door.AreaTag != now.AreaTag) {
    if (advice.Door.AreaTag == 0) {
      // The start-up door (scale 5, shown as the 10.3 m^2 door) has no command of its own
      // that would bring it back: it is rebuilt as the window starts it.
      TCommandTable::SetChecked(Command(C::Area_104), true);
      FModel.SetDoorScale(5);
      BuildModel();
    }
    for (TDoorCommand id : kAreaCommands)
      if (TCommandTable::Tag(Command(id)) == advice.Door.AreaTag)
        Command(id)->trigger();
  }
  if (advice.Door.Ballast != now.Ballast && advice.Door.Ballast >= 1 && advice.Door.Ballast <= kMaxBallast)
    Command(kBallastCommands[advice.Door.Ballast - 1])->trigger();

  const TRigging& r = advice.Rigging;
  FModel.SelectUpperHole(r.UpperHole);
  FModel.SelectLowerHole(r.LowerHole);
  FModel.SelectPair(r.Pair);
  FModel.SelectTowHole(r.Tow);
  AngleX->SetValue(advice.Attitude.X / kDegToRad);
  AngleY->SetValue(advice.Attitude.Y / kDegToRad);
  AngleZ->SetValue(advice.Attitude.Z / kDegToRad);
  AngleXInput();
  Command(C::BalanceAct)->trigger();
}
