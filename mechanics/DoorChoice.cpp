// Setting a model up for a member of the family and a rigging.
#include "DoorChoice.h"

void ApplyDoorChoice(TDoorModel& model, const TDoorChoice& door)
{
  model.SetBracket(door.Bracket);
  if (door.AreaTag != 0)
    model.SetAreaTag(door.AreaTag);
  else
    model.SetDoorScale(5);
  model.BuildModel();
  model.SetBallastCount(door.Ballast);
}

void ApplyRigging(TDoorModel& model, const TRigging& rigging)
{
  model.SelectUpperHole(rigging.UpperHole);
  model.SelectLowerHole(rigging.LowerHole);
  model.SelectPair(rigging.Pair);
  model.SelectTowHole(rigging.Tow);
}
