// The plot picture's mapping between user units and pixels and its grid lines.
#include "Sc_pic_math.h"

#include <algorithm>
#include <cmath>

#include "controls/ToolsText.h"

namespace {

int RoundToPixel(Real v)
{
  // nearbyint rounds ties to even in the default rounding mode, as the picture always has.
  if (!(v >= -kPixelLimit))  // also catches NaN
    return -kPixelLimit;
  if (v > kPixelLimit)
    return kPixelLimit;
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace

int XToPixel(const TPlotFrame& frame, int width, Real x)
{
  if (frame.XRange == 0)  // exact: only a range of nothing has no scale
    return 0;
  const int span = width - 1 - frame.MarginLeft - frame.MarginRight;
  return frame.MarginLeft + RoundToPixel(span * (x - frame.XMin) / frame.XRange);
}

int YToPixel(const TPlotFrame& frame, int height, Real y)
{
  if (frame.YRange == 0)  // exact
    return 0;
  const int bottom = height - 1 - frame.MarginBottom;
  const int span = bottom - frame.MarginTop;
  return RoundToPixel(bottom - (y - frame.YMin) * span / frame.YRange);
}

Real PixelToY(const TPlotFrame& frame, int height, int p)
{
  const int span = height - frame.MarginBottom - frame.MarginTop - 1;
  if (span == 0)
    return frame.YMin;
  return frame.YMin + Real(height - frame.MarginBottom - 1 - p) * frame.YRange / span;
}

Real XScale(const TPlotFrame& frame, int width)
{
  RAVLEN_ASSERT(frame.XRange != 0, "XScale: set a non-zero XRange before asking for the scale");
  return (width - 1 - frame.MarginLeft - frame.MarginRight) / frame.XRange;
}

Real YScale(const TPlotFrame& frame, int height)
{
  RAVLEN_ASSERT(frame.YRange != 0, "YScale: set a non-zero YRange before asking for the scale");
  return (height - 1 - frame.MarginBottom - frame.MarginTop) / frame.YRange;
}

void AddMargins(TPlotFrame& frame)
{
  frame.XMin -= 0.1L * frame.XRange;
  frame.XRange *= 1.2L;
  frame.YMin -= 0.1L * frame.YRange;
  frame.YRange *= 1.2L;
}

TTicks TicksOf(Real min, Real range)
{
  TTicks ticks;
  if (!std::isfinite(range) || !std::isfinite(min))  // no magnitude to take a step from
    return ticks;
  ticks.Step = NiceStep(range);
  const Real end = min + range;
  // The first multiple of the step above min. Rounding down (not toward zero) keeps the
  // grid lines between min and -step when the range starts further left than one step.
  Real t = (std::floor(min / ticks.Step) + 1) * ticks.Step;
  while (t < end && ticks.Count < kMaxTicks) {
    ticks.Value[ticks.Count++] = t;
    const Real next = t + ticks.Step;
    if (!(next > t))  // the step vanished in the rounding of t
      break;
    t = next;
  }
  return ticks;
}

Real XLabelY(const TPlotFrame& frame, int height, int textHeight)
{
  const Real below = frame.YMin + 1.5L * (PixelToY(frame, height, textHeight) - PixelToY(frame, height, 0));
  return std::max<Real>(0, below);
}

Real YLabelX(const TPlotFrame& frame) { return std::max<Real>(0, frame.XMin); }
