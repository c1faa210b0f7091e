// Writes meshes as a 3DS file: the main chunk with the editor's mesh version, one material
// per object (name, ambient, diffuse and specular colours, shininess 50 %, opaque,
// two-sided, Phong shading), master scale 1 and one named triangle object per mesh with
// its points, identity local axes, faces with edge flags, material group and smoothing;
// last the keyframer's node of each object, which names it for readers that build a scene.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MeshModel.h"

struct TRgb {
  std::uint8_t R = 255, G = 255, B = 255;
};

struct TMaterial {
  std::string Name;
  TRgb Diffuse;
};

// One object of the file and the material all its faces use.
struct TFileObject {
  const TMeshObject* Mesh = nullptr;
  TMaterial Material;
};

std::vector<std::uint8_t> Write3ds(const std::vector<TFileObject>& objects);
