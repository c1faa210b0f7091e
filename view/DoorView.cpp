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
