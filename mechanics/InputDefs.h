// The numeric inputs of a balance, defined once: the towing conditions, the angle between
// the bridles and the solver factor, each with its name, start value, range, display unit
// and decimals. The window's edits and dialogs, the command-line programs and the link's
// stand-in all take their numbers from this table.
#pragma once

#include <array>
#include <cstddef>

#include "coefficients/Real.h"

// One display degree of the four warp and bridle direction edits, as their layout gives it.
inline constexpr Real kAngleEditMultiplier = 0.017453292519943295L;
// One display degree of the between-bridles edit, as the units catalogue gives it.
inline constexpr Real kCatalogueDegree = 0.0174532925199433L;
// The direction edits accept magnitudes below this many degrees only: at 90 degrees the
// bridle pull along the flow has no finite lateral part, and an entry that shows as 90.000
// at three decimals is that angle.
inline constexpr Real kAngleEditLimitDegrees = 89.9995L;
// Their open range, radians: ]-kAngleEditBound .. kAngleEditBound[.
inline constexpr Real kAngleEditBound = kAngleEditLimitDegrees * kAngleEditMultiplier;

struct TInputDef {
  const char* Name;  // the edit's name, which is also its settings value name
  Real Start;        // the value at start-up, internal units
  Real Default;      // what a value outside the range becomes, internal units
  Real Min, Max;     // the range, internal units
  bool MinIncl;      // Min belongs to the range
  bool MaxIncl;      // Max belongs to the range
  Real Multiplier;   // one display unit in internal units
  int Decimals;      // decimals shown

  // Whether v lies in the range.
  constexpr bool Holds(Real v) const
  {
    return (MinIncl ? v >= Min : v > Min) && (MaxIncl ? v <= Max : v < Max);
  }
};

enum class TInput {
  TrawlSpeed,         // m/s
  TrawlResistance,    // N, shown in kN
  WaterDensity,       // kg/m^3
  WarpAngleOnPlan,    // rad, shown in degrees
  WarpAngleOnSide,    // rad, shown in degrees
  BridleAngleOnPlan,  // rad, shown in degrees
  BridleAngleOnSide,  // rad, shown in degrees
  BridleAngleBridle,  // rad, shown in degrees
  SolverFactor,       // N*m per degree of turn per step
};

inline constexpr std::array<TInputDef, 9> kInputDefs = {{
    {"TrawlSpeed", 2, 2, 0.1L, 10, true, true, 1, 3},
    {"TrawlResistance", 100000, 100000, 100, 10000000, true, true, 1000, 3},
    {"WDens", 1030, 1030, 800, 1100, true, true, 1, 3},
    {"WarpAngleOnPlan", 0, 0, -kAngleEditBound, kAngleEditBound, false, false, kAngleEditMultiplier, 3},
    {"WarpAngleOnSide", 0, 0, -kAngleEditBound, kAngleEditBound, false, false, kAngleEditMultiplier, 3},
    {"BridleAngleOnPlan", 0, 0, -kAngleEditBound, kAngleEditBound, false, false, kAngleEditMultiplier, 3},
    {"BridleAngleOnSide", 0, 0, -kAngleEditBound, kAngleEditBound, false, false, kAngleEditMultiplier, 3},
    // 5 degrees at first, up to just under 80 degrees.
    {"BridleAngleBridle", 0.08726646259971647L, 0.08726646259971647L, 0, 1.396L, true, true, kCatalogueDegree, 3},
    // The finest solving at first; an entry out of range asks for a quicker one.
    {"SolverFactor", 10000, 50, 5, 10000, true, true, 1, 1},
}};

constexpr const TInputDef& InputDef(TInput input) { return kInputDefs[std::size_t(input)]; }
