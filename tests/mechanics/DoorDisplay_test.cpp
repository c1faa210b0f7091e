// The pure part of showing an evaluation.
#include <gtest/gtest.h>

#include <cmath>

#include "mechanics/DoorDisplay.h"

namespace {

void ExpectNear(const TxyzSingle& a, const Txyz& b, Real tol = 1e-6L)
{
  EXPECT_NEAR(a.X, b.X, tol);
  EXPECT_NEAR(a.Y, b.Y, tol);
  EXPECT_NEAR(a.Z, b.Z, tol);
}

Real Length(const TLinePose& line) { return Hypot3(line.To.X - line.From.X, line.To.Y - line.From.Y, line.To.Z - line.From.Z); }

TEST(DoorDisplay, GridsScrollAndWrap)
{
  EXPECT_NEAR(ScrollGridX(0, ElapsedSeconds(500), 2), 1.0L, 1e-18L);
  EXPECT_EQ(ScrollGridX(9.5L, ElapsedSeconds(500), 2), -10);
  EXPECT_EQ(ScrollGridX(9.0L, ElapsedSeconds(500), 2), 10);  // exactly 10 stays
}

TEST(DoorDisplay, ForceLineNodes)
{
  const Txyz p{1, 2, 3};
  const auto n = DrawForceLines(p, {15000, 30000, 0}, 1 / 15000.0L);
  ExpectNear(n[0], p + Txyz{1, 0, 0});
  ExpectNear(n[1], p);
  ExpectNear(n[2], p + Txyz{0, 2, 0});
  ExpectNear(n[3], p);
  ExpectNear(n[4], p);
  ExpectNear(n[5], p);
  ExpectNear(n[6], p + Txyz{1, 2, 0});
}

TEST(DoorDisplay, AutoScaleIsHalfTheLargestLoadComponent)
{
  TDoorResults r{};
  r.FLoad[kLoadWing] = {15000, -20000, 3};
  r.FLoad[kLoadWeight] = {0, 0, -25000};
  r.FLoad[kLoadSpan] = {0, std::nanl(""), 0};
  EXPECT_EQ(AutoForceScaleValue(r), 12500);
}

TEST(DoorDisplay, ReadoutsAreTheForceAndMoment)
{
  TDoorModel model;
  model.EvaluateDoor({0.1L, 0.2L, 0.6L});
  const TReadouts out = ComputeReadouts(model.Results());
  EXPECT_EQ(out.ResSpreading, model.Results().FForce.Y);
  EXPECT_EQ(out.ResResistance, model.Results().FForce.X);
  EXPECT_EQ(out.ResVertical, model.Results().FForce.Z);
  EXPECT_NE(model.Results().FLoad[kLoadSpan].Y, 0);  // the span force is part of it
  EXPECT_EQ(out.Moment.Z, model.Results().FMoment.Z);
  EXPECT_EQ(out.AngleAttack, model.Results().FAttackW);
}

TEST(DoorDisplay, BracketSitsOnTheChosenPair)
{
  TDoorModel model;
  model.SelectPair(TBracketPair::Pair2);
  model.EvaluateDoor({0.1L, 0, 0.3L});
  const TScenePoses p = ComputeScenePoses(model, {0, 0, 0}, 15000);
  ExpectNear(p.BracketPosition, DivXyz(ToReal(p.PairCubes[2]) + ToReal(p.PairCubes[3]), 2), 0);
  ExpectNear(p.Warp.From, model.Results().FBracketHolesPos[2]);
}

TEST(DoorDisplay, BridlesKeepTheirLengthTheWarpGrowsWithTheDoor)
{
  TDoorModel small, large;
  small.SetAreaTag(450);
  small.BuildModel();
  large.SetAreaTag(1440);
  large.BuildModel();
  small.EvaluateDoor({0, 0, 0});
  large.EvaluateDoor({0, 0, 0});
  const TScenePoses ps = ComputeScenePoses(small, {0, 0, 0}, 15000);
  const TScenePoses pl = ComputeScenePoses(large, {0, 0, 0}, 15000);
  EXPECT_NEAR(Length(ps.BridleU), BracketReach / 2, 1e-6L);
  EXPECT_NEAR(Length(pl.BridleD), BracketReach / 2, 1e-6L);
  EXPECT_NEAR(Length(ps.Warp), BracketReach * small.DoorScale() / 2, 1e-6L);
  EXPECT_NEAR(Length(pl.Warp), BracketReach * large.DoorScale() / 2, 1e-6L);
}

TEST(DoorDisplay, HingedBracketPointsItsHolesAtTheTowingHoles)
{
  TDoorModel model;
  model.SelectPair(TBracketPair::Pair3);
  model.Inputs().WarpAngleOnPlan = 0.2L;
  const Txyz degrees{12, -7, 25};
  model.SetAttitude(degrees * kDegToRad);
  model.EvaluateDoor(model.Attitude());
  const TScenePoses p = ComputeScenePoses(model, degrees, 15000);
  const Txyz up = p.BracketUp, axis = p.MeshDirection;
  EXPECT_NEAR(up.X * axis.X + up.Y * axis.Y + up.Z * axis.Z, 0, 1e-12L);  // hinged on the pair axis
  // The medium bracket's F1u hole: 70 mm along the bracket, 22 mm up the axis (unit door).
  const Real s = model.DoorScale();
  const Txyz f1u = ToReal(p.BracketPosition) + up * (-0.07L * s) + axis * (0.022L * s);
  ExpectNear(p.TowCubes[static_cast<int>(TTowHole::F1u)], f1u, 1e-6L);
  // The same turn as the roll angle: from the turned up vector by -roll about the axis.
  const Txyz u0 = p.MeshUp;
  const Real cosine = u0.X * up.X + u0.Y * up.Y + u0.Z * up.Z;
  EXPECT_NEAR(std::acos(cosine) / kDegToRad, -p.BracketRollDeg, 1e-6L);
}

TEST(DoorDisplay, BracketRollNeverAboveZero)
{
  struct Case {
    Txyz V;
    Real Roll;
  };
  const Txyz up{0, 1, 0};
  for (const Case c : {Case{{0, 1, 0}, 0}, Case{{-1, 0, 0}, -90}, Case{{-1, 1, 0}, -135},
                       Case{{-1, -1, 0}, -45}})
    EXPECT_NEAR(BracketRollAngle(c.V, up), c.Roll, 1e-12L) << c.V.X << "," << c.V.Y;
}

}  // namespace
