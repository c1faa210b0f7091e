// A view that draws nothing: a cream panel in place of the scene. It keeps the display
// state and the camera as a real view would, so that the window behaves the same in
// widget tests, which need no OpenGL.
#pragma once

#include <QPointer>

#include "DoorView.h"

class TNullDoorView : public TDoorView {
public:
  // note: a line shown on the panel, none by default.
  explicit TNullDoorView(const QString& note = {});
  ~TNullDoorView() override;

  QWidget* Widget() override { return FWidget; }
  void BuildModel(const TSceneVariant& variant) override { FVariant = variant; }
  void SetBallastCount(int count) override { FVariant.BallastCount = count; }
  void SetSwitch(TViewSwitch which, bool on) override;
  TCameraStation CameraStation() const override { return FStation; }
  void SetCameraStation(const TCameraStation& station) override { FStation = station; }
  void OrbitCamera(Real, Real) override {}
  void ScaleCameraDistance(Real) override {}
  bool Perspective() const override { return FPerspective; }
  Real FocalLength() const override { return FFocalLength; }
  void SetFocalLength(Real focalLength) override { FFocalLength = focalLength; }
  TViewPick Pick(int, int) override { return {}; }
  void SetHighlight(const TViewPick&, bool) override {}
  void SetGuideCircle(bool) override {}

  // What it was last told.
  const TSceneVariant& Variant() const { return FVariant; }
  bool Switch(TViewSwitch which) const { return FSwitches[static_cast<std::size_t>(which)]; }

protected:
  void ApplyPoses(const TScenePoses&, Real, Real) override {}

private:
  QPointer<QWidget> FWidget;
  TSceneVariant FVariant;
  TCameraStation FStation;
  bool FPerspective = true;
  Real FFocalLength = kPerspectiveFocalLength;
  std::array<bool, 7> FSwitches{};
};
