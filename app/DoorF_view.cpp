// The camera stations of the view commands and the mouse over the 3D view: orbit, roll
// and zoom, the hover highlight with the marker's name in the status bar, and choosing a
// bridle hole, bracket pair or towing hole by clicking its marker.
#include <QAction>
#include <QMouseEvent>
#include <QStatusBar>
#include <QWheelEvent>

#include <cmath>

#include "DoorF.h"
#include "mechanics/ViewMouse.h"

namespace {

// The modifier keys that make a left press something else than a choice or an orbit.
constexpr Qt::KeyboardModifiers kKeys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

TFDoor::TShiftState ShiftOf(const QInputEvent& event, Qt::MouseButtons buttons)
{
  return {event.modifiers() & kKeys, buttons};
}

// Pixels of the viewer as whole numbers, the way the handlers count them.
int Pixel(qreal v) { return static_cast<int>(std::floor(v)); }

// The stations: every one aims at the axes cross at the origin.
constexpr TCameraStation kResetStation{{0, -10, 0}, {1, 0, 0}, {0, 0, 1}};
constexpr TCameraStation kPlanStation{{0, 0, 10}, {0, 0, -1}, {0, 1, 0}};
constexpr TCameraStation kFrontStation{{-10, 0, 0}, {1, 0, 0}, {0, 0, 1}};
constexpr TCameraStation kSideStation{{0, -10, 0}, {1, 0, 0}, {0, 0, 1}};
constexpr TCameraStation kBackStation{{5, 10, 5}, {1, 0, 0}, {0, 0, 1}};
constexpr TCameraStation kBracketStation{{-3, -3, 3}, {1, 0, 0}, {0, 0, 1}};
constexpr TCameraStation kIsoStation{{-10, -10, 10}, {1, 0, 0}, {0, 0, 1}};
constexpr int kKeepViewKind = -1;

}  // namespace

void TFDoor::SetStation(const TCameraStation& station, int viewKind)
{
  FView->SetCameraStation(station);
  if (viewKind != kKeepViewKind)
    FViewKind = viewKind;
}

void TFDoor::ResetCameraExecute() { SetStation(kResetStation, kKeepViewKind); }
void TFDoor::ShowPlanExecute() { SetStation(kPlanStation, kViewPlan); }
void TFDoor::ShowFrontExecute() { SetStation(kFrontStation, kViewFront); }
void TFDoor::ShowSideExecute() { SetStation(kSideStation, kViewSide); }
void TFDoor::ShowBackExecute() { SetStation(kBackStation, kKeepViewKind); }

void TFDoor::ShowBracketExecute()
{
  // The bracket is looked at close up, in perspective.
  if (QAction* perspective = Command(TDoorCommand::ShowPerspective); !perspective->isChecked())
    perspective->trigger();
  SetStation(kBracketStation, kKeepViewKind);
}

void TFDoor::ShowIsoExecute()
{
  // An isometric view is an orthogonal one.
  if (QAction* perspective = Command(TDoorCommand::ShowPerspective); perspective->isChecked())
    perspective->trigger();
  SetStation(kIsoStation, kKeepViewKind);
}

void TFDoor::SetCursorNumber(int number)
{
  if (number == FCursorNumber)
    return;
  FCursorNumber = number;
  FView->SetViewCursor(number);
}

void TFDoor::HoverOver(const TViewPick& pick)
{
  const bool cube = pick.Kind == TViewPick::TKind::Cube;
  if (!(pick == FHoverObject && FHoverLit == cube)) {
    if (FHoverObject.Kind == TViewPick::TKind::Cube) {
      FView->SetHighlight(FHoverObject, false);
      // Only the name of the marker left is taken away, not another message.
      if (statusBar()->currentMessage() == MarkerCaption(FHoverObject))
        statusBar()->clearMessage();
    }
    FHoverObject = pick;
    FHoverLit = cube;
    if (cube)
      FView->SetHighlight(pick, true);
  }
  if (cube) {
    const QString caption = MarkerCaption(pick);
    if (!caption.isEmpty() && statusBar()->currentMessage() != caption)
      statusBar()->showMessage(caption);
  }
}

void TFDoor::GLSceneViewer1MouseDown(Qt::MouseButton /*button*/, TShiftState shift, int x, int y)
{
  const Real w = GLSceneViewer1->width(), h = GLSceneViewer1->height();
  FMouseDown = true;
  FLastMouseX = x;
  FLastMouseY = y;
  FGrabAngle = GrabAngle(FView->CameraStation().Up, x, y, w, h, FViewKind);
  FRotateZone = InRotateZone(x, y, w, h);
  FPickedCube = {};
  if (!shift.Only(Qt::LeftButton))
    return;
  HoverOver(FView->Pick(x, y));
  if (FHoverObject.Kind == TViewPick::TKind::Cube)
    FPickedCube = FHoverObject;  // lit already; applied at mouse-up
}

