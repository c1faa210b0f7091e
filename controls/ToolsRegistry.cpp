// Settings reads with a default.
#include "controls/ToolsRegistry.h"

#include "platform/Registry.h"

Real RegReadRealDef(const TRegistry& registry, const QString& name, Real def)
{
  if (!registry.ValueExists(name))
    return def;
  return registry.ReadReal(name).value_or(def);
}

bool RegReadBoolDef(const TRegistry& registry, const QString& name, bool def)
{
  if (!registry.ValueExists(name))
    return def;
  return registry.ReadBool(name).value_or(def);
}
