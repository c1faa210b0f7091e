// The CPU side of a free-form mesh: triangles with per-vertex normals in parts, one part
// per object and material of the file, the materials as the file names them, and the
// extent. ReadMesh turns a mesh file in memory into one (through assimp).
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector3D>

#include <cstdint>
#include <memory>
#include <vector>

#include "Material.h"

struct TMeshVertex {
  QVector3D Position;
  QVector3D Normal;
};

// A run of triangles drawn with one material.
struct TMeshPart {
  int FirstIndex = 0;  // into TMeshData::Indices
  int IndexCount = 0;
  int Material = -1;   // into TMeshData::Materials, -1 for none
};

struct TMeshMaterial {
  QString Name;
  TMaterial Material;
};

struct TMeshData {
  std::vector<TMeshVertex> Vertices;
  std::vector<std::uint32_t> Indices;  // three per triangle
  std::vector<TMeshPart> Parts;
  std::vector<TMeshMaterial> Materials;
  QVector3D Min, Max;                  // extent of the vertices

  int TriangleCount() const { return static_cast<int>(Indices.size() / 3); }
};

struct TMeshRead {
  std::shared_ptr<const TMeshData> Mesh;  // none when the data could not be read
  QString Error;
};

// Reads a mesh file held in memory; the extension of fileName (".3ds") names its format.
// Coordinates are kept as the file has them.
TMeshRead ReadMesh(const QByteArray& data, const QString& fileName);
