// The door model's state: construction, the variant changes and the geometry and mass
// steps of building the model.
#include "DoorModel.h"

TDoorModel::TDoorModel() { BuildModel(); }

void TDoorModel::BuildModel()
{
  FCurves.Build();

  const int bracket = static_cast<int>(FVariant.Bracket);
  FVariant.BracketTowHoles = BracketTowHolesTable[bracket];
  FVariant.BracketVolume = BracketVolumeTable[bracket];
  FVariant.BracketCoG = BracketCoGTable[bracket];
  FVariant.BracketMass = FVariant.BracketVolume * kSteelDensity;
  FVariant.BallastPieceMass = BallastVolume * kSteelDensity;

  // A rebuilt door forgets the rigging: back to hole 1 of row 1, pair 1 and F0.
  SelectLowerHole(0);
  SelectUpperHole(0);
  FTowCube = TTowHole::F0;
  FBracketPairCube = TBracketPair::Pair1;
}

void TDoorModel::SetBallastCount(int count)
{
  RAVLEN_ASSERT(count >= 1 && count <= kMaxBallast, "a door carries 1 to 6 ballast pieces");
  FVariant.FBallastCount = count;
}

void TDoorModel::SelectUpperHole(int index)
{
  RAVLEN_ASSERT(index >= 0 && index < kHoleCount, "bridle hole index out of 0..14");
  FUpperHoleCube = index;
  FUpperHole = ScaledPoint(UpperHoles[index], FVariant.FDoorScale);
}

void TDoorModel::SelectLowerHole(int index)
{
  RAVLEN_ASSERT(index >= 0 && index < kHoleCount, "bridle hole index out of 0..14");
  FLowerHoleCube = index;
  FLowerHole = ScaledPoint(LowerHoles[index], FVariant.FDoorScale);
}
