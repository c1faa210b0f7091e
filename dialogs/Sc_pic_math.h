// The user coordinate system of the plot picture: ranges and margins, the mapping between
// user units and pixel rows and columns, and where the grid lines and tick labels go.
// Qt-free, so the rules can be checked without a window.
#pragma once

#include <array>

#include "coefficients/Real.h"

// Ranges and margins of a plot. The plotting area runs from XMin to XMin + XRange and from
// YMin to YMin + YRange; the margins keep pixels free between it and the picture's edges.
struct TPlotFrame {
  Real XMin = 0;         // x at the left edge of the plotting area, user units
  Real XRange = 1;       // width of the x range, user units
  Real YMin = 0;         // y at the bottom edge of the plotting area, user units
  Real YRange = 1;       // height of the y range, user units
  int MarginLeft = 0;    // pixels kept free left of the plotting area
  int MarginRight = 0;   // pixels kept free right of it
  int MarginTop = 0;     // pixels kept free above it
  int MarginBottom = 0;  // pixels kept free below it
};

// Mapped pixels are clamped to +-kPixelLimit, and a NaN maps to -kPixelLimit: far outside
// any picture, yet small enough for the painter's fixed-point coordinates (2^25).
inline constexpr int kPixelLimit = 1'000'000;

// Pixel column of x in a picture `width` pixels wide; MarginLeft at XMin, width - 1 -
// MarginRight at XMin + XRange; 0 when XRange is 0. Rounded to nearest, ties to even.
int XToPixel(const TPlotFrame& frame, int width, Real x);
// Pixel row of y in a picture `height` pixels high: larger y lies higher; height - 1 -
// MarginBottom at YMin, MarginTop at YMin + YRange; 0 when YRange is 0.
int YToPixel(const TPlotFrame& frame, int height, Real y);
// y at pixel row p (the inverse of YToPixel before rounding); YMin when the plotting area
// has no height.
Real PixelToY(const TPlotFrame& frame, int height, int p);
// Pixels per x unit; XRange must not be 0.
Real XScale(const TPlotFrame& frame, int width);
// Pixels per y unit; YRange must not be 0.
Real YScale(const TPlotFrame& frame, int height);
// Widens both ranges by a tenth at each end.
void AddMargins(TPlotFrame& frame);

// At most this many grid lines on one axis. A round step gives at most eleven; the cap
// only stops the loop where a step is lost in the rounding of a huge minimum.
inline constexpr int kMaxTicks = 64;

// Grid lines of one axis, in increasing order.
struct TTicks {
  Real Step = 1;                      // NiceStep of the range, user units
  std::array<Real, kMaxTicks> Value{};  // tick values, user units
  int Count = 0;                      // how many of Value are used
};
// The multiples of NiceStep(range) strictly inside (min, min + range): a tick on either
// end of the range is not drawn. None for a NaN or infinite minimum or range.
TTicks TicksOf(Real min, Real range);

// The y at which the x tick labels stand: 1.5 text heights (textHeight pixels each) below
// the bottom of the y range, but never below y = 0.
Real XLabelY(const TPlotFrame& frame, int height, int textHeight);
// The x at which the y tick labels stand: XMin, but never left of x = 0.
Real YLabelX(const TPlotFrame& frame);
