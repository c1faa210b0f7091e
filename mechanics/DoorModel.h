// The door model: the chosen variant, the rigging, the towing conditions, the seven
// coefficient curves and every result of the last evaluation. EvaluateDoor places the
// door in the flow at an attitude, computes the five loads (wing, span, two bridle legs,
// submerged weight) and their moment about the towing point.
#pragma once

#include <array>
#include <functional>

#include "DoorData.h"
#include "InputDefs.h"
#include "Tools.h"
#include "coefficients/CoefTables.h"

// The eight scalar inputs of an evaluation, SI units and radians; each starts where its
// edit starts.
struct TDoorInputs {
  Real TrawlResistance = InputDef(TInput::TrawlResistance).Start;  // N, shared by the four bridle legs of the pair
  Real TrawlSpeed = InputDef(TInput::TrawlSpeed).Start;            // m/s
  Real WaterDensity = InputDef(TInput::WaterDensity).Start;        // kg/m^3
  Real BridleAngleOnSide = InputDef(TInput::BridleAngleOnSide).Start;  // bridle attack angle, vertical projection
  Real BridleAngleOnPlan = InputDef(TInput::BridleAngleOnPlan).Start;  // bridle attack angle, horizontal projection
  Real BridleAngleBridle = InputDef(TInput::BridleAngleBridle).Start;  // angle between the bridles
  Real WarpAngleOnSide = InputDef(TInput::WarpAngleOnSide).Start;      // warp attack angle, vertical projection
  Real WarpAngleOnPlan = InputDef(TInput::WarpAngleOnPlan).Start;      // warp attack angle, horizontal projection
};

// Directions of the bridle legs and of the warp, which depend on the inputs only. The
// solver evaluates the door 20000 times a run with the same inputs, so they are kept
// until an angle changes.
struct TLegDirections {
  Txyz Upper;  // upper bridle leg, from the door toward the net
  Txyz Lower;  // lower bridle leg
  Txyz Warp;   // warp, from the door toward the vessel
};

class TLegDirectionCache {
public:
  const TLegDirections& For(const TDoorInputs& inputs);

private:
  bool FValid = false;
  Real FBridlePlan = 0, FBridleSide = 0, FBridleBetween = 0, FWarpPlan = 0, FWarpSide = 0;
  TLegDirections FLegs;
};

// Index of each load in the parallel load arrays.
enum TLoadIndex { kLoadWing = 0, kLoadSpan = 1, kLoadLowerBridle = 2, kLoadUpperBridle = 3,
                  kLoadWeight = 4 };
inline constexpr int kLoadCount = 5;

// Everything the last evaluation found; flow frame (+X downstream, +Y spreading, +Z up).
struct TDoorResults {
  std::array<Txyz, kHoleCount> FUpperHolesPos;  // every upper bridle hole
  std::array<Txyz, kHoleCount> FLowerHolesPos;  // every lower bridle hole
  Txyz FUpperHolePos, FLowerHolePos;            // the two chosen holes
  std::array<Txyz, 6> FPairPointsPos;           // the six bracket attachment points
  Txyz FPairUpperPos, FPairLowerPos;            // the chosen pair
  Txyz FWarpDir;                                // unit vector along the warp, toward the vessel
  Txyz FBracketDir;                             // unit vector along which the bracket lies
  std::array<Txyz, kTowHoles> FBracketHolesPos; // towing holes F2u .. F2d
  Txyz FTowPoint;                               // the chosen towing hole
  Txyz FHullCoG, FBracketCoG;                   // centres of gravity
  Real FAttackW = 0;                            // wing attack angle, radians, (-pi/2, pi/2]
  Real FAttackS = 0;                            // span attack angle, radians, (-pi/2, pi/2]
  std::array<Txyz, kLoadCount> FApplyPoint;     // points of application
  std::array<Txyz, kLoadCount> FLoad;           // the loads, N
  std::array<Txyz, kLoadCount> FLever;          // lever arms about the towing point, m
  std::array<Txyz, kLoadCount> FMomX, FMomY, FMomZ;  // moment terms per axis, N*m
  Txyz FForce;                                  // hydrodynamic force plus weight, N
  Txyz FMoment;                                 // moment about the towing point, N*m (Y reversed)
  Real FTotalMass = 0;                          // hull, bracket and ballast, kg
};

// (P.X s, P.Y s, P.Z s) in extended precision.
inline Txyz ScaledPoint(const TxyzSingle& p, Real s)
{
  return {Real(p.X) * s, Real(p.Y) * s, Real(p.Z) * s};
}
// pi/2 - SignedArcCos(cos of the angle between v and +X): the angle between v and the
// Y-Z plane for v.X > 0, in (pi/2, pi) for v.X < 0; 0 for a zero X component.
Real AttackAngleOf(const Txyz& v);
// The moment R x F split into its product terms, one term per component, so that the
// sum of the components of mx is (R x F).X, of my -(R x F).Y, of mz (R x F).Z.
void MomentTerms(const Txyz& f, const Txyz& r, Txyz& mx, Txyz& my, Txyz& mz);

