// Checks the embedded door meshes as the scene engine reads them, through assimp from
// memory: objects, vertex and triangle counts, extents, materials, closed outward-facing
// surfaces, and holes where the door's tables put the markers.
//
// Frames: the importer leaves every vertex where the file has it and puts a turn from the
// file's Z-up frame to its own Y-up one on the scene's root node only.
//
// Counting vertices: assimp's 3DS importer gives every face three vertices of its own, and
// aiProcess_JoinIdenticalVertices joins only corners whose normals agree too, so corners on
// sharp edges stay split. The vertices as stored are therefore counted as the distinct
// positions of each object (no two vertices of an object share a position).
#include <QtTest>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "assets/Meshes.h"
#include "coefficients/CoefTables.h"
#include "mechanics/DoorData.h"

namespace {

struct TExtent {
  double MinX, MaxX, MinY, MaxY, MinZ, MaxZ;
};
struct TExpectedMaterial {
  const char* Name;
  int R, G, B;
};

// Extents are given to a hundredth of a millimetre.
constexpr double kExtentTolerance = 0.006;

// A hole's wall is as far from its point all round, to within this (millimetres); a
// polygon of 20 or more corners stays well inside it.
constexpr double kHoleOffCentre = 0.3;

using TKey = std::tuple<float, float, float>;
TKey KeyOf(const aiVector3D& v) { return {v.x, v.y, v.z}; }

// One loaded file; the importer owns the scene.
struct TLoaded {
  std::unique_ptr<Assimp::Importer> Importer = std::make_unique<Assimp::Importer>();
  const aiScene* Scene = nullptr;
};

TLoaded Load(int id, const char* hint)
{
  TLoaded l;
  const QByteArray bytes = MeshResource(id);
  l.Scene = l.Importer->ReadFileFromMemory(bytes.constData(), static_cast<size_t>(bytes.size()), 0, hint);
  return l;
}

int DistinctPositions(const aiMesh* m)
{
  std::set<TKey> seen;
  for (unsigned k = 0; k < m->mNumVertices; ++k)
    seen.insert(KeyOf(m->mVertices[k]));
  return static_cast<int>(seen.size());
}

std::vector<std::array<aiVector3D, 3>> TrianglesOf(const aiScene* s)
{
  std::vector<std::array<aiVector3D, 3>> out;
  for (unsigned i = 0; i < s->mNumMeshes; ++i) {
    const aiMesh* m = s->mMeshes[i];
    for (unsigned f = 0; f < m->mNumFaces; ++f) {
      const aiFace& face = m->mFaces[f];
      out.push_back({m->mVertices[face.mIndices[0]], m->mVertices[face.mIndices[1]], m->mVertices[face.mIndices[2]]});
    }
  }
  return out;
}

// Distance along the ray o + t d (t > 0) to triangle abc, or a negative number for a miss.
double RayHit(const aiVector3D& o, const aiVector3D& d, const std::array<aiVector3D, 3>& t)
{
  const aiVector3D e1 = t[1] - t[0], e2 = t[2] - t[0];
  const aiVector3D p = d ^ e2;
  const double det = e1 * p;
  if (std::fabs(det) < 1e-12)
    return -1;
  const aiVector3D s = o - t[0];
  const double u = (s * p) / det;
  const aiVector3D q = s ^ e1;
  const double v = (d * q) / det;
  if (u < 0 || v < 0 || u + v > 1)
    return -1;
  return (e2 * q) / det;
}

double NearestHit(const std::vector<std::array<aiVector3D, 3>>& tris, const aiVector3D& o, const aiVector3D& d)
{
  double best = -1;
  for (const auto& t : tris) {
    const double h = RayHit(o, d, t);
    if (h > 0 && (best < 0 || h < best))
      best = h;
  }
  return best;
}

// A hole of radius up to maxRadius round `centre` with its axis along `axis`: nothing lies
// on the axis within `clear` either side, and a wall meets every ray across the axis at
// the same distance, so the hole is centred on the point.
void CheckHole(const std::vector<std::array<aiVector3D, 3>>& tris, aiVector3D centre, aiVector3D axis,
               double clear, double maxRadius, const QString& what)
{
  const aiVector3D start = centre - axis * static_cast<float>(clear);
  const double along = NearestHit(tris, start, axis);
  QVERIFY2(along < 0 || along > 2 * clear, qPrintable(what + ": a face covers the hole"));
  const aiVector3D u = std::fabs(axis.z) > 0.5f ? aiVector3D(1, 0, 0) : aiVector3D(0, 0, 1);
  const aiVector3D v = axis ^ u;
  double nearest = maxRadius, farthest = 0;
  for (int k = 0; k < 8; ++k) {
    const double a = k * 0.7853981633974483 + 0.1;
    const aiVector3D dir = u * static_cast<float>(std::cos(a)) + v * static_cast<float>(std::sin(a));
    const double wall = NearestHit(tris, centre, dir);
    QVERIFY2(wall > 0 && wall <= maxRadius, qPrintable(what + QString(": no rim at %1 mm").arg(wall)));
    nearest = std::min(nearest, wall);
    farthest = std::max(farthest, wall);
  }
  QVERIFY2(farthest - nearest < kHoleOffCentre, qPrintable(what + ": the hole is not centred on its point"));
}

aiVector3D Mm(const TxyzSingle& p) { return {p.X * 1000, p.Y * 1000, p.Z * 1000}; }

const std::vector<TExpectedMaterial> kHullMaterials{
    {"*GLOBAL*", 165, 124, 0},   {"*GLOBAL*01", 255, 127, 0}, {"*GLOBAL*02", 255, 191, 0},
    {"*GLOBAL*03", 255, 255, 0}, {"*GLOBAL*04", 165, 0, 0},   {"*GLOBAL*05", 0, 191, 255},
    {"*GLOBAL*06", 0, 127, 255}, {"*GLOBAL*07", 255, 127, 127}, {"*GLOBAL*08", 0, 165, 0},
    {"*GLOBAL*09", 255, 0, 255}, {"*GLOBAL*10", 0, 255, 255}, {"*GLOBAL*11", 127, 223, 255},
    {"*GLOBAL*12", 255, 255, 255}, {"*GLOBAL*13", 0, 165, 165}};

}  // namespace

