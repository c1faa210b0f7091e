// The plot picture's axes: a dotted silver grid at round steps with the tick values
// written beside it, the two axes through the origin and the two titles.
#include <QFontMetrics>

#include "controls/ToolsText.h"
#include "dialogs/Sc_pic.h"

namespace {

constexpr int kAxesFontPointSize = 6;
// Picture widths handed to the number format; they only shape the picture, never cut.
constexpr int kXLabelWidth = 15;
constexpr int kYLabelWidth = 20;
constexpr int kAxisPenWidth = 2;  // pixels
// The x title stands this many pixels below the x axis.
constexpr int kXTitleGap = 2;
const QColor kGridColor(192, 192, 192);

QString TickLabel(int width, int decimals, Real value)
{
  return QString::fromStdString(FormatReal(width, decimals, true, value));
}

}  // namespace

void ScPic::DrawAxes(int xDecimals, int yDecimals, const QString& xTitle, const QString& yTitle)
{
  QPainter* canvas = GetCanvas();
  if (!canvas)
    return;
  SetPenWidth(0);
  canvas->setBrush(Qt::white);
  canvas->setBackground(Qt::white);
  QFont font = canvas->font();
  font.setPointSize(kAxesFontPointSize);
  font.setBold(false);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  canvas->setFont(font);
  // Text is written on a white box, so that the labels stay readable over the grid.
  canvas->setBackgroundMode(Qt::OpaqueMode);

  const QFontMetrics metrics = canvas->fontMetrics();
  const int th = metrics.height();
  const int tw = metrics.horizontalAdvance(QLatin1Char('0'));
  const Real xEnd = FFrame.XMin + FFrame.XRange;
  const Real yEnd = FFrame.YMin + FFrame.YRange;
  // The titles are written last on white boxes. A tick label they would cover, wholly or
  // in part, is left out rather than shown cut.
  const QRect yTitleBox(XToPixel(0) + tw, YToPixel(yEnd), metrics.horizontalAdvance(yTitle), th);
  const int xTitleWidth = metrics.horizontalAdvance(xTitle);
  const QRect xTitleBox(XToPixel(xEnd) - xTitleWidth - tw, YToPixel(0) + kXTitleGap, xTitleWidth, th);
  const auto writeLabel = [&](int x, int y, const QString& label) {
    const QRect box(x, y, metrics.horizontalAdvance(label), th);
    if (!box.intersects(xTitleBox) && !box.intersects(yTitleBox))
      TextAtPixel(*canvas, x, y, label);
  };

  SetPenStyle(Qt::DotLine);
  const TTicks xTicks = TicksOf(FFrame.XMin, FFrame.XRange);
  const int xLabelRow = YToPixel(XLabelY(FFrame, height(), th)) + th / 2;
  for (int i = 0; i < xTicks.Count; ++i) {
    const Real xt = xTicks.Value[i];
    DrawLine(kGridColor, xt, FFrame.YMin, xt, yEnd);
    const QString label = TickLabel(kXLabelWidth, xDecimals, xt);
    writeLabel(XToPixel(xt) - metrics.horizontalAdvance(label) / 2, xLabelRow, label);
  }
  const TTicks yTicks = TicksOf(FFrame.YMin, FFrame.YRange);
  const int yLabelColumn = XToPixel(YLabelX(FFrame)) + tw;
  for (int i = 0; i < yTicks.Count; ++i) {
    const Real yt = yTicks.Value[i];
    DrawLine(kGridColor, FFrame.XMin, yt, xEnd, yt);
    writeLabel(yLabelColumn, YToPixel(yt) - th / 2, TickLabel(kYLabelWidth, yDecimals, yt));
  }

  SetPenStyle(Qt::SolidLine);
  SetPenWidth(kAxisPenWidth);
  DrawLine(Qt::black, 0, FFrame.YMin, 0, yEnd);
  DrawLine(Qt::black, FFrame.XMin, 0, xEnd, 0);
  TextAtPixel(*canvas, yTitleBox.left(), yTitleBox.top(), yTitle);
  TextAtPixel(*canvas, xTitleBox.left(), xTitleBox.top(), xTitle);
  canvas->setBackgroundMode(Qt::TransparentMode);
}
