// Labels that fit themselves to their captions.
#include "controls/CaptionLabel.h"

#include <QEvent>

TCaptionLabel::TCaptionLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

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
  const QSize fitted = sizeHint();
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
