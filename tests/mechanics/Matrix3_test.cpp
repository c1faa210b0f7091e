// 3 x 3 linear solve and eigenvalues, on matrices whose answers are known by hand.
#include <gtest/gtest.h>

#include <complex>

#include "mechanics/Matrix3.h"

namespace {

TEST(Solve3, SolvesWithPivotingAndRefusesSingular)
{
  struct Case {
    TMatrix3 M;
    Txyz B, X;
  };
  const Case cases[] = {
      {{{{2, 1, 1}, {1, 3, 2}, {1, 0, 0}}}, {7, 13, 1}, {1, 2, 3}},
      // A zero first pivot: without row exchanges this one divides by zero.
      {{{{0, 1, 0}, {1, 0, 0}, {0, 0, 1}}}, {2, 3, 4}, {3, 2, 4}},
      {{{{0, 0, 2}, {0, 5, 0}, {4, 0, 0}}}, {2, 10, -8}, {-2, 2, 1}},
  };
  for (const Case& c : cases) {
    Txyz x;
    ASSERT_TRUE(Solve3(c.M, c.B, x));
    EXPECT_NEAR(x.X, c.X.X, 1e-17L);
    EXPECT_NEAR(x.Y, c.X.Y, 1e-17L);
    EXPECT_NEAR(x.Z, c.X.Z, 1e-17L);
  }
  Txyz untouched{7, 7, 7};
  EXPECT_FALSE(Solve3({{{1, 2, 3}, {2, 4, 6}, {1, 1, 1}}}, {1, 2, 3}, untouched));
  EXPECT_EQ(untouched.X, 7);
}

TEST(Eigenvalues3, RealAndComplexSpectra)
{
  using C = std::complex<Real>;
  struct Case {
    const char* Name;
    TMatrix3 M;
    TEigenvalues3 E;
  };
  const Case cases[] = {
      {"diagonal", {{{-3, 0, 0}, {0, 2, 0}, {0, 0, -1}}}, {C(-3), C(-1), C(2)}},
      {"triangular", {{{1, 5, 7}, {0, -2, 3}, {0, 0, 4}}}, {C(-2), C(1), C(4)}},
      // The 2 x 2 block (3 4; 4 9) has eigenvalues 1 and 11.
      {"block", {{{3, 0, 4}, {0, 2, 0}, {4, 0, 9}}}, {C(1), C(2), C(11)}},
      {"double root", {{{2, 1, 0}, {1, 2, 0}, {0, 0, 3}}}, {C(1), C(3), C(3)}},
      {"triple root", {{{5, 0, 0}, {0, 5, 0}, {0, 0, 5}}}, {C(5), C(5), C(5)}},
      {"rotation", {{{0, -2, 0}, {2, 0, 0}, {0, 0, -1}}}, {C(-1), C(0, 2), C(0, -2)}},
      {"damped turn", {{{-1, -3, 0}, {3, -1, 0}, {0, 0, -5}}}, {C(-5), C(-1, 3), C(-1, -3)}},
      // Door-sized entries: the same turn scaled by 1e5 N*m/rad.
      {"scaled", {{{-1e5, -3e5, 0}, {3e5, -1e5, 0}, {0, 0, -5e5}}}, {C(-5e5), C(-1e5, 3e5), C(-1e5, -3e5)}},
  };
  for (const Case& c : cases) {
    const TEigenvalues3 e = Eigenvalues3(c.M);
    const Real scale = std::abs(c.E[0]) + std::abs(c.E[1]) + std::abs(c.E[2]);
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(e[i].real(), c.E[i].real(), 1e-8L * scale) << c.Name << " " << i;
      EXPECT_NEAR(e[i].imag(), c.E[i].imag(), 1e-8L * scale) << c.Name << " " << i;
    }
  }
}

}  // namespace
