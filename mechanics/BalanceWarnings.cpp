// Warnings of a balance.
#include "BalanceWarnings.h"

#include <cmath>

const char* WarningWord(TBalanceWarning w)
{
  switch (w) {
    case TBalanceWarning::NotConverged: return "not_converged";
    case TBalanceWarning::Unstable: return "unstable";
    case TBalanceWarning::Stalled: return "stalled";
    case TBalanceWarning::FallingOver: return "falling_over";
  }
  return "unknown";
}

TWarnings WarningsFor(bool converged, bool stable, Real attackAngle, Real heel, Real pitch)
{
  TWarnings w;
  if (!converged)
    w.Add(TBalanceWarning::NotConverged);
  else if (!stable)
    w.Add(TBalanceWarning::Unstable);
  if (std::fabs(attackAngle) > kStallAttackAngle)
    w.Add(TBalanceWarning::Stalled);
  if (std::fabs(heel) >= kFallingOverAngle || std::fabs(pitch) >= kFallingOverAngle)
    w.Add(TBalanceWarning::FallingOver);
  return w;
}
