// Ear clipping with holes joined to the outline by bridges, vertex sharing by position,
// and the closedness check of a finished mesh.
#include "MeshModel.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <set>
#include <stdexcept>

namespace {

using TRef = std::pair<int, int>;  // (loop, index)

// Positions closer than this (millimetres) are one vertex.
constexpr double kWeldGrid = 1e-4;

double Cross2(TVec2 o, TVec2 a, TVec2 b) { return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X); }
bool Same(TVec2 a, TVec2 b) { return std::fabs(a.X - b.X) < 1e-9 && std::fabs(a.Y - b.Y) < 1e-9; }

bool InTriangle(TVec2 p, TVec2 a, TVec2 b, TVec2 c)
{
  return Cross2(a, b, p) >= 0 && Cross2(b, c, p) >= 0 && Cross2(c, a, p) >= 0;
}

// Whether the direction from corner b toward q lies inside the ring's corner a b c (the
// ring runs counter-clockwise, so its inside is left of a -> b -> c).
bool OpensToward(TVec2 a, TVec2 b, TVec2 c, TVec2 q)
{
  auto turn = [](TVec2 from, TVec2 to) {  // counter-clockwise angle from one direction to another
    const double angle = std::atan2(from.X * to.Y - from.Y * to.X, from.X * to.X + from.Y * to.Y);
    return angle < 0 ? angle + 2 * 3.14159265358979323846 : angle;
  };
  const TVec2 out = c - b, back = a - b, toward = q - b;
  return turn(out, toward) < turn(out, back);
}

// Joins each hole to the ring through its rightmost corner and a visible ring corner to
// its right (the ray to +x meets the ring at a point whose edge has that corner, unless a
// reflex corner inside the triangle between hides it, then the nearest such corner).
std::vector<TRef> JoinHoles(const std::vector<TLoop>& loops)
{
  auto at = [&](TRef r) { return loops[r.first][r.second]; };
  std::vector<TRef> ring;
  for (int i = 0; i < static_cast<int>(loops[0].size()); ++i)
    ring.push_back({0, i});

  std::vector<int> holes(loops.size() - 1);
  std::iota(holes.begin(), holes.end(), 1);
  auto rightmost = [&](int h) {
    return static_cast<int>(std::max_element(loops[h].begin(), loops[h].end(),
                                             [](TVec2 a, TVec2 b) { return a.X < b.X; }) -
                            loops[h].begin());
  };
  std::sort(holes.begin(), holes.end(),
            [&](int a, int b) { return loops[a][rightmost(a)].X > loops[b][rightmost(b)].X; });

  for (const int h : holes) {
    const int mi = rightmost(h);
    const TVec2 m = loops[h][mi];
    double bestX = 1e300;
    int bestEdge = -1;
    const int n = static_cast<int>(ring.size());
    for (int i = 0; i < n; ++i) {
      const TVec2 a = at(ring[i]), b = at(ring[(i + 1) % n]);
      if ((a.Y - m.Y) * (b.Y - m.Y) > 0 || a.Y == b.Y)
        continue;
      const double x = a.X + (m.Y - a.Y) / (b.Y - a.Y) * (b.X - a.X);
      if (x >= m.X && x < bestX) {
        bestX = x;
        bestEdge = i;
      }
    }
    if (bestEdge < 0)
      throw std::runtime_error("hole outside its outline");
    const TVec2 hit{bestX, m.Y};
    int pick = at(ring[bestEdge]).X > at(ring[(bestEdge + 1) % n]).X ? bestEdge : (bestEdge + 1) % n;
    const TVec2 p = at(ring[pick]);
    double bestAngle = 1e300;
    for (int i = 0; i < n; ++i) {
      const TVec2 q = at(ring[i]);
      const TVec2 prev = at(ring[(i + n - 1) % n]), next = at(ring[(i + 1) % n]);
      const bool reflex = Cross2(prev, q, next) <= 0;
      const bool inside = InTriangle(q, m, hit, p) || InTriangle(q, m, p, hit);
      if (!reflex || Same(q, p) || !inside || q.X < m.X)
        continue;
      const double angle = std::atan2(std::fabs(q.Y - m.Y), q.X - m.X);
      if (angle < bestAngle) {
        bestAngle = angle;
        pick = i;
      }
    }
    // A corner that already ends a bridge is in the ring twice or more; the bridge must
    // leave from the copy whose corner opens toward the hole.
    const TVec2 chosen = at(ring[pick]);
    for (int i = 0; i < n; ++i)
      if (Same(at(ring[i]), chosen) && OpensToward(at(ring[(i + n - 1) % n]), chosen, at(ring[(i + 1) % n]), m)) {
        pick = i;
        break;
      }
    std::vector<TRef> joined(ring.begin(), ring.begin() + pick + 1);
    const int hn = static_cast<int>(loops[h].size());
    for (int k = 0; k <= hn; ++k)
      joined.push_back({h, (mi + k) % hn});
    joined.insert(joined.end(), ring.begin() + pick, ring.end());
    ring = std::move(joined);
  }
  return ring;
}

}  // namespace

