// Materials of the scene engine: the colours of a surface's front and back faces, its
// shininess and whether it blends with what lies behind it; and the material library, an
// ordered list of named materials that meshes share.
#pragma once

#include <QString>
#include <QVector4D>

#include <vector>

// Red, green, blue and alpha fractions.
using TColor = QVector4D;

// How one side of a surface answers light (the fixed-function lighting model).
struct TFaceColors {
  TColor Ambient{0.2f, 0.2f, 0.2f, 1};
  TColor Diffuse{0.8f, 0.8f, 0.8f, 1};  // its alpha is the surface's opacity
  TColor Specular{0, 0, 0, 1};
  TColor Emission{0, 0, 0, 1};
  float Shininess = 0;  // specular exponent, 0 .. 128
};

enum class TBlending {
  Opaque,        // alpha is ignored
  Transparency,  // drawn after the opaque objects, blended by the front diffuse alpha
};

struct TMaterial {
  TFaceColors Front;
  TFaceColors Back;
  TBlending Blending = TBlending::Opaque;
};

// Ordered named materials. Meshes that load into a library add one entry per material
// name they use; a name already present keeps its entry unchanged.
class TMaterialLibrary {
public:
  int Count() const { return static_cast<int>(FEntries.size()); }
  // Entry index (0 .. Count() - 1): its name and material.
  const QString& Name(int index) const { return FEntries.at(static_cast<std::size_t>(index)).Name; }
  const TMaterial& Material(int index) const { return FEntries.at(static_cast<std::size_t>(index)).Material; }
  void SetMaterial(int index, const TMaterial& material) { FEntries.at(static_cast<std::size_t>(index)).Material = material; }
  // Index of the entry with this name, -1 when there is none.
  int IndexOf(const QString& name) const;
  // The index of the entry named name, added with material when it is new.
  int AddOnce(const QString& name, const TMaterial& material);
  void Clear() { FEntries.clear(); }

private:
  struct TEntry {
    QString Name;
    TMaterial Material;
  };
  std::vector<TEntry> FEntries;
};
