// Small numeric routines of the curve object.
#include "uphys.h"

#include <cmath>

Real Tan(Real a) { return std::sin(a) / std::cos(a); }

Real ThreePointSlope(Real x0, Real y0, Real x1, Real y1, Real x2, Real y2)
{
  const Real h1 = x1 - x0;
  const Real h2 = x2 - x1;
  const Real H = x2 - x0;
  return -y0 * (h1 + H) / (h1 * H) + y1 * H / (h1 * h2) - y2 * h1 / (h2 * H);
}

int FirstNonIncreasing(std::span<const Real> x)
{
  for (std::size_t k = 1; k < x.size(); ++k)
    if (!(x[k] > x[k - 1]))  // also catches NaN
      return static_cast<int>(k);
  return -1;
}
