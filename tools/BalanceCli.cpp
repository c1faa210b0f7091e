// ravlen-balance: command-line parsing, the evaluate and balance runs and their two
// output forms; sweep and advise hand over to SweepCli and AdviseCli.
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

#include "AdviseCli.h"
#include "CliFormat.h"
#include "ProgramVersion.h"
#include "StaticsText.h"
#include "SweepCli.h"
#include "mechanics/DoorChoice.h"
#include "mechanics/DoorModel.h"
#include "mechanics/DoorSolver.h"
#include "mechanics/DoorStatics.h"

namespace {

// Forces are printed in kN.
constexpr Real kKiloNewton = 1000;

// Largest start attitude, degrees: the angle edits take any number, but beyond this they
// can no longer show it to their three decimals (a 64-bit count of thousandths). A run
// with a coarse solver factor can leave the door millions of degrees round.
constexpr Real kAttitudeBoundDeg = 1e15L;

// The towing conditions as options. Each takes its value in the display unit of the
// window's edit and refuses what the edit refuses.
struct TConditionOption {
  const char* Option;   // "--speed"
  const char* Value;    // what the help calls the value
  const char* Meaning;  // "trawl speed"
  const char* Unit;     // the edit's display unit
  TInput Input;
  Real TDoorInputs::*Field;
};
constexpr TConditionOption kConditions[] = {
    {"--speed", "V", "trawl speed", "m/s", TInput::TrawlSpeed, &TDoorInputs::TrawlSpeed},
    {"--resistance", "R", "trawl resistance", "kN", TInput::TrawlResistance, &TDoorInputs::TrawlResistance},
    {"--density", "RHO", "water density", "kg/m^3", TInput::WaterDensity, &TDoorInputs::WaterDensity},
    {"--warp-plan", "DEG", "warp attack angle, horizontal projection", "degrees", TInput::WarpAngleOnPlan,
     &TDoorInputs::WarpAngleOnPlan},
    {"--warp-side", "DEG", "warp attack angle, vertical projection", "degrees", TInput::WarpAngleOnSide,
     &TDoorInputs::WarpAngleOnSide},
    {"--bridle-plan", "DEG", "bridle attack angle, horizontal projection", "degrees", TInput::BridleAngleOnPlan,
     &TDoorInputs::BridleAngleOnPlan},
    {"--bridle-side", "DEG", "bridle attack angle, vertical projection", "degrees", TInput::BridleAngleOnSide,
     &TDoorInputs::BridleAngleOnSide},
    {"--bridle-between", "DEG", "angle between the bridles", "degrees", TInput::BridleAngleBridle,
     &TDoorInputs::BridleAngleBridle},
};

// A number as the help and the messages show it: six significant digits at most.
std::string Shown(Real value)
{
  char text[32];
  std::snprintf(text, sizeof text, "%.6Lg", value);
  return text;
}

// An input's range in its display unit: "0.1..10", "-89.9995..89.9995 open".
std::string RangeText(const TInputDef& def)
{
  std::string text = Shown(def.Min / def.Multiplier) + ".." + Shown(def.Max / def.Multiplier);
  if (!def.MinIncl && !def.MaxIncl)
    text += " open";
  else if (!def.MinIncl)
    text += ", " + Shown(def.Min / def.Multiplier) + " excluded";
  else if (!def.MaxIncl)
    text += ", " + Shown(def.Max / def.Multiplier) + " excluded";
  return text;
}

// One option line of the help: the option and its value in the first 22 columns, then
// what it means; the range and the start value follow, on a line of their own when the
// line would pass 80 columns.
std::string UsageLine(const std::string& option, const std::string& meaning, const std::string& range)
{
  std::string line = "  " + option;
  line.resize(std::max<std::size_t>(line.size() + 2, 22), ' ');
  if (line.size() + meaning.size() + 2 + range.size() > 80)
    return line + meaning + ",\n" + std::string(22, ' ') + range + "\n";
  return line + meaning + ", " + range + "\n";
}

std::string ConditionUsage(const TConditionOption& c)
{
  const TInputDef& def = InputDef(c.Input);
  return UsageLine(std::string(c.Option) + " " + c.Value, c.Meaning,
                   std::string(c.Unit) + ", " + RangeText(def) + " (" + Shown(def.Start / def.Multiplier) + ")");
}

std::string Usage()
{
  std::string usage =
      "Usage: ravlen-balance [evaluate|balance|sweep|advise] [options]\n"
      "Evaluates the loads on a trawl door at one attitude, or balances it (default);\n"
      "sweep balances it over a range of conditions, advise searches its riggings.\n"
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
      "Towing conditions:\n";
  for (const TConditionOption& c : kConditions)
    usage += ConditionUsage(c);
  const TInputDef& solver = InputDef(TInput::SolverFactor);
  usage += "Solver:\n" +
           UsageLine("--solver-factor F", "sensitivity",
                     RangeText(solver) + " (" + Shown(solver.Start) + "): the door turns M/F degrees") +
           std::string(22, ' ') + "per step for a moment of M N*m\n";
  usage +=
      "  --attitude X,Y,Z    start attitude, degrees, each -1e15..1e15 (0,0,0)\n"
      "  --method M          relax (the fixed-gain relaxation; default of balance) or\n"
      "                      newton (damped Newton steps; default of sweep and advise)\n"
      "Sweep:\n"
      "  --vary NAME=FROM:TO:STEP  vary one condition: speed, resistance, density,\n"
      "                      warp-plan, warp-side, bridle-plan, bridle-side or\n"
      "                      bridle-between, in the units of its option; a second\n"
      "                      --vary makes a grid (it varies fastest). Each case starts\n"
      "                      from the balanced attitude of the one before it. Output:\n"
      "                      CSV with a header row, or --json, one object per line\n"
      "Advise: 15 upper x 15 lower holes x 3 pairs x 5 towing holes = 3375 riggings\n"
      "  --heel MIN,MAX      keep balances with heel in this range, degrees (-5,5)\n"
      "  --pitch MIN,MAX     keep balances with pitch in this range, degrees (-5,5)\n"
      "  --rank R            spreading (spreading force, default) or efficiency\n"
      "                      (spreading force per unit of the door's resistance)\n"
      "  --top N             print the best N (10)\n"
      "  --area all, --ballast all, --bracket all  search every member of the family\n"
      "                      (5 areas x 6 ballast x 3 brackets x 3375 = 303750)\n"
      "                      Only converged, stable, unstalled balances are kept.\n"
      "  --threads N         worker threads of sweep and advise (default: every core)\n"
      "Output:\n"
      "  --json              one JSON object instead of the table\n"
      "  --csv               advise: CSV rows after a header row instead of the table\n"
      "  --version           the program's version\n"
      "  --help              this text\n"
      "\n"
      "Heel: the angle of the door's span axis from the vertical in the plane across\n"
      "the flow, positive when the top leans toward the spreading side (outward).\n"
      "Pitch: the angle of the chord from the horizontal, positive when the leading\n"
      "edge is up.\n"
      "Warnings: not_converged; unstable (a small push turns the door away: an\n"
      "eigenvalue of the Jacobian of the moments has a real part >= 0); stalled\n"
      "(|attack angle| beyond the lift peak, 47.5 deg); falling_over (|heel| or\n"
      "|pitch| 30 deg or more).\n"
      "Evaluations count the solve; the stability check of a balance adds 4.\n"
      "Ctrl-C stops sweep and advise: what is done is printed, the status is 130.\n";
  return usage;
}

// A usage error: one line naming the option and what it accepts.
struct TUsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

enum class TMode { Evaluate, Balance, Sweep, Advise };

// One --vary: the condition's option and the values of the range as texts.
struct TVary {
  std::string Name;                 // "speed"
  Real TDoorInputs::*Field = nullptr;
  std::vector<std::string> Texts;   // FROM, FROM + STEP, ... as the option reads them
};

struct TOptions {
  TMode Mode = TMode::Balance;
  bool Json = false;
  bool Csv = false;
  bool Help = false;
  std::optional<int> AreaTag;
  int Ballast = 3;
  TBracketSize Bracket = TBracketSize::Medium;
  bool AllAreas = false, AllBallast = false, AllBrackets = false;
  std::optional<TBalanceMethod> Method;
  std::vector<TVary> Vary;
  Real HeelMinDeg = -5, HeelMaxDeg = 5, PitchMinDeg = -5, PitchMaxDeg = 5;
  bool RangeGiven = false;  // --heel, --pitch, --rank or --top
  TRiggingRank Rank = TRiggingRank::Spreading;
  int Top = 10;
  std::optional<int> Threads;
  int UpperHole = 0;
  int LowerHole = 0;
  TBracketPair Pair = TBracketPair::Pair1;
  TTowHole TowHole = TTowHole::F0;
  TDoorInputs Inputs;
  Real SolverFactor = InputDef(TInput::SolverFactor).Start;
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
  throw TUsageError(option + ": '" + EscapedText(text) + "' is not accepted; expected " + accepts);
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

// An input's value in the display unit of its edit, in internal units; refused outside the
// edit's range. The warp and bridle angles thus stop short of 90 degrees, where the bridle
// pull along the flow has no lateral bound.
Real InputValue(const std::string& option, const std::string& text, TInput input, const std::string& unit)
{
  const TInputDef& def = InputDef(input);
  const std::string accepts = (unit.empty() ? "a number" : unit) + " in " + RangeText(def);
  const Real value = Number(option, text, accepts) * def.Multiplier;
  if (!def.Holds(value))
    Fail(option, text, accepts);
  return value;
}

// The condition an option sets, or null.
const TConditionOption* ConditionOption(const std::string& option)
{
  for (const TConditionOption& c : kConditions)
    if (option == c.Option)
      return &c;
  return nullptr;
}

TTowHole TowHoleByName(const std::string& text)
{
  for (TTowHole hole : {TTowHole::F2u, TTowHole::F1u, TTowHole::F0, TTowHole::F1d, TTowHole::F2d})
    if (text == TowHoleName(hole))
      return hole;
  Fail("--tow-hole", text, "F2u, F1u, F0, F1d or F2d");
}

// A towing condition's option: converts its value to SI units into in, with its range
// check. False when arg names no condition. --vary checks its values through here too.
bool ApplyCondition(TDoorInputs& in, const std::string& arg, const std::string& value)
{
  const TConditionOption* c = ConditionOption(arg);
  if (!c)
    return false;
  in.*c->Field = InputValue(arg, value, c->Input, c->Unit);
  return true;
}

// Sweep ranges: at most this many cases in all. The results are kept until the run
// ends (a few hundred bytes a case), and a typing slip should not ask for a run of days.
constexpr long kMaxSweepCases = 100000;

// NAME=FROM:TO:STEP. The values are FROM + k STEP up to TO (within a millionth of a
// step), each written with 15 significant digits, so that 0.1 steps give 0.3 and not
// 0.30000000000000001, and each checked by its option.
TVary VaryRange(const std::string& text)
{
  const std::string accepts = "NAME=FROM:TO:STEP with NAME speed, resistance, density, warp-plan, warp-side, "
                              "bridle-plan, bridle-side or bridle-between";
  const auto eq = text.find('=');
  if (eq == std::string::npos)
    Fail("--vary", text, accepts);
  TVary vary;
  vary.Name = text.substr(0, eq);
  // The conditions by the name of their option without the dashes.
  if (const TConditionOption* c = ConditionOption("--" + vary.Name))
    vary.Field = c->Field;
  if (!vary.Field)
    Fail("--vary", text, accepts);

  std::vector<std::string> parts;
  std::stringstream stream(text.substr(eq + 1));
  for (std::string part; std::getline(stream, part, ':');)
    parts.push_back(part);
  if (parts.size() != 3)
    Fail("--vary", text, accepts);
  const Real from = Number("--vary", parts[0], accepts);
  const Real to = Number("--vary", parts[1], accepts);
  const Real step = Number("--vary", parts[2], accepts);
  const Real span = (to - from) / step;
  if (step == 0 || span < 0 || !std::isfinite(span) || span + 1 > kMaxSweepCases)  // exact: a zero step
    Fail("--vary", text, "a STEP that is not 0, leads from FROM to TO and gives at most 100000 cases");
  const long count = static_cast<long>(std::floor(span + 1e-6L)) + 1;
  TDoorInputs probe;
  for (long k = 0; k < count; ++k) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.15Lg", from + k * step);
    try {
      ApplyCondition(probe, "--" + vary.Name, buffer);
    } catch (const TUsageError& e) {
      throw TUsageError("--vary " + vary.Name + ": value " + buffer + " is out of range (" + e.what() + ")");
    }
    vary.Texts.emplace_back(buffer);
  }
  return vary;
}

// MIN,MAX in degrees, MIN <= MAX.
std::pair<Real, Real> DegreeRange(const std::string& option, const std::string& text)
{
  const std::string accepts = "MIN,MAX in degrees with MIN <= MAX";
  const auto parts = SplitCommas(text);
  if (parts.size() != 2)
    Fail(option, text, accepts);
  const Real lo = Number(option, parts[0], accepts), hi = Number(option, parts[1], accepts);
  if (lo > hi)
    Fail(option, text, accepts);
  return {lo, hi};
}

// Options that belong to one mode are refused in the others.
void CheckModeOptions(const TOptions& o)
{
  const bool sweep = o.Mode == TMode::Sweep, advise = o.Mode == TMode::Advise;
  if (sweep && (o.Vary.empty() || o.Vary.size() > 2))
    throw TUsageError("sweep needs one or two --vary NAME=FROM:TO:STEP; see --help");
  if (!sweep && !o.Vary.empty())
    throw TUsageError("--vary belongs to sweep");
  if (o.Vary.size() == 2 && o.Vary[0].Name == o.Vary[1].Name)
    throw TUsageError("--vary " + o.Vary[0].Name + " is given twice");
  if (sweep && o.Vary.size() == 2 && static_cast<long>(o.Vary[0].Texts.size() * o.Vary[1].Texts.size()) > kMaxSweepCases)
    throw TUsageError("--vary: the grid has more than 100000 cases");
  if (!advise && (o.AllAreas || o.AllBallast || o.AllBrackets))
    throw TUsageError("'all' belongs to advise (--area, --ballast, --bracket)");
  if (!advise && o.RangeGiven)
    throw TUsageError("--heel, --pitch, --rank and --top belong to advise");
  if (!advise && o.Csv)
    throw TUsageError("--csv belongs to advise (sweep writes CSV by itself)");
  if (o.Csv && o.Json)
    throw TUsageError("--csv and --json exclude each other");
  if (o.Threads && !sweep && !advise)
    throw TUsageError("--threads belongs to sweep and advise");
  if (o.Method && o.Mode == TMode::Evaluate)
    throw TUsageError("--method belongs to balance, sweep and advise");
}

TOptions ParseOptions(int argc, const char* const* argv)
{
  TOptions o;
  bool modeGiven = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--", 0) != 0) {
      static const std::pair<const char*, TMode> kModes[] = {
          {"evaluate", TMode::Evaluate}, {"balance", TMode::Balance}, {"sweep", TMode::Sweep}, {"advise", TMode::Advise}};
      const auto mode = std::find_if(std::begin(kModes), std::end(kModes),
                                     [&arg](const auto& m) { return arg == m.first; });
      if (modeGiven || mode == std::end(kModes))
        throw TUsageError("unexpected argument '" + EscapedText(arg) + "'; expected evaluate, balance, sweep, advise or an option");
      o.Mode = mode->second;
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
    if (arg == "--json" || arg == "--help" || arg == "--csv") {
      if (hasInlineValue)
        throw TUsageError(arg + " takes no value");
      (arg == "--json" ? o.Json : arg == "--csv" ? o.Csv : o.Help) = true;
      continue;
    }
    static const std::vector<std::string> kValued = {
        "--area", "--ballast", "--bracket", "--upper-hole", "--lower-hole", "--pair", "--tow-hole",
        "--speed", "--resistance", "--density", "--warp-plan", "--warp-side", "--bridle-plan",
        "--bridle-side", "--bridle-between", "--solver-factor", "--attitude", "--method", "--vary",
        "--heel", "--pitch", "--rank", "--top", "--threads"};
    if (std::find(kValued.begin(), kValued.end(), arg) == kValued.end())
      throw TUsageError("unknown option '" + EscapedText(arg) + "'; see --help");
    if (!hasInlineValue) {
      if (i + 1 >= argc)
        throw TUsageError(arg + " needs a value; see --help");
      value = argv[++i];
    }

    if (arg == "--area" && value == "all") {
      o.AllAreas = true;
    } else if (arg == "--ballast" && value == "all") {
      o.AllBallast = true;
    } else if (arg == "--bracket" && value == "all") {
      o.AllBrackets = true;
    } else if (arg == "--area") {
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
    } else if (ApplyCondition(o.Inputs, arg, value)) {
      // a towing condition, converted and checked
    } else if (arg == "--solver-factor") {
      o.SolverFactor = InputValue(arg, value, TInput::SolverFactor, "");
    } else if (arg == "--attitude") {
      const std::string accepts = "X,Y,Z in degrees, each -1e15..1e15";
      const auto parts = SplitCommas(value);
      if (parts.size() != 3)
        Fail(arg, value, accepts);
      const auto angle = [&](const std::string& part) {
        return NumberInRange(arg, part, -kAttitudeBoundDeg, kAttitudeBoundDeg, accepts);
      };
      o.AttitudeDeg = {angle(parts[0]), angle(parts[1]), angle(parts[2])};
    } else if (arg == "--method") {
      if (value == "relax") o.Method = TBalanceMethod::Relax;
      else if (value == "newton") o.Method = TBalanceMethod::Newton;
      else Fail(arg, value, "relax or newton");
    } else if (arg == "--vary") {
      o.Vary.push_back(VaryRange(value));
    } else if (arg == "--heel" || arg == "--pitch") {
      const auto [lo, hi] = DegreeRange(arg, value);
      (arg == "--heel" ? o.HeelMinDeg : o.PitchMinDeg) = lo;
      (arg == "--heel" ? o.HeelMaxDeg : o.PitchMaxDeg) = hi;
      o.RangeGiven = true;
    } else if (arg == "--rank") {
      if (value == "spreading") o.Rank = TRiggingRank::Spreading;
      else if (value == "efficiency") o.Rank = TRiggingRank::Efficiency;
      else Fail(arg, value, "spreading or efficiency");
      o.RangeGiven = true;
    } else if (arg == "--top") {
      o.Top = Integer(arg, value, 1, 1000000, "a whole number, 1..1000000");
      o.RangeGiven = true;
    } else if (arg == "--threads") {
      o.Threads = Integer(arg, value, 1, 256, "a whole number of threads, 1..256");
    }
  }
  CheckModeOptions(o);
  return o;
}

