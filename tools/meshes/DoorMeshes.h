// The door's meshes in millimetres of the unit-scale door (X along the chord, Y the wing
// normal, Z up the span): the hull, the bracket of each size and one ballast plate.
#pragma once

#include <vector>

#include "Write3ds.h"
#include "mechanics/DoorData.h"

// The objects of one file, in file order, each with its material.
struct TMeshFile {
  std::vector<TMeshObject> Objects;
  std::vector<TMaterial> Materials;
  std::vector<TFileObject> FileObjects() const;
};

TMeshFile HullMeshes();
TMeshFile BracketMeshes(TBracketSize size);
TMeshFile BallastMeshes();
