// The 3D view in the start-up window under a display with OpenGL (make bench runs it in
// xvfb-run, Mesa's software renderer): the time of one frame of the full scene, of one pick,
// the solver steps per second that Animate shows with the view repainting, and the
// program's resident memory once started.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <cstdio>
#include <memory>

#include "app/CommandTable.h"
#include "app/DoorF.h"
#include "assets/Meshes.h"
#include "view/GLDoorView.h"

namespace {

// The view of the program, counting the refreshes it is given.
class TCountingView : public TGLDoorView {
public:
  TCountingView() : TGLDoorView(MeshResource) {}
  long Refreshes = 0;

protected:
  void ApplyPoses(const TScenePoses& poses, Real gridXZ, Real gridXY) override
  {
    ++Refreshes;
    TGLDoorView::ApplyPoses(poses, gridXZ, gridXY);
  }
};

// The window as the program makes it, shown and drawn once.
struct TStarted {
  std::shared_ptr<TCountingView> View = std::make_shared<TCountingView>();
  std::unique_ptr<TFDoor> Door = std::make_unique<TFDoor>();

  TStarted()
  {
    TDoorCollaborators collaborators;
    collaborators.View = View;
    Door->SetCollaborators(collaborators);
    Door->show();
    if (!QTest::qWaitForWindowExposed(Door.get()))
      qFatal("view_bench: the window was never shown");
    WaitForFrame();
  }
  ~TStarted()
  {
    Door->close();
    Door->FinishRun();
  }
  TSceneViewer& Viewer() const { return View->Viewer(); }
  void WaitForFrame() const
  {
    const std::int64_t frames = Viewer().FrameCount();
    Viewer().RequestRepaint();
    while (Viewer().FrameCount() == frames)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
};

// Made before the benchmarks run and gone before the application is.
TStarted* gStarted = nullptr;
TStarted& Started() { return *gStarted; }

void BM_FrameOfTheFullScene(benchmark::State& state)
{
  TStarted& s = Started();
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    s.WaitForFrame();
    state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
  }
  state.counters["view_w"] = s.Viewer().width();
  state.counters["view_h"] = s.Viewer().height();
}
BENCHMARK(BM_FrameOfTheFullScene)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);

void BM_PickAtTheDoor(benchmark::State& state)
{
  TStarted& s = Started();
  const int x = s.Viewer().width() / 2, y = s.Viewer().height() / 2;
  for (auto _ : state)
    benchmark::DoNotOptimize(s.View->Pick(x, y));
}
BENCHMARK(BM_PickAtTheDoor)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_AnimateStepsPerSecond(benchmark::State& state)
{
  TStarted& s = Started();
  QAction* animate = s.Door->Commands().Find(QStringLiteral("Animate"));
  for (auto _ : state) {
    const long refreshes = s.View->Refreshes;
    const std::int64_t frames = s.Viewer().FrameCount();
    QElapsedTimer clock;
    QTimer::singleShot(2000, [animate] { TCommandTable::SetChecked(animate, false); });
    clock.start();
    animate->trigger();  // runs until the timer unchecks it
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    // Two refreshes a step.
    state.counters["steps_per_s"] = double(s.View->Refreshes - refreshes) / 2 / seconds;
    state.counters["frames_per_s"] = double(s.Viewer().FrameCount() - frames) / seconds;
  }
}
BENCHMARK(BM_AnimateStepsPerSecond)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ResidentMemoryAfterStartUp(benchmark::State& state)
{
  Started();
  long kilobytes = 0;
  QFile status(QStringLiteral("/proc/self/status"));
  if (status.open(QIODevice::ReadOnly))
    for (const QByteArray& line : status.readAll().split('\n'))
      if (line.startsWith("VmRSS:"))
        kilobytes = line.mid(6).trimmed().split(' ').front().toLong();
  for (auto _ : state)
    benchmark::DoNotOptimize(kilobytes);
  state.counters["rss_MiB"] = double(kilobytes) / 1024;
}
BENCHMARK(BM_ResidentMemoryAfterStartUp)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
  qputenv("RAVLEN_LINK_BLOCK", "/ravlen-view-bench");
  QDir::setCurrent(home.path());
  QApplication application(argc, argv);
  if (!TSceneViewer::Supported()) {
    fprintf(stderr, "view_bench: this display has no OpenGL (run it under xvfb-run -a)\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  {
    TStarted started;
    gStarted = &started;
    benchmark::RunSpecifiedBenchmarks();
    gStarted = nullptr;
  }
  benchmark::Shutdown();
  return 0;
}
