// The wing's cambered section: the middle surface of the wing plate in the chord plane,
// fitted to the centre-of-pressure line, so that the wing's centre of pressure lies on the
// drawn plate. y(x) is a quartic in x, least squares through the line's points.
#pragma once

#include "MeshModel.h"

class TWingSection {
 public:
  TWingSection();
  double Y(double x) const;
  TVec2 At(double x) const { return {x, Y(x)}; }
  // Unit normal toward the convex side (+Y) at x.
  TVec2 Normal(double x) const;
  // Unit tangent toward +X at x.
  TVec2 Tangent(double x) const { const TVec2 n = Normal(x); return {n.Y, -n.X}; }
  // The point at x moved by d along the normal.
  TVec2 Offset(double x, double d) const { return At(x) + Normal(x) * d; }

 private:
  double FCoef[5] = {};  // in powers of (x - kCentre) / kSpread
};
