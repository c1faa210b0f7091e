// Placement of scene objects.
#include "SceneObject.h"

#include <QQuaternion>

#include "Scene.h"

namespace {

std::uint64_t gNextId = 1;

// The part of v at right angles to unit vector n, as a unit vector; when v lies along n,
// some unit vector at right angles to n.
QVector3D SquareTo(const QVector3D& v, const QVector3D& n)
{
  QVector3D w = v - QVector3D::dotProduct(v, n) * n;
  if (w.lengthSquared() < 1e-12f) {
    const QVector3D other = std::abs(n.x()) < 0.9f ? QVector3D(1, 0, 0) : QVector3D(0, 1, 0);
    w = other - QVector3D::dotProduct(other, n) * n;
  }
  return w.normalized();
}

QVector3D UnitOr(const QVector3D& v, const QVector3D& fallback)
{
  return v.lengthSquared() > 0 ? v.normalized() : fallback;
}

}  // namespace

TSceneObject::TSceneObject(TObjectKind kind) : FKind(kind), FId(gNextId++) {}

TSceneObject::~TSceneObject() = default;

void TSceneObject::Changed()
{
  if (FScene)
    FScene->NotifyChanged();
}

void TSceneObject::GeometryChanged()
{
  ++FGeometryVersion;
  Changed();
}

void TSceneObject::SetVisible(bool visible)
{
  FVisible = visible;
  Changed();
}

void TSceneObject::SetPosition(const QVector3D& position)
{
  FPosition = position;
  Changed();
}

void TSceneObject::SetPositionComponent(int index, float value)
{
  FPosition[index] = value;
  Changed();
}

void TSceneObject::Move(const QVector3D& v, float k) { SetPosition(FPosition + k * v); }

void TSceneObject::SetDirection(const QVector3D& direction)
{
  FDirection = UnitOr(direction, FDirection);
  FUp = SquareTo(FUp, FDirection);
  Changed();
}

void TSceneObject::SetUp(const QVector3D& up)
{
  FUp = UnitOr(up, FUp);
  FDirection = SquareTo(FDirection, FUp);
  Changed();
}

void TSceneObject::SetOrientation(const QVector3D& direction, const QVector3D& up)
{
  FDirection = UnitOr(direction, FDirection);
  FUp = SquareTo(up, FDirection);
  Changed();
}

void TSceneObject::Turn(const QVector3D& axis, float degrees)
{
  const QQuaternion q = QQuaternion::fromAxisAndAngle(axis, degrees);
  FDirection = q.rotatedVector(FDirection).normalized();
  FUp = SquareTo(q.rotatedVector(FUp), FDirection);
  Changed();
}

void TSceneObject::SetRollAngle(float degrees)
{
  Turn(FDirection, degrees - FRoll);
  FRoll = degrees;
}

void TSceneObject::SetPitchAngle(float degrees)
{
  Turn(Right(), degrees - FPitch);
  FPitch = degrees;
}

void TSceneObject::SetTurnAngle(float degrees)
{
  Turn(FUp, degrees - FTurn);
  FTurn = degrees;
}

void TSceneObject::RotateAbsolute(float aboutX, float aboutY, float aboutZ)
{
  Turn({1, 0, 0}, aboutX);
  Turn({0, 1, 0}, aboutY);
  Turn({0, 0, 1}, aboutZ);
}

void TSceneObject::SetScale(const QVector3D& scale)
{
  FScale = scale;
  Changed();
}

QMatrix4x4 TSceneObject::Matrix() const
{
  const QVector3D right = Right();
  // Columns: the object's X, Y and Z axes, then its origin.
  QMatrix4x4 m(right.x(), FUp.x(), FDirection.x(), FPosition.x(),
               right.y(), FUp.y(), FDirection.y(), FPosition.y(),
               right.z(), FUp.z(), FDirection.z(), FPosition.z(),
               0, 0, 0, 1);
  m.scale(FScale);
  return m;
}

void TSceneObject::AssignPlacement(const TSceneObject& other)
{
  FVisible = other.FVisible;
  FPosition = other.FPosition;
  FDirection = other.FDirection;
  FUp = other.FUp;
  FScale = other.FScale;
  FRoll = other.FRoll;
  FPitch = other.FPitch;
  FTurn = other.FTurn;
  Changed();
}
