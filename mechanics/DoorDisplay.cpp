// The pure part of showing an evaluation.
#include "DoorDisplay.h"

#include <cmath>

std::array<TxyzSingle, 7> DrawForceLines(const Txyz& p, const Txyz& f, Real k)
{
  const TxyzSingle origin = ToSingle(p);
  return {ToSingle({p.X + k * f.X, p.Y, p.Z}), origin,
          ToSingle({p.X, p.Y + k * f.Y, p.Z}), origin,
          ToSingle({p.X, p.Y, p.Z + k * f.Z}), origin,
          ToSingle(p + f * k)};
}

Real ScrollGridX(Real x, Real dt, Real speed)
{
  x = x + dt * speed;
  return x > kGridWrapX ? -kGridWrapX : x;
}

Real BracketRollAngle(const Txyz& v, const Txyz& up)
{
  Real cx, cy, cz;
  DirectionCosines(v, cx, cy, cz);
  const Real roll = SignedArcCos(cx * up.X + cy * up.Y + cz * up.Z) / kDegToRad;
  return roll > 0 ? roll - 180 : roll;
}

TReadouts ComputeReadouts(const TDoorResults& r)
{
  TReadouts out;
  out.AngleAttack = r.FAttackW;
  out.ResResistance = r.FLoad[kLoadSpan].X + r.FLoad[kLoadWing].X;
  out.ResSpreading = r.FLoad[kLoadWing].Y + r.FLoad[kLoadSpan].Y;
  out.ResVertical = r.FLoad[kLoadWing].Z + r.FLoad[kLoadSpan].Z + r.FLoad[kLoadWeight].Z;
  out.Moment = r.FMoment;
  return out;
}

Real AutoForceScaleValue(const TDoorResults& r)
{
  Real largest = 0;
  for (const Txyz& load : r.FLoad) {
    largest = Larger(largest, std::fabs(load.X));
    largest = Larger(largest, std::fabs(load.Y));
    largest = Larger(largest, std::fabs(load.Z));
  }
  return largest / 2;
}

namespace {

TLinePose BridleLine(const Txyz& hole, Real plan, Real side)
{
  const Txyz u = DirectionFromAngles(plan, side);
  // Drawn at a fixed length: a bridle is long at every door size.
  return {ToSingle(hole), ToSingle(hole + Txyz{u.X, -u.Y, -u.Z} * (BracketReach / 2))};
}

Txyz MidPoint(const TxyzSingle& a, const TxyzSingle& b) { return DivXyz(ToReal(a) + ToReal(b), 2); }

}  // namespace

TScenePoses ComputeScenePoses(const TDoorModel& model, const Txyz& angleEditsDeg, Real forceScale)
{
  const TDoorResults& r = model.Results();
  const TDoorInputs& in = model.Inputs();
  const Real s = model.DoorScale();
  const Txyz& a = model.Attitude();
  TScenePoses p;

  // The meshes turn with the markers: the same rotation as every door point.
  p.MeshAnglesDeg = {angleEditsDeg.X, -angleEditsDeg.Y, angleEditsDeg.Z};
  const TRotation rotation(a);
  p.MeshUp = rotation.Rotate(Txyz{0, 1, 0});
  p.MeshDirection = rotation.Rotate(Txyz{0, 0, 1});

  p.BallastCount = model.Variant().FBallastCount;
  for (int i = 0; i < kMaxBallast; ++i)
    p.BallastPositions[i] = ToSingle(rotation.Rotate(0, 0, (BallastTop - i * BallastPitch) * s));

  for (int k = 0; k < kHoleCount; ++k) {
    p.UpperHoleCubes[k] = ToSingle(r.FUpperHolesPos[k]);
    p.LowerHoleCubes[k] = ToSingle(r.FLowerHolesPos[k]);
  }
  p.BridleU = BridleLine(r.FUpperHolePos, in.BridleAngleOnPlan, in.BridleAngleOnSide - in.BridleAngleBridle / 2);
  p.BridleD = BridleLine(r.FLowerHolePos, in.BridleAngleOnPlan, in.BridleAngleOnSide + in.BridleAngleBridle / 2);

  for (int k = 0; k < 6; ++k)
    p.PairCubes[k] = ToSingle(r.FPairPointsPos[k]);
  for (int k = 0; k < kTowHoles; ++k)
    p.TowCubes[k] = ToSingle(r.FBracketHolesPos[k]);

  const int pairUpper = 2 * (static_cast<int>(model.Pair()) - 1);
  p.BracketPosition = ToSingle(MidPoint(p.PairCubes[pairUpper], p.PairCubes[pairUpper + 1]));
  const TxyzSingle& f0 = p.TowCubes[static_cast<int>(TTowHole::F0)];
  p.BracketRollDeg = BracketRollAngle(ToReal(f0) - ToReal(p.BracketPosition), p.MeshUp);
  // A towing hole lies at X along the bracket direction and Z up the pair axis: the
  // mesh's Y axis runs along that direction.
  p.BracketUp = r.FBracketDir;

  const TxyzSingle towCube = p.TowCubes[static_cast<int>(model.TowHole())];
  p.Warp = {towCube, ToSingle(ToReal(towCube) + r.FWarpDir * (BracketReach * s / 2))};

  const Real k = 1 / forceScale;
  p.BridleUF = DrawForceLines(r.FApplyPoint[kLoadUpperBridle], r.FLoad[kLoadUpperBridle], k);
  p.BridleDF = DrawForceLines(r.FApplyPoint[kLoadLowerBridle], r.FLoad[kLoadLowerBridle], k);
  p.GravityDoor = ToSingle(r.FHullCoG);
  p.GravityBracket = ToSingle(r.FBracketCoG);
  p.CubeGravity = ToSingle(r.FApplyPoint[kLoadWeight]);
  p.GravF = DrawForceLines(r.FApplyPoint[kLoadWeight], r.FLoad[kLoadWeight], k);
  p.CubeHydroW = ToSingle(r.FApplyPoint[kLoadWing]);
  p.HydroWF = DrawForceLines(r.FApplyPoint[kLoadWing], r.FLoad[kLoadWing], k);
  p.CubeHydroS = ToSingle(r.FApplyPoint[kLoadSpan]);
  p.HydroSF = DrawForceLines(r.FApplyPoint[kLoadSpan], r.FLoad[kLoadSpan], k);
  return p;
}
