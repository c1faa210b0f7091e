// Moving the camera about its target.
#include "Camera.h"

#include <QQuaternion>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPoleMarginDegrees = 0.5f;
constexpr float kRadToDeg = 57.29577951308232f;

}  // namespace

QVector3D TCamera::AimPoint() const { return FTarget ? FTarget->Position() : Position() + Direction(); }

QVector3D TCamera::LookDirection() const
{
  const QVector3D toAim = AimPoint() - Position();
  return toAim.lengthSquared() > 0 ? toAim.normalized() : Direction();
}

void TCamera::MoveAroundTarget(float pitchDegrees, float turnDegrees)
{
  const QVector3D aim = AimPoint();
  QVector3D offset = Position() - aim;
  const float distance = offset.length();
  if (distance <= 0)
    return;
  const QVector3D up = Up();
  offset = QQuaternion::fromAxisAndAngle(up, turnDegrees).rotatedVector(offset);

  // Pitch within the poles: the angle between up and the offset stays inside (0, 180).
  const float fromUp = std::acos(std::clamp(QVector3D::dotProduct(offset.normalized(), up), -1.f, 1.f)) * kRadToDeg;
  const float pitched = std::clamp(fromUp - pitchDegrees, kPoleMarginDegrees, 180 - kPoleMarginDegrees);
  const QVector3D axis = QVector3D::crossProduct(offset, up);
  if (axis.lengthSquared() > 0)
    offset = QQuaternion::fromAxisAndAngle(axis.normalized(), fromUp - pitched).rotatedVector(offset);
  SetPosition(aim + offset.normalized() * distance);
}

void TCamera::AdjustDistanceToTarget(float ratio)
{
  const QVector3D aim = AimPoint();
  SetPosition(aim + (Position() - aim) * ratio);
}
