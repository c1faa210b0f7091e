// Vector and rotation arithmetic. Floating-point exceptions stay masked: degenerate
// input gives infinities or NaN, never a trap; only the functions that promise a value
// for a failed division test their divisor.
#include "Tools.h"

#include <cmath>
#include <limits>

#include "coefficients/uphys.h"

Real SignedArcCos(Real x) { return std::atan(std::sqrt(1 - x * x) / x); }

Real Hypot2(Real a, Real b) { return std::sqrt(a * a + b * b); }

Real Hypot3(Real a, Real b, Real c) { return std::sqrt(a * a + b * b + c * c); }

Real PolarAngle(Real x, Real y)
{
  if (x == 0) {
    if (y < 0)
      return 3 * kHalfPi;
    if (y > 0)
      return kHalfPi;
    return 0;
  }
  if (x < 0)
    return y == 0 ? kPi : std::atan(y / x) + kPi;
  if (y < 0)
    return std::atan(y / x) + kTwoPi;
  if (y > 0)
    return std::atan(y / x);
  return 0;
}

Real PlaneRotU(Real u, Real v, Real angle)
{
  if (u == 0 && v == 0)
    return 0;
  return u * std::cos(angle) - v * std::sin(angle);
}

Real PlaneRotV(Real u, Real v, Real angle)
{
  if (u == 0 && v == 0)
    return 0;
  return u * std::sin(angle) + v * std::cos(angle);
}

Real Det3(Real a1, Real a2, Real a3, Real b1, Real b2, Real b3, Real c1, Real c2, Real c3)
{
  return a1 * b2 * c3 - a1 * b3 * c2 - b1 * a2 * c3 + b1 * a3 * c2 + c1 * a2 * b3 - c1 * a3 * b2;
}

Txyz DivXyz(const Txyz& v, Real k)
{
  if (k == 0) {
    const Real nan = std::numeric_limits<Real>::quiet_NaN();
    return {nan, nan, nan};
  }
  return {v.X / k, v.Y / k, v.Z / k};
}

Txyz Normalized(const Txyz& v)
{
  const Real length = Hypot3(v.X, v.Y, v.Z);
  return {v.X / length, v.Y / length, v.Z / length};
}

Real DirectionCosines(const Txyz& v, Real& cx, Real& cy, Real& cz)
{
  const Real length = Hypot3(v.X, v.Y, v.Z);
  if (length == 0) {
    cx = cy = cz = 0;
    return 0;
  }
  cx = v.X / length;
  cy = v.Y / length;
  cz = v.Z / length;
  return length;
}

Txyz DirectionFromAngles(Real planAngle, Real sideAngle)
{
  const Real c = std::cos(planAngle);
  const Txyz v{c, std::sin(planAngle), Tan(sideAngle) * c};
  return DivXyz(v, Hypot3(v.X, v.Y, v.Z));
}

Txyz RotateXyz(const Txyz& p, const Txyz& a) { return TRotation(a).Rotate(p); }

Txyz RotateComponents(Real x, Real y, Real z, Real ax, Real ay, Real az)
{
  return TRotation({ax, ay, az}).Rotate(x, y, z);
}

TRotation::TRotation(const Txyz& a)
    : FSinX(std::sin(a.X)),
      FCosX(std::cos(a.X)),
      FSinY(std::sin(a.Y)),
      FCosY(std::cos(a.Y)),
      FSinZ(std::sin(a.Z)),
      FCosZ(std::cos(a.Z))
{
}
