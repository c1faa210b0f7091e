// Small numeric routines of the curve object: tangent, the three-point slope of a
// parabola and the test that a table's abscissae rise.
#pragma once

#include <span>

#include "Real.h"

// sin(a) / cos(a); infinite or huge near odd multiples of pi/2.
Real Tan(Real a);

// Derivative at x0 of the parabola through (x0, y0), (x1, y1), (x2, y2). The points
// need not be in increasing order; x0 is where the slope is wanted.
Real ThreePointSlope(Real x0, Real y0, Real x1, Real y1, Real x2, Real y2);

// Index k of the first abscissa that does not exceed its predecessor (x[k] <= x[k-1]),
// or -1 when every abscissa is larger than the one before (always for fewer than 2).
int FirstNonIncreasing(std::span<const Real> x);

// True when x[k] > x[k-1] for every k >= 1.
inline bool StrictlyIncreasing(std::span<const Real> x) { return FirstNonIncreasing(x) < 0; }