void TFDoor::GLSceneViewer1MouseMove(TShiftState shift, int x, int y)
{
  // No button held any more, yet no release came (a window that opened mid-drag took
  // it): the drag is over, and a grabbed marker is let go without choosing it.
  if (FMouseDown && shift.Buttons == Qt::NoButton) {
    FPickedCube = {};
    GLSceneViewer1MouseUp(Qt::NoButton, shift, x, y);
  }
  // A grabbed marker is not dragged, and the view stands still under it.
  if (FPickedCube.Kind != TViewPick::TKind::Nothing)
    return;
  HoverOver(FView->Pick(x, y));
  if (!FMouseDown)
    return;
  const Real w = GLSceneViewer1->width(), h = GLSceneViewer1->height();
  const int dx = FLastMouseX - x;
  const int dy = FLastMouseY - y;
  FLastMouseX = x;
  FLastMouseY = y;
  if (shift.Only(Qt::LeftButton)) {
    if (FRotateZone) {
      SetCursorNumber(1);
      FView->OrbitCamera(dy, dx);
    } else {
      SetCursorNumber(2);
      TCameraStation station = FView->CameraStation();
      station.Up = RolledUp(RollAngle(FGrabAngle, x, y, w, h), FViewKind);
      FView->SetCameraStation(station);
    }
  } else if (shift.Only(Qt::RightButton)) {
    SetCursorNumber(3);
    if (FView->Perspective())
      FView->ScaleCameraDistance(DragDistanceRatio(dy, h));
    else
      FView->SetFocalLength(DraggedFocalLength(FView->FocalLength(), dy));
  }
  if (!FGuideShown) {
    FGuideShown = true;
    FView->SetGuideCircle(true);
  }
}

void TFDoor::GLSceneViewer1MouseUp(Qt::MouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/)
{
  FMouseDown = false;
  SetCursorNumber(0);
  if (FGuideShown) {
    FGuideShown = false;
    FView->SetGuideCircle(false);
  }
  const TViewPick picked = FPickedCube;
  FPickedCube = {};
  if (picked.Kind == TViewPick::TKind::Nothing)
    return;
  FView->SetHighlight(picked, false);
  if (picked == FHoverObject)
    FHoverLit = false;  // the next move lights it again while the pointer stays on it
  // Wherever the button came up, the marker it went down on is chosen.
  switch (picked.Group) {
    case TMarkerGroup::UpperHole: FModel.SelectUpperHole(picked.Index); break;
    case TMarkerGroup::LowerHole: FModel.SelectLowerHole(picked.Index); break;
    // Either marker of a pair chooses the pair, which is held by its upper point.
    case TMarkerGroup::BracketPair: FModel.SelectPair(static_cast<TBracketPair>(picked.Index / 2 + 1)); break;
    case TMarkerGroup::TowHole: FModel.SelectTowHole(static_cast<TTowHole>(picked.Index)); break;
    // The centres of gravity and pressure are only shown.
    case TMarkerGroup::Centre:
    case TMarkerGroup::None: return;
  }
  // What was typed in the panel counts, as it does for every command that evaluates.
  CommitEntries();
  EvaluationCycle();
}

void TFDoor::GLSceneViewer1MouseWheel(Real notches)
{
  if (FView->Perspective())
    FView->ScaleCameraDistance(WheelDistanceRatio(notches));
  else
    FView->SetFocalLength(WheelFocalLength(FView->FocalLength(), notches));
}

bool TFDoor::ViewMouseEvent(QEvent* event)
{
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {  // the second press of a double click is a press too
      const auto* mouse = static_cast<QMouseEvent*>(event);
      GLSceneViewer1MouseDown(mouse->button(), ShiftOf(*mouse, mouse->buttons()), Pixel(mouse->position().x()),
                              Pixel(mouse->position().y()));
      return false;
    }
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      GLSceneViewer1MouseMove(ShiftOf(*mouse, mouse->buttons()), Pixel(mouse->position().x()),
                              Pixel(mouse->position().y()));
      return false;
    }
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      GLSceneViewer1MouseUp(mouse->button(), ShiftOf(*mouse, mouse->buttons()), Pixel(mouse->position().x()),
                            Pixel(mouse->position().y()));
      return false;
    }
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      if (const int delta = wheel->angleDelta().y(); delta != 0)
        GLSceneViewer1MouseWheel(delta / Real(QWheelEvent::DefaultDeltasPerStep));
      return true;  // the wheel is the view's: nothing behind it scrolls
    }
    case QEvent::Leave:
      // Out of the view no marker is under the pointer any more.
      if (!FMouseDown && FPickedCube.Kind == TViewPick::TKind::Nothing)
        HoverOver({});
      return false;
    default: return false;
  }
}
