// Vector and rotation arithmetic of the door model: the extended-precision vector Txyz,
// its single-precision table twin, and the free functions the force model is built on.
// The attitude of the door always turns points about Z, then about Y (with the sense
// reversed: +X rises toward +Z), then about X.
#pragma once

#include "coefficients/Real.h"

// A point or vector of the model.
struct Txyz {
  Real X = 0;
  Real Y = 0;
  Real Z = 0;
};

// A point of the built-in tables, single precision as stored.
struct TxyzSingle {
  float X = 0;
  float Y = 0;
  float Z = 0;
};

inline Txyz operator+(const Txyz& a, const Txyz& b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
inline Txyz operator-(const Txyz& a, const Txyz& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
inline Txyz operator*(const Txyz& v, Real k) { return {v.X * k, v.Y * k, v.Z * k}; }
inline Txyz operator*(Real k, const Txyz& v) { return {v.X * k, v.Y * k, v.Z * k}; }

// --- scalar functions -------------------------------------------------------------
// B if B >= A, otherwise A.
inline Real Larger(Real a, Real b) { return b >= a ? b : a; }
// arctan(sqrt(1 - x^2) / x): arccos x for x > 0, -arccos(-x) for x < 0, +-pi/2 at +-0.
Real SignedArcCos(Real x);
Real Hypot2(Real a, Real b);          // sqrt(a^2 + b^2)
Real Hypot3(Real a, Real b, Real c);  // sqrt(a^2 + b^2 + c^2)
// Angle of the plane point (x, y) from +X toward +Y, in [0, 2 pi); 0 at the origin.
Real PolarAngle(Real x, Real y);
// The plane vector (u, v) turned by +angle: first and second component; 0 for (0, 0).
Real PlaneRotU(Real u, Real v, Real angle);
Real PlaneRotV(Real u, Real v, Real angle);
// Determinant of the 3 x 3 matrix with rows (a1, a2, a3), (b1, b2, b3), (c1, c2, c3).
Real Det3(Real a1, Real a2, Real a3, Real b1, Real b2, Real b3, Real c1, Real c2, Real c3);

// --- vector functions -------------------------------------------------------------
inline Txyz MakeXyz(Real x, Real y, Real z) { return {x, y, z}; }
inline Txyz AddXyz(const Txyz& a, const Txyz& b) { return a + b; }
inline Txyz SubXyz(const Txyz& a, const Txyz& b) { return a - b; }
inline Txyz ScaleXyz(const Txyz& v, Real k) { return v * k; }
// v / k component by component; three NaN components when k = 0.
Txyz DivXyz(const Txyz& v, Real k);
// v divided by its length; NaN components for the zero vector.
Txyz Normalized(const Txyz& v);
// Length of v; the direction cosines go to cx, cy, cz (all 0 for the zero vector).
Real DirectionCosines(const Txyz& v, Real& cx, Real& cy, Real& cz);
// Unit vector whose plan projection (X-Y) makes planAngle with +X and whose side
// projection (X-Z) rises at sideAngle from +X.
Txyz DirectionFromAngles(Real planAngle, Real sideAngle);
// p turned by the attitude a (radians): about Z by a.Z, about Y by a.Y (reversed sense),
// about X by a.X. The origin stays exactly the origin, whatever the angles.
Txyz RotateXyz(const Txyz& p, const Txyz& a);
// The same rotation with the point and the angles given as scalars.
Txyz RotateComponents(Real x, Real y, Real z, Real ax, Real ay, Real az);

// An attitude with its sines and cosines worked out once, for turning many points by
// it. Rotate(p) gives exactly the bits of RotateXyz(p, attitude).
class TRotation {
public:
  explicit TRotation(const Txyz& attitude);
  Txyz Rotate(const Txyz& p) const;
  Txyz Rotate(Real x, Real y, Real z) const { return Rotate(Txyz{x, y, z}); }

private:
  // One plane rotation of (u, v) with its cosine and sine known. The exact-zero test
  // keeps the sign of a zero result and keeps non-finite angles away from the origin.
  static void Turn(Real u, Real v, Real c, Real s, Real& u2, Real& v2)
  {
    if (u == 0 && v == 0) {  // exact: only a true zero skips the products
      u2 = 0;
      v2 = 0;
    } else {
      u2 = u * c - v * s;
      v2 = u * s + v * c;
    }
  }

  Real FSinX, FCosX, FSinY, FCosY, FSinZ, FCosZ;
};

inline Txyz TRotation::Rotate(const Txyz& p) const
{
  if (p.X == 0 && p.Y == 0 && p.Z == 0)
    return {0, 0, 0};
  Real x1, y1, x2, z2, y3, z3;
  Turn(p.X, p.Y, FCosZ, FSinZ, x1, y1);  // about Z, X toward Y
  Turn(x1, p.Z, FCosY, FSinY, x2, z2);   // about Y, X toward Z: the reverse sense
  Turn(y1, z2, FCosX, FSinX, y3, z3);    // about X, Y toward Z
  return {x2, y3, z3};
}
