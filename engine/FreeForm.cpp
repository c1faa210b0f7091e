// Loading a free-form mesh and choosing the materials it is drawn with.
#include "FreeForm.h"

bool TFreeForm::LoadFromStream(const QByteArray& data, const QString& fileName)
{
  TMeshRead read = ReadMesh(data, fileName);
  FLoadError = read.Error;
  SetMesh(std::move(read.Mesh));
  return FMesh != nullptr;
}

void TFreeForm::SetMesh(std::shared_ptr<const TMeshData> mesh)
{
  FMesh = std::move(mesh);
  FPartEntries.clear();
  if (FMesh)
    for (const TMeshPart& part : FMesh->Parts) {
      int entry = -1;
      if (FLibrary && part.Material >= 0) {
        const TMeshMaterial& m = FMesh->Materials.at(static_cast<std::size_t>(part.Material));
        entry = FLibrary->AddOnce(m.Name, m.Material);
      }
      FPartEntries.push_back(entry);
    }
  GeometryChanged();
}

const TMaterial& TFreeForm::PartMaterial(int part) const
{
  const int entry = FUseMeshMaterials && FLibrary ? PartLibraryIndex(part) : -1;
  return entry >= 0 && entry < FLibrary->Count() ? FLibrary->Material(entry) : FMaterial;
}

bool TFreeForm::Translucent() const
{
  if (!FMesh)
    return false;
  for (int part = 0; part < static_cast<int>(FMesh->Parts.size()); ++part)
    if (PartMaterial(part).Blending == TBlending::Transparency)
      return true;
  return false;
}
