// The unfolded coefficient tables and the seven curves built on them.
#include <gtest/gtest.h>

#include <cmath>

#include "coefficients/CoefTables.h"

namespace {

TEST(CoefTables, UnfoldedAnglesRiseFromMinusPiToPi)
{
  const TUnfoldedTables t = UnfoldCoefTable();
  EXPECT_EQ(t.Angle.front(), -kPi);
  EXPECT_EQ(t.Angle.back(), kPi);
  EXPECT_EQ(t.Angle[13], -(90 * kDegToRad));
  EXPECT_EQ(t.Angle[26], 0);
  EXPECT_FALSE(std::signbit(t.Angle[26]));
  EXPECT_EQ(t.Angle[39], kPi - 90 * kDegToRad);
  for (int i = 1; i < kUnfoldedRows; ++i)
    EXPECT_GT(t.Angle[i], t.Angle[i - 1]) << i;
}

TEST(CoefTables, CurvesFollowTheSymmetryRules)
{
  TCoefficientCurves c;
  c.Build();
  struct Case {
    TSpline* Curve;
    Real AngleDeg;
    Real Value;
  };
  const Case cases[] = {
      {&c.FCyCurve, -90, 0},     {&c.FCyCurve, 90, 0},      {&c.FCyCurve, -180, 0.2L},
      {&c.FCyCurve, 0, 0.2L},    {&c.FCyCurve, 180, 0.2L},  {&c.FCyCurve, -75, -0.3L},
      {&c.FCyCurve, 105, -0.3L}, {&c.FCyCurve, -5, -0.04L}, {&c.FCyCurve, 175, -0.04L},
      {&c.FCyCurve, 45, 2.13L},  {&c.FCxCurve, 30, 0.35L},  {&c.FCxCurve, -30, 0.35L},
      {&c.FCxCurve, 150, 0.35L}, {&c.FCxCurve, -150, 0.35L}, {&c.FCxCurve, 0, 0.11L},
      {&c.FCpCurve, 180, 0.3L},  {&c.FCpCurve, -180, 0.3L}, {&c.FCpCurve, 0, -0.3L},
      {&c.FCpCurve, 90, 0},      {&c.FCpCurve, -90, 0},     {&c.FSpanCurve, -10, -0.29L},
      {&c.FSpanCurve, 10, 0.29L}, {&c.FSpanCurve, 0, 0},    {&c.FSpanCurve, 90, 0},
  };
  for (const Case& k : cases)
    EXPECT_NEAR(k.Curve->ValueAt(k.AngleDeg * kDegToRad), k.Value, 1e-15L) << k.AngleDeg;
  // Between the nodes the span curve stays odd.
  EXPECT_NEAR(c.FSpanCurve.ValueAt(-37 * kDegToRad), -c.FSpanCurve.ValueAt(37 * kDegToRad), 1e-15L);
}

TEST(CoefTables, CentreOfPressureLine)
{
  TCoefficientCurves c;
  c.Build();
  for (Real p : {-0.7L, -0.5L, -0.2L, 0.0L, 0.31L, 0.5L, 0.9L})
    EXPECT_EQ(c.FCpLineZ.ValueAt(p), 0) << p;
  EXPECT_NEAR(c.FCpLineX.ValueAt(0), 0.066L, 1e-15L);
  EXPECT_NEAR(c.FCpLineY.ValueAt(0.5L), 0.072L, 1e-15L);
}

TEST(CoefTables, RebuildingGivesTheSameCurves)
{
  TCoefficientCurves c;
  c.Build();
  const Real before = c.FCxCurve.ValueAt(0.3L);
  c.Build();
  EXPECT_EQ(c.FCxCurve.ValueAt(0.3L), before);
}

}  // namespace