TVec3 Cross(TVec3 a, TVec3 b) { return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X}; }

std::vector<std::array<TRef, 3>> Triangulate(const std::vector<TLoop>& loops)
{
  auto at = [&](TRef r) { return loops[r.first][r.second]; };
  std::vector<TRef> ring = JoinHoles(loops);
  std::vector<std::array<TRef, 3>> out;
  while (ring.size() > 3) {
    const int n = static_cast<int>(ring.size());
    // Of all ears, cut the fattest one, so that strips do not turn into slivers.
    int best = -1;
    double bestQuality = -1;
    for (int i = 0; i < n; ++i) {
      const TVec2 a = at(ring[(i + n - 1) % n]), b = at(ring[i]), c = at(ring[(i + 1) % n]);
      const double area = Cross2(a, b, c);
      if (area <= 1e-12)
        continue;
      bool empty = true;
      for (int k = 0; k < n && empty; ++k) {
        const TVec2 q = at(ring[k]);
        if (Same(q, a) || Same(q, b) || Same(q, c))
          continue;
        empty = !InTriangle(q, a, b, c);
      }
      if (!empty)
        continue;
      auto sq = [](TVec2 u, TVec2 v) { return (u.X - v.X) * (u.X - v.X) + (u.Y - v.Y) * (u.Y - v.Y); };
      const double quality = area / (sq(a, b) + sq(b, c) + sq(c, a));
      if (quality > bestQuality) {
        bestQuality = quality;
        best = i;
      }
    }
    if (best < 0)
      throw std::runtime_error("polygon has no ear");
    out.push_back({ring[(best + n - 1) % n], ring[best], ring[(best + 1) % n]});
    ring.erase(ring.begin() + best);
  }
  out.push_back({ring[0], ring[1], ring[2]});
  return out;
}

int TMeshObject::VertexAt(TVec3 p)
{
  const auto key = std::make_tuple(std::llround(p.X / kWeldGrid), std::llround(p.Y / kWeldGrid),
                                   std::llround(p.Z / kWeldGrid));
  const auto [it, added] = FIndex.try_emplace(key, static_cast<int>(FVertices.size()));
  if (added)
    FVertices.push_back(p);
  if (FVertices.size() > 65535)
    throw std::runtime_error(FName + ": more vertices than a 3DS object holds");
  return it->second;
}

void TMeshObject::AddQuad(TVec3 a, TVec3 b, TVec3 c, TVec3 d, std::uint32_t smoothing)
{
  const auto ia = static_cast<std::uint16_t>(VertexAt(a)), ib = static_cast<std::uint16_t>(VertexAt(b));
  const auto ic = static_cast<std::uint16_t>(VertexAt(c)), id = static_cast<std::uint16_t>(VertexAt(d));
  FTriangles.push_back({{ia, ib, ic}, 0b011, smoothing});
  FTriangles.push_back({{ia, ic, id}, 0b110, smoothing});
}

void TMeshObject::AddFace(const TPlane& plane, const std::vector<TLoop>& loops, std::uint32_t smoothing)
{
  std::vector<std::array<TRef, 3>> triangles;
  try {
    triangles = Triangulate(loops);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(FName + ": " + e.what());
  }
  for (const auto& tri : triangles) {
    TTriangle t;
    for (int k = 0; k < 3; ++k) {
      t.V[k] = static_cast<std::uint16_t>(VertexAt(plane.At(loops[tri[k].first][tri[k].second])));
      const TRef a = tri[k], b = tri[(k + 1) % 3];
      const int n = static_cast<int>(loops[a.first].size());
      if (a.first == b.first && (a.second + 1) % n == b.second)
        t.EdgeFlags |= static_cast<std::uint16_t>(1u << k);
    }
    t.Smoothing = smoothing;
    FTriangles.push_back(t);
  }
}

