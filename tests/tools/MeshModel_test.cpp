// The mesh generator's own guards: ear clipping covers a holed outline exactly once, and
// the closedness check, which fails the build, tells a closed solid from an open or
// inside-out one and counts its holes.
#include <gtest/gtest.h>

#include <cmath>

#include "MeshShapes.h"

namespace {

double Area(TVec2 a, TVec2 b, TVec2 c) { return ((b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X)) / 2; }

const TLoop kSquare{{0, 0}, {100, 0}, {100, 60}, {0, 60}};

}  // namespace

TEST(MeshModel, EarClippingCoversAHoledOutlineOnce)
{
  // Holes side by side at the same height test the bridges to earlier holes.
  const std::vector<TLoop> loops{kSquare, Reversed(Circle({25, 30}, 8, 12)), Reversed(Circle({50, 30}, 8, 12)),
                                 Reversed(Circle({75, 30}, 8, 12))};
  const auto triangles = Triangulate(loops);
  EXPECT_EQ(triangles.size(), 4u + 36u + 2 * 3 - 2);
  double covered = 0;
  for (const auto& t : triangles) {
    const double a = Area(loops[t[0].first][t[0].second], loops[t[1].first][t[1].second],
                          loops[t[2].first][t[2].second]);
    EXPECT_GT(a, 0);
    covered += a;
  }
  const double hole = 12 * 8 * 8 * std::sin(2 * kPiD / 12) / 2;
  EXPECT_NEAR(covered, 100 * 60 - 3 * hole, 1e-6);
}

TEST(MeshModel, CheckTellsClosedSolidsAndCountsHoles)
{
  TMeshObject plate("plate");
  AddPrism(plate, kXY, kSquare, {Circle({30, 30}, 10, 16), Circle({70, 30}, 10, 16)}, 0, 5);
  AddPrism(plate, kZY, kSquare, {}, 20, 30);  // a second, separate solid
  const TMeshReport r = plate.Check();
  EXPECT_EQ(r.Fault, "");
  EXPECT_EQ(r.Solids, 2);
  EXPECT_EQ(r.Holes, 2);
  EXPECT_EQ(r.Vertices, 2 * (4 + 32) + 8);
  EXPECT_EQ(r.Triangles, 2 * r.Vertices - 4 * r.Solids + 4 * r.Holes);
  EXPECT_DOUBLE_EQ(r.Min.X, -30);  // the second prism's depth runs along -X
  EXPECT_DOUBLE_EQ(r.Max.Z, 100);
}

TEST(MeshModel, CheckFindsOpenAndInsideOutSolids)
{
  const TVec3 a{0, 0, 0}, b{1, 0, 0}, c{1, 1, 0}, d{0, 1, 0}, e{0, 0, 1}, f{1, 0, 1}, g{1, 1, 1}, h{0, 1, 1};
  auto box = [&](bool open, bool inverted) {
    TMeshObject m("box");
    auto quad = [&](TVec3 p, TVec3 q, TVec3 r, TVec3 s) {
      if (inverted)
        m.AddQuad(s, r, q, p, 1);
      else
        m.AddQuad(p, q, r, s, 1);
    };
    quad(a, d, c, b);  // bottom, facing -Z
    if (!open)
      quad(e, f, g, h);
    quad(a, b, f, e);
    quad(b, c, g, f);
    quad(c, d, h, g);
    quad(d, a, e, h);
    return m.Check().Fault;
  };
  EXPECT_EQ(box(false, false), "");
  EXPECT_NE(box(true, false), "");
  EXPECT_NE(box(false, true), "");
}
