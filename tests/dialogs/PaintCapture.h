// A paint device for tests that records what is painted on it: every text with the point
// of its baseline and every line with its pen, so a recorded picture can be checked by
// content rather than by pixels.
#pragma once

#include <QLineF>
#include <QPaintDevice>
#include <QPen>
#include <QString>
#include <memory>
#include <vector>

class QPicture;

struct TCapturedText {
  QString Text;
  QPointF Baseline;  // device pixels
  QPen Pen;          // its colour is the text's
};

struct TCapturedLine {
  QLineF Line;  // device pixels
  QPen Pen;
};

class TPaintCapture : public QPaintDevice {
public:
  explicit TPaintCapture(QSize size);
  ~TPaintCapture() override;
  QPaintEngine* paintEngine() const override;

  std::vector<TCapturedText> Texts;
  std::vector<TCapturedLine> Lines;

protected:
  int metric(PaintDeviceMetric metric) const override;

private:
  QSize FSize;
  std::unique_ptr<QPaintEngine> FEngine;
};

// What painting picture at (0, 0) on a device of the given size draws.
std::unique_ptr<TPaintCapture> CapturePicture(const QPicture& picture, QSize size);