// --- output ---------------------------------------------------------------------------

std::string HoleText(int index)
{
  return "row " + std::to_string(index / kHolesPerRow + 1) + " hole " + std::to_string(index % kHolesPerRow + 1);
}

struct TRun {
  const TDoorModel& Model;
  std::optional<TBalanceOutcome> Solve;
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
  const THeelPitch hp = HeelPitchOf(run.Model.Attitude());
  out << ",\n  \"heel_deg\": " << JsonNumber(hp.Heel / kDegToRad) << ",\n"
      << "  \"pitch_deg\": " << JsonNumber(hp.Pitch / kDegToRad);
  if (run.Solve) {
    const TBalanceOutcome& o = *run.Solve;
    const bool newton = o.Method == TBalanceMethod::Newton;
    out << ",\n  \"iterations\": " << (newton ? o.NewtonSteps : o.Iterations) << ",\n"
        << "  \"converged\": " << (o.Converged ? "true" : "false") << ",\n"
        << "  \"method\": \"" << MethodName(o.Method) << "\",\n";
    if (newton)
      out << "  \"fallback\": " << (o.FellBack ? "true" : "false") << ",\n"
          << "  \"relax_iterations\": " << o.Iterations << ",\n";
    out << "  \"evaluations\": " << o.Evaluations << ",\n"
        << "  \"residual_Nm\": " << JsonNumber(o.Residual) << ",\n"
        << "  \"stable\": " << JsonStable(o) << ",\n"
        << "  \"eigenvalues_Nm_per_rad\": " << JsonEigenvalues(o) << ",\n"
        << "  \"warnings\": " << JsonWarnings(o.Warnings);
  }
  out << "\n}\n";
}

