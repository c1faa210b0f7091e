// The door's parts. The hull is a cambered wing plate standing on its shoe, capped by a
// head plate, framed by a round leading-edge bar and a square trailing-edge bar and
// stiffened on its concave (inner) side by horizontal ribs and two vertical stiffeners.
// The bracket hangs between two horizontal lug plates at the pair points; the bridle legs
// are shackled to three horizontal lugs per side near the trailing edge. Every hole sits at
// its table point, so the markers that the view puts on the table points sit in holes.
#include "DoorMeshes.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "MeshShapes.h"
#include "WingSection.h"

namespace {

const TWingSection kWing;

// Hull dimensions, millimetres of the unit-scale door.
constexpr double kLeadingX = -136, kTrailingX = 272;  // ends of the wing plate's middle line
constexpr double kPlateHalf = 2;                      // half the wing plate's thickness
constexpr double kFrameTop = 519;                     // wing, bars and stiffeners end here ...
constexpr double kHullTop = 529;                      // ... under the head plate's top
constexpr double kLugHalf = 3;                        // half the thickness of every lug plate
constexpr double kBridleHoleR = 5, kPairHoleR = 5.5, kPairLugR = 16;
// The rim of the first bridle hole is the hull's aftmost point.
constexpr double kHullMaxX = 279.72;
// The head plate covers the leading- and trailing-edge bars and stays inside the hull.
constexpr double kHeadAftX = 270, kHeadHalf = 9;

// The shoe and the ballast plates share their D shape: a straight inner edge, rounded
// corners, straight ends up to the shoulder and a half ellipse over the wing. The shoe
// (the hull's foremost and widest part) lies a little inside the ballast plates.
constexpr double kShoulderY = 70, kCornerR = 10;
constexpr int kCornerSegments = 3;
struct TDShape {
  double X0, X1, Y0, YTop;
};
constexpr TDShape kShoe{-145.82, 273.82, 32, 169.37}, kBallast{-145.98, 273.98, 32, 172.24};

double Len(TVec2 v) { return std::hypot(v.X, v.Y); }
TVec2 Unit(TVec2 v) { return v * (1 / Len(v)); }
double AngleDeg(TVec2 v) { return std::atan2(v.Y, v.X) * 180 / kPiD; }
TVec2 Flat(const TxyzSingle& p) { return {p.X * 1000.0, p.Y * 1000.0}; }

// An even number of dome segments puts a corner on the top of the dome.
TLoop DOutline(const TDShape& d, int domeSegments)
{
  TLoop out = Arc({d.X1 - kCornerR, d.Y0 + kCornerR}, kCornerR, kCornerR, -90, 0, kCornerSegments);
  Append(out, Arc({(d.X0 + d.X1) / 2, kShoulderY}, (d.X1 - d.X0) / 2, d.YTop - kShoulderY, 0, 180, domeSegments));
  Append(out, Arc({d.X0 + kCornerR, d.Y0 + kCornerR}, kCornerR, kCornerR, 180, 270, kCornerSegments));
  return out;
}

// Ballast bolts: three on each side of the wing, through the shoe and every plate.
std::vector<TVec2> BoltPoints()
{
  std::vector<TVec2> out;
  for (const double x : {-90.0, 40.0, 190.0})
    out.push_back(kWing.Offset(x, -26));
  for (const double x : {-50.0, 90.0, 210.0})
    out.push_back(kWing.Offset(x, 28));
  return out;
}

// A band along the wing between offsets dLow < dHigh from its middle line.
TLoop Strip(double x0, double x1, double dLow, double dHigh, int points)
{
  TLoop out;
  for (int k = 0; k < points; ++k)
    out.push_back(kWing.Offset(x0 + (x1 - x0) * k / (points - 1), dLow));
  for (int k = points - 1; k >= 0; --k)
    out.push_back(kWing.Offset(x0 + (x1 - x0) * k / (points - 1), dHigh));
  return out;
}

// A band with round ends of radius r about the wing's middle line.
TLoop RoundedStrip(double x0, double x1, double r, int points, int foreSegments, int aftSegments)
{
  TLoop out;
  for (int k = 0; k < points; ++k)
    out.push_back(kWing.Offset(x0 + (x1 - x0) * k / (points - 1), -r));
  const double aft = AngleDeg(kWing.Tangent(x1)), fore = AngleDeg(kWing.Tangent(x0));
  Append(out, Arc(kWing.At(x1), r, r, aft - 90, aft + 90, aftSegments));
  for (int k = points - 1; k >= 0; --k)
    Append(out, {kWing.Offset(x0 + (x1 - x0) * k / (points - 1), r)});
  Append(out, Arc(kWing.At(x0), r, r, fore + 90, fore + 270, foreSegments));
  out.pop_back();  // the last arc point is the first band point
  return out;
}

// A rectangle across the wing at x: `along` wide along the chord, from offset d0 to d1.
TLoop Section(double x, double along, double d0, double d1)
{
  const TVec2 p = kWing.At(x), t = kWing.Tangent(x), n = kWing.Normal(x);
  return {p - t * (along / 2) + n * d0, p + t * (along / 2) + n * d0, p + t * (along / 2) + n * d1,
          p - t * (along / 2) + n * d1};
}

TLoop ConvexHull(std::vector<TVec2> pts)
{
  std::sort(pts.begin(), pts.end(), [](TVec2 a, TVec2 b) { return a.X < b.X || (a.X == b.X && a.Y < b.Y); });
  auto cross = [](TVec2 o, TVec2 a, TVec2 b) { return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X); };
  TLoop hull(2 * pts.size());
  size_t k = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], pts[i]) <= 1e-9)
      --k;
    hull[k++] = pts[i];
  }
  for (size_t i = pts.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && cross(hull[k - 2], hull[k - 1], pts[i]) <= 1e-9)
      --k;
    hull[k++] = pts[i];
  }
  hull.resize(k - 1);
  return hull;
}

