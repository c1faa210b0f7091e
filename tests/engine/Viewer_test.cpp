// The viewer in a real GL context (xvfb and Mesa): an object shows its colour where the
// camera projects it, translucent objects blend over what lies behind whatever their place
// in the scene, picking finds the nearest object around a pixel, and a change draws again.
#include <QtTest>

#include "engine/Camera.h"
#include "engine/Cube.h"
#include "engine/DummyCube.h"
#include "engine/Scene.h"
#include "engine/SceneViewer.h"

namespace {

constexpr int kWidth = 400, kHeight = 300;

// A cube that shows exactly its emission colour, unlit.
TCube& GlowingCube(TScene& scene, const QVector3D& at, float edge, const TColor& color)
{
  auto& cube = scene.Create<TCube>();
  TMaterial m;
  m.Front.Ambient = m.Front.Diffuse = {0, 0, 0, color.w()};
  m.Front.Emission = {color.x(), color.y(), color.z(), 1};
  m.Back = m.Front;
  if (color.w() < 1)
    m.Blending = TBlending::Transparency;
  cube.SetMaterial(m);
  cube.SetSize({edge, edge, edge});
  cube.SetPosition(at);
  return cube;
}

// The eye 10 units down -Y, looking at the origin, Z up.
TCamera& SideCamera(TScene& scene, TCameraStyle style, float focal)
{
  auto& target = scene.Create<TDummyCube>();
  auto& camera = scene.Create<TCamera>();
  camera.SetTarget(&target);
  camera.SetPosition({0, -10, 0});
  camera.SetUp({0, 0, 1});
  camera.SetDepthOfView(20);
  camera.SetStyle(style);
  camera.SetFocalLength(focal);
  return camera;
}

QColor PixelAt(TSceneViewer& viewer, int x, int y) { return viewer.grabFramebuffer().pixelColor(x, y); }

}  // namespace

class TViewerTest : public QObject {
  Q_OBJECT

private:
  void Show(TSceneViewer& viewer)
  {
    viewer.resize(kWidth, kHeight);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QVERIFY2(viewer.Error().isEmpty(), qPrintable(viewer.Error()));
  }

private slots:
  void objectShowsItsColourAtItsProjectedPixel()
  {
    TScene scene;
    TCamera& camera = SideCamera(scene, TCameraStyle::Perspective, 100);
    GlowingCube(scene, {1, 0, 0.5f}, 0.2f, {0, 1, 0, 1});
    TSceneViewer viewer(scene);
    viewer.SetCamera(&camera);
    viewer.SetBackgroundColor(QColor(255, 251, 240));
    Show(viewer);
    // At 10 units the view is 8 high and 8 x 4/3 wide: (1, 0.5) lands at
    // x = 200 + 1 / (32 / 3) x 400 = 237.5, y = 150 - 0.5 / 8 x 300 = 131.25.
    QCOMPARE(PixelAt(viewer, 237, 131), QColor(0, 255, 0));
    QCOMPARE(PixelAt(viewer, 237 + 8, 131), QColor(255, 251, 240));
    QCOMPARE(PixelAt(viewer, 200, 150), QColor(255, 251, 240));
  }

  void translucentObjectsBlendOverWhatLiesBehind_data()
  {
    QTest::addColumn<bool>("translucentFirst");
    QTest::newRow("translucent made first") << true;
    QTest::newRow("opaque made first") << false;
  }
  void translucentObjectsBlendOverWhatLiesBehind()
  {
    QFETCH(bool, translucentFirst);
    TScene scene;
    TCamera& camera = SideCamera(scene, TCameraStyle::Orthogonal, 10);
    if (translucentFirst) {
      GlowingCube(scene, {0, -1, 0}, 1, {0, 0, 1, 0.5f});
      GlowingCube(scene, {0, 1, 0}, 1, {1, 0, 0, 1});
    } else {
      GlowingCube(scene, {0, 1, 0}, 1, {1, 0, 0, 1});
      GlowingCube(scene, {0, -1, 0}, 1, {0, 0, 1, 0.5f});
    }
    TSceneViewer viewer(scene);
    viewer.SetCamera(&camera);
    Show(viewer);
    // Both walls of the half-transparent box lie over the red one: a quarter of red
    // shows through.
    const QColor c = PixelAt(viewer, 200, 150);
    QVERIFY2(std::abs(c.red() - 64) <= 2 && c.green() == 0 && std::abs(c.blue() - 191) <= 2, qPrintable(c.name()));
  }

