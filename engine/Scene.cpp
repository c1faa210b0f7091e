// The scene's root list.
#include "Scene.h"

#include <algorithm>

#include "Camera.h"

TScene::~TScene()
{
  // Objects leave without telling anyone: whoever listened goes with the scene.
  FChanged = nullptr;
  FRemoved = nullptr;
  for (auto& object : FObjects)
    object->FScene = nullptr;
}

void TScene::Add(std::unique_ptr<TSceneObject> object)
{
  object->FScene = this;
  FObjects.push_back(std::move(object));
  NotifyChanged();
}

std::unique_ptr<TSceneObject> TScene::Remove(TSceneObject& object)
{
  const auto found = std::find_if(FObjects.begin(), FObjects.end(), [&](const auto& p) { return p.get() == &object; });
  if (found == FObjects.end())
    return nullptr;
  std::unique_ptr<TSceneObject> taken = std::move(*found);
  FObjects.erase(found);
  taken->FScene = nullptr;
  // A camera must not aim at an object that has left.
  for (auto& other : FObjects)
    if (other->Kind() == TObjectKind::Camera) {
      auto& camera = static_cast<TCamera&>(*other);
      if (camera.Target() == taken.get())
        camera.SetTarget(nullptr);
    }
  if (FRemoved)
    FRemoved(taken->Id());
  NotifyChanged();
  return taken;
}

void TScene::Destroy(TSceneObject& object) { Remove(object).reset(); }

TSceneObject* TScene::Find(const QString& name) const
{
  for (const auto& object : FObjects)
    if (object->Name() == name)
      return object.get();
  return nullptr;
}
