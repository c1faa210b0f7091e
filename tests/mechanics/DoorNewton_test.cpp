// The Newton balance against the relaxation, its unstable roots, its fallback and the
// statics reported with every balance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "mechanics/DoorNewton.h"
#include "mechanics/DoorStatics.h"

namespace {

// A door of the family, its rigging and its towing conditions (angles in degrees).
struct TDoorCase {
  const char* Name;
  int AreaTag = 0;  // 0: the start-up door at scale 5
  TBracketSize Bracket = TBracketSize::Medium;
  int Ballast = 3;
  int Upper = 0, Lower = 0;
  TBracketPair Pair = TBracketPair::Pair1;
  TTowHole Tow = TTowHole::F0;
  Real Speed = 2, ResistanceKN = 100;
  Real WarpPlan = 0, WarpSide = 0, BridlePlan = 0, BridleSide = 0;
};

void SetUpDoor(TDoorModel& m, const TDoorCase& c)
{
  if (c.Bracket != TBracketSize::Medium || c.AreaTag != 0) {
    m.SetBracket(c.Bracket);
    if (c.AreaTag != 0)
      m.SetAreaTag(c.AreaTag);
    m.BuildModel();
  }
  m.SetBallastCount(c.Ballast);
  m.SelectUpperHole(c.Upper);
  m.SelectLowerHole(c.Lower);
  m.SelectPair(c.Pair);
  m.SelectTowHole(c.Tow);
  TDoorInputs& in = m.Inputs();
  in.TrawlSpeed = c.Speed;
  in.TrawlResistance = c.ResistanceKN * 1000;
  in.WarpAngleOnPlan = c.WarpPlan * kDegToRad;
  in.WarpAngleOnSide = c.WarpSide * kDegToRad;
  in.BridleAngleOnPlan = c.BridlePlan * kDegToRad;
  in.BridleAngleOnSide = c.BridleSide * kDegToRad;
}

Real LargestDifferenceDeg(const Txyz& a, const Txyz& b)
{
  return std::max({std::fabs(a.X - b.X), std::fabs(a.Y - b.Y), std::fabs(a.Z - b.Z)}) / kDegToRad;
}

TEST(NewtonBalance, StartUpDoorAgreesWithTheRelaxation)
{
  TDoorModel relax, newton;
  const TSolveResult r = SolveBalance(relax);
  const TNewtonResult n = SolveBalanceNewton(newton);
  ASSERT_TRUE(r.Converged);
  ASSERT_TRUE(n.Converged);
  EXPECT_FALSE(n.FellBack);
  EXPECT_LT(n.Residual, kBalanceTolerance);
  EXPECT_LE(n.Evaluations, 30);
  EXPECT_EQ(r.Evaluations, 2 * r.Iterations + 1);
  EXPECT_LT(LargestDifferenceDeg(relax.Attitude(), newton.Attitude()), 1e-6L);
}

TEST(NewtonBalance, VariedDoorsAgreeWithTheRelaxation)
{
  using B = TBracketSize;
  using P = TBracketPair;
  using T = TTowHole;
  const TDoorCase cases[] = {
      {"small door, one ballast", 450, B::Small, 1, 4, 9, P::Pair2, T::F1u, 1.5L, 40},
      {"large door, six ballast", 1440, B::Large, 6, 14, 0, P::Pair3, T::F2d, 3, 200},
      {"10.3 door, angled warp", 1039, B::Medium, 3, 7, 7, P::Pair1, T::F0, 2.2L, 120, 10, -8, 5, 3},
      {"11.6 door, bridles to the side", 1160, B::Small, 2, 2, 12, P::Pair2, T::F2u, 2.8L, 90, -5, 6, -12, -4},
      {"7.6 door, slow", 760, B::Large, 5, 10, 3, P::Pair3, T::F1d, 1.1L, 60, 0, 10, 8, 0},
      // Undamped Newton steps from zero attitude end in a valley of the residual here,
      // and in the next case at a balance 160 degrees away from the door's own.
      {"valley", 1440, B::Large, 2, 10, 8, P::Pair3, T::F1d, 3.3L, 125, 7, 8, -14, -8},
      {"far root", 1440, B::Large, 1, 14, 12, P::Pair2, T::F1u, 3.6L, 34, 14, -13, 12, -3},
      // Newton runs into a valley of the residual here and the relaxation finishes.
      {"fallback", 760, B::Small, 4, 6, 4, P::Pair3, T::F1d, 2.54L, 165.1L, 25.9L, 17.5L, 29.4L, -5},
  };
  for (const TDoorCase& c : cases) {
    TDoorModel relax, newton;
    SetUpDoor(relax, c);
    SetUpDoor(newton, c);
    const TSolveResult r = SolveBalance(relax);
    const TNewtonResult n = SolveBalanceNewton(newton);
    ASSERT_TRUE(r.Converged) << c.Name;
    ASSERT_TRUE(n.Converged) << c.Name;
    EXPECT_EQ(n.FellBack, c.Name == std::string("fallback")) << c.Name;
    EXPECT_LT(LargestDifferenceDeg(relax.Attitude(), newton.Attitude()), 1e-6L) << c.Name;
    if (!n.FellBack) {
      EXPECT_LT(n.Evaluations, r.Evaluations / 10) << c.Name;
    }
  }
}

TEST(NewtonBalance, FallbackCountsTheRelaxationsEvaluations)
{
  TDoorCase c{"fallback", 760, TBracketSize::Small, 4, 6, 4, TBracketPair::Pair3, TTowHole::F1d, 2.54L, 165.1L,
              25.9L, 17.5L, 29.4L, -5};
  TDoorModel newton;
  SetUpDoor(newton, c);
  int progressCalls = 0;
  const TNewtonResult n = SolveBalanceNewton(newton, [&](int) { ++progressCalls; });
  ASSERT_TRUE(n.FellBack);
  EXPECT_GT(n.RelaxIterations, 0);
  EXPECT_EQ(progressCalls, n.RelaxIterations / kBalanceProgressInterval);
  // One evaluation to start, at least four per Newton step, then the relaxation's own.
  EXPECT_GE(n.Evaluations, 1 + 4 * n.Steps + 2 * n.RelaxIterations + 1);
  const Txyz m = newton.EvaluateDoor(newton.Attitude());
  EXPECT_EQ(m.X, n.Moment.X);
  EXPECT_EQ(m.Z, n.Moment.Z);
}

TEST(NewtonBalance, BalancedDoorCostsOneEvaluation)
{
  TDoorModel model;
  SolveBalanceNewton(model);
  const Txyz before = model.Attitude();
  const TNewtonResult n = SolveBalanceNewton(model);
  EXPECT_TRUE(n.Converged);
  EXPECT_EQ(n.Steps, 0);
  EXPECT_EQ(n.Evaluations, 1);
  EXPECT_EQ(model.Attitude().Y, before.Y);
}

TEST(NewtonBalance, StartNearABalanceTakesFullSteps)
{
  // What a sweep does: the balance at 2 m/s is the start at 2.05 m/s. Newton's step
  // from there is short, so no damping is needed to reach the next balance.
  TDoorModel model;
  ASSERT_TRUE(SolveBalanceNewton(model).Converged);
  model.Inputs().TrawlSpeed = 2.05L;
  const TNewtonResult n = SolveBalanceNewton(model);
  EXPECT_TRUE(n.Converged);
  EXPECT_LE(n.Steps, 3);
  TDoorModel cold;
  cold.Inputs().TrawlSpeed = 2.05L;
  SolveBalanceNewton(cold);
  EXPECT_LT(LargestDifferenceDeg(model.Attitude(), cold.Attitude()), 1e-6L);
}

TEST(NewtonBalance, NaNStartEndsAtOnce)
{
  TDoorModel model;
  model.SetAttitude({std::nanl(""), 0, 0});
  const TNewtonResult n = SolveBalanceNewton(model);
  EXPECT_FALSE(n.Converged);
  EXPECT_FALSE(n.FellBack);
  EXPECT_EQ(n.Evaluations, 1);
  EXPECT_TRUE(std::isnan(n.Residual));
}

// The start-up door hanging nearly upside down has a balance in which a small push
// turns it away; Newton started on that side of the stable root finds it.
constexpr Txyz kUpsideDownStartDeg{-160, 0, -190};

TEST(BalanceDoor, UnstableRootIsReportedUnstable)
{
  TDoorModel model;
  model.SetAttitude(kUpsideDownStartDeg * kDegToRad);
  const TBalanceOutcome o = BalanceDoor(model, TBalanceMethod::Newton);
  ASSERT_TRUE(o.Converged);
  ASSERT_TRUE(o.StabilityAssessed);
  EXPECT_FALSE(o.Stability.Stable);
  EXPECT_TRUE(o.Warnings.Has(TBalanceWarning::Unstable));
  EXPECT_TRUE(o.Warnings.Has(TBalanceWarning::FallingOver));
  const Txyz root = model.Attitude();

  // What the verdict means: pushed off by half a degree, the relaxation (the door
  // turning with its moments) does not come back. At the stable root it does.
  TDoorModel pushed;
  pushed.SetAttitude(root + Txyz{0.5L, 0.5L, 0.5L} * kDegToRad);
  SolveBalance(pushed);
  EXPECT_GT(LargestDifferenceDeg(pushed.Attitude(), root), 1);

  TDoorModel stable;
  const TBalanceOutcome s = BalanceDoor(stable, TBalanceMethod::Newton);
  ASSERT_TRUE(s.Converged);
  EXPECT_TRUE(s.Stability.Stable);
  EXPECT_TRUE(s.Warnings.None());
  TDoorModel back;
  back.SetAttitude(stable.Attitude() + Txyz{0.5L, 0.5L, 0.5L} * kDegToRad);
  SolveBalance(back);
  EXPECT_LT(LargestDifferenceDeg(back.Attitude(), stable.Attitude()), 1e-6L);
}

TEST(BalanceDoor, BothMethodsReportTheSameStatics)
{
  TDoorModel relax, newton;
  const TBalanceOutcome r = BalanceDoor(relax, TBalanceMethod::Relax);
  const TBalanceOutcome n = BalanceDoor(newton, TBalanceMethod::Newton);
  EXPECT_EQ(r.Evaluations, 2 * r.Iterations + 1);
  EXPECT_EQ(n.Iterations, 0);
  for (const TBalanceOutcome* o : {&r, &n}) {
    EXPECT_TRUE(o->Converged);
    EXPECT_TRUE(o->Stability.Stable);
    EXPECT_TRUE(o->Warnings.None());
  }
  EXPECT_NEAR(r.HeelPitch.Heel, n.HeelPitch.Heel, 1e-6L * kDegToRad);
  EXPECT_NEAR(r.HeelPitch.Pitch, n.HeelPitch.Pitch, 1e-6L * kDegToRad);
  EXPECT_NEAR(r.AttackAngle, n.AttackAngle, 1e-6L * kDegToRad);
  // The model is left describing the balanced attitude, not the last push.
  EXPECT_EQ(newton.Results().FMoment.X, n.Moment.X);
  EXPECT_EQ(newton.Results().FMoment.Y, n.Moment.Y);
  EXPECT_EQ(relax.Results().FMoment.Z, r.Moment.Z);
}

TEST(BalanceDoor, WarningsFromDoorsMadeForThem)
{
  using B = TBalanceWarning;
  struct Case {
    TDoorCase Door;
    TBalanceMethod Method;
    Real SolverFactor;
    B Expected;
  };
  const Case cases[] = {
      // A coarse gain sets the relaxation swinging past the balance until the limit.
      {{"coarse relaxation"}, TBalanceMethod::Relax, 5, B::NotConverged},
      // Slow and with the bridles far out, the small door balances beyond its lift peak.
      {{"stalled", 450, TBracketSize::Large, 6, 4, 8, TBracketPair::Pair3, TTowHole::F2u, 1.18L, 55, 26.5L, 21.4L,
        28.9L, 13.3L},
       TBalanceMethod::Newton, 10000, B::Stalled},
      // Fast on a light warp the 14.4 door leans and pitches past 30 degrees.
      {{"falling over", 1440, TBracketSize::Small, 1, 2, 8, TBracketPair::Pair2, TTowHole::F0, 1.47L, 11.2L, 14.5L,
        -3, 22.5L, -4.5L},
       TBalanceMethod::Newton, 10000, B::FallingOver},
  };
  for (const Case& c : cases) {
    TDoorModel model;
    SetUpDoor(model, c.Door);
    model.SetSolverFactor(c.SolverFactor);
    const TBalanceOutcome o = BalanceDoor(model, c.Method);
    if (c.Expected != B::NotConverged) {
      EXPECT_EQ(o.Warnings.Bits(), static_cast<unsigned>(c.Expected)) << c.Door.Name;
      EXPECT_TRUE(o.Converged && o.Stability.Stable) << c.Door.Name;
    } else {
      // Where the swinging stopped the door may lean any way; it is no balance, so it
      // is neither stable nor unstable.
      EXPECT_TRUE(o.Warnings.Has(B::NotConverged));
      EXPECT_FALSE(o.Warnings.Has(B::Unstable));
      EXPECT_FALSE(o.StabilityAssessed);
    }
  }
}

}  // namespace
