// 3 x 3 linear solve and eigenvalues.
//
// Eigenvalues: the characteristic polynomial of m is
//   p(l) = l^3 + a l^2 + b l + c,  a = -trace m,  b = sum of the principal 2 x 2 minors,
//   c = -det m.
// With l = t - a/3 it becomes t^3 + P t + Q = 0 (P = b - a^2/3, Q = 2a^3/27 - ab/3 + c).
// For (Q/2)^2 + (P/3)^3 > 0 there is one real root (Cardano) and p is deflated to a
// quadratic for the complex pair; otherwise the three real roots come from the
// trigonometric form. A general eigen-solver (QR iteration) would be overkill for one
// 3 x 3 matrix per balance; the closed form is exact up to rounding, and two Newton
// steps on p clean the real roots of the cancellation in Cardano's formula.
#include "Matrix3.h"

#include <algorithm>
#include <cmath>
#include <utility>

bool Solve3(const TMatrix3& m, const Txyz& b, Txyz& x)
{
  Real a[3][4] = {{m[0][0], m[0][1], m[0][2], b.X}, {m[1][0], m[1][1], m[1][2], b.Y},
                  {m[2][0], m[2][1], m[2][2], b.Z}};
  for (int col = 0; col < 3; ++col) {
    int pivot = col;
    for (int row = col + 1; row < 3; ++row)
      if (std::fabs(a[row][col]) > std::fabs(a[pivot][col]))
        pivot = row;
    if (a[pivot][col] == 0)  // exact: only a true zero has no inverse
      return false;
    if (pivot != col)
      for (int k = 0; k < 4; ++k)
        std::swap(a[pivot][k], a[col][k]);
    for (int row = col + 1; row < 3; ++row) {
      const Real f = a[row][col] / a[col][col];
      for (int k = col; k < 4; ++k)
        a[row][k] -= f * a[col][k];
    }
  }
  Real r[3];
  for (int row = 2; row >= 0; --row) {
    Real s = a[row][3];
    for (int k = row + 1; k < 3; ++k)
      s -= a[row][k] * r[k];
    r[row] = s / a[row][row];
  }
  if (!std::isfinite(r[0]) || !std::isfinite(r[1]) || !std::isfinite(r[2]))
    return false;
  x = {r[0], r[1], r[2]};
  return true;
}

namespace {

// Two Newton steps on l^3 + a l^2 + b l + c from a root of the closed form.
Real PolishRoot(Real l, Real a, Real b, Real c)
{
  for (int i = 0; i < 2; ++i) {
    const Real p = ((l + a) * l + b) * l + c;
    const Real dp = (3 * l + 2 * a) * l + b;
    if (dp == 0 || !std::isfinite(p / dp))  // exact: a double root has no Newton step
      break;
    const Real next = l - p / dp;
    // Keep the step only when it does not make the polynomial worse.
    if (std::fabs(((next + a) * next + b) * next + c) > std::fabs(p))
      break;
    l = next;
  }
  return l;
}

}  // namespace

TEigenvalues3 Eigenvalues3(const TMatrix3& m)
{
  const Real a = -(m[0][0] + m[1][1] + m[2][2]);
  const Real b = m[0][0] * m[1][1] - m[0][1] * m[1][0] + m[0][0] * m[2][2] - m[0][2] * m[2][0] +
                 m[1][1] * m[2][2] - m[1][2] * m[2][1];
  const Real c = -Det3(m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2], m[2][0], m[2][1], m[2][2]);

  const Real P = b - a * a / 3;
  const Real Q = 2 * a * a * a / 27 - a * b / 3 + c;
  const Real disc = Q * Q / 4 + P * P * P / 27;
  TEigenvalues3 e;
  if (disc > 0) {
    const Real s = std::sqrt(disc);
    const Real t = std::cbrt(-Q / 2 + s) + std::cbrt(-Q / 2 - s);
    const Real r = PolishRoot(t - a / 3, a, b, c);
    // p(l) = (l - r) (l^2 + (a + r) l + (b + r (a + r))).
    const Real B = a + r, C = b + r * (a + r);
    const Real d = B * B / 4 - C;
    if (d >= 0) {  // rounding put the pair on the real axis
      const Real q = std::sqrt(d);
      Real x[3] = {r, -B / 2 - q, -B / 2 + q};
      std::sort(x, x + 3);
      e = {std::complex<Real>(x[0]), std::complex<Real>(x[1]), std::complex<Real>(x[2])};
    } else {
      const Real im = std::sqrt(-d);
      e = {std::complex<Real>(r), std::complex<Real>(-B / 2, im), std::complex<Real>(-B / 2, -im)};
    }
    return e;
  }
  // Three real roots. P <= 0 here; P = 0 means a triple root.
  Real x[3];
  if (P == 0) {  // exact: disc <= 0 with P = 0 leaves only Q = 0
    x[0] = x[1] = x[2] = -a / 3;
  } else {
    const Real rho = 2 * std::sqrt(-P / 3);
    const Real arg = std::clamp<Real>(3 * Q / (P * rho), -1, 1);
    const Real phi = std::acos(arg) / 3;
    for (int k = 0; k < 3; ++k)
      x[k] = PolishRoot(rho * std::cos(phi - kTwoPi * k / 3) - a / 3, a, b, c);
  }
  std::sort(x, x + 3);
  return {std::complex<Real>(x[0]), std::complex<Real>(x[1]), std::complex<Real>(x[2])};
}
