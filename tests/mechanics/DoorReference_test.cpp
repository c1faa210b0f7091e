// The door model, the display update and the balance run against reference doors whose
// numbers come from an independent model of the door (reference_door.py,
// DoorReferenceCases.h): loads, points of application, moment, geometry, masses, every
// scene pose, the read-outs and the balanced attitude.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

#include "DoorReferenceCases.h"
#include "mechanics/DoorSolver.h"

// gtest would otherwise print the whole case, bytes and all, with every failure.
void PrintTo(const TReferenceDoor& c, std::ostream* os) { *os << c.Name; }

namespace {

// The model computes in extended precision and the references in double: they agree to
// about 1e-15 of the size of each quantity, so 1e-9 of it leaves a wide margin for rounding
// while every fault of the geometry or of a coefficient moves some number by far more.
constexpr Real kModelRel = 1e-9L;
// Scene positions are single precision (an ulp is 6e-8 of the value) and are rounded from
// slightly different extended and double values: an ulp or two of difference, well inside
// 1e-6 of the vector's size (at least 1 scene unit).
constexpr Real kPoseRel = 1e-6L;
// The bracket roll is worked out on both sides from the same single-precision positions,
// so only extended against double rounding separates them.
constexpr Real kRollTolDeg = 1e-5L;
// A balance run stops within 1e-5 N*m of the moment-free attitude; at the stiffness of
// these doors (1e4 N*m per radian and more) that is 1e-9 rad, far inside 1e-6 degree.
// The step it stops at hangs on the last bits of the moment, so one step either way is
// rounding, not a fault.
constexpr Real kBalancedTolDeg = 1e-6L;
constexpr int kBalanceStepSlack = 1;

Real Norm(const Txyz& v) { return Hypot3(v.X, v.Y, v.Z); }

void ExpectClose(const Txyz& actual, const Txyz& expected, Real tol, const std::string& what)
{
  EXPECT_NEAR(actual.X, expected.X, tol) << what << ".X";
  EXPECT_NEAR(actual.Y, expected.Y, tol) << what << ".Y";
  EXPECT_NEAR(actual.Z, expected.Z, tol) << what << ".Z";
}

void ExpectPose(const TxyzSingle& actual, const Txyz& expected, const std::string& what)
{
  ExpectClose(ToReal(actual), expected, kPoseRel * std::max(Norm(expected), Real(1)), what);
}

template <std::size_t N>
void ExpectPoses(const std::array<TxyzSingle, N>& actual, const std::array<Txyz, N>& expected,
                 const std::string& what, std::size_t count = N)
{
  for (std::size_t i = 0; i < count; ++i)
    ExpectPose(actual[i], expected[i], what + "[" + std::to_string(i) + "]");
}

void ExpectLine(const TLinePose& actual, const std::array<Txyz, 2>& expected, const std::string& what)
{
  ExpectPose(actual.From, expected[0], what + ".From");
  ExpectPose(actual.To, expected[1], what + ".To");
}

class DoorReference : public ::testing::TestWithParam<TReferenceDoor> {
protected:
  void SetUp() override
  {
    const TReferenceDoor& c = GetParam();
    if (c.AreaTag != 0)
      FModel.SetAreaTag(c.AreaTag);
    FModel.SetBracket(c.Bracket);
    FModel.BuildModel();
    FModel.SetBallastCount(c.Ballast);
    FModel.SelectPair(c.Pair);
    FModel.SelectTowHole(c.Tow);
    FModel.SelectUpperHole(c.UpperHole);
    FModel.SelectLowerHole(c.LowerHole);
    TDoorInputs& in = FModel.Inputs();
    in.TrawlResistance = c.Resistance;
    in.TrawlSpeed = c.Speed;
    in.WaterDensity = c.Density;
    in.BridleAngleOnSide = c.BridleSideDeg * kDegToRad;
    in.BridleAngleOnPlan = c.BridlePlanDeg * kDegToRad;
    in.BridleAngleBridle = c.BridleBetweenDeg * kDegToRad;
    in.WarpAngleOnSide = c.WarpSideDeg * kDegToRad;
    in.WarpAngleOnPlan = c.WarpPlanDeg * kDegToRad;
    const Txyz a = c.AttitudeDeg * kDegToRad;
    FModel.SetAttitude(a);
    FModel.EvaluateDoor(a);
  }

  // Lengths are compared against the door's size, loads against their own.
  Real LengthTol() const { return kModelRel * FModel.DoorScale(); }

