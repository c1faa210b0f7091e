// An invisible anchor (a camera aims at it, for instance) that can draw its axes: X red,
// Y green, Z blue, each from its centre to the length of its size and, paler, as far the
// other way.
#pragma once

#include "SceneObject.h"

class TDummyCube : public TSceneObject {
public:
  TDummyCube() : TSceneObject(TObjectKind::Dummy) {}

  float CubeSize() const { return FCubeSize; }
  void SetCubeSize(float size)
  {
    FCubeSize = size;
    Changed();
  }
  bool ShowAxes() const { return FShowAxes; }
  void SetShowAxes(bool show)
  {
    FShowAxes = show;
    Changed();
  }

private:
  float FCubeSize = 1;
  bool FShowAxes = false;
};
