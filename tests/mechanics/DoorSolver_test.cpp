// The balance solver.
#include <gtest/gtest.h>

#include <cmath>

#include "mechanics/DoorSolver.h"

namespace {

// Counts evaluations through the input source, which every evaluation reads first.
struct TCountedModel {
  TDoorModel Model;
  int Evaluations = 0;
  TCountedModel()
  {
    Model.SetInputSource([this](TDoorInputs&) { ++Evaluations; });
  }
};

TEST(SolveBalance, DefaultDoorConverges)
{
  TDoorModel model;
  int calls = 0, last = 0;
  const TSolveResult r = SolveBalance(model, [&](int iterations) {
    ++calls;
    last = iterations;
  });
  EXPECT_TRUE(r.Converged);
  EXPECT_GT(r.Iterations, 0);
  EXPECT_LT(r.Iterations, kBalanceIterationLimit);
  EXPECT_LT(r.Residual, kBalanceTolerance);
  EXPECT_EQ(calls, r.Iterations / 100);
  EXPECT_EQ(last, calls * 100);
  const Txyz m = model.EvaluateDoor(model.Attitude());
  EXPECT_LT(std::fabs(m.X) + std::fabs(m.Y) + std::fabs(m.Z), kBalanceTolerance);
}

TEST(SolveBalance, BalancedDoorCostsOneEvaluation)
{
  TCountedModel counted;
  SolveBalance(counted.Model);
  counted.Evaluations = 0;
  const Txyz before = counted.Model.Attitude();
  const TSolveResult r = SolveBalance(counted.Model);
  EXPECT_TRUE(r.Converged);
  EXPECT_EQ(r.Iterations, 0);
  EXPECT_EQ(counted.Evaluations, 1);
  EXPECT_EQ(counted.Model.Attitude().X, before.X);
  EXPECT_EQ(counted.Model.Attitude().Z, before.Z);
}

TEST(SolveBalance, CoarseFactorRunsToTheLimit)
{
  TCountedModel counted;
  counted.Model.SetSolverFactor(5);
  const TSolveResult r = SolveBalance(counted.Model);
  EXPECT_FALSE(r.Converged);
  EXPECT_EQ(r.Iterations, kBalanceIterationLimit);
  EXPECT_EQ(counted.Evaluations, 2 * kBalanceIterationLimit);
}

TEST(SolveBalance, NaNMomentRunsToTheLimitWithNaNAttitude)
{
  TDoorModel model;
  model.SetAttitude({std::nanl(""), 0, 0});
  const TSolveResult r = SolveBalance(model);
  EXPECT_FALSE(r.Converged);
  EXPECT_EQ(r.Iterations, kBalanceIterationLimit);
  EXPECT_TRUE(std::isnan(model.Attitude().X));
}

TEST(StepAttitude, TenKiloNewtonMetresTurnOneDegree)
{
  TDoorModel model;
  model.SetAttitude({0, 0, 0});
  StepAttitude(model, {0, 10000, 0});
  EXPECT_EQ(model.Attitude().X, 0);
  EXPECT_NEAR(model.Attitude().Y / kDegToRad, 1, 1e-18L);
  model.SetSolverFactor(5);
  StepAttitude(model, {-5, 0, 0});
  EXPECT_NEAR(model.Attitude().X / kDegToRad, -1, 1e-18L);
}

TEST(SolveBalance, ProgressMayChangeTheInputsMidRun)
{
  // A request served inside a run changes the conditions the run goes on with.
  TDoorModel model;
  SolveBalance(model, [&model](int) { model.Inputs().TrawlSpeed = 3; });
  TDoorModel fresh;
  fresh.Inputs().TrawlSpeed = 3;
  SolveBalance(fresh);
  EXPECT_NEAR(model.Attitude().Z, fresh.Attitude().Z, 1e-6L);
}

}  // namespace
