// Composing the door's scene, rebuilding its variant-dependent part and placing it.
#include "DoorScene.h"

#include <QDebug>

#include "assets/Meshes.h"
#include "engine/Light.h"

namespace {

// The meshes are modelled in millimetres of the unit-scale door.
constexpr Real kMeshUnit = 1000;

QVector3D ToQ(const TxyzSingle& v) { return {v.X, v.Y, v.Z}; }
QVector3D ToQ(const Txyz& v) { return {static_cast<float>(v.X), static_cast<float>(v.Y), static_cast<float>(v.Z)}; }

TMaterial Painted(const TColor& diffuse, float shininess = 0)
{
  TMaterial m;
  m.Front.Diffuse = diffuse;
  m.Front.Ambient = {diffuse.x(), diffuse.y(), diffuse.z(), 1};  // as the meshes' materials: markers stay bright
  m.Front.Shininess = shininess;
  if (shininess > 0)
    m.Front.Specular = {1, 1, 1, 1};
  if (diffuse.w() < 1)
    m.Blending = TBlending::Transparency;
  m.Back = m.Front;
  return m;
}

const TColor kRed{1, 0, 0, 1};

void Load(TFreeForm& form, const QByteArray& data, const QString& fileName)
{
  // The meshes are part of the program: a failure here is a fault of the build.
  if (!form.LoadFromStream(data, fileName))
    qWarning("%s", qPrintable(form.LoadError()));
}

}  // namespace

TDoorScene::TDoorScene(TMeshSource meshes) : FMeshes(std::move(meshes)) { Compose(); }

