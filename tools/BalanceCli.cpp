// ravlen-balance: command-line parsing, the run and the two output forms.
#include "BalanceCli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "CliFormat.h"
#include "ProgramVersion.h"
#include "mechanics/DoorModel.h"
#include "mechanics/DoorSolver.h"

namespace {

// Display multipliers of the edits the options stand for.
constexpr Real kKiloNewton = 1000;
constexpr Real kAngleEditFactor = 0.017453292519943295L;   // warp and bridle angle edits
constexpr Real kBridleSpreadFactor = 0.0174532925199433L;  // the between-bridles edit
constexpr Real kAngleEditBound = 1.5707963267948966L;      // their open range, radians

constexpr const char* kUsage =
    "Usage: ravlen-balance [evaluate|balance] [options]\n"
    "Evaluates the loads on a trawl door at one attitude, or balances it (default).\n"
    "\n"
    "Door and rigging:\n"
    "  --area A            wing area, m^2: 4.5, 7.6, 10.3, 11.6 or 14.4\n"
    "                      (default: the start-up door, 10.39 m^2 at scale 5)\n"
    "  --ballast N         ballast pieces, 1..6 (3)\n"
    "  --bracket SIZE      small, medium or large (medium)\n"
    "  --upper-hole R,H    upper bridle hole: row 1..3, hole 1..5 (1,1)\n"
    "  --lower-hole R,H    lower bridle hole: row 1..3, hole 1..5 (1,1)\n"
    "  --pair N            bracket pair, 1..3 (1)\n"
    "  --tow-hole H        towing hole: F2u, F1u, F0, F1d or F2d (F0)\n"
    "Towing conditions:\n"
    "  --speed V           trawl speed, m/s, 0.1..10 (2)\n"
    "  --resistance R      trawl resistance, kN, 0.1..10000 (100)\n"
    "  --density RHO       water density, kg/m^3, 800..1100 (1030)\n"
    "  --warp-plan DEG     warp attack angle, horizontal projection, -90..90 open (0)\n"
    "  --warp-side DEG     warp attack angle, vertical projection, -90..90 open (0)\n"
    "  --bridle-plan DEG   bridle attack angle, horizontal projection, -90..90 open (0)\n"
    "  --bridle-side DEG   bridle attack angle, vertical projection, -90..90 open (0)\n"
    "  --bridle-between DEG  angle between the bridles, 0..79.98 (5)\n"
    "Solver:\n"
    "  --solver-factor F   sensitivity, 5..10000 (10000): the door turns M/F degrees\n"
    "                      per step for a moment of M N*m\n"
    "  --attitude X,Y,Z    start attitude, degrees (0,0,0)\n"
    "Output:\n"
    "  --json              one JSON object instead of the table\n"
    "  --version           the program's version\n"
    "  --help              this text\n";

// A usage error: one line naming the option and what it accepts.
struct TUsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct TOptions {
  bool Balance = true;
  bool Json = false;
  bool Help = false;
  std::optional<int> AreaTag;
  int Ballast = 3;
  TBracketSize Bracket = TBracketSize::Medium;
  int UpperHole = 0;
  int LowerHole = 0;
  TBracketPair Pair = TBracketPair::Pair1;
  TTowHole TowHole = TTowHole::F0;
  TDoorInputs Inputs;
  Real SolverFactor = 10000;
  Txyz AttitudeDeg;
};

// Strict conversion: the whole text must be one finite number.
std::optional<Real> ParseNumber(const std::string& text)
{
  if (text.empty() || text.find_first_of(" \t\n") != std::string::npos)
    return std::nullopt;
  char* end = nullptr;
  const Real value = std::strtold(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::vector<std::string> SplitCommas(const std::string& text)
{
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, ','))
    parts.push_back(part);
  if (!text.empty() && text.back() == ',')
    parts.emplace_back();
  return parts;
}

[[noreturn]] void Fail(const std::string& option, const std::string& text, const std::string& accepts)
{
  throw TUsageError(option + ": '" + text + "' is not accepted; expected " + accepts);
}

Real Number(const std::string& option, const std::string& text, const std::string& accepts)
{
  const auto value = ParseNumber(text);
  if (!value)
    Fail(option, text, accepts);
  return *value;
}

Real NumberInRange(const std::string& option, const std::string& text, Real lo, Real hi,
                   const std::string& accepts)
{
  const Real value = Number(option, text, accepts);
  if (value < lo || value > hi)
    Fail(option, text, accepts);
  return value;
}

int Integer(const std::string& option, const std::string& text, int lo, int hi, const std::string& accepts)
{
  const Real value = Number(option, text, accepts);
  if (value != std::floor(value) || value < lo || value > hi)  // exact: whole numbers only
    Fail(option, text, accepts);
  return static_cast<int>(value);
}

int AreaTag(const std::string& text)
{
  struct TArea {
    Real Area;
    int Tag;
  };
  static constexpr TArea kAreas[] = {{4.5L, 450}, {7.6L, 760}, {10.3L, 1039}, {10.39L, 1039},
                                     {11.6L, 1160}, {14.4L, 1440}};
  const std::string accepts = "4.5, 7.6, 10.3, 11.6 or 14.4 (m^2)";
  const Real value = Number("--area", text, accepts);
  for (const TArea& area : kAreas)
    if (std::fabs(value - area.Area) < 1e-9L)
      return area.Tag;
  Fail("--area", text, accepts);
}

int HoleIndex(const std::string& option, const std::string& text)
{
  const std::string accepts = "ROW,HOLE with row 1..3 and hole 1..5";
  const auto parts = SplitCommas(text);
  if (parts.size() != 2)
    Fail(option, text, accepts);
  const int row = Integer(option, parts[0], 1, kHoleRows, accepts);
  const int hole = Integer(option, parts[1], 1, kHolesPerRow, accepts);
  return (row - 1) * kHolesPerRow + (hole - 1);
}

// A warp or bridle angle in degrees, refused when it reaches 90 at the edit's three
// decimals: at 90 degrees the bridle pull along the flow has no lateral bound.
Real EdgeAngle(const std::string& option, const std::string& text)
{
  const std::string accepts = "degrees strictly between -90 and 90";
  const Real degrees = Number(option, text, accepts);
  const Real radians = degrees * kAngleEditFactor;
  if (!(radians > -kAngleEditBound && radians < kAngleEditBound) ||
      std::round(std::fabs(degrees) * 1000) >= 90000)
    Fail(option, text, accepts);
  return radians;
}

TTowHole TowHoleByName(const std::string& text)
{
  for (TTowHole hole : {TTowHole::F2u, TTowHole::F1u, TTowHole::F0, TTowHole::F1d, TTowHole::F2d})
    if (text == TowHoleName(hole))
      return hole;
  Fail("--tow-hole", text, "F2u, F1u, F0, F1d or F2d");
}

TOptions ParseOptions(int argc, const char* const* argv)
{
  TOptions o;
  bool modeGiven = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--", 0) != 0) {
      if (modeGiven || (arg != "evaluate" && arg != "balance"))
        throw TUsageError("unexpected argument '" + arg + "'; expected evaluate, balance or an option");
      o.Balance = arg == "balance";
      modeGiven = true;
      continue;
    }
    std::string value;
    bool hasInlineValue = false;
    if (const auto eq = arg.find('='); eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      hasInlineValue = true;
    }
    if (arg == "--json" || arg == "--help") {
      if (hasInlineValue)
        throw TUsageError(arg + " takes no value");
      (arg == "--json" ? o.Json : o.Help) = true;
      continue;
    }
    static const std::vector<std::string> kValued = {
        "--area", "--ballast", "--bracket", "--upper-hole", "--lower-hole", "--pair", "--tow-hole",
        "--speed", "--resistance", "--density", "--warp-plan", "--warp-side", "--bridle-plan",
        "--bridle-side", "--bridle-between", "--solver-factor", "--attitude"};
    if (std::find(kValued.begin(), kValued.end(), arg) == kValued.end())
      throw TUsageError("unknown option '" + arg + "'; see --help");
    if (!hasInlineValue) {
      if (i + 1 >= argc)
        throw TUsageError(arg + " needs a value; see --help");
      value = argv[++i];
    }

