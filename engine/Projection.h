// What the camera sees, as plain matrices: the view matrix from the eye, its aim point and
// up vector, and the projection from the focal length and depth of view.
//
// Focal length F maps to the half height of the view: in perspective the tangent of half
// the vertical field of view is kFocalScale / F; orthogonally the view is 2 kFocalScale / F
// scene units high. So F = 100 in perspective sees 8 units high at 10 units from the eye,
// as much as F = 10 orthogonally, and a larger F magnifies in both. The view's width follows
// its aspect ratio. Depth of view is the far clipping distance from the eye; the near one
// is a two-thousandth of it.
#pragma once

#include <QMatrix4x4>
#include <QPointF>
#include <QSize>

class TCamera;

inline constexpr float kFocalScale = 40;

// Half the height of the view, in scene units at unit distance (perspective) or in scene
// units (orthogonal).
float ViewHalfHeight(float focalLength);
QMatrix4x4 ViewMatrix(const TCamera& camera);
// aspect = width / height of the view.
QMatrix4x4 ProjectionMatrix(const TCamera& camera, float aspect);

// The matrix that widens the size x size pixel square around pixel (x, y) (pixels from the
// top-left corner of a view of the given size) to the whole clip space; put in front of a
// projection to draw only that square.
QMatrix4x4 PickMatrix(int x, int y, QSize view, int size);

// Where a scene point appears in the view: pixel coordinates from the top-left corner
// (fractions: (0.5, 0.5) is the middle of the top-left pixel).
QPointF ProjectToView(const TCamera& camera, const QVector3D& point, QSize view);
