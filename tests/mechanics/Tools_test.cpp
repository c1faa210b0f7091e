// Vector and rotation arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "mechanics/Tools.h"

namespace {

constexpr Real kTol = 1e-18L;

void ExpectNear(const Txyz& a, const Txyz& b, Real tol = kTol)
{
  EXPECT_NEAR(a.X, b.X, tol);
  EXPECT_NEAR(a.Y, b.Y, tol);
  EXPECT_NEAR(a.Z, b.Z, tol);
}

TEST(Tools, PolarAngleBranches)
{
  struct Case {
    Real X, Y, Angle;
  };
  const Case cases[] = {
      {0, -1, 3 * kHalfPi},  {0, 1, kHalfPi},  {0, 0, 0},
      {-1, 0, kPi},          {-1, 1, 3 * kPi / 4}, {-1, -1, 5 * kPi / 4},
      {1, -1, 7 * kPi / 4},  {1, 1, kPi / 4},  {1, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(PolarAngle(c.X, c.Y), c.Angle, kTol) << c.X << "," << c.Y;
  EXPECT_EQ(PolarAngle(-1, 0), kPi);
  EXPECT_EQ(PolarAngle(0, 0), 0);
}

TEST(Tools, RotateXyzTurnsZThenReversedYThenX)
{
  ExpectNear(RotateXyz({1, 0, 0}, {0, 0, kHalfPi}), {0, 1, 0});
  ExpectNear(RotateXyz({1, 0, 0}, {0, kHalfPi, 0}), {0, 0, 1});
  ExpectNear(RotateXyz({0, 1, 0}, {kHalfPi, 0, 0}), {0, 0, 1});
  // Z first: (1,0,0) -> (0,1,0) about Z, untouched about Y, then up about X.
  ExpectNear(RotateXyz({1, 0, 0}, {kHalfPi, kHalfPi, kHalfPi}), {0, 0, 1});
}

TEST(Tools, RotateXyzExactCases)
{
  const Real inf = std::numeric_limits<Real>::infinity();
  const Txyz origin = RotateXyz({0, 0, 0}, {inf, std::nanl(""), 1});
  EXPECT_EQ(origin.X, 0);
  EXPECT_EQ(origin.Y, 0);
  EXPECT_EQ(origin.Z, 0);
  const Txyz p{0.1L, -2.5L, 3.75L};
  const Txyz same = RotateXyz(p, {0, 0, 0});
  EXPECT_EQ(same.X, p.X);
  EXPECT_EQ(same.Y, p.Y);
  EXPECT_EQ(same.Z, p.Z);
}

// The rotation with its trigonometry worked out once must give the bits of the plain
// composition of plane rotations.
TEST(Tools, PrecomputedRotationIsBitForBitThePlaneRotations)
{
  const Txyz angles[] = {{0.3L, -1.2L, 2.9L}, {-0.01L, 0.5L, 0}, {1e-9L, 0, -3.3L}, {4, 5, 6}};
  const Txyz points[] = {{1.5L, -0.25L, 0.125L}, {0, 0, 2}, {0, 3, 0}, {-7, 0, 0}, {0.2L, 0.1L, -0.5L}};
  for (const Txyz& a : angles)
    for (const Txyz& p : points) {
      const Real x1 = PlaneRotU(p.X, p.Y, a.Z), y1 = PlaneRotV(p.X, p.Y, a.Z);
      const Real x2 = PlaneRotU(x1, p.Z, a.Y), z2 = PlaneRotV(x1, p.Z, a.Y);
      const Real y3 = PlaneRotU(y1, z2, a.X), z3 = PlaneRotV(y1, z2, a.X);
      const Txyz r = RotateXyz(p, a);
      EXPECT_EQ(r.X, x2);
      EXPECT_EQ(r.Y, y3);
      EXPECT_EQ(r.Z, z3);
      EXPECT_EQ(std::signbit(r.Y), std::signbit(y3));
      const Txyz c = RotateComponents(p.X, p.Y, p.Z, a.X, a.Y, a.Z);
      EXPECT_EQ(c.X, r.X);
      EXPECT_EQ(c.Y, r.Y);
      EXPECT_EQ(c.Z, r.Z);
    }
}

TEST(Tools, SignedArcCos)
{
  EXPECT_EQ(SignedArcCos(1), 0);
  EXPECT_EQ(SignedArcCos(-1), 0);
  EXPECT_NEAR(SignedArcCos(0.5L), kPi / 3, kTol);
  EXPECT_NEAR(SignedArcCos(-0.5L), -kPi / 3, kTol);
  EXPECT_EQ(SignedArcCos(0.0L), kHalfPi);
  EXPECT_EQ(SignedArcCos(-0.0L), -kHalfPi);
}

TEST(Tools, DegenerateDivisions)
{
  const Txyz v = DivXyz({1, 2, 3}, 0);
  EXPECT_TRUE(std::isnan(v.X) && std::isnan(v.Y) && std::isnan(v.Z));
  Real cx = 7, cy = 7, cz = 7;
  EXPECT_EQ(DirectionCosines({0, 0, 0}, cx, cy, cz), 0);
  EXPECT_EQ(cx, 0);
  EXPECT_EQ(cy, 0);
  EXPECT_EQ(cz, 0);
  EXPECT_EQ(DirectionCosines({3, 0, 4}, cx, cy, cz), 5);
  EXPECT_NEAR(cz, 0.8L, kTol);
}

TEST(Tools, DirectionFromAngles)
{
  ExpectNear(DirectionFromAngles(0, 0), {1, 0, 0});
  ExpectNear(DirectionFromAngles(0, kPi / 4), Txyz{1, 0, 1} * (1 / std::sqrt(2.0L)));
  // The plan projection keeps the plan angle, the side projection the side angle.
  const Txyz u = DirectionFromAngles(0.3L, -0.2L);
  EXPECT_NEAR(std::atan2(u.Y, u.X), 0.3L, kTol);
  EXPECT_NEAR(std::atan2(u.Z, u.X), -0.2L, kTol);
  EXPECT_NEAR(Hypot3(u.X, u.Y, u.Z), 1, kTol);
}

TEST(Tools, Det3)
{
  EXPECT_EQ(Det3(1, 0, 0, 0, 1, 0, 0, 0, 1), 1);
  EXPECT_EQ(Det3(0, 1, 0, 1, 0, 0, 0, 0, 1), -1);
  EXPECT_EQ(Det3(2, 0, 1, 1, 3, 2, 1, 1, 2), 6);
}

}  // namespace
