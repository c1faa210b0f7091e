// Text forms of the statics of a balance.
#include "StaticsText.h"

#include <cmath>
#include <cstdio>

#include "CliFormat.h"
#include "mechanics/DoorSolver.h"

std::string WarningWords(const TWarnings& warnings, const char* separator)
{
  std::string text;
  for (TBalanceWarning w : kAllWarnings)
    if (warnings.Has(w)) {
      if (!text.empty())
        text += separator;
      text += WarningWord(w);
    }
  return text;
}

std::string JsonWarnings(const TWarnings& warnings)
{
  std::string text = "[";
  for (TBalanceWarning w : kAllWarnings)
    if (warnings.Has(w)) {
      if (text.size() > 1)
        text += ", ";
      text += std::string("\"") + WarningWord(w) + "\"";
    }
  return text + "]";
}

std::string WarningLine(TBalanceWarning warning, const TBalanceOutcome& o)
{
  switch (warning) {
    case TBalanceWarning::NotConverged:
    {
      char tolerance[32];
      std::snprintf(tolerance, sizeof tolerance, "%Lg", kBalanceTolerance);
      return "the balance did not converge: the moments add up to " + JsonNumber(o.Residual) +
             " N*m, not below " + tolerance + " N*m";
    }
    case TBalanceWarning::Unstable:
      return "unstable equilibrium: a small push turns the door away from this attitude";
    case TBalanceWarning::Stalled:
      return "wing stalled: attack angle " + Fixed(o.AttackAngle / kDegToRad, 1, 0) +
             " deg, beyond the lift peak at " + Fixed(kStallAttackAngle / kDegToRad, 1, 0) + " deg";
    case TBalanceWarning::FallingOver:
      return "door falling over: heel " + Fixed(o.HeelPitch.Heel / kDegToRad, 1, 0) + " deg, pitch " +
             Fixed(o.HeelPitch.Pitch / kDegToRad, 1, 0) + " deg (" + Fixed(kFallingOverAngle / kDegToRad, 0, 0) +
             " deg or more)";
  }
  return WarningWord(warning);
}

std::string JsonStable(const TBalanceOutcome& o)
{
  if (!o.StabilityAssessed)
    return "null";
  return o.Stability.Stable ? "true" : "false";
}

std::string JsonEigenvalues(const TBalanceOutcome& o)
{
  if (!o.StabilityAssessed)
    return "null";
  std::string text = "[";
  for (int i = 0; i < 3; ++i) {
    const auto& e = o.Stability.Eigenvalues[i];
    text += (i ? ", [" : "[") + JsonNumber(e.real()) + ", " + JsonNumber(e.imag()) + "]";
  }
  return text + "]";
}

std::string CsvStable(const TBalanceOutcome& o)
{
  if (!o.StabilityAssessed)
    return "";
  return o.Stability.Stable ? "true" : "false";
}

std::string CsvNumber(Real value)
{
  return std::isfinite(value) ? JsonNumber(value) : std::string();
}