void PrintTable(std::ostream& out, const TRun& run)
{
  const TDoorModel& model = run.Model;
  const TDoorResults& r = model.Results();
  const TDoorInputs& in = model.Inputs();
  const Real s = model.DoorScale();
  const Txyz moment = run.Solve ? run.Solve->Moment : r.FMoment;

  out << "Door      wing area " << Fixed(WingAreaAtScale(s), 2, 0) << " m^2 (scale " << Fixed(s, 7, 0)
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
    const TBalanceOutcome& o = *run.Solve;
    out << "Balance   " << (o.Converged ? "converged" : "did not converge") << " after ";
    if (o.Method == TBalanceMethod::Newton) {
      out << o.NewtonSteps << " Newton steps";
      if (o.FellBack)
        out << ", then " << o.Iterations << " relaxation iterations (solver factor "
            << Fixed(model.SolverFactor(), 1, 0) << ")";
      out << " (residual " << JsonNumber(o.Residual) << " N*m)\n";
    } else {
      out << o.Iterations << " iterations (solver factor " << Fixed(model.SolverFactor(), 1, 0) << ", residual "
          << JsonNumber(o.Residual) << " N*m)\n";
    }
    out << "Method    " << MethodName(o.Method) << (o.FellBack ? ", fell back to the relaxation" : "") << ", "
        << o.Evaluations << " evaluations\n";
    out << "Stability ";
    if (!o.StabilityAssessed) {
      out << "not assessed: no balance\n";
    } else {
      out << (o.Stability.Stable ? "stable" : "unstable") << ", eigenvalues";
      const char* separator = " ";
      for (const auto& e : o.Stability.Eigenvalues) {
        out << separator << Fixed(e.real(), 1, 0);
        if (e.imag() != 0)  // exact: real eigenvalues have no imaginary part at all
          out << (e.imag() > 0 ? "+" : "") << Fixed(e.imag(), 1, 0) << "i";
        separator = ", ";
      }
      out << " N*m/rad\n";
    }
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
  const THeelPitch hp = HeelPitchOf(model.Attitude());
  out << "  Heel                  " << Fixed(hp.Heel / kDegToRad, 3, 0) << " deg (positive: top outward)\n"
      << "  Pitch                 " << Fixed(hp.Pitch / kDegToRad, 3, 0) << " deg (positive: leading edge up)\n";
  if (run.Solve) {
    out << "\n";
    if (run.Solve->Warnings.None())
      out << "Warnings  none\n";
    for (TBalanceWarning w : kAllWarnings)
      if (run.Solve->Warnings.Has(w))
        out << "Warning   " << WarningWord(w) << ": " << WarningLine(w, *run.Solve) << "\n";
  }
}