Q_DECLARE_METATYPE(TExtent)
Q_DECLARE_METATYPE(std::vector<TExpectedMaterial>)

class TMeshesTest : public QObject {
  Q_OBJECT

 private slots:
  void MeshLoads_data();
  void MeshLoads();
  void UnknownMeshIsEmpty();
  void BracketMaterialsAreNamedLikeTheHulls();
  void BracketPartsHaveTheirExtents_data();
  void BracketPartsHaveTheirExtents();
  void HullHolesSitAtTheTablePoints();
  void CentreOfPressureLineLiesOnTheWing();
  void TowingHolesSitAtTheTablePoints_data();
  void TowingHolesSitAtTheTablePoints();
};

void TMeshesTest::MeshLoads_data()
{
  QTest::addColumn<int>("id");
  QTest::addColumn<QString>("hint");
  QTest::addColumn<QStringList>("objects");
  QTest::addColumn<int>("vertices");
  QTest::addColumn<int>("triangles");
  QTest::addColumn<TExtent>("extent");
  QTest::addColumn<std::vector<TExpectedMaterial>>("materials");

  QTest::newRow("hull") << kWingMesh << "Wing.3ds"
                        << QStringList{"COL042_", "COL030_", "COL040_", "COL050_", "COL012_", "COL140_", "COL150_",
                                       "COL011_", "COL092_", "MAGENTA", "CYAN", "COL141_", "WHITE", "COL132_"}
                        << 3956 << 7952 << TExtent{-145.82, 279.72, -16, 169.37, -529, 529} << kHullMaterials;
  QTest::newRow("small bracket") << kBracketSmallMesh << "bracket.3ds" << QStringList{"WHITE", "RED"} << 424 << 864
                                 << TExtent{-9.98, 9.98, -84, 9.73, -53.98, 53.98}
                                 << std::vector<TExpectedMaterial>{{"*GLOBAL*", 255, 255, 255},
                                                                   {"*GLOBAL*01", 255, 0, 0}};
  QTest::newRow("medium bracket") << kBracketMediumMesh << "bracket.3ds"
                                  << QStringList{"WHITE", "COL082_", "COL132_"} << 504 << 1020
                                  << TExtent{-9.98, 9.98, -84, 9.73, -57.87, 57.87}
                                  << std::vector<TExpectedMaterial>{{"*GLOBAL*", 255, 255, 255},
                                                                    {"*GLOBAL*01", 41, 165, 0},
                                                                    {"*GLOBAL*02", 0, 165, 165}};
  QTest::newRow("large bracket") << kBracketLargeMesh << "bracket.3ds" << QStringList{"WHITE", "BLUE", "COL132_"}
                                 << 496 << 1004 << TExtent{-9.98, 9.98, -84, 9.73, -65.78, 65.78}
                                 << std::vector<TExpectedMaterial>{{"*GLOBAL*", 255, 255, 255},
                                                                   {"*GLOBAL*01", 0, 0, 255},
                                                                   {"*GLOBAL*02", 0, 165, 165}};
  QTest::newRow("ballast") << kBallastMesh << "ballast.3ds" << QStringList{"Ballast"} << 202 << 424
                           << TExtent{-145.98, 273.98, 32, 172.24, -6, 0}
                           << std::vector<TExpectedMaterial>{{"*GLOBAL*", 255, 255, 255}};
}

