// The linked label: where it goes beside its control, and when it follows it.
#include "controls/LinkLabel.h"

#include <QEvent>
#include <algorithm>

TLinkLabel::TLinkLabel(QWidget* parent) : TCaptionLabel(parent) {}

void TLinkLabel::SetLinkTo(QWidget* control)
{
  if (control == this)
    return;
  if (FLinkTo)
    FLinkTo->removeEventFilter(this);
  FLinkTo = control;
  if (FLinkTo) {
    FLinkTo->installEventFilter(this);
    if (parentWidget() != FLinkTo->parentWidget()) {
      const bool shown = !isHidden();
      setParent(FLinkTo->parentWidget());
      setVisible(shown);  // a new parent hides the label
    }
    UpdatePosition();
  }
  update();
}

void TLinkLabel::SetLinkMode(TLinkMode mode)
{
  FLinkMode = mode;
  UpdatePosition();
  update();
}

void TLinkLabel::SetLinkSpace(int space)
{
  FLinkSpace = space;
  UpdatePosition();
  update();
}

void TLinkLabel::UpdatePosition()
{
  if (!FLinkTo)
    return;
  const QRect c = FLinkTo->geometry();
  const int s = FLinkSpace;
  int left = x();
  int top = y();
  int w = width();
  switch (FLinkMode) {
  case TLinkMode::lmTop:
    top = c.y() - height() - s;
    left = c.x() + (c.width() - w) / 2;
    break;
  case TLinkMode::lmBottom:
    top = c.y() + c.height() + s;
    left = c.x() + (c.width() - w) / 2;
    break;
  case TLinkMode::lmRight:
    top = c.y() + (c.height() - height()) / 2;
    left = c.x() + c.width() + s;
    break;
  case TLinkMode::lmLeft:
    top = c.y() + (c.height() - height()) / 2;
    // A label held by its left edge stretches up to the gap instead of moving.
    if (FAnchoredLeft)
      w = std::max(0, c.x() - x() - s);
    left = c.x() - w - s;
    break;
  }
  // Only what differs is assigned: each assignment moves the label and repaints.
  if (w != width())
    resize(w, height());
  if (left != x() || top != y())
    move(left, top);
}

void TLinkLabel::AdjustBounds()
{
  UpdatePosition();
  TCaptionLabel::AdjustBounds();
}

bool TLinkLabel::eventFilter(QObject* watched, QEvent* e)
{
  if (watched == FLinkTo && (e->type() == QEvent::Move || e->type() == QEvent::Resize))
    UpdatePosition();
  return TCaptionLabel::eventFilter(watched, e);
}

void TLinkLabel::paintEvent(QPaintEvent* e)
{
  UpdatePosition();
  TCaptionLabel::paintEvent(e);
}

void TLinkLabel::showEvent(QShowEvent* e)
{
  UpdatePosition();
  TCaptionLabel::showEvent(e);
}
