// The display state every view keeps: the water clock, the grid offsets, the poses and
// the cursors.
#include "DoorView.h"

#include <QWidget>

#include "assets/Assets.h"

TDoorView::TDoorView() : FLastShowTime(std::chrono::steady_clock::now()) {}

TDoorView::~TDoorView() = default;

void TDoorView::ShowResults(const TScenePoses& poses, Real trawlSpeed)
{
  FShowTime = std::chrono::steady_clock::now();
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(FShowTime - FLastShowTime);
  FLastShowTime = FShowTime;
  const Real dt = ElapsedSeconds(elapsed.count());
  FGridXZ = ScrollGridX(FGridXZ, dt, trawlSpeed);
  FGridXY = ScrollGridX(FGridXY, dt, trawlSpeed);
  FPoses = poses;
  ApplyPoses(FPoses, FGridXZ, FGridXY);
}

void TDoorView::ResetGrids()
{
  FGridXZ = 0;
  FGridXY = 0;
  ApplyPoses(FPoses, FGridXZ, FGridXY);
}

QString MarkerCaption(const TViewPick& pick)
{
  if (pick.Kind != TViewPick::TKind::Cube || pick.Index < 0)
    return {};
  // Bridle holes stand in rows of kHolesPerRow, counted from 1 as on the drawings.
  const auto hole = [&pick](const char* which) {
    return QStringLiteral("%1 bridle hole: row %2, hole %3")
        .arg(QLatin1String(which))
        .arg(pick.Index / kHolesPerRow + 1)
        .arg(pick.Index % kHolesPerRow + 1);
  };
  static const char* const kTowHoleNames[] = {"F2u", "F1u", "F0", "F1d", "F2d"};
  static const char* const kCentreNames[] = {
      "Centre of gravity of the hull", "Centre of gravity of the bracket", "Centre of gravity of the whole door",
      "Centre of pressure of the wing", "Centre of pressure of the span"};
  switch (pick.Group) {
    case TMarkerGroup::UpperHole:
      if (pick.Index < kHoleCount)
        return hole("Upper");
      break;
    case TMarkerGroup::LowerHole:
      if (pick.Index < kHoleCount)
        return hole("Lower");
      break;
    case TMarkerGroup::BracketPair:
      if (pick.Index < 6)
        return QStringLiteral("Bracket pair %1").arg(pick.Index / 2 + 1);  // upper, lower marker of each pair
      break;
    case TMarkerGroup::TowHole:
      if (pick.Index < kTowHoles)
        return QStringLiteral("Towing hole %1").arg(QLatin1String(kTowHoleNames[pick.Index]));
      break;
    case TMarkerGroup::Centre:
      if (pick.Index < 5)
        return QLatin1String(kCentreNames[pick.Index]);
      break;
    case TMarkerGroup::None: break;
  }
  return {};
}

void TDoorView::LoadCursors()
{
  for (int number = 1; number <= 3; ++number)
    FCursors[static_cast<std::size_t>(number)] = ViewCursor(number);
}

void TDoorView::SetViewCursor(int number)
{
  if (QWidget* widget = Widget())
    widget->setCursor(number >= 1 && number <= 3 ? FCursors[static_cast<std::size_t>(number)] : QCursor(Qt::ArrowCursor));
}
