// The mouse arithmetic of the 3D view.
#include "ViewMouse.h"

#include <algorithm>
#include <cmath>

Real PointerAngle(Real x, Real y, Real width, Real height) { return PolarAngle(x - width / 2, height / 2 - y); }

bool InRotateZone(Real x, Real y, Real width, Real height)
{
  return Hypot2(width / 2 - x, height / 2 - y) < kRotateZoneRadius;
}

Real GrabAngle(const TxyzSingle& up, Real x, Real y, Real width, Real height, int viewKind)
{
  const Real a = PolarAngle(up.X, up.Y);
  const Real b = PointerAngle(x, y, width, height);
  return viewKind == kViewPlan ? a + b : a + b + kPi / 2;
}

Real RollAngle(Real grabAngle, Real x, Real y, Real width, Real height)
{
  return grabAngle - PointerAngle(x, y, width, height);
}

TxyzSingle RolledUp(Real t, int viewKind)
{
  const auto c = static_cast<float>(std::cos(t)), s = static_cast<float>(std::sin(t));
  switch (viewKind) {
    case kViewPlan: return {c, s, 0};
    case kViewFront: return {0, -c, s};
    default: return {c, 0, s};
  }
}

Real DraggedFocalLength(Real focalLength, Real dy) { return std::max(focalLength + dy, kMinFocalLength); }

Real DragDistanceRatio(Real dy, Real height)
{
  if (!(height > 0))
    return 1;
  return std::max(1 - dy / height, kMinZoomRatio);
}

Real WheelDistanceRatio(Real notches) { return std::pow(kWheelStep, notches); }

Real WheelFocalLength(Real focalLength, Real notches)
{
  return std::max(focalLength / std::pow(kWheelStep, notches), kMinFocalLength);
}
