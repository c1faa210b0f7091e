// The plot picture's mapping between user units and pixels and its grid lines.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "dialogs/Sc_pic_math.h"

namespace {

std::vector<Real> Values(const TTicks& ticks)
{
  return std::vector<Real>(ticks.Value.begin(), ticks.Value.begin() + ticks.Count);
}

TEST(ScPicMath, EdgesOfThePlottingAreaLandOnTheMargins)
{
  TPlotFrame f;
  f.XMin = -9;
  f.XRange = 108;
  f.YMin = -0.25L;
  f.YRange = 3;
  f.MarginLeft = 3;
  f.MarginRight = 5;
  f.MarginTop = 7;
  f.MarginBottom = 11;
  const int w = 291, h = 212;
  EXPECT_EQ(XToPixel(f, w, f.XMin), f.MarginLeft);
  EXPECT_EQ(XToPixel(f, w, f.XMin + f.XRange), w - 1 - f.MarginRight);
  EXPECT_EQ(YToPixel(f, h, f.YMin), h - 1 - f.MarginBottom);
  EXPECT_EQ(YToPixel(f, h, f.YMin + f.YRange), f.MarginTop);
  EXPECT_DOUBLE_EQ(static_cast<double>(PixelToY(f, h, f.MarginTop)), 2.75);
  EXPECT_DOUBLE_EQ(static_cast<double>(PixelToY(f, h, h - 1 - f.MarginBottom)), -0.25);
  EXPECT_DOUBLE_EQ(static_cast<double>(XScale(f, w)), (w - 1 - 3 - 5) / 108.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(YScale(f, h)), (h - 1 - 7 - 11) / 3.0);

  f.MarginTop = 0;  // without a top margin the top row is the end of the range
  EXPECT_DOUBLE_EQ(static_cast<double>(PixelToY(f, h, 0)), 2.75);
}

TEST(ScPicMath, RoundsHalfPixelsToEven)
{
  TPlotFrame f;  // 0 .. 1 on both axes
  f.XRange = 8;
  f.YRange = 8;
  // Five pixels wide: four pixel steps for eight units, so odd x fall on half pixels.
  EXPECT_EQ(XToPixel(f, 5, 1), 0);
  EXPECT_EQ(XToPixel(f, 5, 3), 2);
  EXPECT_EQ(XToPixel(f, 5, 5), 2);
  EXPECT_EQ(XToPixel(f, 5, 7), 4);
  EXPECT_EQ(YToPixel(f, 5, 1), 4);  // 4 - 0.5
  EXPECT_EQ(YToPixel(f, 5, 3), 2);  // 4 - 1.5
}

TEST(ScPicMath, ZeroRangesAndEmptyAreasDoNotFail)
{
  TPlotFrame f;
  f.XRange = 0;
  f.YRange = 0;
  f.YMin = 4;
  EXPECT_EQ(XToPixel(f, 100, 7), 0);
  EXPECT_EQ(YToPixel(f, 100, 7), 0);
  f.YRange = 1;
  EXPECT_EQ(PixelToY(f, 1, 0), 4);  // a picture one pixel high has no y scale
  f.MarginTop = 5;
  f.MarginBottom = -4;
  EXPECT_EQ(PixelToY(f, 2, 0), 4);
}

TEST(ScPicMath, UnmappablePointsStayFarOutsideThePicture)
{
  TPlotFrame f;
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  const Real inf = std::numeric_limits<Real>::infinity();
  EXPECT_EQ(XToPixel(f, 100, nan), -kPixelLimit);
  EXPECT_EQ(XToPixel(f, 100, inf), kPixelLimit);
  EXPECT_EQ(XToPixel(f, 100, -1e30L), -kPixelLimit);
  EXPECT_EQ(YToPixel(f, 100, nan), -kPixelLimit);
  EXPECT_EQ(YToPixel(f, 100, 1e30L), -kPixelLimit);
  EXPECT_EQ(YToPixel(f, 100, -1e30L), kPixelLimit);
}

TEST(ScPicMath, AddMarginsWidensByATenthAtEachEnd)
{
  TPlotFrame f;
  f.XMin = 0;
  f.XRange = 90;
  f.YMin = 0;
  f.YRange = 2.5L;
  AddMargins(f);
  EXPECT_DOUBLE_EQ(static_cast<double>(f.XMin), -9);
  EXPECT_DOUBLE_EQ(static_cast<double>(f.XRange), 108);
  EXPECT_DOUBLE_EQ(static_cast<double>(f.YMin), -0.25);
  EXPECT_DOUBLE_EQ(static_cast<double>(f.YRange), 3);
}

TEST(ScPicMath, TicksAreRoundStepsStrictlyInsideTheRange)
{
  struct Case {
    Real Min, Range, Step;
    std::vector<Real> Ticks;
  };
  const Case cases[] = {
      // The coefficient graph's ranges after their margins.
      {-9, 108, 25, {0, 25, 50, 75}},
      {-0.25L, 3, 0.5L, {0, 0.5L, 1, 1.5L, 2, 2.5L}},
      // Ticks on both ends of the range are not drawn.
      {0, 100, 25, {25, 50, 75}},
      {-0.5L, 1, 0.25L, {-0.25L, 0, 0.25L}},
      // Rounding toward zero would start at -25 and lose the line at -50.
      {-60, 200, 25, {-50, -25, 0, 25, 50, 75, 100, 125}},
      {-7, 3, 0.5L, {-6.5L, -6, -5.5L, -5, -4.5L}},
      {1000, 7, 1, {1001, 1002, 1003, 1004, 1005, 1006}},
  };
  for (const Case& c : cases) {
    const TTicks ticks = TicksOf(c.Min, c.Range);
    EXPECT_EQ(ticks.Step, c.Step) << c.Min << " + " << c.Range;
    EXPECT_EQ(Values(ticks), c.Ticks) << c.Min << " + " << c.Range;
  }
}

TEST(ScPicMath, TicksEndWhereTheStepIsLost)
{
  // At 1e30 a step of 0.25 vanishes in the rounding; the loop must still end.
  EXPECT_LE(TicksOf(1e30L, 1).Count, kMaxTicks);
  EXPECT_EQ(TicksOf(0, std::numeric_limits<Real>::quiet_NaN()).Count, 0);
  EXPECT_EQ(TicksOf(0, std::numeric_limits<Real>::infinity()).Count, 0);
  EXPECT_EQ(TicksOf(std::numeric_limits<Real>::quiet_NaN(), 1).Count, 0);
  EXPECT_EQ(TicksOf(5, -3).Count, 0);  // a reversed range has nothing inside
}

TEST(ScPicMath, LabelsStandBelowTheRangeButNotBelowZero)
{
  TPlotFrame f;
  f.XMin = -9;
  f.XRange = 108;
  f.YMin = -0.25L;
  f.YRange = 3;
  // The graph: 1.5 text heights below -0.25 is below 0, so the labels stand at 0.
  EXPECT_EQ(XLabelY(f, 212, 9), 0);
  EXPECT_EQ(YLabelX(f), 0);
  // A range far above 0: 1.5 text heights (10 px = 1 unit) below its bottom.
  f.YMin = 100;
  f.YRange = 20;
  EXPECT_DOUBLE_EQ(static_cast<double>(XLabelY(f, 201, 10)), 100 - 1.5);
  f.XMin = 40;
  EXPECT_EQ(YLabelX(f), 40);
}

}  // namespace
