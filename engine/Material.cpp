// The material library.
#include "Material.h"

int TMaterialLibrary::IndexOf(const QString& name) const
{
  for (std::size_t i = 0; i < FEntries.size(); ++i)
    if (FEntries[i].Name == name)
      return static_cast<int>(i);
  return -1;
}

int TMaterialLibrary::AddOnce(const QString& name, const TMaterial& material)
{
  if (const int index = IndexOf(name); index >= 0)
    return index;
  FEntries.push_back({name, material});
  return Count() - 1;
}
