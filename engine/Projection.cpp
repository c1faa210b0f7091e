// Camera matrices.
#include "Projection.h"

#include <cmath>

#include "Camera.h"

namespace {

constexpr float kNearFraction = 1.0f / 2000;
constexpr float kRadToDeg = 57.29577951308232f;

}  // namespace

float ViewHalfHeight(float focalLength) { return kFocalScale / focalLength; }

QMatrix4x4 ViewMatrix(const TCamera& camera)
{
  QMatrix4x4 view;
  QVector3D up = camera.Up();
  const QVector3D look = camera.LookDirection();
  // An up vector along the line of sight leaves the roll open: take any square one.
  if (QVector3D::crossProduct(up, look).lengthSquared() < 1e-12f)
    up = std::abs(look.z()) < 0.9f ? QVector3D(0, 0, 1) : QVector3D(0, 1, 0);
  view.lookAt(camera.Position(), camera.Position() + look, up);
  return view;
}

QMatrix4x4 ProjectionMatrix(const TCamera& camera, float aspect)
{
  const float far = camera.DepthOfView();
  const float near = far * kNearFraction;
  const float half = ViewHalfHeight(camera.FocalLength());
  QMatrix4x4 projection;
  if (camera.Style() == TCameraStyle::Perspective)
    projection.perspective(2 * std::atan(half) * kRadToDeg, aspect, near, far);
  else
    projection.ortho(-half * aspect, half * aspect, -half, half, near, far);
  return projection;
}

QMatrix4x4 PickMatrix(int x, int y, QSize view, int size)
{
  const float w = static_cast<float>(view.width()), h = static_cast<float>(view.height());
  const float cx = 2 * (static_cast<float>(x) + 0.5f) / w - 1;
  const float cy = 1 - 2 * (static_cast<float>(y) + 0.5f) / h;
  const float sx = w / static_cast<float>(size), sy = h / static_cast<float>(size);
  return QMatrix4x4(sx, 0, 0, -sx * cx,
                    0, sy, 0, -sy * cy,
                    0, 0, 1, 0,
                    0, 0, 0, 1);
}

QPointF ProjectToView(const TCamera& camera, const QVector3D& point, QSize view)
{
  const float aspect = static_cast<float>(view.width()) / static_cast<float>(view.height());
  const QVector3D ndc = (ProjectionMatrix(camera, aspect) * ViewMatrix(camera)).map(point);
  return {(ndc.x() + 1) / 2 * view.width(), (1 - ndc.y()) / 2 * view.height()};
}