void TMeshObject::AddPolygon(const std::vector<std::vector<TVec3>>& loops, TVec3 normal, std::uint32_t smoothing)
{
  // A basis of the face's plane with u x v along the normal.
  const TVec3 helper = std::fabs(normal.X) < 0.9 ? TVec3{1, 0, 0} : TVec3{0, 1, 0};
  TVec3 u = Cross(helper, normal);
  u = u * (1 / std::sqrt(u.X * u.X + u.Y * u.Y + u.Z * u.Z));
  TVec3 v = Cross(normal, u);
  auto dot = [](TVec3 a, TVec3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; };

  std::vector<TLoop> flat;
  std::vector<std::vector<TVec3>> ordered;
  for (size_t l = 0; l < loops.size(); ++l) {
    std::vector<TVec3> loop = loops[l];
    TLoop p;
    double area = 0;
    for (const TVec3& q : loop)
      p.push_back({dot(q, u), dot(q, v)});
    for (size_t i = 0; i < p.size(); ++i)
      area += p[i].X * p[(i + 1) % p.size()].Y - p[(i + 1) % p.size()].X * p[i].Y;
    // The outline runs counter-clockwise, the holes clockwise.
    if ((l == 0) != (area > 0)) {
      std::reverse(loop.begin(), loop.end());
      std::reverse(p.begin(), p.end());
    }
    flat.push_back(p);
    ordered.push_back(loop);
  }
  std::vector<std::array<TRef, 3>> triangles;
  try {
    triangles = Triangulate(flat);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(FName + ": " + e.what());
  }
  for (const auto& tri : triangles) {
    TTriangle t;
    for (int k = 0; k < 3; ++k) {
      t.V[k] = static_cast<std::uint16_t>(VertexAt(ordered[tri[k].first][tri[k].second]));
      const TRef a = tri[k], b = tri[(k + 1) % 3];
      const int n = static_cast<int>(flat[a.first].size());
      if (a.first == b.first && (a.second + 1) % n == b.second)
        t.EdgeFlags |= static_cast<std::uint16_t>(1u << k);
    }
    t.Smoothing = smoothing;
    FTriangles.push_back(t);
  }
}

TMeshReport TMeshObject::Check() const
{
  TMeshReport r;
  r.Vertices = static_cast<int>(FVertices.size());
  r.Triangles = static_cast<int>(FTriangles.size());
  r.Min = r.Max = FVertices.empty() ? TVec3{} : FVertices[0];
  for (const TVec3& p : FVertices) {
    r.Min = {std::min(r.Min.X, p.X), std::min(r.Min.Y, p.Y), std::min(r.Min.Z, p.Z)};
    r.Max = {std::max(r.Max.X, p.X), std::max(r.Max.Y, p.Y), std::max(r.Max.Z, p.Z)};
  }

  std::map<std::pair<int, int>, int> directed;
  for (const TTriangle& t : FTriangles)
    for (int k = 0; k < 3; ++k)
      ++directed[{t.V[k], t.V[(k + 1) % 3]}];
  for (const auto& [edge, count] : directed) {
    const auto back = directed.find({edge.second, edge.first});
    if (count != 1 || back == directed.end() || back->second != 1) {
      r.Fault = "edge " + std::to_string(edge.first) + "-" + std::to_string(edge.second) +
                " is not shared by two oppositely turned faces";
      return r;
    }
  }

  // Solids are the connected parts; each one's Euler characteristic V - E + F = 2 - 2 g.
  std::vector<int> parent(FVertices.size());
  std::iota(parent.begin(), parent.end(), 0);
  std::function<int(int)> root = [&](int v) { return parent[v] == v ? v : parent[v] = root(parent[v]); };
  for (const TTriangle& t : FTriangles)
    for (int k = 1; k < 3; ++k)
      parent[root(t.V[k])] = root(t.V[0]);
  // Every edge has two faces, so E = 3 F / 2 and 2 (V - E + F) = 2 V - F.
  std::map<int, int> euler;  // twice the characteristic, per solid
  std::map<int, double> volume;
  for (int v = 0; v < r.Vertices; ++v)
    euler[root(v)] += 2;
  for (const TTriangle& t : FTriangles) {
    euler[root(t.V[0])] -= 1;
    const TVec3 a = FVertices[t.V[0]], b = FVertices[t.V[1]], c = FVertices[t.V[2]];
    const TVec3 n = Cross(b - a, c - a);
    volume[root(t.V[0])] += (a.X * n.X + a.Y * n.Y + a.Z * n.Z) / 6;
  }
  r.Solids = static_cast<int>(euler.size());
  for (const auto& [solid, twiceChi] : euler) {
    if (twiceChi % 4 != 0 || twiceChi > 4) {
      r.Fault = "a solid is not a closed surface (touching solids?)";
      return r;
    }
    r.Holes += (4 - twiceChi) / 4;
    if (volume[solid] <= 0)
      r.Fault = "a solid's faces turn inward";
  }
  return r;
}
