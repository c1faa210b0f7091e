// A point light shining the same in every direction (spot cut-off 180 degrees); its light
// falls off by the constant attenuation only.
#pragma once

#include "Material.h"
#include "SceneObject.h"

class TLight : public TSceneObject {
public:
  TLight() : TSceneObject(TObjectKind::Light) {}

  // Intensity is 1 / constant attenuation.
  float ConstantAttenuation() const { return FConstantAttenuation; }
  void SetConstantAttenuation(float attenuation)
  {
    FConstantAttenuation = attenuation;
    Changed();
  }
  // Only omnidirectional lights are drawn: the cut-off is kept, and 180 is what it is.
  float SpotCutOff() const { return FSpotCutOff; }
  void SetSpotCutOff(float degrees)
  {
    FSpotCutOff = degrees;
    Changed();
  }
  const TColor& Diffuse() const { return FDiffuse; }
  void SetDiffuse(const TColor& color)
  {
    FDiffuse = color;
    Changed();
  }

private:
  float FConstantAttenuation = 1;
  float FSpotCutOff = 180;
  TColor FDiffuse{1, 1, 1, 1};
};
