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

std::string HealthLine(const TBalanceOutcome& o)
{
  std::string text = "Last balance: ";
  text += !o.Converged ? "not converged" : o.Stability.Stable ? "converged, stable" : "converged, unstable";
  text += "; heel " + Fixed(o.HeelPitch.Heel / kDegToRad, 1, 0) + " deg, pitch " +
          Fixed(o.HeelPitch.Pitch / kDegToRad, 1, 0) + " deg.";
  for (TBalanceWarning w : kAllWarnings)
    if (o.Warnings.Has(w)) {
      std::string sentence = WarningLine(w, o);
      if (!sentence.empty() && sentence[0] >= 'a' && sentence[0] <= 'z')
        sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
      text += " " + sentence + ".";
    }
  return text;
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

std::string AreaText(int areaTag)
{
  switch (areaTag) {
    case 450: return "4.5";
    case 760: return "7.6";
    case 1039: return "10.3";
    case 1160: return "11.6";
    case 1440: return "14.4";
    default: return "default";
  }
}

const char* BracketName(TBracketSize size)
{
  switch (size) {
    case TBracketSize::Small: return "small";
    case TBracketSize::Medium: return "medium";
    case TBracketSize::Large: return "large";
  }
  return "medium";
}

std::string HoleText(int index)
{
  return std::to_string(index / kHolesPerRow + 1) + "," + std::to_string(index % kHolesPerRow + 1);
}

std::string RiggingCsvHeader()
{
  return "rank,area,ballast,bracket,upper_row,upper_hole,lower_row,lower_hole,pair,tow_hole,spreading_force_kN,"
         "resistance_force_kN,vertical_force_kN,efficiency,heel_deg,pitch_deg,attack_angle_deg,attitude_x_deg,"
         "attitude_y_deg,attitude_z_deg,evaluations,warnings";
}

std::string RiggingCsvRow(int rank, const TRiggingCandidate& c)
{
  const TRigging& g = c.Rigging;
  const TBalanceOutcome& o = c.Outcome;
  const auto field = [](Real value) { return "," + CsvNumber(value); };
  return std::to_string(rank) + "," + AreaText(c.Door.AreaTag) + "," + std::to_string(c.Door.Ballast) + "," +
         BracketName(c.Door.Bracket) + "," + std::to_string(g.UpperHole / kHolesPerRow + 1) + "," +
         std::to_string(g.UpperHole % kHolesPerRow + 1) + "," + std::to_string(g.LowerHole / kHolesPerRow + 1) + "," +
         std::to_string(g.LowerHole % kHolesPerRow + 1) + "," + std::to_string(static_cast<int>(g.Pair)) + "," +
         TowHoleName(g.Tow) + field(c.Force.Y / 1000) + field(c.Force.X / 1000) + field(c.Force.Z / 1000) +
         field(Efficiency(c.Force)) + field(o.HeelPitch.Heel / kDegToRad) + field(o.HeelPitch.Pitch / kDegToRad) +
         field(o.AttackAngle / kDegToRad) + field(c.Attitude.X / kDegToRad) + field(c.Attitude.Y / kDegToRad) +
         field(c.Attitude.Z / kDegToRad) + "," + std::to_string(o.Evaluations) + "," + WarningWords(o.Warnings, ";");
}
