// Mesh files through assimp. Its 3DS reader turns the whole scene to a Y-up frame at the
// root node; the root's transform is left out here, so the coordinates are the file's.
#include "MeshData.h"

#include <QFileInfo>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <limits>

namespace {

// Specular exponents above this are clamped: what a fixed-function pipeline accepted.
constexpr float kMaxShininess = 128;

TColor ColorOf(const aiMaterial& m, const char* key, unsigned type, unsigned index, const TColor& fallback)
{
  aiColor4D c;
  if (m.Get(key, type, index, c) != AI_SUCCESS)
    return fallback;
  return {c.r, c.g, c.b, 1};
}

TMeshMaterial MaterialOf(const aiMaterial& m)
{
  TMeshMaterial out;
  aiString name;
  if (m.Get(AI_MATKEY_NAME, name) == AI_SUCCESS)
    out.Name = QString::fromUtf8(name.C_Str());
  TFaceColors face;
  face.Diffuse = ColorOf(m, AI_MATKEY_COLOR_DIFFUSE, face.Diffuse);
  face.Ambient = ColorOf(m, AI_MATKEY_COLOR_AMBIENT, face.Ambient);
  face.Emission = ColorOf(m, AI_MATKEY_COLOR_EMISSIVE, face.Emission);
  float opacity = 1;
  if (m.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS)
    face.Diffuse[3] = opacity;
  float shininess = 0;
  if (m.Get(AI_MATKEY_SHININESS, shininess) == AI_SUCCESS && shininess > 0) {
    float strength = 1;
    m.Get(AI_MATKEY_SHININESS_STRENGTH, strength);
    face.Specular = ColorOf(m, AI_MATKEY_COLOR_SPECULAR, face.Specular) * strength;
    face.Specular[3] = 1;
    face.Shininess = std::min(shininess, kMaxShininess);
  }
  // Without an exponent a specular colour would light every face fully; leave it out.
  out.Material.Front = face;
  out.Material.Back = face;  // mesh faces are seen from both sides alike
  out.Material.Blending = face.Diffuse[3] < 1 ? TBlending::Transparency : TBlending::Opaque;
  return out;
}

void AddNode(const aiScene& scene, const aiNode& node, const aiMatrix4x4& transform, TMeshData& out)
{
  aiMatrix3x3 normalTransform(transform);
  normalTransform.Inverse().Transpose();
  for (unsigned k = 0; k < node.mNumMeshes; ++k) {
    const aiMesh& mesh = *scene.mMeshes[node.mMeshes[k]];
    const auto base = static_cast<std::uint32_t>(out.Vertices.size());
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
      const aiVector3D p = transform * mesh.mVertices[v];
      aiVector3D n = mesh.HasNormals() ? normalTransform * mesh.mNormals[v] : aiVector3D(0, 0, 1);
      n.Normalize();
      out.Vertices.push_back({QVector3D(p.x, p.y, p.z), QVector3D(n.x, n.y, n.z)});
    }
    TMeshPart part;
    part.FirstIndex = static_cast<int>(out.Indices.size());
    part.Material = static_cast<int>(mesh.mMaterialIndex);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3)
        continue;  // points and lines left over by the file
      for (unsigned i = 0; i < 3; ++i)
        out.Indices.push_back(base + face.mIndices[i]);
    }
    part.IndexCount = static_cast<int>(out.Indices.size()) - part.FirstIndex;
    out.Parts.push_back(part);
  }
  for (unsigned c = 0; c < node.mNumChildren; ++c)
    AddNode(scene, *node.mChildren[c], transform * node.mChildren[c]->mTransformation, out);
}

}  // namespace

TMeshRead ReadMesh(const QByteArray& data, const QString& fileName)
{
  const QByteArray hint = QFileInfo(fileName).suffix().toLower().toUtf8();
  if (data.isEmpty())
    return {nullptr, QStringLiteral("%1: no data").arg(fileName)};
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFileFromMemory(data.constData(), static_cast<std::size_t>(data.size()),
                                                     aiProcess_Triangulate | aiProcess_GenNormals | aiProcess_JoinIdenticalVertices,
                                                     hint.constData());
  if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE))
    return {nullptr, QStringLiteral("%1: %2").arg(fileName, QString::fromUtf8(importer.GetErrorString()))};

  auto mesh = std::make_shared<TMeshData>();
  for (unsigned m = 0; m < scene->mNumMaterials; ++m)
    mesh->Materials.push_back(MaterialOf(*scene->mMaterials[m]));
  AddNode(*scene, *scene->mRootNode, aiMatrix4x4(), *mesh);

  constexpr float inf = std::numeric_limits<float>::infinity();
  QVector3D lo(inf, inf, inf), hi(-inf, -inf, -inf);
  for (const TMeshVertex& v : mesh->Vertices)
    for (int i = 0; i < 3; ++i) {
      lo[i] = std::min(lo[i], v.Position[i]);
      hi[i] = std::max(hi[i], v.Position[i]);
    }
  mesh->Min = mesh->Vertices.empty() ? QVector3D() : lo;
  mesh->Max = mesh->Vertices.empty() ? QVector3D() : hi;
  return {std::move(mesh), {}};
}
