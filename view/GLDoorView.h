// The 3D view proper: the door's scene drawn by the engine's viewer widget through its
// camera on the cream background, with the guide circle of a mouse drag painted over it.
#pragma once

#include <QPointer>

#include <memory>

#include "DoorScene.h"
#include "DoorView.h"
#include "engine/SceneViewer.h"

class TGLDoorView : public TDoorView {
public:
  explicit TGLDoorView(TDoorScene::TMeshSource meshes);
  ~TGLDoorView() override;

  QWidget* Widget() override;
  TSceneViewer& Viewer() const { return *FViewer; }
  TDoorScene& DoorScene() const { return *FScene; }

  void BuildModel(const TSceneVariant& variant) override { FScene->BuildModel(variant); }
  void SetBallastCount(int count) override { FScene->SetBallastCount(count); }
  void SetSwitch(TViewSwitch which, bool on) override { FScene->SetSwitch(which, on); }
  TCameraStation CameraStation() const override;
  void SetCameraStation(const TCameraStation& station) override;
  void OrbitCamera(Real pitchDegrees, Real turnDegrees) override;
  void ScaleCameraDistance(Real ratio) override;
  bool Perspective() const override;
  Real FocalLength() const override;
  void SetFocalLength(Real focalLength) override;
  TViewPick Pick(int x, int y) override;
  void SetHighlight(const TViewPick& cube, bool on) override;
  void SetGuideCircle(bool shown) override;

protected:
  void ApplyPoses(const TScenePoses& poses, Real gridXZ, Real gridXY) override
  {
    FScene->ApplyPoses(poses, gridXZ, gridXY);
  }

private:
  std::unique_ptr<TDoorScene> FScene;
  QPointer<TSceneViewer> FViewer;
  bool FGuideCircle = false;
};
