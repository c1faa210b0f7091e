// The spots of the controls on a stretched drawing.
#include "DrawingSpots.h"

#include <QWidget>
#include <algorithm>

namespace {

// n / d rounded to the nearest integer, halves toward +infinity; d > 0.
qint64 RoundDiv(qint64 n, qint64 d)
{
  const qint64 num = 2 * n + d;
  const qint64 den = 2 * d;
  return num >= 0 ? num / den : -((-num + den - 1) / den);
}

// The new near edge of a span of `size` whose centre was at (2 edge + size) / 2 of `kept`
// and now sits at the same fraction of `now`: ((2 edge + size) now - size kept) / (2 kept),
// one rounding only.
int SpotEdge(int edge, int size, int kept, int now)
{
  return int(RoundDiv((2 * qint64(edge) + size) * now - qint64(size) * kept, 2 * qint64(kept)));
}

}  // namespace

QRect SpotRect(const QRect& kept, const QSize& keptPanel, const QSize& panel)
{
  if (keptPanel.width() <= 0 || keptPanel.height() <= 0)
    return kept;
  return {SpotEdge(kept.x(), kept.width(), keptPanel.width(), panel.width()),
          SpotEdge(kept.y(), kept.height(), keptPanel.height(), panel.height()), kept.width(), kept.height()};
}

TDrawingSpots::TDrawingSpots(QWidget* panel) : FPanel(panel) {}

void TDrawingSpots::Keep(QWidget* control)
{
  if (!control || !FPanel)
    return;
  const TSpot spot{control, control->geometry(), FPanel->size()};
  const auto found = std::find_if(FSpots.begin(), FSpots.end(), [control](const TSpot& s) { return s.Control == control; });
  if (found != FSpots.end())
    *found = spot;
  else
    FSpots.push_back(spot);
}

void TDrawingSpots::Place() const
{
  if (!FPanel)
    return;
  for (const TSpot& spot : FSpots)
    if (spot.Control)
      spot.Control->setGeometry(SpotRect(spot.Kept, spot.KeptPanel, FPanel->size()));
}
