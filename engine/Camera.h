// The camera: a scene object whose position and up vector place the eye, aiming at its
// target object (along its own direction when it has none), with a perspective or an
// orthogonal projection set by its focal length and depth of view (Projection.h).
#pragma once

#include "SceneObject.h"

enum class TCameraStyle { Perspective, Orthogonal };

class TCamera : public TSceneObject {
public:
  TCamera() : TSceneObject(TObjectKind::Camera) {}

  TSceneObject* Target() const { return FTarget; }
  void SetTarget(TSceneObject* target)
  {
    FTarget = target;
    Changed();
  }
  TCameraStyle Style() const { return FStyle; }
  void SetStyle(TCameraStyle style)
  {
    FStyle = style;
    Changed();
  }
  // Larger magnifies (Projection.h gives the mapping).
  float FocalLength() const { return FFocalLength; }
  void SetFocalLength(float focalLength)
  {
    FFocalLength = focalLength;
    Changed();
  }
  // How far from the eye the scene is drawn (scene units).
  float DepthOfView() const { return FDepthOfView; }
  void SetDepthOfView(float depth)
  {
    FDepthOfView = depth;
    Changed();
  }

  // The point looked at: the target's position, or one unit along the direction.
  QVector3D AimPoint() const;
  // Unit vector from the eye toward the aim point.
  QVector3D LookDirection() const;
  float DistanceToTarget() const { return (AimPoint() - Position()).length(); }

  // Orbits the eye about the aim point: a turn about the up vector and a pitch about the
  // eye's right-hand axis (degrees; positive pitch raises the eye toward up). The eye
  // stops half a degree short of the poles, so up keeps its meaning.
  void MoveAroundTarget(float pitchDegrees, float turnDegrees);
  // New distance to the aim point = old distance x ratio, along the same line.
  void AdjustDistanceToTarget(float ratio);

private:
  TSceneObject* FTarget = nullptr;
  TCameraStyle FStyle = TCameraStyle::Perspective;
  float FFocalLength = 50;
  float FDepthOfView = 100;
};
