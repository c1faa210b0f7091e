// The door's meshes, complete 3DS files embedded in the program: the hull, the small,
// medium and large bracket and the ballast plate, by resource number. They are written by
// the build's mesh generator (tools/meshes) in millimetres of the unit-scale door.
#pragma once

#include <QByteArray>

inline constexpr int kWingMesh = 1300, kBracketSmallMesh = 1301, kBracketMediumMesh = 1311,
                     kBracketLargeMesh = 1321, kBallastMesh = 1302;

// The complete 3DS file of mesh resource id; empty for an unknown id.
QByteArray MeshResource(int id);