void TDoorScene::Compose()
{
  const auto lines = [this](const char* name, int nodes, float width, const TColor& color, const QVector3D& at) {
    auto& l = FScene.Create<TLines>();
    l.SetName(QString::fromLatin1(name));
    l.SetNodeCount(nodes);
    l.SetLineWidth(width);
    l.SetLineColor(color);
    l.SetPosition(at);
    return &l;
  };
  const auto cube = [this](const QString& name, float edge, float scale, const TMaterial& material) {
    auto& c = FScene.Create<TCube>();
    c.SetName(name);
    c.SetSize({edge, edge, edge});
    c.SetScale({scale, scale, scale});
    c.SetMaterial(material);
    return &c;
  };
  const auto mesh = [this](const char* name) {
    auto& m = FScene.Create<TFreeForm>();
    m.SetName(QString::fromLatin1(name));
    m.SetScale({0.001f, 0.001f, 0.001f});
    m.SetUp({0, 1, 0});
    m.SetMaterialLibrary(&GLMaterialLibrary1);
    return &m;
  };
  const auto light = [this](const char* name, const QVector3D& at) {
    auto& l = FScene.Create<TLight>();
    l.SetName(QString::fromLatin1(name));
    l.SetPosition(at);
    l.SetConstantAttenuation(1);
    l.SetSpotCutOff(180);
  };
  const auto grid = [this](const char* name, const TColor& color, const TGridAxis& y, const TGridAxis& z, int parts) {
    auto& g = FScene.Create<TXYZGrid>();
    g.SetName(QString::fromLatin1(name));
    g.SetVisible(false);
    g.SetLineColor(color);
    g.SetSamplingScale(0, {-20, 20, 3});
    g.SetSamplingScale(1, y);
    g.SetSamplingScale(2, z);
    g.SetParts(parts);
    g.SetLineStyle(TGridLineStyle::Continuous);
    return &g;
  };
  const auto name = [](const std::string& n) { return QString::fromStdString(n); };

  Warp = lines("Warp", 2, 5, {0.62352f, 0.372549f, 0.623529f, 1}, {-0.382f, 0, 0});
  Warp->SetNode(1, {-1, 0, 0});
  BridleD = lines("BridleD", 2, 5, {0, 0, 1, 1}, {1.1831f, 0.618658f, -1.69f});
  BridleD->SetNode(1, {1, 0, 0});
  BridleU = lines("BridleU", 2, 5, {0, 0, 1, 1}, {1.1831f, 0.618658f, 2.48f});
  BridleU->SetNode(1, {1, 0, 0});
  FBracket = mesh("Bracket");
  for (TTowHole hole : {TTowHole::F2d, TTowHole::F2u, TTowHole::F1d, TTowHole::F1u, TTowHole::F0})
    FTowCubes[static_cast<std::size_t>(hole)] = cube(name(TowCubeName(hole)), 0.05f, 1, Painted(kRed));
  FDoor = mesh("Door");
  TMaterial own;
  own.Back.Ambient = {1, 0, 0, 1};
  own.Back.Diffuse = {1, 0, 0, 1};  // red on both sides
  own.Front.Diffuse = {1, 0, 0, 0.1f};
  own.Blending = TBlending::Transparency;
  FDoor->SetMaterial(own);
  light("GLLightSource1", {5, 5, 7});
  light("GLLightSource2", {-5, -5, 15});
  DummyCube1 = &FScene.Create<TDummyCube>();
  DummyCube1->SetName(QStringLiteral("DummyCube1"));
  DummyCube1->SetCubeSize(1);
  DummyCube1->SetDirection({0, 0, 1});
  DummyCube1->SetShowAxes(true);
  BridleUF = lines("BridleUF", 7, 2, kRed, {});
  BridleDF = lines("BridleDF", 7, 2, kRed, {});
  GravF = lines("GravF", 7, 2, kRed, {});
  HydroWF = lines("HydroWF", 7, 2, kRed, {});
  HydroSF = lines("HydroSF", 7, 2, kRed, {});
  GravityDoor = cube("GravityDoor", 0.02f, 1, Painted({0, 0.690196f, 1, 1}, 60));
  GravityBracket = cube("GravityBracket", 0.02f, 1, Painted({0, 0.635294f, 1, 1}, 60));
  CubeHydroW = cube("CubeHydroW", 0.1f, 1, Painted({0, 0, 1, 0.46f}));
  CubeHydroS = cube("CubeHydroS", 0.05f, 1, Painted({0.5f, 0.5f, 1, 1}, 113));
  CubeGravity = cube("CubeGravity", 0.05f, 1, Painted({0, 0, 1, 1}));
  FCentreCubes = {GravityDoor, GravityBracket, CubeGravity, CubeHydroW, CubeHydroS};
  XYZGridXZ = grid("XYZGridXZ", {0, 0, 1, 0.2f}, {0, 0, 1}, {-20, 20, 3}, kGridAlongX | kGridAlongZ);
  XYZGridXY = grid("XYZGridXY", {1, 0, 0, 0.2f}, {-20, 20, 3}, {0, 0, 0.1f}, kGridAlongX | kGridAlongY);
  for (int row = 0; row < kHoleRows; ++row)
    for (int hole = 0; hole < 3; ++hole) {
      const int k = row * kHolesPerRow + hole;
      FUpperHoleCubes[static_cast<std::size_t>(k)] = cube(name(UpperHoleCubeName(k)), 50, 0.001f, Painted(kRed));
    }
  FUpperHoleCubes[0]->SetDirection({0, 0, 1});
  for (int row = 0; row < kHoleRows; ++row)
    for (int hole = 0; hole < 3; ++hole) {
      const int k = row * kHolesPerRow + hole;
      FLowerHoleCubes[static_cast<std::size_t>(k)] = cube(name(LowerHoleCubeName(k)), 50, 0.001f, Painted(kRed));
    }
  // Pair markers in scene order CubeBrD1, CubeBrD2, CubeBrD3, CubeBrU1, CubeBrU2, CubeBrU3.
  for (int index : {1, 3, 5, 0, 2, 4}) {
    const bool first = index == 1;
    FPairCubes[static_cast<std::size_t>(index)] =
        cube(name(PairCubeName(index)), first ? 0.05f : 50, first ? 1 : 0.001f, Painted(kRed));
  }
  FPairCubes[1]->SetDirection({0, 0, -1});
  GLCamera1 = &FScene.Create<TCamera>();
  GLCamera1->SetName(QStringLiteral("GLCamera1"));
  GLCamera1->SetDepthOfView(20);
  GLCamera1->SetFocalLength(static_cast<float>(kPerspectiveFocalLength));
  GLCamera1->SetTarget(DummyCube1);
  GLCamera1->SetPosition({0, -10, 0});
  GLCamera1->SetOrientation({0, 1, 0}, {0, 0, 1});

  // Holes 4 and 5 of every row, made when the window is.
  for (auto* holes : {&FUpperHoleCubes, &FLowerHoleCubes})
    for (int row = 0; row < kHoleRows; ++row)
      for (int hole = 3; hole < kHolesPerRow; ++hole) {
        const int k = row * kHolesPerRow + hole;
        AddHoleMarker((*holes)[static_cast<std::size_t>(k)], *(*holes)[static_cast<std::size_t>(k - 1)]);
        (*holes)[static_cast<std::size_t>(k)]->SetName(
            name(holes == &FUpperHoleCubes ? UpperHoleCubeName(k) : LowerHoleCubeName(k)));
      }
}

