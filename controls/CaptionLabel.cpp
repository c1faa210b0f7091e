// Labels that fit themselves to their captions.
#include "controls/CaptionLabel.h"

#include <QEvent>

TCaptionLabel::TCaptionLabel(QWidget* parent) : QLabel(parent)
{
  setTextFormat(Qt::PlainText);
  AdjustBounds();
}

void TCaptionLabel::SetCaption(const QString& caption)
{
  if (caption == text())
    return;
  setText(caption);
  AdjustBounds();
  emit OnCaptionChanged(this);
}

void TCaptionLabel::SetAutoSize(bool autoSize)
{
  FAutoSize = autoSize;
  AdjustBounds();
}

void TCaptionLabel::AdjustBounds()
{
  if (!FAutoSize)
    return;
  // An empty caption keeps the size of one blank, so that the label stays a target
  // for the mouse and a line high.
  const QMargins margins = contentsMargins();
  const QSize fitted = text().isEmpty() ? QSize(fontMetrics().horizontalAdvance(QLatin1Char(' ')) + margins.left() + margins.right(),
                                                fontMetrics().height() + margins.top() + margins.bottom())
                                        : sizeHint();
  if (alignment() & Qt::AlignRight)
    setGeometry(x() + width() - fitted.width(), y(), fitted.width(), fitted.height());
  else
    resize(fitted);
}

void TCaptionLabel::changeEvent(QEvent* e)
{
  QLabel::changeEvent(e);
  if (e->type() == QEvent::FontChange)
    AdjustBounds();
}
