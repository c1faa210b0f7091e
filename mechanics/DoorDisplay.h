// The pure part of showing an evaluation: where every scene object goes, the nodes of
// the force lines, the scrolling of the water grids, the bracket's roll and the values of
// the read-outs. The window and the 3D view only apply what these functions return.
#pragma once

#include <array>
#include <cstdint>

#include "DoorModel.h"

// Scene positions are single precision, as the scene engine keeps them.
inline TxyzSingle ToSingle(const Txyz& v)
{
  return {static_cast<float>(v.X), static_cast<float>(v.Y), static_cast<float>(v.Z)};
}
inline Txyz ToReal(const TxyzSingle& v) { return {Real(v.X), Real(v.Y), Real(v.Z)}; }

// The seven nodes of a force line for force f applied at p, k scene units per newton:
// strokes along X, Y and Z from p, each back to p, and last the resultant p + k f.
std::array<TxyzSingle, 7> DrawForceLines(const Txyz& p, const Txyz& f, Real k);

// The water grids scroll downstream at the trawl speed and wrap from X = 10 to -10.
inline constexpr Real kGridWrapX = 10;
// Seconds between two refreshes, counted in whole milliseconds.
inline Real ElapsedSeconds(std::int64_t milliseconds) { return Real(milliseconds) / 1000; }
// New X of a grid at x after dt seconds at speed m/s.
Real ScrollGridX(Real x, Real dt, Real speed);

// Roll of the bracket model in degrees: it turns about the pair axis until it points at
// its F0 hole. v runs from the bracket's position to the F0 marker, up is the model's up
// vector after orientation; the result is never above 0.
Real BracketRollAngle(const Txyz& v, const Txyz& up);

// The numbers of the side panel, SI units (the edits divide by their multipliers).
struct TReadouts {
  Real AngleAttack = 0;    // wing attack angle, radians
  Real ResResistance = 0;  // X of the hydrodynamic force, N
  Real ResSpreading = 0;   // Y of the hydrodynamic force, N
  Real ResVertical = 0;    // Z of the hydrodynamic force plus the submerged weight, N
  Txyz Moment;             // N*m
};
TReadouts ComputeReadouts(const TDoorResults& results);

// Automatic force scale: half the largest absolute load component (newtons per scene
// unit), so that the longest stroke is two units long.
Real AutoForceScaleValue(const TDoorResults& results);

// A two-node line: its origin and its far end.
struct TLinePose {
  TxyzSingle From, To;
};

// Where everything of the scene goes after an evaluation.
struct TScenePoses {
  // Meshes. Door and bracket turn by the attitude about the origin; the bracket then
  // moves to its pair and rolls toward F0. Ballast pieces turn by the attitude and sit at
  // their height (only the fitted ones are shown).
  Txyz MeshAnglesDeg;                             // (AngleX, -AngleY, AngleZ), degrees
  Txyz MeshUp;                                    // the meshes' up vector after turning
  Txyz MeshDirection;                             // their direction vector after turning
  TxyzSingle BracketPosition;
  Real BracketRollDeg = 0;
  // The bracket mesh's up vector once hinged: square to the pair axis (MeshDirection), its
  // opposite pointing from BracketPosition to the F0 hole. With MeshDirection it turns the
  // bracket exactly as its towing holes are turned.
  Txyz BracketUp;
  std::array<TxyzSingle, kMaxBallast> BallastPositions;
  int BallastCount = 0;

  // Markers.
  std::array<TxyzSingle, kHoleCount> UpperHoleCubes;
  std::array<TxyzSingle, kHoleCount> LowerHoleCubes;
  std::array<TxyzSingle, 6> PairCubes;            // CubeBrU1, CubeBrD1, ... CubeBrD3
  std::array<TxyzSingle, kTowHoles> TowCubes;     // CubeF2u .. CubeF2d
  TxyzSingle GravityDoor, GravityBracket, CubeGravity, CubeHydroW, CubeHydroS;

  // Lines. Bridle legs have the same drawn length at every door size; the warp grows
  // with the door.
  TLinePose BridleU, BridleD, Warp;
  std::array<TxyzSingle, 7> BridleUF, BridleDF, GravF, HydroWF, HydroSF;
};

// angleEditsDeg: the values of the three rotation edits (degrees); forceScale: newtons per
// scene unit of the force lines.
TScenePoses ComputeScenePoses(const TDoorModel& model, const Txyz& angleEditsDeg, Real forceScale);