void TDoorScene::AddHoleMarker(TCube*& slot, const TCube& after)
{
  auto& marker = FScene.Create<TCube>();
  marker.Assign(after);
  slot = &marker;
}

void TDoorScene::BuildModel(const TSceneVariant& variant)
{
  const Real s = variant.DoorScale;
  const float meshScale = static_cast<float>(s / kMeshUnit);
  Load(*FDoor, FMeshes(kWingMesh), QStringLiteral("Wing.3ds"));
  FDoor->SetScale({meshScale, meshScale, meshScale});
  Load(*FBracket, FMeshes(variant.BracketMesh), QStringLiteral("bracket.3ds"));
  FBracket->SetScale({meshScale, meshScale, meshScale});

  for (TFreeForm*& piece : FBallastPieces)
    if (piece) {
      FScene.Destroy(*piece);
      piece = nullptr;
    }
  // Every piece is the same plate: read it once.
  const TMeshRead plate = ReadMesh(FMeshes(kBallastMesh), QStringLiteral("ballast.3ds"));
  if (!plate.Mesh)
    qWarning("%s", qPrintable(plate.Error));
  for (int i = 0; i < kMaxBallast; ++i) {
    auto& piece = FScene.Create<TFreeForm>();
    piece.SetName(QStringLiteral("BallastPiece%1").arg(i));
    piece.SetMesh(plate.Mesh);
    piece.SetPosition({0, 0, static_cast<float>((BallastTop - i * BallastPitch) * s)});
    piece.SetScale({meshScale, meshScale, meshScale});
    piece.SetRollAngle(0);
    // The library holds the hull's materials first: the pieces take entries 2 to 7.
    if (i + 2 < GLMaterialLibrary1.Count())
      piece.SetMaterial(GLMaterialLibrary1.Material(i + 2));
    FBallastPieces[static_cast<std::size_t>(i)] = &piece;
  }
  SetBallastCount(variant.BallastCount);
}

void TDoorScene::SetBallastCount(int count)
{
  for (int i = 0; i < kMaxBallast; ++i)
    if (TFreeForm* piece = FBallastPieces[static_cast<std::size_t>(i)])
      piece->SetVisible(i < count);
}

void TDoorScene::ApplyPoses(const TScenePoses& p, Real gridXZ, Real gridXY)
{
  XYZGridXZ->SetPositionComponent(0, static_cast<float>(gridXZ));
  XYZGridXY->SetPositionComponent(0, static_cast<float>(gridXY));

  // The meshes turn as the door's points do: the model's X, Y, Z axes go to right, up and
  // direction.
  const QVector3D direction = ToQ(p.MeshDirection), up = ToQ(p.MeshUp);
  FDoor->SetPosition({0, 0, 0});
  FDoor->SetOrientation(direction, up);
  // The bracket hangs on the pair axis (the door's turned Z) and points at its F0 hole.
  FBracket->SetPosition(ToQ(p.BracketPosition));
  FBracket->SetOrientation(direction, ToQ(p.BracketUp));
  for (int i = 0; i < kMaxBallast; ++i)
    if (TFreeForm* piece = FBallastPieces[static_cast<std::size_t>(i)]) {
      piece->SetOrientation(direction, up);
      piece->SetPosition(ToQ(p.BallastPositions[static_cast<std::size_t>(i)]));
    }

  for (int k = 0; k < kHoleCount; ++k) {
    FUpperHoleCubes[static_cast<std::size_t>(k)]->SetPosition(ToQ(p.UpperHoleCubes[static_cast<std::size_t>(k)]));
    FLowerHoleCubes[static_cast<std::size_t>(k)]->SetPosition(ToQ(p.LowerHoleCubes[static_cast<std::size_t>(k)]));
  }
  for (int k = 0; k < 6; ++k)
    FPairCubes[static_cast<std::size_t>(k)]->SetPosition(ToQ(p.PairCubes[static_cast<std::size_t>(k)]));
  for (int k = 0; k < kTowHoles; ++k)
    FTowCubes[static_cast<std::size_t>(k)]->SetPosition(ToQ(p.TowCubes[static_cast<std::size_t>(k)]));

  // Two-node lines start at their position; the far node is relative to it.
  const auto leg = [](TLines& line, const TLinePose& pose) {
    line.SetPosition(ToQ(pose.From));
    line.SetNode(1, ToQ(pose.To) - ToQ(pose.From));
  };
  leg(*BridleU, p.BridleU);
  leg(*BridleD, p.BridleD);
  leg(*Warp, p.Warp);

  const auto force = [](TLines& line, const std::array<TxyzSingle, 7>& nodes) {
    for (int i = 0; i < 7; ++i)
      line.SetNode(i, ToQ(nodes[static_cast<std::size_t>(i)]));
  };
  force(*BridleUF, p.BridleUF);
  force(*BridleDF, p.BridleDF);
  force(*GravF, p.GravF);
  force(*HydroWF, p.HydroWF);
  force(*HydroSF, p.HydroSF);
  GravityDoor->SetPosition(ToQ(p.GravityDoor));
  GravityBracket->SetPosition(ToQ(p.GravityBracket));
  CubeGravity->SetPosition(ToQ(p.CubeGravity));
  CubeHydroW->SetPosition(ToQ(p.CubeHydroW));
  CubeHydroS->SetPosition(ToQ(p.CubeHydroS));
}

