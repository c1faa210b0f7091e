// Shape helpers of the mesh generator: arcs and circles as point loops, and the prism,
// a flat outline with holes pushed along the normal of its plane, which makes every plate,
// bar, lug and pin of the door.
#pragma once

#include "MeshModel.h"

inline constexpr double kPiD = 3.14159265358979323846;

// Points on an ellipse about c with radii rx, ry from angle a0 to a1 (degrees), both ends
// included, in `segments` equal steps.
TLoop Arc(TVec2 c, double rx, double ry, double a0, double a1, int segments);
// A counter-clockwise circle of n corners, the first at `phase` degrees.
TLoop Circle(TVec2 c, double r, int n, double phase = 0);
TLoop Reversed(TLoop loop);
// Appends b to a, leaving out b's first point when it repeats a's last one.
void Append(TLoop& a, const TLoop& b);

// A right-handed frame in space: the prism's outline lies in (Ex, Ey), its depth runs
// along Ex x Ey.
struct TFrame {
  TVec3 Origin{0, 0, 0}, Ex{1, 0, 0}, Ey{0, 1, 0};
};
inline constexpr TFrame kXY{};                                  // depth along +Z
inline constexpr TFrame kZY{{0, 0, 0}, {0, 0, 1}, {0, 1, 0}};   // depth along -X

// Adds the solid between depths d0 < d1 over the outline (counter-clockwise) with its
// holes (any turn). Caps are flat; the side walls are smooth between corners that turn
// by less than kSharpTurnDeg.
void AddPrism(TMeshObject& mesh, const TFrame& frame, const TLoop& outline,
              const std::vector<TLoop>& holes, double d0, double d1);
inline constexpr double kSharpTurnDeg = 40;
