// The warnings of a balance and their limits.
#include <gtest/gtest.h>

#include "coefficients/CoefTables.h"
#include "mechanics/BalanceWarnings.h"

namespace {

TEST(BalanceWarnings, StallAngleIsTheLiftPeakOfTheTable)
{
  const TCoefRow* peak = &CoefTable[0];
  for (const TCoefRow& row : CoefTable)
    if (row.Cy > peak->Cy)
      peak = &row;
  EXPECT_EQ(peak->Angle, 47.5L);
  EXPECT_EQ(kStallAttackAngle, peak->Angle * kDegToRad);
}

TEST(BalanceWarnings, EachWarningAtItsLimit)
{
  using W = TBalanceWarning;
  struct Case {
    const char* Name;
    bool Converged, Stable;
    Real AttackDeg, HeelDeg, PitchDeg;
    unsigned Expected;
  };
  const unsigned none = 0, notConverged = unsigned(W::NotConverged), unstable = unsigned(W::Unstable),
                 stalled = unsigned(W::Stalled), falling = unsigned(W::FallingOver);
  const Case cases[] = {
      {"quiet", true, true, 10, 3, -2, none},
      // No balance, no stability to speak of: only the missing convergence.
      {"not converged", false, false, 10, 3, -2, notConverged},
      {"unstable", true, false, 10, 3, -2, unstable},
      {"at the lift peak", true, true, 47.5L, 0, 0, none},
      {"past the lift peak", true, true, 47.6L, 0, 0, stalled},
      {"stalled backwards", true, true, -50, 0, 0, stalled},
      {"heel just short", true, true, 0, 29.9L, 0, none},
      {"heel at the limit", true, true, 0, 30, 0, falling},
      {"heel inward", true, true, 0, -31, 0, falling},
      {"pitch at the limit", true, true, 0, 0, -30, falling},
      {"everything", false, false, 60, 40, 40, notConverged | stalled | falling},
  };
  for (const Case& c : cases) {
    const TWarnings w = WarningsFor(c.Converged, c.Stable, c.AttackDeg * kDegToRad, c.HeelDeg * kDegToRad,
                                    c.PitchDeg * kDegToRad);
    EXPECT_EQ(w.Bits(), c.Expected) << c.Name;
  }
}

}  // namespace
