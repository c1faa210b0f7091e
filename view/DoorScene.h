// The door's scene in the engine: every object of the view with its design-time settings,
// in drawing order, the twelve extra bridle-hole markers, the scene steps of building the
// model (meshes loaded again, ballast pieces made anew) and the placing of everything by
// the poses of an evaluation. It needs no GL context: the viewer draws it.
#pragma once

#include <QByteArray>

#include <array>
#include <functional>

#include "DoorView.h"
#include "engine/Camera.h"
#include "engine/Cube.h"
#include "engine/DummyCube.h"
#include "engine/FreeForm.h"
#include "engine/Lines.h"
#include "engine/Material.h"
#include "engine/Scene.h"
#include "engine/XYZGrid.h"

class TDoorScene {
public:
  // The complete mesh file of a resource number (1300 hull, 1301/1311/1321 brackets,
  // 1302 ballast).
  using TMeshSource = std::function<QByteArray(int resource)>;

  explicit TDoorScene(TMeshSource meshes);

  TScene& Scene() { return FScene; }
  const TScene& Scene() const { return FScene; }
  TCamera& Camera() { return *GLCamera1; }
  TMaterialLibrary& MaterialLibrary() { return GLMaterialLibrary1; }

  void BuildModel(const TSceneVariant& variant);
  void SetBallastCount(int count);
  void ApplyPoses(const TScenePoses& poses, Real gridXZ, Real gridXY);
  void SetSwitch(TViewSwitch which, bool on);

  // What a scene object is to the door: a marker of a group, another cube, or something
  // else; nothing for none.
  TViewPick Identify(const TSceneObject* object) const;
  // The cube of a marker group and index; none for anything else.
  TCube* CubeOf(const TViewPick& pick) const;

  // Objects the tests and the view look at.
  TFreeForm& Door() const { return *FDoor; }
  TFreeForm& Bracket() const { return *FBracket; }
  // Piece 0 .. 5; none before the first build.
  TFreeForm* BallastPiece(int index) const { return FBallastPieces.at(static_cast<std::size_t>(index)); }
  TCube& UpperHoleCube(int index) const { return *FUpperHoleCubes.at(static_cast<std::size_t>(index)); }
  TCube& LowerHoleCube(int index) const { return *FLowerHoleCubes.at(static_cast<std::size_t>(index)); }
  TCube& PairCube(int index) const { return *FPairCubes.at(static_cast<std::size_t>(index)); }
  TCube& TowCube(int index) const { return *FTowCubes.at(static_cast<std::size_t>(index)); }

private:
  void Compose();
  // A cube owned by the scene as a full copy of the marker after, kept in slot.
  void AddHoleMarker(TCube*& slot, const TCube& after);

  TMeshSource FMeshes;
  TScene FScene;
  TMaterialLibrary GLMaterialLibrary1;

  TLines* Warp = nullptr;
  TLines* BridleD = nullptr;
  TLines* BridleU = nullptr;
  TFreeForm* FBracket = nullptr;
  TFreeForm* FDoor = nullptr;
  TDummyCube* DummyCube1 = nullptr;
  TLines* BridleUF = nullptr;
  TLines* BridleDF = nullptr;
  TLines* GravF = nullptr;
  TLines* HydroWF = nullptr;
  TLines* HydroSF = nullptr;
  TCube* GravityDoor = nullptr;
  TCube* GravityBracket = nullptr;
  TCube* CubeHydroW = nullptr;
  TCube* CubeHydroS = nullptr;
  TCube* CubeGravity = nullptr;
  TXYZGrid* XYZGridXZ = nullptr;
  TXYZGrid* XYZGridXY = nullptr;
  TCamera* GLCamera1 = nullptr;
  std::array<TCube*, kHoleCount> FUpperHoleCubes{};
  std::array<TCube*, kHoleCount> FLowerHoleCubes{};
  std::array<TCube*, 6> FPairCubes{};           // CubeBrU1, CubeBrD1, ... CubeBrD3
  std::array<TCube*, kTowHoles> FTowCubes{};    // CubeF2u .. CubeF2d
  std::array<TCube*, 5> FCentreCubes{};         // GravityDoor, GravityBracket, CubeGravity, CubeHydroW, CubeHydroS
  std::array<TFreeForm*, kMaxBallast> FBallastPieces{};
};
