// TCaptionLabel: a text label that sizes itself to its caption, as the labels of the
// dialogs expect: a new caption or font resizes it to the text, keeping its left edge, or
// its right edge when the text is right-justified. The linked and bound labels build on it.
#pragma once

#include <QLabel>

class TCaptionLabel : public QLabel {
  Q_OBJECT

public:
  explicit TCaptionLabel(QWidget* parent = nullptr);

  // The caption; assigning it sets the text, fits the label (with AutoSize) and emits
  // OnCaptionChanged when the text changed. Use this rather than setText.
  QString Caption() const { return text(); }
  void SetCaption(const QString& caption);
  // Whether the label fits itself to its caption (set by default).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool autoSize);
  // Fits the label to its text when AutoSize is set.
  virtual void AdjustBounds();

signals:
  // The caption changed (emitted after the label was fitted).
  void OnCaptionChanged(TCaptionLabel* sender);

protected:
  void changeEvent(QEvent* e) override;

private:
  bool FAutoSize = true;
};