  TDoorModel FModel;
};

TEST_P(DoorReference, LoadsPointsOfApplicationAndMoment)
{
  const TReferenceDoor& c = GetParam();
  const TDoorResults& r = FModel.Results();
  Real largest = 0;
  for (int i = 0; i < kLoadCount; ++i) {
    const std::string n = std::to_string(i);
    ExpectClose(r.FLoad[i], c.Load[i], kModelRel * std::max(Norm(c.Load[i]), Real(1)), "FLoad[" + n + "]");
    ExpectClose(r.FApplyPoint[i], c.ApplyPoint[i], LengthTol(), "FApplyPoint[" + n + "]");
    largest = std::max(largest, Norm(c.Load[i]));
  }
  // The moment sums terms of the largest load times the door's size, and may be far
  // smaller than they are.
  ExpectClose(r.FMoment, c.Moment, kModelRel * largest * FModel.DoorScale(), "FMoment");
  ExpectClose(r.FForce, c.Force, kModelRel * Norm(c.Force), "FForce");
  EXPECT_NEAR(r.FTotalMass, c.TotalMass, kModelRel * c.TotalMass);
}

TEST_P(DoorReference, TowPointBracketAndCentresOfGravity)
{
  const TReferenceDoor& c = GetParam();
  const TDoorResults& r = FModel.Results();
  ExpectClose(r.FTowPoint, c.TowPoint, LengthTol(), "FTowPoint");
  ExpectClose(r.FPairUpperPos, c.PairUpper, LengthTol(), "FPairUpperPos");
  ExpectClose(r.FPairLowerPos, c.PairLower, LengthTol(), "FPairLowerPos");
  ExpectClose(r.FWarpDir, c.WarpDir, kModelRel, "FWarpDir");
  ExpectClose(r.FBracketDir, c.BracketDir, kModelRel, "FBracketDir");
  for (int i = 0; i < kTowHoles; ++i)
    ExpectClose(r.FBracketHolesPos[i], c.TowHoles[i], LengthTol(), "FBracketHolesPos[" + std::to_string(i) + "]");
  ExpectClose(r.FHullCoG, c.HullCoG, LengthTol(), "FHullCoG");
  ExpectClose(r.FBracketCoG, c.BracketCoG, LengthTol(), "FBracketCoG");
  EXPECT_NEAR(r.FAttackW, c.AttackW, kModelRel);
  EXPECT_NEAR(r.FAttackS, c.AttackS, kModelRel);
}

TEST_P(DoorReference, ScenePoses)
{
  const TReferenceDoor& c = GetParam();
  const TScenePoses p = ComputeScenePoses(FModel, c.AttitudeDeg, c.ForceScale);
  ExpectClose(p.MeshAnglesDeg, c.MeshAnglesDeg, kModelRel, "MeshAnglesDeg");
  ExpectClose(p.MeshUp, c.MeshUp, kModelRel, "MeshUp");
  ExpectClose(p.MeshDirection, c.MeshDirection, kModelRel, "MeshDirection");
  ExpectPose(p.BracketPosition, c.BracketPosition, "BracketPosition");
  EXPECT_NEAR(p.BracketRollDeg, c.BracketRollDeg, kRollTolDeg);
  ASSERT_EQ(p.BallastCount, c.Ballast);
  ExpectPoses(p.BallastPositions, c.BallastPositions, "BallastPositions", std::size_t(c.Ballast));

  ExpectPoses(p.UpperHoleCubes, c.UpperHoleCubes, "UpperHoleCubes");
  ExpectPoses(p.LowerHoleCubes, c.LowerHoleCubes, "LowerHoleCubes");
  ExpectPoses(p.PairCubes, c.PairCubes, "PairCubes");
  ExpectPoses(p.TowCubes, c.TowCubes, "TowCubes");
  ExpectPose(p.GravityDoor, c.GravityDoor, "GravityDoor");
  ExpectPose(p.GravityBracket, c.GravityBracket, "GravityBracket");
  ExpectPose(p.CubeGravity, c.CubeGravity, "CubeGravity");
  ExpectPose(p.CubeHydroW, c.CubeHydroW, "CubeHydroW");
  ExpectPose(p.CubeHydroS, c.CubeHydroS, "CubeHydroS");

  ExpectLine(p.BridleU, c.BridleU, "BridleU");
  ExpectLine(p.BridleD, c.BridleD, "BridleD");
  ExpectLine(p.Warp, c.Warp, "Warp");
  ExpectPoses(p.BridleUF, c.BridleUF, "BridleUF");
  ExpectPoses(p.BridleDF, c.BridleDF, "BridleDF");
  ExpectPoses(p.GravF, c.GravF, "GravF");
  ExpectPoses(p.HydroWF, c.HydroWF, "HydroWF");
  ExpectPoses(p.HydroSF, c.HydroSF, "HydroSF");
}

TEST_P(DoorReference, Readouts)
{
  const TReferenceDoor& c = GetParam();
  const TReadouts out = ComputeReadouts(FModel.Results());
  EXPECT_NEAR(out.AngleAttack, c.AttackW, kModelRel);
  EXPECT_NEAR(out.ResResistance, c.Force.X, kModelRel * Norm(c.Force));
  EXPECT_NEAR(out.ResSpreading, c.Force.Y, kModelRel * Norm(c.Force));
  EXPECT_NEAR(out.ResVertical, c.Force.Z, kModelRel * Norm(c.Force));
  Real largest = 0, component = 0;
  for (const Txyz& load : c.Load) {
    largest = std::max(largest, Norm(load));
    component = std::max({component, std::fabs(load.X), std::fabs(load.Y), std::fabs(load.Z)});
  }
  ExpectClose(out.Moment, c.Moment, kModelRel * largest * FModel.DoorScale(), "Moment");
  EXPECT_NEAR(AutoForceScaleValue(FModel.Results()), component / 2, kModelRel * component);
}

TEST_P(DoorReference, BalanceRunEndsAtTheReferenceAttitude)
{
  const TReferenceDoor& c = GetParam();
  FModel.SetSolverFactor(10000);
  const TSolveResult run = SolveBalance(FModel);
  EXPECT_EQ(run.Converged, c.BalanceConverged);
  EXPECT_NEAR(run.Iterations, c.BalanceSteps, kBalanceStepSlack);
  ExpectClose(FModel.Attitude() * (1 / kDegToRad), c.BalancedDeg, kBalancedTolDeg, "balanced attitude, deg");
}

INSTANTIATE_TEST_SUITE_P(Doors, DoorReference, ::testing::ValuesIn(kReferenceDoors),
                         [](const ::testing::TestParamInfo<TReferenceDoor>& info) {
                           return std::string(info.param.Name);
                         });

}  // namespace
