// A polyline: straight segments between ordered nodes in the object's own coordinates,
// drawn in one colour and width; the nodes themselves are not drawn.
#pragma once

#include <vector>

#include "Material.h"
#include "SceneObject.h"

class TLines : public TSceneObject {
public:
  TLines() : TSceneObject(TObjectKind::Lines) {}

  int NodeCount() const { return static_cast<int>(FNodes.size()); }
  // Grows with nodes at the origin or drops the last ones.
  void SetNodeCount(int count)
  {
    FNodes.resize(static_cast<std::size_t>(count));
    GeometryChanged();
  }
  const QVector3D& Node(int index) const { return FNodes.at(static_cast<std::size_t>(index)); }
  const std::vector<QVector3D>& Nodes() const { return FNodes; }
  void SetNode(int index, const QVector3D& node)
  {
    FNodes.at(static_cast<std::size_t>(index)) = node;
    GeometryChanged();
  }
  // One coordinate of a node: 0 x, 1 y, 2 z.
  void SetNodeComponent(int index, int component, float value)
  {
    FNodes.at(static_cast<std::size_t>(index))[component] = value;
    GeometryChanged();
  }

  const TColor& LineColor() const { return FLineColor; }
  void SetLineColor(const TColor& color)
  {
    FLineColor = color;
    Changed();
  }
  // Pixels.
  float LineWidth() const { return FLineWidth; }
  void SetLineWidth(float width)
  {
    FLineWidth = width;
    Changed();
  }

private:
  std::vector<QVector3D> FNodes;
  TColor FLineColor{1, 1, 1, 1};
  float FLineWidth = 1;
};
