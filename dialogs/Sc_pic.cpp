// The plot picture control: the picture in its two modes, the canvas, and drawing in
// user units. The axes routine is in Sc_pic_axes.cpp, rendering for export in
// Sc_pic_export.cpp.
#include "dialogs/Sc_pic.h"

#include <QPen>
#include <utility>

namespace {

// The size the picture control asks for: the coefficient graph's picture as designed.
constexpr QSize kPreferredSize(291, 212);

// A fresh canvas starts like the platform's: a thin solid black pen whose wide lines end
// and join round (so separate segments of a curve meet smoothly), a solid white brush,
// and a white background behind opaque text.
void ApplyCanvasDefaults(QPainter& canvas)
{
  canvas.setPen(QPen(QBrush(Qt::black), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  canvas.setBrush(Qt::white);
  canvas.setBackground(Qt::white);
}

}  // namespace

TMetafileCanvasRectLess::TMetafileCanvasRectLess(QPicture& metafile)
    : QPainter(&metafile)
{
  if (isActive())
    ApplyCanvasDefaults(*this);
}

ScPic::ScPic(QWidget* parent)
    : QWidget(parent)
{
}

ScPic::~ScPic() = default;

void ScPic::SetImageType(TImageType type)
{
  if (type == FImageType)
    return;
  FRecordingCanvas.reset();
  FBitmapCanvas.reset();
  FMetafile = QPicture();
  FMetafileSize = QSize();
  FBitmap = QImage();
  FImageType = type;
  update();
}

void ScPic::SetPixelFormat(TPixelFormat format)
{
  if (format == FPixelFormat)
    return;
  FBitmapCanvas.reset();
  FBitmap = QImage();
  FPixelFormat = format;
  update();
}

void ScPic::SetRange(Real xMin, Real xRange, Real yMin, Real yRange)
{
  FFrame.XMin = xMin;
  FFrame.XRange = xRange;
  FFrame.YMin = yMin;
  FFrame.YRange = yRange;
}

void ScPic::SetMargins(int left, int top, int right, int bottom)
{
  FFrame.MarginLeft = left;
  FFrame.MarginTop = top;
  FFrame.MarginRight = right;
  FFrame.MarginBottom = bottom;
}

void ScPic::AddMargins() { ::AddMargins(FFrame); }

int ScPic::XToPixel(Real x) const { return ::XToPixel(FFrame, width(), x); }
int ScPic::YToPixel(Real y) const { return ::YToPixel(FFrame, height(), y); }
Real ScPic::PixelToY(int p) const { return ::PixelToY(FFrame, height(), p); }
Real ScPic::XScale() const { return ::XScale(FFrame, width()); }
Real ScPic::YScale() const { return ::YScale(FFrame, height()); }

QImage::Format ScPic::BitmapFormat() const
{
  switch (FPixelFormat) {
    case TPixelFormat::pfDevice:
    case TPixelFormat::pf32bit:
      return QImage::Format_RGB32;
    case TPixelFormat::pf1bit:
      return QImage::Format_Mono;
    case TPixelFormat::pf24bit:
      return QImage::Format_RGB888;
  }
  return QImage::Format_RGB32;
}

// A bitmap starts white, whatever its format, and keeps its pixels when resized.
void ScPic::ResizeBitmap()
{
  if (!FBitmap.isNull() && FBitmap.size() == size())
    return;
  QImage bitmap;
  if (!size().isEmpty()) {
    bitmap = QImage(size(), BitmapFormat());
    if (FPixelFormat == TPixelFormat::pf1bit) {
      bitmap.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
      bitmap.fill(1u);  // the white entry
    } else {
      bitmap.fill(Qt::white);
    }
    if (!FBitmap.isNull()) {
      QPainter copier(&bitmap);
      copier.drawImage(0, 0, FBitmap);
    }
  }
  FBitmap = std::move(bitmap);
}

QPainter* ScPic::GetCanvas()
{
  if (FImageType == TImageType::itMetafile) {
    if (!FRecordingCanvas) {
      // A picture someone else still shares must not be overwritten by the recording.
      if (!FRecording.isDetached())
        FRecording = QPicture();
      FRecordingCanvas.emplace(FRecording);
      if (!FRecordingCanvas->isActive()) {
        FRecordingCanvas.reset();
        return nullptr;
      }
      FRecordingSize = size();
    }
    return &*FRecordingCanvas;
  }
  if (!FBitmapCanvas) {
    if (FBitmap.isNull())
      ResizeBitmap();
    if (FBitmap.isNull())
      return nullptr;
    FBitmapCanvas.emplace(&FBitmap);
    if (!FBitmapCanvas->isActive()) {
      FBitmapCanvas.reset();
      return nullptr;
    }
    ApplyCanvasDefaults(*FBitmapCanvas);
  }
  update();  // what is drawn on the bitmap shows at the next paint
  return &*FBitmapCanvas;
}

void ScPic::ClearPicture()
{
  EndDraw();
  if (FImageType == TImageType::itBitmap) {
    if (!FBitmap.isNull())
      ResizeBitmap();
    if (FPixelFormat == TPixelFormat::pf1bit)
      return;
  }
  if (QPainter* canvas = GetCanvas())
    canvas->fillRect(QRect(QPoint(0, 0), size()), Qt::white);
}

void ScPic::EndDraw()
{
  if (FRecordingCanvas) {
    FRecordingCanvas.reset();
    std::swap(FMetafile, FRecording);
    FMetafileSize = FRecordingSize;
    update();
  }
  if (FBitmapCanvas) {
    FBitmapCanvas.reset();
    update();
  }
}

bool ScPic::HasPicture() const
{
  return FImageType == TImageType::itMetafile ? !FMetafileSize.isEmpty() : !FBitmap.isNull();
}

void ScPic::SetPenColor(const QColor& color)
{
  if (QPainter* canvas = GetCanvas()) {
    QPen pen = canvas->pen();
    pen.setColor(color);
    canvas->setPen(pen);
  }
}

void ScPic::SetPenWidth(int width)
{
  if (QPainter* canvas = GetCanvas()) {
    QPen pen = canvas->pen();
    pen.setWidth(width);
    canvas->setPen(pen);
  }
}

void ScPic::SetPenStyle(Qt::PenStyle style)
{
  if (QPainter* canvas = GetCanvas()) {
    QPen pen = canvas->pen();
    pen.setStyle(style);
    canvas->setPen(pen);
  }
}

void ScPic::SetFontColor(const QColor& color) { FFontColor = color; }

void ScPic::MoveToXY(Real x, Real y) { FPenPos = QPoint(XToPixel(x), YToPixel(y)); }

void ScPic::LineToXY(Real x, Real y)
{
  const QPoint to(XToPixel(x), YToPixel(y));
  if (QPainter* canvas = GetCanvas())
    canvas->drawLine(FPenPos, to);
  FPenPos = to;
}

void ScPic::DrawLine(const QColor& color, Real x1, Real y1, Real x2, Real y2)
{
  SetPenColor(color);
  MoveToXY(x1, y1);
  LineToXY(x2, y2);
}

void ScPic::TextAtXY(const QString& text, Real x, Real y)
{
  if (QPainter* canvas = GetCanvas())
    TextAtPixel(*canvas, XToPixel(x), YToPixel(y), text);
}

// Text takes the font colour, not the pen's, as it does on the platform's canvas.
void ScPic::TextAtPixel(QPainter& canvas, int x, int y, const QString& text)
{
  if (text.isEmpty())
    return;
  const QPen pen = canvas.pen();
  canvas.setPen(FFontColor);
  canvas.drawText(QPoint(x, y + canvas.fontMetrics().ascent()), text);
  canvas.setPen(pen);
}

QSize ScPic::sizeHint() const { return kPreferredSize; }

void ScPic::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  if (FImageType == TImageType::itBitmap) {
    if (!FBitmap.isNull())
      painter.drawImage(0, 0, FBitmap);
    return;
  }
  if (FMetafileSize.isEmpty())
    return;
  // The picture is stretched from the size it was drawn for to the control's, so that a
  // marker drawn far outside the plot never shrinks the plot itself.
  if (FMetafileSize != size())
    painter.scale(qreal(width()) / FMetafileSize.width(), qreal(height()) / FMetafileSize.height());
  painter.drawPicture(0, 0, FMetafile);
}
