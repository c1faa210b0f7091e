// The statics tools: the Newton balance of the start-up door, its agreement with the
// relaxation over random doors, the rigging search over one door and over the whole
// family, and a sweep of 1000 speeds. The long runs use every core and are timed on
// the wall clock.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "mechanics/DoorChoice.h"
#include "mechanics/DoorNewton.h"
#include "mechanics/DoorStatics.h"
#include "mechanics/DoorSweep.h"
#include "mechanics/RiggingSearch.h"

namespace {

void BM_NewtonBalanceStartUpDoor(benchmark::State& state)
{
  TDoorModel model;
  int evaluations = 0;
  for (auto _ : state) {
    model.SetAttitude({0, 0, 0});
    const TNewtonResult r = SolveBalanceNewton(model);
    evaluations = r.Evaluations;
    if (!r.Converged)
      state.SkipWithError("the start-up door did not converge");
  }
  state.counters["evaluations"] = evaluations;
}
BENCHMARK(BM_NewtonBalanceStartUpDoor)->Unit(benchmark::kMicrosecond);

// The same with what every balance of the tools adds: stability (four evaluations),
// heel, pitch and warnings.
void BM_BalanceDoorNewtonWithStatics(benchmark::State& state)
{
  TDoorModel model;
  for (auto _ : state) {
    model.SetAttitude({0, 0, 0});
    benchmark::DoNotOptimize(BalanceDoor(model, TBalanceMethod::Newton));
  }
}
BENCHMARK(BM_BalanceDoorNewtonWithStatics)->Unit(benchmark::kMicrosecond);

// A random member of the family, rigging and towing conditions.
void RandomDoor(std::mt19937& g, TDoorModel& a, TDoorModel& b)
{
  std::uniform_real_distribution<double> u(0, 1);
  const TDoorChoice door{kAreaTags[static_cast<int>(u(g) * 5)], 1 + static_cast<int>(u(g) * 6),
                         static_cast<TBracketSize>(static_cast<int>(u(g) * 3))};
  const TRigging rigging{static_cast<int>(u(g) * 15), static_cast<int>(u(g) * 15),
                         static_cast<TBracketPair>(1 + static_cast<int>(u(g) * 3)),
                         static_cast<TTowHole>(static_cast<int>(u(g) * 5))};
  TDoorInputs in;
  in.TrawlSpeed = 1 + u(g) * 3;
  in.TrawlResistance = (30 + u(g) * 150) * 1000;
  in.WarpAngleOnPlan = (u(g) * 30 - 15) * kDegToRad;
  in.WarpAngleOnSide = (u(g) * 30 - 15) * kDegToRad;
  in.BridleAngleOnPlan = (u(g) * 30 - 15) * kDegToRad;
  in.BridleAngleOnSide = (u(g) * 20 - 10) * kDegToRad;
  for (TDoorModel* m : {&a, &b}) {
    ApplyDoorChoice(*m, door);
    ApplyRigging(*m, rigging);
    m->Inputs() = in;
    m->SetAttitude({0, 0, 0});
  }
}

// 300 random doors on which the relaxation converges: the share where Newton reaches
// the same attitude within 1e-6 degrees, and Newton's median and worst evaluations.
void BM_NewtonAgreesWithRelaxation(benchmark::State& state)
{
  for (auto _ : state) {
    std::mt19937 g(20240601);
    int cases = 0, agree = 0, fellBack = 0;
    std::vector<int> evaluations;
    while (cases < 300) {
      TDoorModel relax, newton;
      RandomDoor(g, relax, newton);
      if (!SolveBalance(relax).Converged)
        continue;
      ++cases;
      const TNewtonResult n = SolveBalanceNewton(newton);
      evaluations.push_back(n.Evaluations);
      fellBack += n.FellBack;
      const Txyz d = relax.Attitude() - newton.Attitude();
      if (n.Converged && std::max({std::fabs(d.X), std::fabs(d.Y), std::fabs(d.Z)}) < 1e-6L * kDegToRad)
        ++agree;
    }
    std::sort(evaluations.begin(), evaluations.end());
    state.counters["agree_percent"] = 100.0 * agree / cases;
    state.counters["median_evaluations"] = evaluations[evaluations.size() / 2];
    state.counters["worst_evaluations"] = evaluations.back();
    state.counters["fallbacks"] = fellBack;
  }
}
BENCHMARK(BM_NewtonAgreesWithRelaxation)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_AdviseOneDoor(benchmark::State& state)
{
  const TRiggingSearchDef def;
  long kept = 0;
  for (auto _ : state)
    kept = SearchRiggings(def).Kept;
  state.counters["configurations"] = kRiggingsPerDoor;
  state.counters["kept"] = kept;
}
BENCHMARK(BM_AdviseOneDoor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AdviseWholeFamily(benchmark::State& state)
{
  TRiggingSearchDef def;
  def.Doors.clear();
  for (int area : kAreaTags)
    for (int ballast = 1; ballast <= kMaxBallast; ++ballast)
      for (TBracketSize bracket : {TBracketSize::Small, TBracketSize::Medium, TBracketSize::Large})
        def.Doors.push_back({area, ballast, bracket});
  long balanced = 0;
  for (auto _ : state)
    balanced = SearchRiggings(def).Balanced;
  state.counters["configurations"] = static_cast<double>(balanced);
}
BENCHMARK(BM_AdviseWholeFamily)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

void BM_Sweep1000Speeds(benchmark::State& state)
{
  TSweepDef def;
  def.SetUp = [](TDoorModel&) {};
  TSweepAxis speeds;
  speeds.Field = &TDoorInputs::TrawlSpeed;
  for (int i = 0; i < 1000; ++i)
    speeds.Values.push_back(1 + i * 0.003L);
  def.Axes.push_back(speeds);
  for (auto _ : state)
    benchmark::DoNotOptimize(RunSweep(def));
}
BENCHMARK(BM_Sweep1000Speeds)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
