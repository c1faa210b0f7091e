// The door's scene without a GL context: its objects as designed, the extra hole markers,
// the scene steps of building the model, and every marker on its hole of the turned
// meshes. The meshes here are boxes of the embedded meshes' extents and material names,
// so that every number below comes from the door's tables, not from the meshes.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "Tiny3ds.h"
#include "assets/Meshes.h"
#include "mechanics/DoorDisplay.h"
#include "view/DoorScene.h"

namespace {

// Hull materials "*GLOBAL*", "*GLOBAL*01" .. "*GLOBAL*13" with the hull's colours.
const std::array<std::array<std::uint8_t, 3>, 14> kHullColours{{{165, 124, 0}, {255, 127, 0}, {255, 191, 0},
    {255, 255, 0}, {165, 0, 0}, {0, 191, 255}, {0, 127, 255}, {255, 127, 127}, {0, 165, 0}, {255, 0, 255},
    {0, 255, 255}, {127, 223, 255}, {255, 255, 255}, {0, 165, 165}}};

std::string GlobalName(int i) { return i == 0 ? "*GLOBAL*" : "*GLOBAL*" + std::string(i < 10 ? "0" : "") + std::to_string(i); }

QByteArray BoxMeshes(int resource)
{
  if (resource == kWingMesh) {
    std::vector<T3dsMaterial> materials;
    std::vector<T3dsObject> objects;
    for (int i = 0; i < 14; ++i) {
      materials.push_back({GlobalName(i), kHullColours[static_cast<std::size_t>(i)]});
      objects.push_back(Box3ds("part" + std::to_string(i), GlobalName(i), {-145.82f, -16, -529}, {279.72f, 169.37f, 529}));
    }
    return Write3ds(materials, objects);
  }
  if (resource == kBallastMesh)
    return Write3ds({{"*GLOBAL*", {128, 128, 128}}},
                    {Box3ds("Ballast", "*GLOBAL*", {-145.98f, 32, -6}, {273.98f, 172.24f, 0})});
  const std::map<int, float> halfHeights{{kBracketSmallMesh, 53.98f}, {kBracketMediumMesh, 57.87f},
                                         {kBracketLargeMesh, 65.78f}};
  const float z = halfHeights.at(resource);
  return Write3ds({{"*GLOBAL*", {255, 255, 255}}, {"*GLOBAL*01", {255, 0, 0}}},
                  {Box3ds("plate", "*GLOBAL*", {-9.98f, -40, -49.8f}, {9.98f, 9.73f, 49.8f}),
                   Box3ds("arm", "*GLOBAL*01", {-6, -84, -z}, {6, -16, z})});
}

QVector3D ToQ(const TxyzSingle& v) { return {v.X, v.Y, v.Z}; }

// A colour of bytes as the file holds it, to a fraction of a byte.
bool SameColour(const TColor& c, const std::array<std::uint8_t, 3>& rgb)
{
  for (int i = 0; i < 3; ++i)
    if (std::abs(c[i] * 255 - rgb[static_cast<std::size_t>(i)]) > 0.01f)
      return false;
  return c[3] == 1;
}

// Extent of a mesh object in the scene: its eight box corners through its matrix.
std::pair<QVector3D, QVector3D> SceneExtent(const TFreeForm& form)
{
  const TMeshData& mesh = *form.Mesh();
  QVector3D lo(1e9f, 1e9f, 1e9f), hi(-1e9f, -1e9f, -1e9f);
  for (const TMeshVertex& v : mesh.Vertices) {
    const QVector3D p = form.Matrix().map(v.Position);
    for (int i = 0; i < 3; ++i) {
      lo[i] = std::min(lo[i], p[i]);
      hi[i] = std::max(hi[i], p[i]);
    }
  }
  return {lo, hi};
}

// Every marker with the point of its mesh it stands on, in the mesh's own millimetres.
template <class F>
void ForEachMarker(const TDoorScene& scene, const TDoorModel& model, F visit)
{
  for (int k = 0; k < kHoleCount; ++k) {
    visit(scene.Door(), ToQ(UpperHoles[static_cast<std::size_t>(k)]) * 1000, scene.UpperHoleCube(k));
    visit(scene.Door(), ToQ(LowerHoles[static_cast<std::size_t>(k)]) * 1000, scene.LowerHoleCube(k));
  }
  for (int k = 0; k < 6; ++k)
    visit(scene.Door(), ToQ(PairPoints[static_cast<std::size_t>(k)]) * 1000, scene.PairCube(k));
  // A towing hole lies along the bracket (the mesh's Y) at its table X, up its Z.
  for (int k = 0; k < kTowHoles; ++k) {
    const TxyzSingle& t = model.Variant().BracketTowHoles[static_cast<std::size_t>(k)];
    visit(scene.Bracket(), QVector3D(0, t.X, t.Z) * 1000, scene.TowCube(k));
  }
}

// Largest distance (scene units) from a marker to its point of the turned mesh.
float WorstMiss(const TDoorScene& scene, const TDoorModel& model)
{
  float worst = 0;
  ForEachMarker(scene, model, [&](const TFreeForm& mesh, const QVector3D& local, const TCube& marker) {
    worst = std::max(worst, (mesh.Matrix().map(local) - marker.Position()).length());
  });
  return worst;
}

class TSceneFixture : public ::testing::Test {
protected:
  TSceneFixture() : FRequested(std::make_shared<std::vector<int>>()), FScene(Source(FRequested)) {}

