// The 3D view in a GL context (xvfb and Mesa) with the embedded meshes: picking answers
// with markers, and the display update of a running solve allocates nothing.
#include <QtTest>

#include <atomic>
#include <cstdlib>

#include "assets/Meshes.h"
#include "engine/Projection.h"
#include "mechanics/DoorDisplay.h"
#include "view/GLDoorView.h"

// Counts the heap allocations of this thread while asked to, through the C allocator that
// operator new and Qt's containers both end in. Not under the sanitizers, which bring
// their own allocator.
#if defined(__SANITIZE_ADDRESS__)
#define RAVLEN_COUNT_ALLOCATIONS 0
#else
#define RAVLEN_COUNT_ALLOCATIONS 1
namespace {
thread_local bool tCounting = false;
std::atomic<long> gAllocations{0};
}  // namespace
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* malloc(std::size_t size)
{
  if (tCounting)
    ++gAllocations;
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size)
{
  if (tCounting)
    ++gAllocations;
  return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size)
{
  if (tCounting)
    ++gAllocations;
  return __libc_realloc(p, size);
}
}
#endif

namespace {

struct TShown {
  TDoorModel Model;
  TGLDoorView View{MeshResource};

  TShown()
  {
    Model.BuildModel();
    View.BuildModel({Model.DoorScale(), kBracketTags[1], 3});
    Show({0, 0, 0});
    View.Widget()->resize(600, 450);
    View.Widget()->show();
  }
  void Show(const Txyz& degrees)
  {
    Model.SetAttitude(degrees * kDegToRad);
    Model.EvaluateDoor(Model.Attitude());
    View.ShowResults(ComputeScenePoses(Model, degrees, 15000), 2);
  }
  QPoint PixelOf(const QVector3D& point)
  {
    const QPointF p = ProjectToView(View.DoorScene().Camera(), point, View.Widget()->size());
    return {static_cast<int>(p.x()), static_cast<int>(p.y())};
  }
};

}  // namespace

class TGLDoorViewTest : public QObject {
  Q_OBJECT

private slots:
  void picksAreMarkersOrTheHull()
  {
    TShown shown;
    QVERIFY(QTest::qWaitForWindowExposed(shown.View.Widget()));
    TDoorScene& scene = shown.View.DoorScene();
    using K = TViewPick::TKind;
    // The middle of the wing, seen from the start-up station.
    const QPoint wing = shown.PixelOf(QVector3D(0.35f, 0.4f, 1.5f));
    QCOMPARE(shown.View.Pick(wing.x(), wing.y()), (TViewPick{K::Other, TMarkerGroup::None, -1}));
    QCOMPARE(shown.View.Viewer().Pick(wing.x(), wing.y()), &scene.Door());

    // With hull and bracket out of the way every marker answers as itself.
    shown.View.SetSwitch(TViewSwitch::HideHull, true);
    shown.View.SetSwitch(TViewSwitch::HideBracket, true);
    struct Case {
      TCube* Cube;
      TViewPick Pick;
    };
    for (const Case c : {Case{&scene.UpperHoleCube(7), {K::Cube, TMarkerGroup::UpperHole, 7}},
                         Case{&scene.LowerHoleCube(14), {K::Cube, TMarkerGroup::LowerHole, 14}},
                         Case{&scene.TowCube(3), {K::Cube, TMarkerGroup::TowHole, 3}}}) {
      const QPoint p = shown.PixelOf(c.Cube->Position());
      QCOMPARE(shown.View.Pick(p.x(), p.y()), c.Pick);
    }
    QCOMPARE(shown.View.Pick(5, 5), TViewPick{});

    // A highlighted marker glows white until put out.
    const TViewPick tow{K::Cube, TMarkerGroup::TowHole, 3};
    shown.View.SetHighlight(tow, true);
    QCOMPARE(scene.TowCube(3).Material().Front.Emission, TColor(1, 1, 1, 1));
    shown.View.SetHighlight(tow, false);
    QCOMPARE(scene.TowCube(3).Material().Front.Emission, TColor(0, 0, 0, 1));
  }

  void displayUpdateAllocatesNothing()
  {
#if RAVLEN_COUNT_ALLOCATIONS
    TShown shown;
    QVERIFY(QTest::qWaitForWindowExposed(shown.View.Widget()));
    QTest::qWait(50);  // the first frames are drawn: every GPU copy exists
    shown.Model.SetAttitude(Txyz{12, -4, 33} * kDegToRad);
    shown.Model.EvaluateDoor(shown.Model.Attitude());
    const TScenePoses poses = ComputeScenePoses(shown.Model, {12, -4, 33}, 15000);
    shown.View.ShowResults(poses, 2);  // asks for the frame (Qt posts an event for it)
    const long before = gAllocations.load();
    tCounting = true;
    shown.View.ShowResults(poses, 2);
    shown.View.ShowResults(poses, 2.5L);
    tCounting = false;
    QCOMPARE(gAllocations.load() - before, 0L);
    // And the frame still comes.
    const std::int64_t frames = shown.View.Viewer().FrameCount();
    QTRY_VERIFY(shown.View.Viewer().FrameCount() > frames);
#else
    QSKIP("allocations are not counted under the sanitizers");
#endif
  }
};

QTEST_MAIN(TGLDoorViewTest)
#include "GLDoorView_test.moc"
