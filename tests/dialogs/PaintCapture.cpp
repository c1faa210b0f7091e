// The recording paint device of the plot tests.
#include "PaintCapture.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QTextItem>
#include <climits>

namespace {

constexpr int kDotsPerInch = 96;

class TCaptureEngine : public QPaintEngine {
public:
  explicit TCaptureEngine(TPaintCapture& device)
      : QPaintEngine(QPaintEngine::AllFeatures), FDevice(device)
  {
  }
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  Type type() const override { return QPaintEngine::User; }
  void updateState(const QPaintEngineState& state) override
  {
    if (state.state() & QPaintEngine::DirtyPen)
      FPen = state.pen();
    if (state.state() & QPaintEngine::DirtyTransform)
      FTransform = state.transform();
  }
  void drawLines(const QLineF* lines, int count) override
  {
    for (int i = 0; i < count; ++i)
      FDevice.Lines.push_back({FTransform.map(lines[i]), FPen});
  }
  void drawLines(const QLine* lines, int count) override
  {
    for (int i = 0; i < count; ++i)
      FDevice.Lines.push_back({FTransform.map(QLineF(lines[i])), FPen});
  }
  void drawTextItem(const QPointF& p, const QTextItem& item) override
  {
    FDevice.Texts.push_back({item.text(), FTransform.map(p), FPen});
  }
  // A patterned line on an opaque background comes as a line path, once in the background
  // colour and once with the pen itself.
  void drawPath(const QPainterPath& path) override
  {
    if (path.elementCount() == 2 && path.elementAt(1).isLineTo())
      FDevice.Lines.push_back({FTransform.map(QLineF(path.elementAt(0), path.elementAt(1))), FPen});
  }
  // A recorded line comes back from the picture as a two-point polyline.
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
  {
    if (mode == PolylineMode)
      for (int i = 0; i + 1 < count; ++i)
        FDevice.Lines.push_back({FTransform.map(QLineF(points[i], points[i + 1])), FPen});
  }
  void drawRects(const QRectF*, int) override {}
  void drawRects(const QRect*, int) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

private:
  TPaintCapture& FDevice;
  QPen FPen;
  QTransform FTransform;
};

}  // namespace

TPaintCapture::TPaintCapture(QSize size)
    : FSize(size), FEngine(std::make_unique<TCaptureEngine>(*this))
{
}

TPaintCapture::~TPaintCapture() = default;

QPaintEngine* TPaintCapture::paintEngine() const { return FEngine.get(); }

int TPaintCapture::metric(PaintDeviceMetric metric) const
{
  switch (metric) {
    case PdmWidth:
      return FSize.width();
    case PdmHeight:
      return FSize.height();
    case PdmWidthMM:
      return FSize.width() * 254 / (10 * kDotsPerInch);
    case PdmHeightMM:
      return FSize.height() * 254 / (10 * kDotsPerInch);
    case PdmNumColors:
      return INT_MAX;
    case PdmDepth:
      return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
      return kDotsPerInch;
    case PdmDevicePixelRatio:
      return 1;
    case PdmDevicePixelRatioScaled:
      return static_cast<int>(devicePixelRatioFScale());
  }
  return 0;
}

std::unique_ptr<TPaintCapture> CapturePicture(const QPicture& picture, QSize size)
{
  auto capture = std::make_unique<TPaintCapture>(size);
  QPainter painter(capture.get());
  painter.drawPicture(0, 0, picture);
  return capture;
}