// A bridle lug: welded along the wing's convex face near the trailing edge and reaching
// out round its five holes (first hole nearest the trailing edge).
TLoop BridleLugOutline(const std::array<TVec2, kHolesPerRow>& holes, int baseSegments)
{
  const TVec2 along = Unit(holes[kHolesPerRow - 1] - holes[0]);
  const double outward = AngleDeg({along.Y, -along.X});
  const double rim = kHullMaxX - holes[0].X;
  constexpr double baseStart = 192, baseEnd = 270;
  TLoop out;
  for (int k = 0; k <= baseSegments; ++k)
    out.push_back(kWing.At(baseStart + (baseEnd - baseStart) * k / baseSegments));
  Append(out, Arc(holes[0], rim, rim, -90, 0, 4));
  Append(out, Arc(holes[0], rim, rim, 0, outward, 3));
  Append(out, Arc(holes[kHolesPerRow - 1], rim, rim, outward, outward + 135, 6));
  return out;
}

// A bracket lug plate round the three pair holes, reaching up into the wing plate.
TLoop PairLugOutline(const std::array<TVec2, 3>& holes)
{
  std::vector<TVec2> pts;
  for (const TVec2& h : holes)
    for (const TVec2& p : Circle(h, kPairLugR, 24))
      pts.push_back(p);
  for (int k = 0; k <= 13; ++k)
    pts.push_back(kWing.At(-52 + 8.0 * k));
  return ConvexHull(pts);
}

}  // namespace

TMeshObject& TMeshFile::Add(const char* name, TRgb diffuse)
{
  // Materials are named by their place in the file, "*GLOBAL*", "*GLOBAL*01", ...
  const size_t index = Objects.size();
  std::string material = "*GLOBAL*";
  if (index > 0)
    material += (index < 10 ? "0" : "") + std::to_string(index);
  Materials.push_back({material, diffuse});
  return Objects.emplace_back(name);
}

std::vector<TFileObject> TMeshFile::FileObjects() const
{
  std::vector<TFileObject> out;
  for (size_t i = 0; i < Objects.size(); ++i)
    out.push_back({&Objects[i], Materials[i]});
  return out;
}

