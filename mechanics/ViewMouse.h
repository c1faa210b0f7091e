// The arithmetic of the mouse over the 3D view, apart from any window: whether a drag
// orbits or rolls, the roll's reference angle and the up vector it turns to, and the
// zoom of the right button and of the wheel. Pixels are the viewer's, Y downward; W and
// H its width and height.
#pragma once

#include "Tools.h"

// How rolling turns the camera's up vector, by the station it was last set to.
enum TViewKind : int { kViewPlan = 0, kViewSide = 1, kViewFront = 2 };

// A left drag that starts closer than this to the view's centre orbits, one farther out
// rolls (pixels).
inline constexpr Real kRotateZoneRadius = 200;

// Angle of the pointer about the view's centre, Y upward, in [0, 2 pi).
Real PointerAngle(Real x, Real y, Real width, Real height);
// Whether a drag starting at (x, y) orbits.
bool InRotateZone(Real x, Real y, Real width, Real height);
// The roll's reference taken at mouse-down from the camera's up vector, so that a move
// to the same spot keeps the up vector of an upright station.
Real GrabAngle(const TxyzSingle& up, Real x, Real y, Real width, Real height, int viewKind);
// The roll angle of the pointer at (x, y), and the up vector that angle gives.
Real RollAngle(Real grabAngle, Real x, Real y, Real width, Real height);
TxyzSingle RolledUp(Real t, int viewKind);

// Zoom by a right drag of dy pixels upward: the orthogonal focal length grows by dy
// (never below kMinFocalLength: at 0 and below the picture would blow up or mirror), the
// perspective distance to the target is multiplied by 1 - dy / H (never below
// kMinZoomRatio in one step: at 0 and below the eye would sit on or pass through the
// target, and no zoom could bring it back).
inline constexpr Real kMinFocalLength = 1;
inline constexpr Real kMinZoomRatio = 0.1L;
Real DraggedFocalLength(Real focalLength, Real dy);
Real DragDistanceRatio(Real dy, Real height);

// Zoom by the wheel: one notch forward is a right drag of H/10 pixels upward in
// perspective (distance times 0.9); a notch back undoes it (divides by 0.9), so the wheel
// goes back and forth through the same views. In orthogonal projection a notch magnifies
// as much: the focal length is divided by 0.9. Notches may be fractional (fine wheels).
inline constexpr Real kWheelStep = 0.9L;
Real WheelDistanceRatio(Real notches);
Real WheelFocalLength(Real focalLength, Real notches);
