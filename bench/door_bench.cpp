// Cost of one evaluation of the door and of a full balance run that does not converge
// (solver factor 5 drives the start-up door to the 10000-iteration limit).
#include <benchmark/benchmark.h>

#include "mechanics/DoorSolver.h"

namespace {

void BM_EvaluateDoor(benchmark::State& state)
{
  TDoorModel model;
  Txyz attitude{0.02L, -0.05L, 0.6L};
  for (auto _ : state) {
    benchmark::DoNotOptimize(model.EvaluateDoor(attitude));
    attitude.Z = attitude.Z + 1e-9L;  // a new attitude each time, as in the solver
  }
}
BENCHMARK(BM_EvaluateDoor);

void BM_BalanceToTheLimit(benchmark::State& state)
{
  TDoorModel model;
  model.SetSolverFactor(5);
  for (auto _ : state) {
    model.SetAttitude({0, 0, 0});
    const TSolveResult r = SolveBalance(model);
    benchmark::DoNotOptimize(r);
    if (r.Iterations != kBalanceIterationLimit)
      state.SkipWithError("the run converged; it should run to the limit");
  }
}
BENCHMARK(BM_BalanceToTheLimit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
