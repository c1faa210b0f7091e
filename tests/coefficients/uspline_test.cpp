// The curve object: construction, end slopes, lookup and the mended build failure.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "coefficients/uphys.h"
#include "coefficients/uspline.h"

namespace {

constexpr Real kEstimate = 1000;  // any angle outside (-pi/2, pi/2) asks for the estimate

TEST(TSpline, TwoPointsMakeTheChord)
{
  TSpline curve;
  const std::vector<Real> x{1, 3}, y{2, 6};
  curve.Build(x, y, kEstimate, kEstimate);
  ASSERT_TRUE(curve.IsReady());
  for (Real at : {-1.0L, 1.0L, 2.5L, 3.0L, 7.0L})
    EXPECT_NEAR(curve.ValueAt(at), 2 * at, 1e-15L) << at;
  EXPECT_EQ(curve.NodeHalfD2(0), 0);
  EXPECT_EQ(curve.NodeHalfD2(1), 0);
}

TEST(TSpline, ClampedEndsReproduceACubic)
{
  // y = x^3 with its true end slopes (0 and 48) is reproduced exactly by the spline.
  TSpline curve;
  const std::vector<Real> x{0, 1, 2, 3, 4}, y{0, 1, 8, 27, 64};
  curve.Build(x, y, 0, std::atan(48.0L));
  for (Real at : {0.25L, 1.5L, 2.5L, 3.75L, 5.0L, -1.0L})
    EXPECT_NEAR(curve.ValueAt(at), at * at * at, 1e-14L) << at;
  EXPECT_NEAR(curve.Slope(2.5L), 3 * 2.5L * 2.5L, 1e-14L);
  EXPECT_NEAR(curve.SecondDerivative(2.5L), 6 * 2.5L, 1e-14L);
  EXPECT_NEAR(curve.ThirdDerivative(2.5L), 6, 1e-13L);
}

TEST(TSpline, RightAnglesAskForTheEstimatedSlope)
{
  // pi/2 and -pi/2 are not inside the open interval, so the slope comes from the data.
  const std::vector<Real> x{0, 1, 3, 4}, y{0, 2, 1, 5};
  TSpline estimated, right, left;
  estimated.Build(x, y, kEstimate, kEstimate);
  right.Build(x, y, kHalfPi, kHalfPi);
  left.Build(x, y, -kHalfPi, -kHalfPi);
  EXPECT_EQ(right.NodeSlope(0), estimated.NodeSlope(0));
  EXPECT_EQ(left.NodeSlope(3), estimated.NodeSlope(3));
  EXPECT_NEAR(estimated.NodeSlope(0), ThreePointSlope(0, 0, 1, 2, 3, 1), 1e-15L);
  EXPECT_NEAR(estimated.NodeSlope(3), ThreePointSlope(4, 5, 3, 1, 1, 2), 1e-15L);
}

TEST(TSpline, LookupSelectsTheSegmentOnTheRightOfANode)
{
  TSpline curve;
  const std::vector<Real> x{0, 1, 2, 3, 4}, y{5, -1, 4, 2, 7};
  curve.Build(x, y, kEstimate, kEstimate);
  struct Case {
    Real At;
    int Segment;
  };
  for (const Case c : std::vector<Case>{{2, 2}, {0.5L, 0}, {3.5L, 3}, {4, 3}, {9, 3}, {-3, 0}, {1, 1}, {3, 3}}) {
    curve.ValueAt(c.At);
    EXPECT_EQ(curve.CurrentSegment(), c.Segment) << c.At;
  }
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(curve.ValueAt(x[k]), y[k]) << k;  // exact: t = 0 at an interior node
  EXPECT_NEAR(curve.ValueAt(4), 7, 1e-15L);
}

TEST(TSpline, EndPiecesContinueOutsideTheTable)
{
  TSpline curve;
  const std::vector<Real> x{0, 1, 2, 4}, y{1, 3, 2, 2};
  curve.Build(x, y, kEstimate, kEstimate);
  for (int piece : {0, 2}) {
    const Real a0 = curve.PolyCoef0(piece), a1 = curve.PolyCoef1(piece);
    const Real a2 = curve.PolyCoef2(piece), a3 = curve.PolyCoef3(piece);
    const Real at = piece == 0 ? -2.0L : 6.0L;
    EXPECT_NEAR(curve.ValueAt(at), a0 + at * (a1 + at * (a2 + at * a3)), 1e-13L) << at;
  }
}

TEST(TSpline, SetCubicIsThePolynomialEverywhere)
{
  TSpline curve;
  curve.SetCubic(1, 2, 3, 4);
  EXPECT_NEAR(curve.ValueAt(2), 49, 1e-15L);
  EXPECT_NEAR(curve.ValueAt(-3), 1 - 6 + 27 - 108, 1e-14L);
  EXPECT_NEAR(curve.PolyCoef0(0), 1, 1e-15L);
  EXPECT_NEAR(curve.PolyCoef1(0), 2, 1e-15L);
  EXPECT_NEAR(curve.PolyCoef2(0), 3, 1e-15L);
  EXPECT_NEAR(curve.PolyCoef3(0), 4, 1e-15L);
}

TEST(TSpline, FewerThanTwoPointsLeaveTheCurveEmpty)
{
  TSpline curve;
  curve.SetCubic(1, 1, 1, 1);
  const std::vector<Real> one{1};
  curve.Build(one, one, kEstimate, kEstimate);
  EXPECT_FALSE(curve.IsReady());
  EXPECT_EQ(curve.CurrentSegment(), -1);
  EXPECT_EQ(curve.LastIndex(), 0);
  EXPECT_EQ(curve.ValueAt(1), 0);
}

TEST(TSpline, RebuildingReusesOrGrowsTheNodes)
{
  TSpline curve;
  const std::vector<Real> x5{0, 1, 2, 3, 4}, y5{0, 1, 0, 1, 0}, x3{0, 1, 2}, y3{2, 2, 2};
  curve.Build(x5, y5, kEstimate, kEstimate);
  curve.Build(x3, y3, kEstimate, kEstimate);
  EXPECT_EQ(curve.LastIndex(), 2);
  EXPECT_NEAR(curve.ValueAt(1.5L), 2, 1e-15L);
  curve.Build(x5, y5, kEstimate, kEstimate);
  EXPECT_EQ(curve.LastIndex(), 4);
  EXPECT_NEAR(curve.ValueAt(3), 1, 1e-15L);
}

// Regression: abscissae that do not rise used to end the whole program without a word.
TEST(TSpline, NonIncreasingAbscissaeThrowAndLeaveTheCurveEmpty)
{
  TSpline curve;
  curve.SetCubic(0, 1, 0, 0);
  const std::vector<Real> x{0, 1, 1, 2}, y{0, 1, 2, 3};
  try {
    curve.Build(x, y, kEstimate, kEstimate);
    FAIL() << "Build accepted equal abscissae";
  } catch (const std::invalid_argument& e) {
    EXPECT_NE(std::string(e.what()).find("abscissa 2"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(curve.IsReady());
}

TEST(Uphys, StrictlyIncreasingAndTan)
{
  const std::vector<Real> rising{1, 2, 3}, flat{1, 1}, nan{1, std::nanl("")};
  EXPECT_TRUE(StrictlyIncreasing(rising));
  EXPECT_TRUE(StrictlyIncreasing(std::span<const Real>()));
  EXPECT_FALSE(StrictlyIncreasing(flat));
  EXPECT_FALSE(StrictlyIncreasing(nan));
  EXPECT_NEAR(Tan(kPi / 4), 1, 1e-18L);
}

}  // namespace
