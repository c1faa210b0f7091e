// The scene engine without a GL context: the scene list, placement and turning of objects,
// the camera's moves and projection, materials and their library, meshes read from 3DS
// data, grids and lines.
#include <gtest/gtest.h>

#include <cmath>

#include "Tiny3ds.h"
#include "engine/Camera.h"
#include "engine/Cube.h"
#include "engine/DummyCube.h"
#include "engine/FreeForm.h"
#include "engine/Lines.h"
#include "engine/Projection.h"
#include "engine/Scene.h"
#include "engine/XYZGrid.h"

namespace {

void ExpectNear(const QVector3D& a, const QVector3D& b, float tol = 1e-5f)
{
  EXPECT_NEAR(a.x(), b.x(), tol);
  EXPECT_NEAR(a.y(), b.y(), tol);
  EXPECT_NEAR(a.z(), b.z(), tol);
}

TEST(Scene, CreateRemoveDestroyKeepTheOrderAndTellTheListeners)
{
  TScene scene;
  int changes = 0;
  std::vector<std::uint64_t> removed;
  scene.SetChangeHandler([&] { ++changes; });
  scene.SetRemoveHandler([&](std::uint64_t id) { removed.push_back(id); });
  TCube& a = scene.Create<TCube>();
  auto& b = scene.Create<TDummyCube>();
  TCube& c = scene.Create<TCube>();
  a.SetName("a");
  c.SetName("c");
  auto& camera = scene.Create<TCamera>();
  camera.SetTarget(&b);

  changes = 0;
  a.SetPosition({1, 2, 3});
  EXPECT_EQ(changes, 1);

  const std::uint64_t bId = b.Id();
  scene.Destroy(b);
  EXPECT_EQ(camera.Target(), nullptr);  // no aim at a deleted object
  ASSERT_EQ(scene.Count(), 3);
  EXPECT_EQ(&scene.Object(0), &a);
  EXPECT_EQ(&scene.Object(1), &c);
  EXPECT_EQ(scene.Find("c"), &c);
  EXPECT_EQ(removed, std::vector<std::uint64_t>{bId});

  std::unique_ptr<TSceneObject> taken = scene.Remove(a);
  EXPECT_EQ(taken.get(), &a);
  EXPECT_EQ(scene.Find("a"), nullptr);
  changes = 0;
  a.SetVisible(false);  // no longer in the scene: nobody is told
  EXPECT_EQ(changes, 0);
}

TEST(Placement, AbsoluteRotationTurnsAboutFixedXThenYThenZ)
{
  // About X by 90: direction (0, 0, 1) -> (0, -1, 0), up -> (0, 0, 1); then about the
  // fixed Y by 90: up (0, 0, 1) -> (1, 0, 0); the direction stays on the Y axis.
  TCube cube;
  cube.RotateAbsolute(90, 90, 0);
  ExpectNear(cube.Direction(), {0, -1, 0});
  ExpectNear(cube.Up(), {1, 0, 0});
  // Then about Z by 90: (0, -1, 0) -> (1, 0, 0) and (1, 0, 0) -> (0, 1, 0).
  cube.RotateAbsolute(0, 0, 90);
  ExpectNear(cube.Direction(), {1, 0, 0});
  ExpectNear(cube.Up(), {0, 1, 0});
}

TEST(Placement, RollPitchTurnSetAnglesNotSteps)
{
  TCube cube;
  cube.SetRollAngle(90);  // about the direction (0, 0, 1): up (0, 1, 0) -> (-1, 0, 0)
  ExpectNear(cube.Up(), {-1, 0, 0});
  cube.SetRollAngle(90);
  ExpectNear(cube.Up(), {-1, 0, 0});
  cube.SetRollAngle(0);
  ExpectNear(cube.Up(), {0, 1, 0});
  cube.SetTurnAngle(90);  // about up (0, 1, 0): direction (0, 0, 1) -> (1, 0, 0)
  ExpectNear(cube.Direction(), {1, 0, 0});
  cube.SetTurnAngle(0);
  cube.SetPitchAngle(90);  // about right (1, 0, 0): direction -> (0, -1, 0)
  ExpectNear(cube.Direction(), {0, -1, 0});
  EXPECT_EQ(cube.RollAngle(), 0);
  EXPECT_EQ(cube.PitchAngle(), 90);
}

TEST(Placement, MatrixScalesTurnsThenMoves)
{
  TCube cube;
  cube.SetScale({2, 2, 2});
  cube.SetOrientation({1, 0, 0}, {0, 0, 1});  // right = up x direction = (0, 1, 0)
  cube.SetPosition({10, 0, 0});
  cube.Move({0, 0, 1}, 0.5f);
  // Local (1, 2, 3): scaled (2, 4, 6), then 2 right + 4 up + 6 direction = (6, 2, 4).
  ExpectNear(cube.Matrix().map(QVector3D(1, 2, 3)), {16, 2, 4.5f});
}

TEST(Camera, OrbitsAndZoomsAboutItsTarget)
{
  TScene scene;
  auto& target = scene.Create<TDummyCube>();
  auto& camera = scene.Create<TCamera>();
  camera.SetTarget(&target);
  camera.SetPosition({0, -10, 0});
  camera.SetUp({0, 0, 1});

  camera.MoveAroundTarget(0, 90);  // a quarter turn about up (0, 0, 1)
  ExpectNear(camera.Position(), {10, 0, 0}, 1e-4f);
  camera.MoveAroundTarget(30, 0);  // the eye rises by 30 degrees
  ExpectNear(camera.Position(), {10 * std::cos(0.5235988f), 0, 10 * std::sin(0.5235988f)}, 1e-4f);
  camera.MoveAroundTarget(200, 0);  // stops short of the pole
  EXPECT_NEAR(camera.Position().z(), 10 * std::cos(0.5f * 0.01745329f), 1e-4f);
  EXPECT_NEAR(camera.DistanceToTarget(), 10, 1e-4f);

  camera.SetPosition({0, -10, 0});
  camera.AdjustDistanceToTarget(0.5f);
  ExpectNear(camera.Position(), {0, -5, 0});
  ExpectNear(camera.LookDirection(), {0, 1, 0});
}

TEST(Projection, FocalLengthSetsTheHeightSeen)
{
  // At 10 units from the eye, F = 100 in perspective and F = 10 orthogonally both see
  // 8 units of height: a door 5.3 units tall fills 5.3 / 8 = 0.6625 of the view.
  TScene scene;
  auto& target = scene.Create<TDummyCube>();
  auto& camera = scene.Create<TCamera>();
  camera.SetTarget(&target);
  camera.SetPosition({0, -10, 0});
  camera.SetUp({0, 0, 1});
  camera.SetDepthOfView(20);
  const QSize view(600, 400);
  struct Case {
    TCameraStyle Style;
    float Focal;
    float Fraction;  // of the view height the door fills
  };
  for (const Case c : {Case{TCameraStyle::Perspective, 100, 0.6625f}, Case{TCameraStyle::Orthogonal, 10, 0.6625f},
                       Case{TCameraStyle::Perspective, 200, 1.325f}, Case{TCameraStyle::Orthogonal, 20, 1.325f}}) {
    camera.SetStyle(c.Style);
    camera.SetFocalLength(c.Focal);
    const QPointF top = ProjectToView(camera, {0, 0, 2.65f}, view);
    const QPointF bottom = ProjectToView(camera, {0, 0, -2.65f}, view);
    EXPECT_NEAR((bottom.y() - top.y()) / view.height(), c.Fraction, 1e-4) << c.Focal;
    EXPECT_NEAR(top.x(), 300, 1e-3);
    // A unit to the right: 1/8 of the height, in pixels of the same size.
    EXPECT_NEAR(ProjectToView(camera, {1, 0, 0}, view).x() - 300, c.Fraction / 5.3f * 400, 1e-2) << c.Focal;
  }
}

TEST(Materials, LibraryKeepsTheFirstEntryOfAName)
{
  TMaterialLibrary library;
  TMaterial red, blue;
  red.Front.Diffuse = {1, 0, 0, 1};
  blue.Front.Diffuse = {0, 0, 1, 1};
  EXPECT_EQ(library.AddOnce("a", red), 0);
  EXPECT_EQ(library.AddOnce("b", blue), 1);
  EXPECT_EQ(library.AddOnce("a", blue), 0);
  EXPECT_EQ(library.Count(), 2);
  EXPECT_EQ(library.Material(0).Front.Diffuse, red.Front.Diffuse);
  EXPECT_EQ(library.IndexOf("c"), -1);
}

QByteArray TwoBoxes()
{
  return Write3ds({{"*GLOBAL*", {255, 0, 0}}, {"*GLOBAL*01", {0, 255, 0}}},
                  {Box3ds("Plate", "*GLOBAL*", {-10, -20, -30}, {10, 20, 30}),
                   Box3ds("Lug", "*GLOBAL*01", {100, 0, 0}, {110, 5, 50})});
}

TEST(Meshes, ReadFromA3dsStreamInTheFilesCoordinates)
{
  TFreeForm form;
  ASSERT_TRUE(form.LoadFromStream(TwoBoxes(), "parts.3ds")) << form.LoadError().toStdString();
  const TMeshData& mesh = *form.Mesh();
  EXPECT_EQ(mesh.TriangleCount(), 24);
  ASSERT_EQ(mesh.Parts.size(), 2u);
  EXPECT_EQ(mesh.Parts[1].IndexCount, 36);
  // Z stays Z: no turn to another up axis.
  ExpectNear(mesh.Min, {-10, -20, -30});
  ExpectNear(mesh.Max, {110, 20, 50});
  ASSERT_EQ(mesh.Materials.size(), 2u);
  EXPECT_EQ(mesh.Materials[0].Name, "*GLOBAL*");
  EXPECT_EQ(mesh.Materials[1].Material.Front.Diffuse, TColor(0, 1, 0, 1));
  for (const TMeshVertex& v : mesh.Vertices)
    EXPECT_NEAR(v.Normal.length(), 1, 1e-4f);
}

TEST(Meshes, BadDataLeaveNoGeometryAndSayWhy)
{
  TFreeForm form;
  ASSERT_TRUE(form.LoadFromStream(TwoBoxes(), "parts.3ds"));
  EXPECT_FALSE(form.LoadFromStream(QByteArray("not a mesh at all"), "parts.3ds"));
  EXPECT_EQ(form.Mesh(), nullptr);
  EXPECT_TRUE(form.LoadError().contains("parts.3ds"));
  EXPECT_FALSE(form.LoadFromStream(QByteArray(), "parts.3ds"));
}

TEST(Meshes, MaterialsComeFromTheLibraryOrTheObject)
{
  TMaterialLibrary library;
  TMaterial first;
  first.Front.Diffuse = {0.5f, 0.5f, 0, 1};
  library.AddOnce("*GLOBAL*", first);  // loaded earlier by another mesh

  TFreeForm form;
  form.SetMaterialLibrary(&library);
  ASSERT_TRUE(form.LoadFromStream(TwoBoxes(), "parts.3ds"));
  EXPECT_EQ(library.Count(), 2);
  EXPECT_EQ(form.PartLibraryIndex(0), 0);
  EXPECT_EQ(form.PartLibraryIndex(1), 1);
  EXPECT_EQ(form.PartMaterial(0).Front.Diffuse, first.Front.Diffuse);  // the earlier entry, unchanged
  EXPECT_EQ(form.PartMaterial(1).Front.Diffuse, TColor(0, 1, 0, 1));

  TMaterial own;
  own.Front.Diffuse = {1, 0, 0, 0.5f};
  own.Blending = TBlending::Transparency;
  form.SetMaterial(own);
  EXPECT_FALSE(form.Translucent());
  form.SetUseMeshMaterials(false);
  EXPECT_EQ(form.PartMaterial(1).Front.Diffuse, own.Front.Diffuse);
  EXPECT_TRUE(form.Translucent());

  TFreeForm alone;  // no library: the object's material throughout
  alone.SetMaterial(own);
  ASSERT_TRUE(alone.LoadFromStream(TwoBoxes(), "parts.3ds"));
  EXPECT_EQ(alone.PartMaterial(0).Front.Diffuse, own.Front.Diffuse);
  EXPECT_EQ(alone.PartLibraryIndex(0), -1);
}

TEST(Grids, LinesRunAlongTheChosenAxesThroughEverySample)
{
  // X and Z from -20 to 20 by 3 (14 samples, -20 .. 19), Y only 0: 14 lines along X and
  // 14 along Z, each across the whole range.
  TXYZGrid grid;
  grid.SetSamplingScale(0, {-20, 20, 3});
  grid.SetSamplingScale(1, {0, 0, 1});
  grid.SetSamplingScale(2, {-20, 20, 3});
  grid.SetParts(kGridAlongX | kGridAlongZ);
  const std::vector<QVector3D> v = grid.LineVertices();
  ASSERT_EQ(v.size(), 56u);
  ExpectNear(v[0], {-20, 0, -20});
  ExpectNear(v[1], {20, 0, -20});
  ExpectNear(v[27], {20, 0, 19});
  ExpectNear(v[54], {19, 0, -20});
  ExpectNear(v[55], {19, 0, 20});
  for (const QVector3D& p : v)
    EXPECT_EQ(p.y(), 0);

  const std::uint64_t version = grid.GeometryVersion();
  grid.SetLineStyle(TGridLineStyle::Dashed);  // dashes of 0.75 every 1.5 over 40 units
  EXPECT_NE(grid.GeometryVersion(), version);
  EXPECT_EQ(grid.LineVertices().size(), 28u * 27 * 2);
}

TEST(Lines, EachNodeComponentIsSetAndTheShapeChanges)
{
  TLines lines;
  lines.SetNodeCount(7);
  const std::uint64_t version = lines.GeometryVersion();
  lines.SetNodeComponent(6, 1, 2.5f);
  ExpectNear(lines.Node(6), {0, 2.5f, 0});
  ExpectNear(lines.Node(5), {0, 0, 0});
  EXPECT_NE(lines.GeometryVersion(), version);  // the GPU copy must follow
}

}  // namespace
