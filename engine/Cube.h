// A cube (a box with edge lengths along its own X, Y and Z axes) of one material.
#pragma once

#include "Material.h"
#include "SceneObject.h"

class TCube : public TSceneObject {
public:
  TCube() : TSceneObject(TObjectKind::Cube) {}

  // Edge lengths along the cube's own axes, before its scale.
  const QVector3D& Size() const { return FSize; }
  void SetSize(const QVector3D& size)
  {
    FSize = size;
    Changed();
  }

  const TMaterial& Material() const { return FMaterial; }
  void SetMaterial(const TMaterial& material)
  {
    FMaterial = material;
    Changed();
  }
  void SetFrontDiffuse(const TColor& color)
  {
    FMaterial.Front.Diffuse = color;
    Changed();
  }
  void SetShininess(float shininess)
  {
    FMaterial.Front.Shininess = shininess;
    Changed();
  }
  void SetEmission(const TColor& color)
  {
    FMaterial.Front.Emission = color;
    Changed();
  }

  // Takes every property of another cube but its name: placement, size, material.
  void Assign(const TCube& other)
  {
    FSize = other.FSize;
    FMaterial = other.FMaterial;
    AssignPlacement(other);
  }

private:
  QVector3D FSize{1, 1, 1};
  TMaterial FMaterial;
};
