// Arcs, circles and prisms.
#include "MeshShapes.h"

#include <cmath>
#include <stdexcept>

namespace {

double SignedArea(const TLoop& loop)
{
  double a = 0;
  for (size_t i = 0; i < loop.size(); ++i) {
    const TVec2 p = loop[i], q = loop[(i + 1) % loop.size()];
    a += p.X * q.Y - q.X * p.Y;
  }
  return a / 2;
}

// Smoothing bits of the walls along a loop: walls between two sharp corners are one smooth
// run; neighbouring runs never share a bit. The caps use bit 1.
std::vector<std::uint32_t> WallGroups(const TLoop& loop)
{
  const int n = static_cast<int>(loop.size());
  std::vector<bool> sharp(n);
  int first = -1;
  for (int i = 0; i < n; ++i) {
    const TVec2 a = loop[(i + n - 1) % n], b = loop[i], c = loop[(i + 1) % n];
    const double turn = std::atan2((b.X - a.X) * (c.Y - b.Y) - (b.Y - a.Y) * (c.X - b.X),
                                   (b.X - a.X) * (c.X - b.X) + (b.Y - a.Y) * (c.Y - b.Y));
    sharp[i] = std::fabs(turn) > kSharpTurnDeg * kPiD / 180;
    if (sharp[i] && first < 0)
      first = i;
  }
  std::vector<std::uint32_t> groups(n, 2);
  if (first < 0)
    return groups;
  int runs = 0;
  for (int k = 0; k < n; ++k)
    runs += sharp[(first + k) % n] ? 1 : 0;
  int run = -1;
  for (int k = 0; k < n; ++k) {
    const int e = (first + k) % n;  // the wall from corner e to corner e + 1
    if (sharp[e])
      ++run;
    groups[e] = (runs % 2 == 1 && run == runs - 1 && runs > 1) ? 8u : (run % 2 == 0 ? 2u : 4u);
  }
  return groups;
}

}  // namespace

TLoop Arc(TVec2 c, double rx, double ry, double a0, double a1, int segments)
{
  TLoop out;
  for (int k = 0; k <= segments; ++k) {
    const double a = (a0 + (a1 - a0) * k / segments) * kPiD / 180;
    out.push_back({c.X + rx * std::cos(a), c.Y + ry * std::sin(a)});
  }
  return out;
}

TLoop Circle(TVec2 c, double r, int n, double phase)
{
  TLoop out = Arc(c, r, r, phase, phase + 360, n);
  out.pop_back();
  return out;
}

TLoop Reversed(TLoop loop) { return {loop.rbegin(), loop.rend()}; }

void Append(TLoop& a, const TLoop& b)
{
  auto from = b.begin();
  if (!a.empty() && !b.empty() && std::hypot(a.back().X - b.front().X, a.back().Y - b.front().Y) < 1e-9)
    ++from;
  a.insert(a.end(), from, b.end());
}

void AddPrism(TMeshObject& mesh, const TFrame& frame, const TLoop& outline,
              const std::vector<TLoop>& holes, double d0, double d1)
{
  if (SignedArea(outline) <= 0)
    throw std::runtime_error(mesh.Name() + ": a prism outline runs clockwise");
  const TVec3 ez = Cross(frame.Ex, frame.Ey);
  std::vector<TLoop> top{outline};
  for (const TLoop& h : holes)
    top.push_back(SignedArea(h) > 0 ? Reversed(h) : h);

  mesh.AddFace({frame.Origin + ez * d1, frame.Ex, frame.Ey}, top, 1);
  // Seen from below, x and y swap places, which mirrors the loops: turn them back.
  std::vector<TLoop> bottom;
  for (const TLoop& loop : top) {
    TLoop swapped;
    for (const TVec2& p : loop)
      swapped.push_back({p.Y, p.X});
    bottom.push_back(Reversed(swapped));
  }
  mesh.AddFace({frame.Origin + ez * d0, frame.Ey, frame.Ex}, bottom, 1);

  auto at = [&](TVec2 p, double d) { return frame.Origin + frame.Ex * p.X + frame.Ey * p.Y + ez * d; };
  for (const TLoop& loop : top) {
    const std::vector<std::uint32_t> groups = WallGroups(loop);
    for (size_t i = 0; i < loop.size(); ++i) {
      const TVec2 a = loop[i], b = loop[(i + 1) % loop.size()];
      mesh.AddQuad(at(a, d0), at(b, d0), at(b, d1), at(a, d1), groups[i]);
    }
  }
}