    if (arg == "--area") {
      o.AreaTag = AreaTag(value);
    } else if (arg == "--ballast") {
      o.Ballast = Integer(arg, value, 1, kMaxBallast, "a whole number of pieces, 1..6");
    } else if (arg == "--bracket") {
      if (value == "small") o.Bracket = TBracketSize::Small;
      else if (value == "medium") o.Bracket = TBracketSize::Medium;
      else if (value == "large") o.Bracket = TBracketSize::Large;
      else Fail(arg, value, "small, medium or large");
    } else if (arg == "--upper-hole") {
      o.UpperHole = HoleIndex(arg, value);
    } else if (arg == "--lower-hole") {
      o.LowerHole = HoleIndex(arg, value);
    } else if (arg == "--pair") {
      o.Pair = static_cast<TBracketPair>(Integer(arg, value, 1, 3, "bracket pair 1, 2 or 3"));
    } else if (arg == "--tow-hole") {
      o.TowHole = TowHoleByName(value);
    } else if (arg == "--speed") {
      o.Inputs.TrawlSpeed = NumberInRange(arg, value, 0.1L, 10, "m/s in 0.1..10");
    } else if (arg == "--resistance") {
      const std::string accepts = "kN in 0.1..10000";
      o.Inputs.TrawlResistance = Number(arg, value, accepts) * kKiloNewton;
      if (o.Inputs.TrawlResistance < 100 || o.Inputs.TrawlResistance > 10000000)
        Fail(arg, value, accepts);
    } else if (arg == "--density") {
      o.Inputs.WaterDensity = NumberInRange(arg, value, 800, 1100, "kg/m^3 in 800..1100");
    } else if (arg == "--warp-plan") {
      o.Inputs.WarpAngleOnPlan = EdgeAngle(arg, value);
    } else if (arg == "--warp-side") {
      o.Inputs.WarpAngleOnSide = EdgeAngle(arg, value);
    } else if (arg == "--bridle-plan") {
      o.Inputs.BridleAngleOnPlan = EdgeAngle(arg, value);
    } else if (arg == "--bridle-side") {
      o.Inputs.BridleAngleOnSide = EdgeAngle(arg, value);
    } else if (arg == "--bridle-between") {
      const std::string accepts = "degrees in 0..79.98 (0..1.396 rad)";
      const Real radians = Number(arg, value, accepts) * kBridleSpreadFactor;
      if (radians < 0 || radians > 1.396L)
        Fail(arg, value, accepts);
      o.Inputs.BridleAngleBridle = radians;
    } else if (arg == "--solver-factor") {
      o.SolverFactor = NumberInRange(arg, value, 5, 10000, "a number in 5..10000");
    } else if (arg == "--attitude") {
      const std::string accepts = "X,Y,Z in degrees";
      const auto parts = SplitCommas(value);
      if (parts.size() != 3)
        Fail(arg, value, accepts);
      o.AttitudeDeg = {Number(arg, parts[0], accepts), Number(arg, parts[1], accepts),
                       Number(arg, parts[2], accepts)};
    }
  }
  return o;
}

