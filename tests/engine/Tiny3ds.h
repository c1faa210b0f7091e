// A small writer of 3D Studio files for tests: named materials with a diffuse colour, and
// objects of triangles, each faced with one material. Enough to feed the mesh reader
// files whose every vertex the test knows.
#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct T3dsMaterial {
  std::string Name;
  std::array<std::uint8_t, 3> Diffuse{255, 255, 255};
};

struct T3dsObject {
  std::string Name;
  std::string Material;
  std::vector<std::array<float, 3>> Vertices;
  std::vector<std::array<std::uint16_t, 3>> Faces;
};

// An axis-aligned box from lo to hi: 8 vertices and 12 triangles.
T3dsObject Box3ds(const std::string& name, const std::string& material, std::array<float, 3> lo,
                  std::array<float, 3> hi);
// A whole file: the materials, then the objects.
QByteArray Write3ds(const std::vector<T3dsMaterial>& materials, const std::vector<T3dsObject>& objects);
