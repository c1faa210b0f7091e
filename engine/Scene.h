// The scene: the root list of objects, in drawing order. Objects are created under the
// root, removed from it (the caller takes them) or destroyed at any time; any change of
// any object calls the change handler, which a viewer uses to draw again.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "SceneObject.h"

class TScene {
public:
  TScene() = default;
  ~TScene();
  TScene(const TScene&) = delete;
  TScene& operator=(const TScene&) = delete;

  // A new object of type T, appended to the root; the scene owns it.
  template <class T, class... Args>
  T& Create(Args&&... args)
  {
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *object;
    Add(std::move(object));
    return ref;
  }
  // Appends an object to the root.
  void Add(std::unique_ptr<TSceneObject> object);
  // Takes an object off the root and hands it to the caller; none when it is not there.
  std::unique_ptr<TSceneObject> Remove(TSceneObject& object);
  // Takes an object off the root and deletes it.
  void Destroy(TSceneObject& object);

  int Count() const { return static_cast<int>(FObjects.size()); }
  TSceneObject& Object(int index) const { return *FObjects.at(static_cast<std::size_t>(index)); }
  // The first object with this name, or none.
  TSceneObject* Find(const QString& name) const;

  // Called after any change of any object (many changes may come before a redraw).
  void SetChangeHandler(std::function<void()> handler) { FChanged = std::move(handler); }
  // Called with the id of an object that leaves the scene, so that its GPU copy can go.
  void SetRemoveHandler(std::function<void(std::uint64_t)> handler) { FRemoved = std::move(handler); }
  void NotifyChanged() const
  {
    if (FChanged)
      FChanged();
  }

private:
  std::vector<std::unique_ptr<TSceneObject>> FObjects;
  std::function<void()> FChanged;
  std::function<void(std::uint64_t)> FRemoved;
};
