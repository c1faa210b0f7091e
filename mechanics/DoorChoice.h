// A member of the door family and a rigging of it, as values, and how a model takes
// them on. Every tool that balances many doors sets each one up through here, so that
// any of them can be balanced again on its own with the same bits.
#pragma once

#include "DoorModel.h"

// A member of the family: wing area (by the area commands' tag; 0 keeps the start-up
// door at scale exactly 5), ballast pieces and bracket size.
struct TDoorChoice {
  int AreaTag = 0;
  int Ballast = 3;
  TBracketSize Bracket = TBracketSize::Medium;
};

// The holes a door is rigged by: bridle holes 0 .. 14 (row-major), bracket pair and
// towing hole.
struct TRigging {
  int UpperHole = 0;
  int LowerHole = 0;
  TBracketPair Pair = TBracketPair::Pair1;
  TTowHole Tow = TTowHole::F0;
};

// Rebuilds the model for the door (curves, bracket data, masses; the rigging goes back
// to its first choices) and fits its ballast.
void ApplyDoorChoice(TDoorModel& model, const TDoorChoice& door);
// Selects the rigging's holes.
void ApplyRigging(TDoorModel& model, const TRigging& rigging);
