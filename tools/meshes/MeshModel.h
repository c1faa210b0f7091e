// A closed triangle mesh built from planar polygon faces: each face is given as loops in
// its own plane (outer loop counter-clockwise seen from outside, holes clockwise) and is
// triangulated by ear clipping, so a face of n corners and h holes gives n + 2h - 2
// triangles. Corners at the same place are one vertex, which keeps the solids closed.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

struct TVec2 {
  double X = 0, Y = 0;
};
struct TVec3 {
  double X = 0, Y = 0, Z = 0;
};
inline TVec3 operator+(TVec3 a, TVec3 b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
inline TVec3 operator-(TVec3 a, TVec3 b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
inline TVec3 operator*(TVec3 a, double k) { return {a.X * k, a.Y * k, a.Z * k}; }
inline TVec2 operator+(TVec2 a, TVec2 b) { return {a.X + b.X, a.Y + b.Y}; }
inline TVec2 operator-(TVec2 a, TVec2 b) { return {a.X - b.X, a.Y - b.Y}; }
inline TVec2 operator*(TVec2 a, double k) { return {a.X * k, a.Y * k}; }
TVec3 Cross(TVec3 a, TVec3 b);

// A plane in space: the point (x, y) of the plane is Origin + x U + y V; the face's
// outside is toward U x V.
struct TPlane {
  TVec3 Origin, U, V;
  TVec3 At(TVec2 p) const { return Origin + U * p.X + V * p.Y; }
};

using TLoop = std::vector<TVec2>;

struct TTriangle {
  std::array<std::uint16_t, 3> V{};
  std::uint16_t EdgeFlags = 0;  // bit k: edge k -> k+1 is an edge of the original face
  std::uint32_t Smoothing = 0;  // smoothing group bits
};

// What Check() found: the counts, the solids' genus and the extent.
struct TMeshReport {
  int Vertices = 0, Triangles = 0, Solids = 0, Holes = 0;
  TVec3 Min, Max;
  std::string Fault;  // empty when every edge is shared by exactly two faces, turned oppositely
};

class TMeshObject {
 public:
  explicit TMeshObject(std::string name) : FName(std::move(name)) {}

  // Adds one planar face; loops[0] is the outline, the rest are holes inside it.
  void AddFace(const TPlane& plane, const std::vector<TLoop>& loops, std::uint32_t smoothing);

  // Adds one planar face given by its corners in space, outline first, seen from the side
  // `normal` points to; the loops may run either way round.
  void AddPolygon(const std::vector<std::vector<TVec3>>& loops, TVec3 normal, std::uint32_t smoothing);
  // Adds a planar quadrilateral a b c d, counter-clockwise seen from outside.
  void AddQuad(TVec3 a, TVec3 b, TVec3 c, TVec3 d, std::uint32_t smoothing);

  const std::string& Name() const { return FName; }
  const std::vector<TVec3>& Vertices() const { return FVertices; }
  const std::vector<TTriangle>& Triangles() const { return FTriangles; }
  TMeshReport Check() const;

 private:
  int VertexAt(TVec3 p);

  std::string FName;
  std::vector<TVec3> FVertices;
  std::vector<TTriangle> FTriangles;
  std::map<std::tuple<long long, long long, long long>, int> FIndex;
};

// Triangulates a polygon with holes (outline counter-clockwise, holes clockwise);
// each corner is named by (loop, index). Throws when the polygon cannot be cut into ears.
std::vector<std::array<std::pair<int, int>, 3>> Triangulate(const std::vector<TLoop>& loops);
