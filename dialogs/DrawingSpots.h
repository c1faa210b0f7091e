// Controls that stand on a stretched drawing: each keeps its centre at the same fraction
// of the panel's width and height as where it was put, so that it stays over its spot of
// the drawing whatever size the dialog is given.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

// Where a control that stood at `kept` on a panel of size `keptPanel` stands on the panel
// now `panel` in size: the same size, its centre at the same fractions of the panel's
// width and height, each coordinate multiplied, then divided and rounded to the nearest
// pixel (halves up). `kept` itself for an empty keptPanel.
QRect SpotRect(const QRect& kept, const QSize& keptPanel, const QSize& panel);

class TDrawingSpots {
public:
  // Spots on panel, the parent of the controls.
  explicit TDrawingSpots(QWidget* panel);

  // Remembers where control stands now against the panel's present size; keeping it again
  // replaces its spot (the program moved it).
  void Keep(QWidget* control);
  // Puts every kept control on its spot for the panel's present size.
  void Place() const;

private:
  struct TSpot {
    QPointer<QWidget> Control;
    QRect Kept;
    QSize KeptPanel;
  };

  QPointer<QWidget> FPanel;
  std::vector<TSpot> FSpots;
};