void TMeshesTest::MeshLoads()
{
  QFETCH(int, id);
  QFETCH(QString, hint);
  QFETCH(QStringList, objects);
  QFETCH(int, vertices);
  QFETCH(int, triangles);
  QFETCH(TExtent, extent);
  QFETCH(std::vector<TExpectedMaterial>, materials);

  const TLoaded l = Load(id, qPrintable(hint));
  QVERIFY2(l.Scene, l.Importer->GetErrorString());
  const aiScene* s = l.Scene;

  // One node per object, in file order, each holding its one mesh where its points are.
  QCOMPARE(s->mRootNode->mNumChildren, static_cast<unsigned>(objects.size()));
  QCOMPARE(s->mNumMeshes, static_cast<unsigned>(objects.size()));
  for (unsigned i = 0; i < s->mRootNode->mNumChildren; ++i) {
    const aiNode* node = s->mRootNode->mChildren[i];
    QCOMPARE(QString::fromUtf8(node->mName.C_Str()), objects[static_cast<int>(i)]);
    QCOMPARE(node->mNumMeshes, 1u);
    QCOMPARE(node->mMeshes[0], i);
    QVERIFY(node->mTransformation.IsIdentity());
    QCOMPARE(s->mMeshes[i]->mMaterialIndex, i);
  }
  // The importer turns the scene's root from the file's Z-up frame to its own Y-up one
  // (x, y, z) -> (x, z, -y); the view takes the vertices as stored and ignores the root.
  const aiMatrix4x4 yUp(1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1);
  QVERIFY(s->mRootNode->mTransformation.Equal(yUp));

  int v = 0, t = 0;
  aiVector3D lo(1e9f), hi(-1e9f);
  for (unsigned i = 0; i < s->mNumMeshes; ++i) {
    const aiMesh* m = s->mMeshes[i];
    QCOMPARE(m->mPrimitiveTypes, static_cast<unsigned>(aiPrimitiveType_TRIANGLE));
    v += DistinctPositions(m);
    t += static_cast<int>(m->mNumFaces);
    for (unsigned k = 0; k < m->mNumVertices; ++k) {
      const aiVector3D& p = m->mVertices[k];
      lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
      hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
  }
  QCOMPARE(v, vertices);
  QCOMPARE(t, triangles);
  const std::array<std::pair<double, double>, 6> ends{{{lo.x, extent.MinX}, {hi.x, extent.MaxX}, {lo.y, extent.MinY},
                                                       {hi.y, extent.MaxY}, {lo.z, extent.MinZ}, {hi.z, extent.MaxZ}}};
  for (const auto& [got, want] : ends)
    QVERIFY2(std::fabs(got - want) <= kExtentTolerance, qPrintable(QString("extent %1, want %2").arg(got).arg(want)));

  QCOMPARE(s->mNumMaterials, static_cast<unsigned>(materials.size()));
  for (unsigned i = 0; i < s->mNumMaterials; ++i) {
    const aiMaterial* mat = s->mMaterials[i];
    aiString name;
    aiColor3D diffuse;
    int twoSided = 0;
    float opacity = 0, shininess = 0;
    QCOMPARE(mat->Get(AI_MATKEY_NAME, name), aiReturn_SUCCESS);
    QCOMPARE(QString::fromUtf8(name.C_Str()), QString::fromLatin1(materials[i].Name));
    QCOMPARE(mat->Get(AI_MATKEY_COLOR_DIFFUSE, diffuse), aiReturn_SUCCESS);
    QCOMPARE(qRound(diffuse.r * 255), materials[i].R);
    QCOMPARE(qRound(diffuse.g * 255), materials[i].G);
    QCOMPARE(qRound(diffuse.b * 255), materials[i].B);
    QCOMPARE(mat->Get(AI_MATKEY_TWOSIDED, twoSided), aiReturn_SUCCESS);
    QCOMPARE(twoSided, 1);
    QCOMPARE(mat->Get(AI_MATKEY_OPACITY, opacity), aiReturn_SUCCESS);
    QCOMPARE(opacity, 1.0f);
    QCOMPARE(mat->Get(AI_MATKEY_SHININESS, shininess), aiReturn_SUCCESS);
    QVERIFY(shininess > 0);
  }

  // Every object is closed: each edge joins two faces that run it in opposite directions,
  // and the normals the importer computes point out of the solid.
  for (unsigned i = 0; i < s->mNumMeshes; ++i) {
    const aiMesh* m = s->mMeshes[i];
    std::map<std::pair<TKey, TKey>, int> edges;
    for (unsigned f = 0; f < m->mNumFaces; ++f) {
      const aiFace& face = m->mFaces[f];
      const aiVector3D& a = m->mVertices[face.mIndices[0]];
      const aiVector3D n = (m->mVertices[face.mIndices[1]] - a) ^ (m->mVertices[face.mIndices[2]] - a);
      for (unsigned k = 0; k < 3; ++k) {
        ++edges[{KeyOf(m->mVertices[face.mIndices[k]]), KeyOf(m->mVertices[face.mIndices[(k + 1) % 3]])}];
        QVERIFY(m->mNormals[face.mIndices[k]] * n > 0);
      }
    }
    for (const auto& [edge, count] : edges) {
      const auto back = edges.find({edge.second, edge.first});
      QVERIFY2(count == 1 && back != edges.end() && back->second == 1,
               qPrintable(objects[static_cast<int>(i)] + ": open or doubled edge"));
    }
  }
}

void TMeshesTest::UnknownMeshIsEmpty()
{
  for (const int id : {0, 1303, 1310, -1300})
    QVERIFY(MeshResource(id).isEmpty());
  QVERIFY(MeshResource(kBallastMesh).startsWith("\x4d\x4d"));
}

// The view draws the bracket with the hull's materials of the same names.
void TMeshesTest::BracketMaterialsAreNamedLikeTheHulls()
{
  const TLoaded hull = Load(kWingMesh, "Wing.3ds");
  QVERIFY(hull.Scene);
  for (const int id : kBracketTags) {
    const TLoaded b = Load(id, "bracket.3ds");
    QVERIFY(b.Scene);
    for (unsigned i = 0; i < b.Scene->mNumMaterials; ++i)
      QCOMPARE(QString::fromUtf8(b.Scene->mMaterials[i]->GetName().C_Str()),
               QString::fromUtf8(hull.Scene->mMaterials[i]->GetName().C_Str()));
  }
}

void TMeshesTest::BracketPartsHaveTheirExtents_data()
{
  QTest::addColumn<int>("id");
  QTest::addColumn<int>("object");
  QTest::addColumn<TExtent>("extent");
  const TExtent plate{-9.98, 9.98, -40, 9.73, -49.8, 49.8}, pin{-5, 5, -5, 5, -38, 38};
  QTest::newRow("small plate") << kBracketSmallMesh << 0 << plate;
  QTest::newRow("small part") << kBracketSmallMesh << 1 << TExtent{-6, 6, -84, -16, -53.98, 53.98};
  QTest::newRow("medium plate") << kBracketMediumMesh << 0 << plate;
  QTest::newRow("medium part") << kBracketMediumMesh << 1 << TExtent{-6, 6, -84, -16, -57.87, 57.87};
  QTest::newRow("medium pin") << kBracketMediumMesh << 2 << pin;
  QTest::newRow("large plate") << kBracketLargeMesh << 0 << plate;
  QTest::newRow("large part") << kBracketLargeMesh << 1 << TExtent{-6, 6, -84, -16, -65.78, 65.78};
  QTest::newRow("large pin") << kBracketLargeMesh << 2 << pin;
}

void TMeshesTest::BracketPartsHaveTheirExtents()
{
  QFETCH(int, id);
  QFETCH(int, object);
  QFETCH(TExtent, extent);
  const TLoaded b = Load(id, "bracket.3ds");
  QVERIFY(b.Scene);
  const aiMesh* m = b.Scene->mMeshes[object];
  aiVector3D lo(1e9f), hi(-1e9f);
  for (unsigned k = 0; k < m->mNumVertices; ++k) {
    const aiVector3D& p = m->mVertices[k];
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  const std::array<std::pair<double, double>, 6> ends{{{lo.x, extent.MinX}, {hi.x, extent.MaxX}, {lo.y, extent.MinY},
                                                       {hi.y, extent.MaxY}, {lo.z, extent.MinZ}, {hi.z, extent.MaxZ}}};
  for (const auto& [got, want] : ends)
    QVERIFY2(std::fabs(got - want) <= kExtentTolerance, qPrintable(QString("extent %1, want %2").arg(got).arg(want)));
}

// Every bridle hole and every bracket pair point is a hole through a lug plate: nothing
// on its axis (up the span), a wall all round within a shackle's reach.
void TMeshesTest::HullHolesSitAtTheTablePoints()
{
  const TLoaded hull = Load(kWingMesh, "Wing.3ds");
  QVERIFY(hull.Scene);
  const auto tris = TrianglesOf(hull.Scene);
  const aiVector3D up(0, 0, 1);
  for (int k = 0; k < kHoleCount; ++k) {
    CheckHole(tris, Mm(UpperHoles[k]), up, 8, 8, QString::fromStdString(UpperHoleCubeName(k)));
    CheckHole(tris, Mm(LowerHoles[k]), up, 8, 8, QString::fromStdString(LowerHoleCubeName(k)));
  }
  for (int k = 0; k < 6; ++k)
    CheckHole(tris, Mm(PairPoints[k]), up, 8, 8, QString::fromStdString(PairCubeName(k)));
}

// The wing's centre of pressure moves along this line; the cube that marks it must sit on
// the wing plate, so the plate crosses the line at every one of its points (mid-span).
void TMeshesTest::CentreOfPressureLineLiesOnTheWing()
{
  const TLoaded hull = Load(kWingMesh, "Wing.3ds");
  QVERIFY(hull.Scene);
  const aiMesh* wing = hull.Scene->mMeshes[0];
  std::vector<std::array<aiVector3D, 3>> tris;
  for (unsigned f = 0; f < wing->mNumFaces; ++f) {
    const aiFace& face = wing->mFaces[f];
    tris.push_back({wing->mVertices[face.mIndices[0]], wing->mVertices[face.mIndices[1]],
                    wing->mVertices[face.mIndices[2]]});
  }
  // The point lies between the plate's two faces, give or take a millimetre.
  constexpr double kReach = 20, kSlack = 1;
  for (const TCpLineRow& row : CpLineTable) {
    const aiVector3D p(static_cast<float>(row.X * 1000), static_cast<float>(row.Y * 1000), 0);
    const double below = NearestHit(tris, p - aiVector3D(0, kReach, 0), {0, 1, 0});
    const double above = NearestHit(tris, p + aiVector3D(0, kReach, 0), {0, -1, 0});
    QVERIFY2(below > 0 && below <= kReach + kSlack && above > 0 && above <= kReach + kSlack,
             qPrintable(QString("point at x = %1 mm is off the plate").arg(p.x)));
  }
}

void TMeshesTest::TowingHolesSitAtTheTablePoints_data()
{
  QTest::addColumn<int>("size");
  QTest::newRow("small") << 0;
  QTest::newRow("medium") << 1;
  QTest::newRow("large") << 2;
}

// In the bracket's own frame the pair axis is Z and the bracket runs down -Y, so a towing
// hole at distance d along the bracket lies at (0, -d, z), its axis across the plate.
void TMeshesTest::TowingHolesSitAtTheTablePoints()
{
  QFETCH(int, size);
  const TLoaded b = Load(kBracketTags[static_cast<size_t>(size)], "bracket.3ds");
  QVERIFY(b.Scene);
  const auto tris = TrianglesOf(b.Scene);
  for (int k = 0; k < kTowHoles; ++k) {
    const TxyzSingle& hole = BracketTowHolesTable[static_cast<size_t>(size)][static_cast<size_t>(k)];
    const aiVector3D centre(0, hole.X * 1000, hole.Z * 1000);
    CheckHole(tris, centre, {1, 0, 0}, 10, 9, QString("towing hole %1").arg(TowHoleName(static_cast<TTowHole>(k))));
  }
}

QTEST_MAIN(TMeshesTest)
#include "Meshes_test.moc"
