// The warnings every balance carries: not converged, unstable, wing stalled, door
// falling over. Their limits are named here and nowhere else.
#pragma once

#include "coefficients/Real.h"

// The wing stalls beyond the lift peak of the quarter-circle coefficient table, radians
// (47.5 degrees, the row of the largest Cy).
inline constexpr Real kStallAttackAngle = 47.5L * kDegToRad;
// A door heeled or pitched this far or more is falling over, radians (30 degrees).
inline constexpr Real kFallingOverAngle = 30 * kDegToRad;

enum class TBalanceWarning : unsigned {
  NotConverged = 1u << 0,  // the balance ended without reaching the tolerance
  Unstable = 1u << 1,      // balanced, but a small push turns the door away
  Stalled = 1u << 2,       // |wing attack angle| beyond the lift peak
  FallingOver = 1u << 3,   // |heel| or |pitch| at or beyond kFallingOverAngle
};
inline constexpr TBalanceWarning kAllWarnings[] = {TBalanceWarning::NotConverged, TBalanceWarning::Unstable,
                                                   TBalanceWarning::Stalled, TBalanceWarning::FallingOver};

class TWarnings {
public:
  void Add(TBalanceWarning w) { FBits |= static_cast<unsigned>(w); }
  bool Has(TBalanceWarning w) const { return (FBits & static_cast<unsigned>(w)) != 0; }
  bool None() const { return FBits == 0; }
  unsigned Bits() const { return FBits; }

private:
  unsigned FBits = 0;
};

// The machine-readable word: "not_converged", "unstable", "stalled", "falling_over".
const char* WarningWord(TBalanceWarning w);

// The warnings of a door at an attitude. stable is consulted only when converged: an
// attitude that is no balance has no stability to speak of.
TWarnings WarningsFor(bool converged, bool stable, Real attackAngle, Real heel, Real pitch);
