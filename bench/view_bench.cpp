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
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <algorithm>
#include <cstdio>
#include <vector>
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

// A left drag that orbits, from the press within the circle about the centre: the time
// from a mouse move reaching the viewer to the frame that shows it. With the hover pick
// the window's handler picks under the pointer at every move, as it does; without it the
// camera is orbited directly, to tell what the pick costs the drag.
void OrbitMoveToFrame(benchmark::State& state, bool throughTheWindow)
{
  TStarted& s = Started();
  TSceneViewer& viewer = s.Viewer();
  const QPointF centre(viewer.width() / 2.0, viewer.height() / 2.0);
  const auto send = [&viewer](QEvent::Type type, QPointF p, Qt::MouseButtons buttons) {
    QMouseEvent event(type, p, viewer.mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(&viewer, &event);
  };
  if (throughTheWindow)
    send(QEvent::MouseButtonPress, centre, Qt::LeftButton);
  std::vector<double> times;
  int step = 0;
  for (auto _ : state) {
    // Back and forth over the door, 4 pixels a move.
    const QPointF at = centre + QPointF(4.0 * ((step % 40) < 20 ? step % 20 : 20 - step % 20), 0);
    ++step;
    const std::int64_t frames = viewer.FrameCount();
    QElapsedTimer clock;
    clock.start();
    if (throughTheWindow)
      send(QEvent::MouseMove, at, Qt::LeftButton);
    else
      s.View->OrbitCamera(0, step % 40 < 20 ? -4 : 4);
    while (viewer.FrameCount() == frames)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    times.push_back(seconds);
    state.SetIterationTime(seconds);
  }
  if (throughTheWindow)
    send(QEvent::MouseButtonRelease, centre, Qt::NoButton);
  std::sort(times.begin(), times.end());
  state.counters["median_ms"] = times.empty() ? 0 : times[times.size() / 2] * 1000;
  state.counters["max_ms"] = times.empty() ? 0 : times.back() * 1000;
}
void BM_OrbitMoveToFrameWithHoverPick(benchmark::State& state) { OrbitMoveToFrame(state, true); }
void BM_OrbitMoveToFrameWithoutHoverPick(benchmark::State& state) { OrbitMoveToFrame(state, false); }
BENCHMARK(BM_OrbitMoveToFrameWithHoverPick)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(80);
BENCHMARK(BM_OrbitMoveToFrameWithoutHoverPick)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(80);

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
