// TLinkLabel: a caption that stays attached to another control, above, below, left or
// right of it at a fixed gap, and moves with it. The dialogs hang their angle captions
// over their angle edits with it.
#pragma once

#include <QPointer>

#include "controls/CaptionLabel.h"

// Side of the linked control where the label sits.
enum class TLinkMode { lmLeft, lmTop, lmRight, lmBottom };

class TLinkLabel : public TCaptionLabel {
  Q_OBJECT

public:
  explicit TLinkLabel(QWidget* parent = nullptr);

  // The control the label is attached to; null for none. The label moves to the control's
  // parent; assigning the label itself is ignored; unlinking leaves the label where it is.
  QWidget* LinkTo() const { return FLinkTo; }
  void SetLinkTo(QWidget* control);
  // The side of the control.
  TLinkMode LinkMode() const { return FLinkMode; }
  void SetLinkMode(TLinkMode mode);
  // Gap between control and label, pixels.
  int LinkSpace() const { return FLinkSpace; }
  void SetLinkSpace(int space);
  // Whether the label keeps its left edge in its parent (set by default): such a label,
  // put left of its control, stretches from its left edge up to the gap.
  bool AnchoredLeft() const { return FAnchoredLeft; }
  void SetAnchoredLeft(bool anchored) { FAnchoredLeft = anchored; }

  // Re-attaches the label to its control; does nothing without one.
  virtual void UpdatePosition();
  void AdjustBounds() override;

protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void showEvent(QShowEvent* e) override;

private:
  QPointer<QWidget> FLinkTo;
  TLinkMode FLinkMode = TLinkMode::lmTop;
  int FLinkSpace = 2;
  bool FAnchoredLeft = true;
};
