// A free-form mesh object: geometry read from a mesh file in memory, drawn either with the
// materials the file names (through a material library the mesh adds them to) or with the
// object's own single material.
#pragma once

#include <memory>
#include <vector>

#include "Material.h"
#include "MeshData.h"
#include "SceneObject.h"

class TFreeForm : public TSceneObject {
public:
  TFreeForm() : TSceneObject(TObjectKind::FreeForm) {}

  // The library that receives the materials of the meshes loaded from now on; none: the
  // object draws with its own material.
  TMaterialLibrary* MaterialLibrary() const { return FLibrary; }
  void SetMaterialLibrary(TMaterialLibrary* library) { FLibrary = library; }

  // Replaces the geometry with the mesh file in data; the extension of fileName names the
  // format. With a library, every material name of the file gets its entry (a name the
  // library already holds keeps its entry). False, with LoadError() saying why and no
  // geometry left, when the data do not read.
  bool LoadFromStream(const QByteArray& data, const QString& fileName);
  // Shares an already read mesh instead of reading it again.
  void SetMesh(std::shared_ptr<const TMeshData> mesh);
  const QString& LoadError() const { return FLoadError; }
  // None before a load.
  const TMeshData* Mesh() const { return FMesh.get(); }

  // True: parts draw with their library entries; false (or without a library): all of the
  // object draws with Material().
  bool UseMeshMaterials() const { return FUseMeshMaterials; }
  void SetUseMeshMaterials(bool use)
  {
    FUseMeshMaterials = use;
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

  // The library entry of each part of the mesh (-1 without one).
  int PartLibraryIndex(int part) const { return FPartEntries.at(static_cast<std::size_t>(part)); }
  // The material a part is drawn with now.
  const TMaterial& PartMaterial(int part) const;
  // Whether any of it is drawn blended with what lies behind.
  bool Translucent() const;

private:
  TMaterialLibrary* FLibrary = nullptr;
  std::shared_ptr<const TMeshData> FMesh;
  std::vector<int> FPartEntries;
  QString FLoadError;
  bool FUseMeshMaterials = true;
  TMaterial FMaterial;
};
