// How the main window answers while it works: the longest gap between two rounds of
// event processing during a 10000-iteration balance run, the processor time Animate takes
// once the door is at rest, and the time from creating the window to its first showing.
// Run offscreen by make bench.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <sys/resource.h>

#include <algorithm>

#include "app/CommandTable.h"
#include "app/DoorF.h"

namespace {

void BM_LongestGapDuringBalance(benchmark::State& state)
{
  TFDoor door;
  door.show();
  double longest = 0;
  for (auto _ : state) {
    door.Model().SetSolverFactor(5);  // runs to the 10000-iteration limit
    door.ResetModelExecute();
    // A zero timer fires once in every round of event processing the run allows.
    QElapsedTimer clock;
    qint64 last = -1;
    double gap = 0;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      if (last >= 0)
        gap = std::max(gap, double(now - last) / 1e6);
      last = now;
    });
    ticker.start();
    clock.start();
    door.Commands().Execute(QStringLiteral("BalanceAct"));
    ticker.stop();
    longest = std::max(longest, gap);
    state.counters["gap_ms"] = gap;
  }
  state.counters["longest_gap_ms"] = longest;
  door.close();
}
BENCHMARK(BM_LongestGapDuringBalance)->Unit(benchmark::kMillisecond)->Iterations(5);

// User and system time of this process so far, seconds.
double ProcessorSeconds()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Animate on a door already at rest, for one second of the clock: the share of a core it
// keeps busy (0 when it only waits for events).
void BM_AnimateAtRest(benchmark::State& state)
{
  TFDoor door;
  door.show();
  // The gap benchmark before this one closed its window with solver factor 5 stored, and
  // at that factor the door never comes to rest.
  door.Model().SetSolverFactor(10000);
  door.Commands().Execute(QStringLiteral("BalanceAct"));
  QAction* animate = door.Commands().Find(QStringLiteral("Animate"));
  for (auto _ : state) {
    double share = 0;
    double start = 0;
    // Time for the last steps to rest, then one measured second.
    QTimer::singleShot(500, [&] { start = ProcessorSeconds(); });
    QTimer::singleShot(1500, [&] {
      share = ProcessorSeconds() - start;
      TCommandTable::SetChecked(animate, false);
    });
    animate->trigger();
    state.counters["core_share"] = share;
  }
  door.close();
}
BENCHMARK(BM_AnimateAtRest)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StartUpToShownWindow(benchmark::State& state)
{
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    {
      TFDoor door;
      door.show();
      if (!QTest::qWaitForWindowExposed(&door))
        state.SkipWithError("the window was never shown");
      state.counters["startup_ms"] = double(clock.nsecsElapsed()) / 1e6;
      state.PauseTiming();
      door.close();
      door.FinishRun();
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToShownWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
  qputenv("RAVLEN_LINK_BLOCK", "/ravlen-window-bench");
  QDir::setCurrent(home.path());
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