class TDoorModel {
public:
  // The start-up door, built: scale 5, three ballast pieces, medium bracket, hole 1 of
  // row 1 for both bridles, bracket pair 1, towing hole F0, zero attitude.
  TDoorModel();

  // --- variant ----------------------------------------------------------------------
  // Unfolds the coefficient tables and builds the curves, takes the data of the chosen
  // bracket, works out the masses and returns the rigging to its first choices.
  // Does not evaluate.
  void BuildModel();
  // Scale of the door with wing area tag / 100 m^2; takes effect at the next BuildModel.
  void SetAreaTag(int tag) { FVariant.FDoorScale = DoorScaleForAreaTag(tag); }
  void SetDoorScale(Real scale) { FVariant.FDoorScale = scale; }
  // Number of ballast pieces, 1 .. 6; takes effect at once, no rebuild needed.
  void SetBallastCount(int count);
  // Bracket size; takes effect at the next BuildModel.
  void SetBracket(TBracketSize size) { FVariant.Bracket = size; }
  const TDoorVariant& Variant() const { return FVariant; }
  Real DoorScale() const { return FVariant.FDoorScale; }

  // --- rigging ----------------------------------------------------------------------
  void SelectUpperHole(int index);  // 0 .. 14, row-major
  void SelectLowerHole(int index);
  void SelectPair(TBracketPair pair) { FBracketPairCube = pair; }
  void SelectTowHole(TTowHole hole) { FTowCube = hole; }
  int UpperHoleIndex() const { return FUpperHoleCube; }
  int LowerHoleIndex() const { return FLowerHoleCube; }
  TBracketPair Pair() const { return FBracketPairCube; }
  TTowHole TowHole() const { return FTowCube; }

  // --- inputs, attitude, solver gain -------------------------------------------------
  TDoorInputs& Inputs() { return FInputs; }
  const TDoorInputs& Inputs() const { return FInputs; }
  // Called at the start of every evaluation to refresh the inputs from their owners
  // (the edits and dialogs of the window); none by default.
  void SetInputSource(std::function<void(TDoorInputs&)> source) { FInputSource = std::move(source); }
  const Txyz& Attitude() const { return FAttitude; }
  void SetAttitude(const Txyz& attitude) { FAttitude = attitude; }
  // Attitude change per step is M (pi/180) / factor radians, M in N*m.
  Real SolverFactor() const { return FSolverFactor; }
  void SetSolverFactor(Real factor) { FSolverFactor = factor; }

  // --- evaluation -------------------------------------------------------------------
  // Evaluates the door at attitude a, fills Results() and returns the moment about the
  // towing point (its Y component reversed). Allocates nothing.
  Txyz EvaluateDoor(const Txyz& a);
  // Flow-frame position of a bracket point p (bracket coordinates, already scaled) at
  // attitude a, for the chosen pair and the bracket direction of the last evaluation.
  Txyz BracketPoint(const Txyz& a, const Txyz& p) const;
  // Called in every evaluation with the wing attack angle before it is folded into
  // (-pi/2, pi/2]; the coefficient graph follows an animation through it.
  void SetAttackObserver(std::function<void(Real)> observer) { FAttackObserver = std::move(observer); }

  // The last evaluation. The marker fields (every hole, pair point and towing hole, the
  // levers and moment terms) are completed on first access after an evaluation.
  const TDoorResults& Results() const;
  TCoefficientCurves& Curves() { return FCurves; }

private:
  // What the markers of the last evaluation depend on besides its core results.
  struct TMarkerSnapshot {
    Txyz Attitude;
    Real Scale = 0;
    TBracketPair Pair = TBracketPair::Pair1;
    std::array<TxyzSingle, kTowHoles> TowHoles{};
  };

  static Txyz BracketPoint(const TRotation& rotation, TBracketPair pair, Real s, const Txyz& bracketDir,
                           const Txyz& p);
  void CompleteMarkers() const;

  TDoorVariant FVariant;
  TCoefficientCurves FCurves;
  int FUpperHoleCube = 0;
  int FLowerHoleCube = 0;
  Txyz FUpperHole;  // chosen upper hole, scaled door-frame point
  Txyz FLowerHole;  // chosen lower hole, scaled door-frame point
  TBracketPair FBracketPairCube = TBracketPair::Pair1;
  TTowHole FTowCube = TTowHole::F0;
  TDoorInputs FInputs;
  std::function<void(TDoorInputs&)> FInputSource;
  std::function<void(Real)> FAttackObserver;
  TLegDirectionCache FLegs;
  Txyz FAttitude;
  Real FSolverFactor = InputDef(TInput::SolverFactor).Start;
  mutable TDoorResults FResults;
  mutable bool FMarkersStale = false;
  TMarkerSnapshot FMarkerSnapshot;
};