void TDoorScene::SetSwitch(TViewSwitch which, bool on)
{
  switch (which) {
    case TViewSwitch::ShowAxes: DummyCube1->SetShowAxes(on); break;
    case TViewSwitch::ShowGridXY: XYZGridXY->SetVisible(on); break;
    case TViewSwitch::ShowGridXZ: XYZGridXZ->SetVisible(on); break;
    case TViewSwitch::HideHull: FDoor->SetVisible(!on); break;
    case TViewSwitch::HideBracket: FBracket->SetVisible(!on); break;
    case TViewSwitch::Transparent: {
      // Half transparent in one colour, or opaque in the mesh's own colours.
      TColor diffuse = FDoor->Material().Front.Diffuse;
      diffuse.setW(on ? 0.5f : 1.0f);
      FDoor->SetFrontDiffuse(diffuse);
      FDoor->SetUseMeshMaterials(!on);
      break;
    }
    case TViewSwitch::ShowPerspective:
      GLCamera1->SetStyle(on ? TCameraStyle::Perspective : TCameraStyle::Orthogonal);
      GLCamera1->SetFocalLength(static_cast<float>(on ? kPerspectiveFocalLength : kOrthogonalFocalLength));
      break;
  }
}

TViewPick TDoorScene::Identify(const TSceneObject* object) const
{
  if (!object)
    return {};
  if (object->Kind() != TObjectKind::Cube)
    return {TViewPick::TKind::Other, TMarkerGroup::None, -1};
  const auto find = [object](const auto& cubes, TMarkerGroup group, TViewPick& out) {
    for (std::size_t i = 0; i < cubes.size(); ++i)
      if (cubes[i] == object) {
        out = {TViewPick::TKind::Cube, group, static_cast<int>(i)};
        return true;
      }
    return false;
  };
  TViewPick pick{TViewPick::TKind::Cube, TMarkerGroup::None, -1};
  find(FUpperHoleCubes, TMarkerGroup::UpperHole, pick) || find(FLowerHoleCubes, TMarkerGroup::LowerHole, pick) ||
      find(FPairCubes, TMarkerGroup::BracketPair, pick) || find(FTowCubes, TMarkerGroup::TowHole, pick) ||
      find(FCentreCubes, TMarkerGroup::Centre, pick);
  return pick;
}

TCube* TDoorScene::CubeOf(const TViewPick& pick) const
{
  const auto at = [&pick](const auto& cubes) -> TCube* {
    return pick.Index >= 0 && pick.Index < static_cast<int>(cubes.size()) ? cubes[static_cast<std::size_t>(pick.Index)]
                                                                           : nullptr;
  };
  switch (pick.Group) {
    case TMarkerGroup::UpperHole: return at(FUpperHoleCubes);
    case TMarkerGroup::LowerHole: return at(FLowerHoleCubes);
    case TMarkerGroup::BracketPair: return at(FPairCubes);
    case TMarkerGroup::TowHole: return at(FTowCubes);
    case TMarkerGroup::Centre: return at(FCentreCubes);
    case TMarkerGroup::None: return nullptr;
  }
  return nullptr;
}