// --- output ---------------------------------------------------------------------------

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
  return "row " + std::to_string(index / kHolesPerRow + 1) + " hole " + std::to_string(index % kHolesPerRow + 1);
}

struct TRun {
  const TDoorModel& Model;
  const TOptions& Options;
  std::optional<TSolveResult> Solve;
};

void PrintJson(std::ostream& out, const TRun& run)
{
  const TDoorResults& r = run.Model.Results();
  const Txyz attitudeDeg = DivXyz(run.Model.Attitude(), kDegToRad);
  const Txyz moment = run.Solve ? run.Solve->Moment : r.FMoment;
  out << "{\n"
      << "  \"mode\": \"" << (run.Solve ? "balance" : "evaluate") << "\",\n"
      << "  \"door_scale\": " << JsonNumber(run.Model.DoorScale()) << ",\n"
      << "  \"attitude_deg\": " << JsonVector(attitudeDeg) << ",\n"
      << "  \"moment_Nm\": " << JsonVector(moment) << ",\n"
      << "  \"force_N\": " << JsonVector(r.FForce) << ",\n"
      << "  \"attack_angle_deg\": " << JsonNumber(r.FAttackW / kDegToRad) << ",\n"
      << "  \"span_attack_angle_deg\": " << JsonNumber(r.FAttackS / kDegToRad) << ",\n"
      << "  \"tow_point_m\": " << JsonVector(r.FTowPoint) << ",\n"
      << "  \"pair_upper_m\": " << JsonVector(r.FPairUpperPos) << ",\n"
      << "  \"pair_lower_m\": " << JsonVector(r.FPairLowerPos) << ",\n"
      << "  \"mass_kg\": " << JsonNumber(r.FTotalMass) << ",\n"
      << "  \"submerged_weight_N\": " << JsonNumber(-r.FLoad[kLoadWeight].Z) << ",\n"
      << "  \"loads_N\": {\"wing\": " << JsonVector(r.FLoad[kLoadWing])
      << ", \"span\": " << JsonVector(r.FLoad[kLoadSpan])
      << ", \"lower_bridle\": " << JsonVector(r.FLoad[kLoadLowerBridle])
      << ", \"upper_bridle\": " << JsonVector(r.FLoad[kLoadUpperBridle])
      << ", \"weight\": " << JsonVector(r.FLoad[kLoadWeight]) << "},\n"
      << "  \"apply_points_m\": {\"wing\": " << JsonVector(r.FApplyPoint[kLoadWing])
      << ", \"span\": " << JsonVector(r.FApplyPoint[kLoadSpan])
      << ", \"lower_bridle\": " << JsonVector(r.FApplyPoint[kLoadLowerBridle])
      << ", \"upper_bridle\": " << JsonVector(r.FApplyPoint[kLoadUpperBridle])
      << ", \"weight\": " << JsonVector(r.FApplyPoint[kLoadWeight]) << "}";
  if (run.Solve)
    out << ",\n  \"iterations\": " << run.Solve->Iterations << ",\n"
        << "  \"converged\": " << (run.Solve->Converged ? "true" : "false");
  out << "\n}\n";
}