// The door, rigging, conditions, gain and start attitude of the options: the one door
// of evaluate and balance, every case of a sweep.
void SetUpModel(TDoorModel& model, const TOptions& options)
{
  // The bracket and the area rebuild the model as the window's commands do (the area
  // command puts the attitude back to zero), then come the ballast and the rigging,
  // the conditions and the start attitude.
  ApplyDoorChoice(model, {options.AreaTag.value_or(0), options.Ballast, options.Bracket});
  ApplyRigging(model, {options.UpperHole, options.LowerHole, options.Pair, options.TowHole});
  model.Inputs() = options.Inputs;
  model.SetSolverFactor(options.SolverFactor);
  model.SetAttitude(options.AttitudeDeg * kDegToRad);
}

std::string ConditionsHeading(const TDoorInputs& in)
{
  return "Towing    " + Fixed(in.TrawlSpeed, 3, 0) + " m/s against " + Fixed(in.TrawlResistance / kKiloNewton, 3, 0) +
         " kN in water of " + Fixed(in.WaterDensity, 1, 0) + " kg/m^3\n" + "Angles    warp plan " +
         Fixed(in.WarpAngleOnPlan / kDegToRad, 3, 0) + ", side " + Fixed(in.WarpAngleOnSide / kDegToRad, 3, 0) +
         "; bridle plan " + Fixed(in.BridleAngleOnPlan / kDegToRad, 3, 0) + ", side " +
         Fixed(in.BridleAngleOnSide / kDegToRad, 3, 0) + ", between " + Fixed(in.BridleAngleBridle / kDegToRad, 3, 0) +
         " deg\n";
}

