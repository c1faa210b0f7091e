// A grid of lines: each axis is sampled from its minimum to its maximum by its step, and
// the grid draws lines along the chosen axes through every sample of the other two.
#pragma once

#include <array>
#include <vector>

#include "Material.h"
#include "SceneObject.h"

// Samples of one axis: min, min + step, ... up to max (only min when step is not positive).
struct TGridAxis {
  float Min = 0;
  float Max = 0;
  float Step = 1;
};

// Which lines a grid draws, as flags.
enum TGridParts : int { kGridAlongX = 1, kGridAlongY = 2, kGridAlongZ = 4 };

enum class TGridLineStyle {
  Continuous,
  Dashed,  // dashes and gaps of a quarter of the step of the axis the line runs along
};

class TXYZGrid : public TSceneObject {
public:
  TXYZGrid() : TSceneObject(TObjectKind::Grid) {}

  const TColor& LineColor() const { return FLineColor; }
  void SetLineColor(const TColor& color)
  {
    FLineColor = color;
    Changed();
  }
  // Axis 0 x, 1 y, 2 z.
  const TGridAxis& SamplingScale(int axis) const { return FAxes.at(static_cast<std::size_t>(axis)); }
  void SetSamplingScale(int axis, const TGridAxis& scale)
  {
    FAxes.at(static_cast<std::size_t>(axis)) = scale;
    GeometryChanged();
  }
  int Parts() const { return FParts; }
  void SetParts(int parts)
  {
    FParts = parts;
    GeometryChanged();
  }
  TGridLineStyle LineStyle() const { return FLineStyle; }
  void SetLineStyle(TGridLineStyle style)
  {
    FLineStyle = style;
    GeometryChanged();
  }

  // The end points of every segment, two by two, in the grid's own coordinates.
  std::vector<QVector3D> LineVertices() const;

private:
  TColor FLineColor{0.5f, 0.5f, 0.5f, 1};
  std::array<TGridAxis, 3> FAxes{TGridAxis{-1, 1, 0.1f}, TGridAxis{-1, 1, 0.1f}, TGridAxis{-1, 1, 0.1f}};
  int FParts = kGridAlongX | kGridAlongY | kGridAlongZ;
  TGridLineStyle FLineStyle = TGridLineStyle::Continuous;
};