void PrintTable(std::ostream& out, const TRun& run)
{
  const TDoorModel& model = run.Model;
  const TDoorResults& r = model.Results();
  const TDoorInputs& in = model.Inputs();
  const Real s = model.DoorScale();
  const Txyz moment = run.Solve ? run.Solve->Moment : r.FMoment;

  out << "Door      wing area " << Fixed(WingArea * s * s, 2, 0) << " m^2 (scale " << Fixed(s, 7, 0)
      << "), " << model.Variant().FBallastCount << " ballast pieces, " << BracketName(model.Variant().Bracket)
      << " bracket\n"
      << "Rigging   upper hole " << HoleText(model.UpperHoleIndex()) << ", lower hole "
      << HoleText(model.LowerHoleIndex()) << ", bracket pair " << static_cast<int>(model.Pair())
      << ", towing hole " << TowHoleName(model.TowHole()) << "\n"
      << "Towing    " << Fixed(in.TrawlSpeed, 3, 0) << " m/s against " << Fixed(in.TrawlResistance / kKiloNewton, 3, 0)
      << " kN in water of " << Fixed(in.WaterDensity, 1, 0) << " kg/m^3\n"
      << "Angles    warp plan " << Fixed(in.WarpAngleOnPlan / kDegToRad, 3, 0) << ", side "
      << Fixed(in.WarpAngleOnSide / kDegToRad, 3, 0) << "; bridle plan " << Fixed(in.BridleAngleOnPlan / kDegToRad, 3, 0)
      << ", side " << Fixed(in.BridleAngleOnSide / kDegToRad, 3, 0) << ", between "
      << Fixed(in.BridleAngleBridle / kDegToRad, 3, 0) << " deg\n";
  if (run.Solve) {
    out << "Balance   " << (run.Solve->Converged ? "converged" : "did not converge") << " after "
        << run.Solve->Iterations << " iterations (solver factor " << Fixed(model.SolverFactor(), 1, 0)
        << ", residual " << JsonNumber(run.Solve->Residual) << " N*m)\n";
  } else {
    out << "Evaluate  one evaluation at the given attitude\n";
  }
  out << "\n  " << std::string(22, ' ') << "             X             Y             Z\n"
      << Row("Attitude, deg", DivXyz(model.Attitude(), kDegToRad), 6)
      << Row("Moment, N*m", moment, 3)
      << Row("Force, kN", r.FForce, 4, kKiloNewton)
      << Row("Wing force, kN", r.FLoad[kLoadWing], 4, kKiloNewton)
      << Row("Span force, kN", r.FLoad[kLoadSpan], 4, kKiloNewton)
      << Row("Upper bridle, kN", r.FLoad[kLoadUpperBridle], 4, kKiloNewton)
      << Row("Lower bridle, kN", r.FLoad[kLoadLowerBridle], 4, kKiloNewton)
      << Row("Towing point, m", r.FTowPoint, 4)
      << Row("Pair upper point, m", r.FPairUpperPos, 4)
      << Row("Pair lower point, m", r.FPairLowerPos, 4)
      << Row("Centre of gravity, m", r.FApplyPoint[kLoadWeight], 4)
      << Row("Centre of pressure, m", r.FApplyPoint[kLoadWing], 4)
      << "\n  Attack angle          " << Fixed(r.FAttackW / kDegToRad, 3, 0) << " deg (span axis "
      << Fixed(r.FAttackS / kDegToRad, 3, 0) << " deg)\n"
      << "  Mass                  " << Fixed(r.FTotalMass, 3, 0) << " kg\n"
      << "  Submerged weight      " << Fixed(-r.FLoad[kLoadWeight].Z / kKiloNewton, 4, 0) << " kN\n";
}

}  // namespace

int RunBalanceCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
  if (HasOption(argc, argv, "--version")) {
    PrintVersion(out, "ravlen-balance");
    return 0;
  }
  TOptions options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const TUsageError& e) {
    err << "ravlen-balance: " << e.what() << "\n";
    return 2;
  }
  if (options.Help) {
    out << kUsage;
    return 0;
  }

  // The door is set up in the order the window's commands would: the bracket and the
  // area rebuild the model (and the area command puts the attitude back to zero), then
  // ballast and rigging, then the conditions and the start attitude.
  TDoorModel model;
  if (options.Bracket != TBracketSize::Medium) {
    model.SetBracket(options.Bracket);
    model.BuildModel();
  }
  if (options.AreaTag) {
    model.SetAreaTag(*options.AreaTag);
    model.BuildModel();
  }
  model.SetBallastCount(options.Ballast);
  model.SelectUpperHole(options.UpperHole);
  model.SelectLowerHole(options.LowerHole);
  model.SelectPair(options.Pair);
  model.SelectTowHole(options.TowHole);
  model.Inputs() = options.Inputs;
  model.SetSolverFactor(options.SolverFactor);
  model.SetAttitude(options.AttitudeDeg * kDegToRad);

  TRun run{model, options, std::nullopt};
  if (options.Balance) {
    run.Solve = SolveBalance(model);
    // The results describe the final attitude, as the window shows them after a run.
    model.EvaluateDoor(model.Attitude());
  } else {
    model.EvaluateDoor(model.Attitude());
  }
  if (options.Json)
    PrintJson(out, run);
  else
    PrintTable(out, run);
  return 0;
}