  void pickFindsTheNearestObjectAroundAPixel()
  {
    // Orthogonal, 8 units in 300 pixels: the cube of edge 0.32 at the origin covers the
    // pixel rows 150 - 6 = 144 to 155, the nearer one of edge 0.16 the rows 147 to 152.
    TScene scene;
    TCamera& camera = SideCamera(scene, TCameraStyle::Orthogonal, 10);
    TCube& far = GlowingCube(scene, {0, 0, 0}, 0.32f, {1, 0, 0, 1});
    TCube& nearer = GlowingCube(scene, {0, -1, 0}, 0.16f, {0, 0, 1, 1});
    TSceneViewer viewer(scene);
    viewer.SetCamera(&camera);
    Show(viewer);

    QCOMPARE(viewer.Pick(200, 150), &nearer);
    QCOMPARE(viewer.Pick(200, 150)->Kind(), TObjectKind::Cube);
    QCOMPARE(viewer.Pick(200, 146), &nearer);   // a row above it: within the 3 x 3 square
    QCOMPARE(viewer.Pick(200, 145), &far);      // two rows above: only the far cube
    QCOMPARE(viewer.Pick(200, 143), &far);
    QCOMPARE(viewer.Pick(200, 142), nullptr);   // two rows off the far cube: background
    QCOMPARE(viewer.Pick(10, 10), nullptr);
    nearer.SetVisible(false);
    QCOMPARE(viewer.Pick(200, 150), &far);
    far.SetVisible(false);
    QCOMPARE(viewer.Pick(200, 150), nullptr);
  }

  void drawsAgainInTheContextOfAnotherWindow()
  {
    // Moving the viewer to another window gives it a new context: its GPU objects go with
    // the old one and are made again.
    TScene scene;
    TCamera& camera = SideCamera(scene, TCameraStyle::Perspective, 100);
    GlowingCube(scene, {0, 0, 0}, 1, {1, 0, 0, 1});
    QWidget first, second;
    auto* viewer = new TSceneViewer(scene, &first);
    viewer->SetCamera(&camera);
    viewer->resize(kWidth, kHeight);
    first.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));
    QCOMPARE(PixelAt(*viewer, 200, 150), QColor(255, 0, 0));
    viewer->setParent(&second);
    second.show();
    viewer->show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QCOMPARE(PixelAt(*viewer, 200, 150), QColor(255, 0, 0));
    first.close();
  }

  void aChangeDrawsANewFrame()
  {
    TScene scene;
    TCamera& camera = SideCamera(scene, TCameraStyle::Perspective, 100);
    TCube& cube = GlowingCube(scene, {0, 0, 0}, 1, {1, 0, 0, 1});
    TSceneViewer viewer(scene);
    viewer.SetCamera(&camera);
    Show(viewer);
    QTest::qWait(50);
    const std::int64_t before = viewer.FrameCount();
    for (int i = 0; i < 50; ++i)
      cube.SetPosition({0, 0, 0.01f * i});
    QTRY_VERIFY(viewer.FrameCount() > before);
    // The cube now reaches 0.99 up; its front face at 9.5 units shows 39.5 pixels a unit.
    QCOMPARE(PixelAt(viewer, 200, 121), QColor(255, 0, 0));
  }
};

QTEST_MAIN(TViewerTest)
#include "Viewer_test.moc"
