// The stretched SVG picture.
#include "SvgDrawing.h"

#include <QPainter>
#include <QSvgRenderer>

TSvgDrawing::TSvgDrawing(QWidget* parent) : QWidget(parent), FRenderer(new QSvgRenderer(this))
{
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool TSvgDrawing::Load(const QString& fileName)
{
  const bool loaded = FRenderer->load(fileName);
  update();
  return loaded && FRenderer->isValid();
}

bool TSvgDrawing::HasDrawing() const { return FRenderer->isValid(); }

void TSvgDrawing::paintEvent(QPaintEvent* /*e*/)
{
  if (!FRenderer->isValid())
    return;
  QPainter painter(this);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
  // Stretched, not letter-boxed: the edits keep their spots at fractions of the panel.
  FRenderer->render(&painter, QRectF(rect()));
}
