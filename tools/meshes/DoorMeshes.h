// The door's meshes in millimetres of the unit-scale door (X along the chord, Y the wing
// normal, Z up the span): the hull, the bracket of each size and one ballast plate.
#pragma once

#include <deque>
#include <vector>

#include "Write3ds.h"
#include "mechanics/DoorData.h"

// The objects of one file, in file order, each with its material.
struct TMeshFile {
  std::deque<TMeshObject> Objects;  // a deque keeps the objects in place as more are added
  std::vector<TMaterial> Materials;
  // Adds an object with the next material, named "*GLOBAL*", "*GLOBAL*01", ...
  TMeshObject& Add(const char* name, TRgb diffuse);
  std::vector<TFileObject> FileObjects() const;
};

TMeshFile HullMeshes();
TMeshFile BracketMeshes(TBracketSize size);
TMeshFile BallastMeshes();