  static TDoorScene::TMeshSource Source(std::shared_ptr<std::vector<int>> requested)
  {
    return [requested](int resource) {
      requested->push_back(resource);
      return BoxMeshes(resource);
    };
  }
  // Builds the scene as the window does and shows the model's evaluation at degrees.
  void BuildAndShow(const Txyz& degrees = {})
  {
    const TDoorVariant& v = FModel.Variant();
    FModel.BuildModel();
    FScene.BuildModel({v.FDoorScale, kBracketTags[static_cast<std::size_t>(v.Bracket)], v.FBallastCount});
    Show(degrees);
  }
  void Show(const Txyz& degrees)
  {
    FModel.SetAttitude(degrees * kDegToRad);
    FModel.EvaluateDoor(FModel.Attitude());
    FScene.ApplyPoses(ComputeScenePoses(FModel, degrees, 15000), 0, 0);
  }
  Real WorstHoleMiss() const { return WorstMiss(FScene, FModel); }

  std::shared_ptr<std::vector<int>> FRequested;
  TDoorScene FScene;
  TDoorModel FModel;
};

TEST_F(TSceneFixture, ObjectsStandInTheDesignedOrder)
{
  const char* const designed[] = {
      "Warp", "BridleD", "BridleU", "Bracket", "CubeF2d", "CubeF2u", "CubeF1d", "CubeF1u", "CubeF0", "Door",
      "GLLightSource1", "GLLightSource2", "DummyCube1", "BridleUF", "BridleDF", "GravF", "HydroWF", "HydroSF",
      "GravityDoor", "GravityBracket", "CubeHydroW", "CubeHydroS", "CubeGravity", "XYZGridXZ", "XYZGridXY",
      "CubeRU_1_1", "CubeRU_1_2", "CubeRU_1_3", "CubeRU_2_1", "CubeRU_2_2", "CubeRU_2_3", "CubeRU_3_1",
      "CubeRU_3_2", "CubeRU_3_3", "CubeRD_1_1", "CubeRD_1_2", "CubeRD_1_3", "CubeRD_2_1", "CubeRD_2_2",
      "CubeRD_2_3", "CubeRD_3_1", "CubeRD_3_2", "CubeRD_3_3", "CubeBrD1", "CubeBrD2", "CubeBrD3", "CubeBrU1",
      "CubeBrU2", "CubeBrU3", "GLCamera1",
      // made at window creation
      "CubeRU_1_4", "CubeRU_1_5", "CubeRU_2_4", "CubeRU_2_5", "CubeRU_3_4", "CubeRU_3_5", "CubeRD_1_4",
      "CubeRD_1_5", "CubeRD_2_4", "CubeRD_2_5", "CubeRD_3_4", "CubeRD_3_5"};
  const TScene& scene = FScene.Scene();
  ASSERT_EQ(scene.Count(), static_cast<int>(std::size(designed)));
  for (int i = 0; i < scene.Count(); ++i)
    EXPECT_EQ(scene.Object(i).Name().toStdString(), designed[i]) << i;
}

TEST_F(TSceneFixture, DesignTimeSettings)
{
  const TScene& scene = FScene.Scene();
  const auto cube = [&](const char* name) -> const TCube& { return static_cast<const TCube&>(*scene.Find(name)); };
  const auto lines = [&](const char* name) -> const TLines& { return static_cast<const TLines&>(*scene.Find(name)); };
  // Every marker is 0.05 across and red, whichever way it is made.
  for (const char* name : {"CubeF0", "CubeRU_1_1", "CubeRD_3_5", "CubeBrD1", "CubeBrU3"}) {
    const TCube& c = cube(name);
    EXPECT_NEAR(c.Size().x() * c.Scale().x(), 0.05f, 1e-7f) << name;
    EXPECT_EQ(c.Material().Front.Diffuse, TColor(1, 0, 0, 1)) << name;
  }
  EXPECT_EQ(cube("CubeGravity").Material().Front.Diffuse, TColor(0, 0, 1, 1));
  EXPECT_NEAR(cube("CubeHydroW").Size().x(), 0.1f, 1e-7f);
  EXPECT_EQ(cube("CubeHydroW").Material().Front.Diffuse, TColor(0, 0, 1, 0.46f));
  EXPECT_EQ(cube("GravityDoor").Material().Front.Shininess, 60);
  EXPECT_EQ(cube("CubeHydroS").Material().Front.Shininess, 113);
  EXPECT_EQ(cube("CubeBrD1").Direction(), QVector3D(0, 0, -1));
  EXPECT_EQ(lines("Warp").LineWidth(), 5);
  EXPECT_EQ(lines("BridleU").LineColor(), TColor(0, 0, 1, 1));
  EXPECT_EQ(lines("HydroWF").NodeCount(), 7);
  EXPECT_EQ(lines("HydroWF").LineWidth(), 2);
  const auto& grid = static_cast<const TXYZGrid&>(*scene.Find("XYZGridXY"));
  EXPECT_FALSE(grid.Visible());
  EXPECT_EQ(grid.LineColor(), TColor(1, 0, 0, 0.2f));
  EXPECT_EQ(grid.Parts(), kGridAlongX | kGridAlongY);
  const auto& camera = static_cast<const TCamera&>(*scene.Find("GLCamera1"));
  EXPECT_EQ(camera.Target(), scene.Find("DummyCube1"));
  EXPECT_EQ(camera.Position(), QVector3D(0, -10, 0));
  EXPECT_EQ(camera.FocalLength(), 100);
  EXPECT_EQ(camera.DepthOfView(), 20);
  const TMaterial& own = FScene.Door().Material();
  EXPECT_EQ(own.Front.Diffuse, TColor(1, 0, 0, 0.1f));
  EXPECT_EQ(own.Back.Ambient, TColor(1, 0, 0, 1));
  EXPECT_EQ(FScene.Door().MaterialLibrary(), &FScene.MaterialLibrary());
  EXPECT_EQ(FScene.MaterialLibrary().Count(), 0);
}

TEST_F(TSceneFixture, BracketFacesTakeTheHullsMaterialsOfTheirNames)
{
  BuildAndShow();
  const TMaterialLibrary& library = FScene.MaterialLibrary();
  ASSERT_EQ(library.Count(), 14);  // the bracket added no entry
  for (int i = 0; i < 14; ++i)
    EXPECT_EQ(library.Name(i).toStdString(), GlobalName(i));
  // The bracket's white plate is "*GLOBAL*": drawn in the hull's (165, 124, 0).
  EXPECT_TRUE(SameColour(FScene.Bracket().PartMaterial(0).Front.Diffuse, {165, 124, 0}));
  EXPECT_TRUE(SameColour(FScene.Bracket().PartMaterial(1).Front.Diffuse, {255, 127, 0}));
}

TEST_F(TSceneFixture, BracketCommandsReloadTheirMesh)
{
  FModel.SetBracket(TBracketSize::Large);
  BuildAndShow();
  FRequested->clear();
  FModel.SetBracket(TBracketSize::Small);
  BuildAndShow();
  EXPECT_EQ(*FRequested, (std::vector<int>{kWingMesh, kBracketSmallMesh, kBallastMesh}));
  const auto [lo, hi] = SceneExtent(FScene.Bracket());
  EXPECT_NEAR(hi.z() - lo.z(), 2 * 53.98f * 5 / 1000, 1e-4f);  // the small bracket, at the door's scale
  EXPECT_LT(WorstHoleMiss(), 1e-3f);
  EXPECT_NEAR(FScene.TowCube(2).Size().x() * FScene.TowCube(2).Scale().x(), 0.05f, 1e-7f);
}

TEST_F(TSceneFixture, BallastPiecesAreMadeAnewAndShownByCount)
{
  BuildAndShow();
  std::array<std::uint64_t, kMaxBallast> before{};
  for (int i = 0; i < kMaxBallast; ++i)
    before[static_cast<std::size_t>(i)] = FScene.BallastPiece(i)->Id();
  const int count = FScene.Scene().Count();
  BuildAndShow();
  EXPECT_EQ(FScene.Scene().Count(), count);  // the old pieces are gone
  for (int i = 0; i < kMaxBallast; ++i) {
    const TFreeForm& piece = *FScene.BallastPiece(i);
    EXPECT_NE(piece.Id(), before[static_cast<std::size_t>(i)]);
    EXPECT_EQ(piece.Visible(), i < 3) << i;
    EXPECT_EQ(piece.MaterialLibrary(), nullptr);
    // Copies of the library's entries 2 .. 7: the hull's third to eighth colours.
    EXPECT_TRUE(SameColour(piece.PartMaterial(0).Front.Diffuse, kHullColours[static_cast<std::size_t>(i + 2)])) << i;
  }
  FScene.SetBallastCount(5);
  EXPECT_TRUE(FScene.BallastPiece(4)->Visible());
  EXPECT_FALSE(FScene.BallastPiece(5)->Visible());
}

TEST_F(TSceneFixture, SixthPieceSitsAtTheBottomOfTheStack)
{
  FModel.SetBallastCount(6);
  BuildAndShow();
  const Real s = FModel.DoorScale();
  const auto [lo, hi] = SceneExtent(*FScene.BallastPiece(5));
  EXPECT_NEAR(lo.z(), (-0.529 - 5 * 0.006 - 0.006) * s, 1e-5);
  EXPECT_NEAR(hi.z(), (-0.529 - 5 * 0.006) * s, 1e-5);
  EXPECT_TRUE(FScene.BallastPiece(5)->Visible());
}

TEST_F(TSceneFixture, SmallerDoorScalesTheHullAndKeepsTheMarkersOnTheHoles)
{
  FModel.SetAreaTag(1039);
  BuildAndShow();
  const auto [lo10, hi10] = SceneExtent(FScene.Door());
  FModel.SetAreaTag(450);
  BuildAndShow();
  const auto [lo4, hi4] = SceneExtent(FScene.Door());
  // Lengths go with the square root of the wing area: sqrt(4.5 / 10.39) = 0.658.
  EXPECT_NEAR((hi4.z() - lo4.z()) / (hi10.z() - lo10.z()), 0.658, 1e-3);
  EXPECT_NEAR((hi4.x() - lo4.x()) / (hi10.x() - lo10.x()), 0.658, 1e-3);
  EXPECT_LT(WorstHoleMiss(), 1e-3f);
  FModel.SetAreaTag(1039);
  BuildAndShow();
  FModel.SetAreaTag(450);
  BuildAndShow({3, -4, 20});
  EXPECT_LT(WorstHoleMiss(), 1e-3f);
}

TEST_F(TSceneFixture, MarkersSitOnTheTurnedMeshesHoles)
{
  struct Case {
    Txyz Degrees;
    TBracketPair Pair;
  };
  for (const Case c : {Case{{0, 0, 0}, TBracketPair::Pair1}, Case{{25, -10, 40}, TBracketPair::Pair2},
                       Case{{-60, 35, -120}, TBracketPair::Pair3}, Case{{170, 80, 10}, TBracketPair::Pair1}}) {
    BuildAndShow();
    FModel.SelectPair(c.Pair);
    Show(c.Degrees);
    EXPECT_LT(WorstHoleMiss(), 1e-3f) << c.Degrees.X << " " << c.Degrees.Y << " " << c.Degrees.Z;
    // The fitted ballast pieces turn with the hull: the first one's top lies on the shoe.
    const QVector3D top = FScene.BallastPiece(0)->Matrix().map(QVector3D(0, 0, 0));
    const QVector3D onHull = FScene.Door().Matrix().map(QVector3D(0, 0, -529));
    EXPECT_LT((top - onHull).length(), 1e-3f);
  }
}

TEST(EmbeddedMeshes, EveryMarkerSitsOnAHoleOfTheTurnedDoor)
{
  TDoorScene scene(MeshResource);
  TDoorModel model;
  for (TBracketSize size : {TBracketSize::Small, TBracketSize::Large}) {
    model.SetBracket(size);
    model.SetAreaTag(760);
    model.BuildModel();
    scene.BuildModel({model.DoorScale(), kBracketTags[static_cast<std::size_t>(size)], 3});
    ASSERT_TRUE(scene.Door().Mesh() && scene.Bracket().Mesh());
    // The hull's fourteen materials, and the bracket's faces drawn with them by name.
    ASSERT_EQ(scene.MaterialLibrary().Count(), 14);
    const TFreeForm& bracket = scene.Bracket();
    for (std::size_t part = 0; part < bracket.Mesh()->Parts.size(); ++part) {
      const auto file = static_cast<std::size_t>(bracket.Mesh()->Parts[part].Material);
      EXPECT_EQ(scene.MaterialLibrary().Name(bracket.PartLibraryIndex(static_cast<int>(part))),
                bracket.Mesh()->Materials[file].Name);
    }
    const Txyz degrees{-30, 15, 50};
    model.SetAttitude(degrees * kDegToRad);
    model.EvaluateDoor(model.Attitude());
    scene.ApplyPoses(ComputeScenePoses(model, degrees, 15000), 0, 0);
    EXPECT_LT(WorstMiss(scene, model), 1e-3f);
    // And the mesh is there: the rim of a hole (radius 5 to 7 mm) lies close round it.
    ForEachMarker(scene, model, [](const TFreeForm& mesh, const QVector3D& local, const TCube& marker) {
      float nearest = 1e9f;
      for (const TMeshVertex& v : mesh.Mesh()->Vertices)
        nearest = std::min(nearest, (v.Position - local).length());
      EXPECT_LT(nearest, 10) << marker.Name().toStdString();
    });
  }
}

TEST_F(TSceneFixture, ShowingMovesTheMeshesWithoutReloadingThem)
{
  // Balance runs paint while they solve: a refresh changes transforms only.
  BuildAndShow();
  const std::uint64_t door = FScene.Door().GeometryVersion(), bracket = FScene.Bracket().GeometryVersion();
  const std::uint64_t piece = FScene.BallastPiece(2)->GeometryVersion();
  FRequested->clear();
  Show({5, 6, 7});
  EXPECT_TRUE(FRequested->empty());
  EXPECT_EQ(FScene.Door().GeometryVersion(), door);
  EXPECT_EQ(FScene.Bracket().GeometryVersion(), bracket);
  EXPECT_EQ(FScene.BallastPiece(2)->GeometryVersion(), piece);
}

TEST_F(TSceneFixture, SwitchesActOnTheirObjects)
{
  BuildAndShow();
  const TScene& scene = FScene.Scene();
  FScene.SetSwitch(TViewSwitch::Transparent, true);
  EXPECT_EQ(FScene.Door().PartMaterial(3).Front.Diffuse, TColor(1, 0, 0, 0.5f));
  EXPECT_TRUE(FScene.Door().Translucent());
  FScene.SetSwitch(TViewSwitch::Transparent, false);
  EXPECT_EQ(FScene.Door().Material().Front.Diffuse.w(), 1.0f);
  EXPECT_TRUE(SameColour(FScene.Door().PartMaterial(3).Front.Diffuse, {255, 255, 0}));  // its mesh colour again
  EXPECT_FALSE(FScene.Door().Translucent());

  FScene.SetSwitch(TViewSwitch::HideHull, true);
  FScene.SetSwitch(TViewSwitch::HideBracket, true);
  FScene.SetSwitch(TViewSwitch::ShowGridXZ, true);
  FScene.SetSwitch(TViewSwitch::ShowAxes, false);
  EXPECT_FALSE(FScene.Door().Visible());
  EXPECT_FALSE(FScene.Bracket().Visible());
  EXPECT_TRUE(scene.Find("XYZGridXZ")->Visible());
  EXPECT_FALSE(scene.Find("XYZGridXY")->Visible());
  EXPECT_FALSE(static_cast<const TDummyCube&>(*scene.Find("DummyCube1")).ShowAxes());
  BuildAndShow();  // building leaves the switches as they are
  EXPECT_FALSE(FScene.Door().Visible());

  FScene.SetSwitch(TViewSwitch::ShowPerspective, false);
  EXPECT_EQ(FScene.Camera().Style(), TCameraStyle::Orthogonal);
  EXPECT_EQ(FScene.Camera().FocalLength(), 10);
  FScene.SetSwitch(TViewSwitch::ShowPerspective, true);
  EXPECT_EQ(FScene.Camera().FocalLength(), 100);
}

TEST_F(TSceneFixture, PicksAreReportedAsMarkers)
{
  BuildAndShow();
  struct Case {
    const char* Name;
    TViewPick Pick;
  };
  using K = TViewPick::TKind;
  for (const Case c : {Case{"CubeRU_3_2", {K::Cube, TMarkerGroup::UpperHole, 11}},
                       Case{"CubeRD_1_5", {K::Cube, TMarkerGroup::LowerHole, 4}},
                       Case{"CubeBrD2", {K::Cube, TMarkerGroup::BracketPair, 3}},
                       Case{"CubeF1d", {K::Cube, TMarkerGroup::TowHole, 3}},
                       Case{"GravityBracket", {K::Cube, TMarkerGroup::Centre, 1}},
                       Case{"Door", {K::Other, TMarkerGroup::None, -1}}}) {
    const TSceneObject* object = FScene.Scene().Find(c.Name);
    EXPECT_EQ(FScene.Identify(object), c.Pick) << c.Name;
    if (c.Pick.Kind == K::Cube) {
      EXPECT_EQ(FScene.CubeOf(c.Pick), object) << c.Name;
    }
  }
  EXPECT_EQ(FScene.Identify(nullptr), TViewPick{});
  EXPECT_EQ(FScene.CubeOf(TViewPick{}), nullptr);
}

}  // namespace