int RunSweepMode(const TOptions& options, const TCliContext& context, std::ostream& out, std::ostream& err)
{
  TSweepRequest request;
  request.Def.SetUp = [&options](TDoorModel& model) { SetUpModel(model, options); };
  request.Def.Method = options.Method.value_or(TBalanceMethod::Newton);
  request.Def.Workers = options.Threads.value_or(0);
  for (const TVary& vary : options.Vary) {
    TSweepAxis axis;
    axis.Field = vary.Field;
    // Through the option itself, so that every value is exactly what --NAME TEXT gives.
    for (const std::string& text : vary.Texts) {
      TDoorInputs in;
      ApplyCondition(in, "--" + vary.Name, text);
      axis.Values.push_back(in.*(vary.Field));
    }
    request.Def.Axes.push_back(std::move(axis));
    request.Names.push_back(vary.Name);
    request.Texts.push_back(vary.Texts);
  }
  request.Json = options.Json;
  return RunSweepCli(request, context, out, err);
}

int RunAdviseMode(const TOptions& options, const TCliContext& context, std::ostream& out, std::ostream& err)
{
  TAdviseRequest request;
  TRiggingSearchDef& def = request.Def;
  def.Doors = FamilyDoors({options.AreaTag.value_or(0), options.Ballast, options.Bracket}, options.AllAreas,
                          options.AllBallast, options.AllBrackets);
  def.Inputs = options.Inputs;
  def.StartAttitude = options.AttitudeDeg * kDegToRad;
  def.SolverFactor = options.SolverFactor;
  def.Method = options.Method.value_or(TBalanceMethod::Newton);
  def.HeelMin = options.HeelMinDeg * kDegToRad;
  def.HeelMax = options.HeelMaxDeg * kDegToRad;
  def.PitchMin = options.PitchMinDeg * kDegToRad;
  def.PitchMax = options.PitchMaxDeg * kDegToRad;
  def.Rank = options.Rank;
  def.Top = options.Top;
  def.Workers = options.Threads.value_or(0);
  request.Format = options.Json ? TOutputFormat::Json : options.Csv ? TOutputFormat::Csv : TOutputFormat::Table;

  if (def.Doors.size() == 1) {
    TDoorModel model;
    ApplyDoorChoice(model, def.Doors.front());
    const Real s = model.DoorScale();
    request.Heading = "Door      wing area " + Fixed(WingAreaAtScale(s), 2, 0) + " m^2 (scale " + Fixed(s, 7, 0) + "), " +
                      std::to_string(options.Ballast) + " ballast pieces, " + BracketName(options.Bracket) +
                      " bracket\n";
  } else {
    request.Heading = "Doors     " + std::to_string(def.Doors.size()) + " members of the family (" +
                      (options.AllAreas ? "every area" : "area " + AreaText(options.AreaTag.value_or(0))) + ", " +
                      (options.AllBallast ? "1..6 ballast pieces" : std::to_string(options.Ballast) + " ballast pieces") +
                      ", " + (options.AllBrackets ? "every bracket" : std::string(BracketName(options.Bracket)) + " bracket") +
                      ")\n";
  }
  request.Heading += ConditionsHeading(options.Inputs);
  return RunAdviseCli(request, context, out, err);
}

}  // namespace

int RunBalanceCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                  const TCliContext& context)
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
    out << Usage();
    return 0;
  }

  if (options.Mode == TMode::Sweep)
    return RunSweepMode(options, context, out, err);
  if (options.Mode == TMode::Advise)
    return RunAdviseMode(options, context, out, err);

  TDoorModel model;
  SetUpModel(model, options);
  TRun run{model, std::nullopt};
  if (options.Mode == TMode::Balance) {
    // Leaves the results at the final attitude, as the window shows them after a run.
    run.Solve = BalanceDoor(model, options.Method.value_or(TBalanceMethod::Relax));
  } else {
    model.EvaluateDoor(model.Attitude());
  }
  if (options.Json)
    PrintJson(out, run);
  else
    PrintTable(out, run);
  return 0;
}