// The corner counts of the outlines and holes below make the hull's 3956 vertices and 7952
// triangles; the shoe's dome segments take up the difference when a part changes.
TMeshFile HullMeshes()
{
  TMeshFile f;
  TMeshObject& wing = f.Add("COL042_", {165, 124, 0});
  AddPrism(wing, kXY, Strip(kLeadingX, kTrailingX, -kPlateHalf, kPlateHalf, 81), {}, -kFrameTop, kFrameTop);

  TMeshObject& shoe = f.Add("COL030_", {255, 127, 0});
  AddPrism(shoe, kXY, DOutline(kShoe, 36), {}, -kHullTop, -kFrameTop);

  TMeshObject& head = f.Add("COL040_", {255, 191, 0});
  AddPrism(head, kXY, RoundedStrip(kLeadingX, kHeadAftX, kHeadHalf, 81, 8, 7), {}, kFrameTop, kHullTop);

  TMeshObject& nose = f.Add("COL050_", {255, 255, 0});
  AddPrism(nose, kXY, Circle(kWing.At(kLeadingX), 8, 32), {}, -kFrameTop, kFrameTop);

  TMeshObject& tail = f.Add("COL012_", {165, 0, 0});
  AddPrism(tail, kXY, Section(kTrailingX, 6, -3, 3), {}, -kFrameTop, kFrameTop);

  for (const double side : {1.0, -1.0}) {
    TMeshObject& ribs = side > 0 ? f.Add("COL140_", {0, 191, 255}) : f.Add("COL150_", {0, 127, 255});
    for (const double z : {190.0, 360.0})
      AddPrism(ribs, kXY, Strip(-128, 262, -20, 0, 56), {}, side * z - 2.5, side * z + 2.5);
  }

  for (const auto* table : {&UpperHoles, &LowerHoles}) {
    TMeshObject& lugs = table == &UpperHoles ? f.Add("COL011_", {255, 127, 127})
                                             : f.Add("COL092_", {0, 165, 0});
    for (int row = 0; row < kHoleRows; ++row) {
      std::array<TVec2, kHolesPerRow> holes;
      std::vector<TLoop> loops;
      for (int h = 0; h < kHolesPerRow; ++h) {
        holes[h] = Flat((*table)[row * kHolesPerRow + h]);
        loops.push_back(Circle(holes[h], kBridleHoleR, 24));
      }
      const double z = (*table)[row * kHolesPerRow].Z * 1000.0;
      AddPrism(lugs, kXY, BridleLugOutline(holes, 8), loops, z - kLugHalf, z + kLugHalf);
    }
  }

  for (const int first : {0, 1}) {
    TMeshObject& lug = first == 0 ? f.Add("MAGENTA", {255, 0, 255}) : f.Add("CYAN", {0, 255, 255});
    std::array<TVec2, 3> holes;
    std::vector<TLoop> loops;
    for (int k = 0; k < 3; ++k) {
      holes[k] = Flat(PairPoints[first + 2 * k]);
      loops.push_back(Circle(holes[k], kPairHoleR, 24));
    }
    const double z = PairPoints[first].Z * 1000.0;
    AddPrism(lug, kXY, PairLugOutline(holes), loops, z - kLugHalf, z + kLugHalf);
  }

  TMeshObject& stiffeners = f.Add("COL141_", {127, 223, 255});
  for (const double x : {-70.0, 150.0})
    AddPrism(stiffeners, kXY, Section(x, 5, -18, 0), {}, -kFrameTop, kFrameTop);

  TMeshObject& nuts = f.Add("WHITE", {255, 255, 255});
  for (const TVec2& p : BoltPoints())
    AddPrism(nuts, kXY, Circle(p, 8, 6, 30), {}, -kFrameTop, -kFrameTop + 8);

  // The web that joins the two bracket lug plates, clear of the bracket's swing.
  TMeshObject& web = f.Add("COL132_", {0, 165, 165});
  AddPrism(web, kXY, {{-34, 40}, {34, 40}, {34, 46}, {-34, 46}}, {}, -36.5, 36.5);
  return f;
}

TMeshFile BallastMeshes()
{
  TMeshFile f;
  TMeshObject& plate = f.Add("Ballast", {255, 255, 255});
  std::vector<TLoop> holes;
  for (const TVec2& p : BoltPoints())
    holes.push_back(Circle(p, 5, 10));
  AddPrism(plate, kXY, DOutline(kBallast, 32), holes, -6, 0);
  return f;
}
