// EvaluateDoor and SolveBalance run twice per solver step, 10000 steps a run: they must
// not touch the heap. The global allocator is replaced to count.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "mechanics/DoorNewton.h"
#include "mechanics/DoorSolver.h"
#include "mechanics/DoorStatics.h"

namespace {
std::atomic<long> gAllocations{0};
}

void* operator new(std::size_t size)
{
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1))
    return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(NoAllocation, EvaluateAndSolve)
{
  TDoorModel model;
  int progressCalls = 0;
  Real seen = 0;
  model.SetAttackObserver([&seen](Real angle) { seen = angle; });
  model.SetInputSource([](TDoorInputs& in) { in.TrawlSpeed = 2.5L; });
  const std::function<void(int)> progress = [&progressCalls](int) { ++progressCalls; };
  model.SetSolverFactor(5);

  const long before = gAllocations.load();
  model.EvaluateDoor({0.1L, 0.2L, 0.3L});
  const TSolveResult r = SolveBalance(model, progress);
  const long during = gAllocations.load() - before;

  EXPECT_EQ(during, 0);
  EXPECT_EQ(r.Iterations, kBalanceIterationLimit);
  EXPECT_EQ(progressCalls, 100);
  EXPECT_NE(seen, 0);
}

TEST(NoAllocation, NewtonBalanceWithStatics)
{
  // Thousands of these run for one rigging search.
  TDoorModel model;
  const std::function<void(int)> progress = [](int) {};
  const long before = gAllocations.load();
  const TNewtonResult n = SolveBalanceNewton(model, progress);
  model.SetAttitude({0, 0, 0});
  const TBalanceOutcome o = BalanceDoor(model, TBalanceMethod::Newton, progress);
  model.SetAttitude({0, 0, 0});
  const TBalanceOutcome r = BalanceDoor(model, TBalanceMethod::Relax, progress);
  const long during = gAllocations.load() - before;

  EXPECT_EQ(during, 0);
  EXPECT_TRUE(n.Converged && o.Converged && r.Converged);
  EXPECT_TRUE(o.StabilityAssessed);
}

}  // namespace
