// Small dense 3 x 3 algebra for the door's statics: the linear solve of a Newton step
// and the eigenvalues of the moment's Jacobian. Fixed-size values, no allocation.
#pragma once

#include <array>
#include <complex>

#include "Tools.h"

// Row-major: M[i][j] is row i, column j.
using TMatrix3 = std::array<std::array<Real, 3>, 3>;
using TEigenvalues3 = std::array<std::complex<Real>, 3>;

inline Txyz operator*(const TMatrix3& m, const Txyz& v)
{
  return {m[0][0] * v.X + m[0][1] * v.Y + m[0][2] * v.Z, m[1][0] * v.X + m[1][1] * v.Y + m[1][2] * v.Z,
          m[2][0] * v.X + m[2][1] * v.Y + m[2][2] * v.Z};
}

// Solves m x = b by Gaussian elimination with partial pivoting. False, with x
// untouched, when m is singular (a zero pivot) or the answer is not finite.
bool Solve3(const TMatrix3& m, const Txyz& b, Txyz& x);

// The three eigenvalues of m, real ones first in increasing order, then a complex
// pair (imaginary part positive first). Roots of the characteristic cubic, each real
// root polished by Newton steps on the cubic.
TEigenvalues3 Eigenvalues3(const TMatrix3& m);
