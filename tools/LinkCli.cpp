// ravlen-link: option parsing, the request and the two output forms. The client checks
// that the window recorded in the block is served before it writes anything, and while
// it waits for an asynchronous completion it keeps checking, so that a program that dies
// in the middle of a run does not leave it waiting for ever.
#include "LinkCli.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "CliFormat.h"
#include "ProgramVersion.h"
#include "app/BalanceBlock.h"
#include "platform/MessagePort.h"
#include "platform/SharedMemory.h"
#include "platform/WindowMessages.h"

namespace {

// Display multipliers of the edits the options stand for, as ravlen-balance uses them.
constexpr Real kKiloNewton = 1000;
constexpr Real kAngleEditFactor = 0.017453292519943295L;
// How often the program is looked for while an asynchronous run is awaited, ms.
constexpr int kLivenessCheckMs = 250;

constexpr int kStatusFailed = 1;
constexpr int kStatusUsage = 2;
constexpr int kStatusNoProgram = 3;

constexpr const char* kUsage =
    "Usage: ravlen-link [options]\n"
    "Has a running ravlen balance its door for the given towing conditions, through the\n"
    "balance link, and prints the result. Options not given keep the values the block\n"
    "holds; the program checks every value against its edit's range.\n"
    "\n"
    "  --speed V           trawl speed, m/s\n"
    "  --resistance R      trawl resistance, kN\n"
    "  --density RHO       water density, kg/m^3\n"
    "  --warp-plan DEG     warp attack angle, horizontal projection, degrees\n"
    "  --warp-side DEG     warp attack angle, vertical projection, degrees\n"
    "  --bridle-plan DEG   bridle attack angle, horizontal projection, degrees\n"
    "  --bridle-side DEG   bridle attack angle, vertical projection, degrees\n"
    "  --async             post the request and wait for the program's completion\n"
    "                      message instead of sending it and waiting for the reply\n"
    "  --json              one JSON object instead of the table\n"
    "  --version           the program's version\n"
    "  --help              this text\n"
    "\n"
    "Each value must be a number a double holds, also in the block's unit (N, radians).\n"
    "The block is this user's, /BalancingOfOtterboard-<uid>; the environment variable\n"
    "RAVLEN_LINK_BLOCK names another one (\"/\" and up to 254 characters without \"/\").\n"
    "\n"
    "Exit status: 0 done, 1 this client cannot receive the completion, 2 usage error\n"
    "(or an invalid RAVLEN_LINK_BLOCK), 3 no running program of this user serves the link\n"
    "or it went away before answering.\n";

struct TUsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The input slots, in block order, with what the options set.
enum TInputSlot { kSpeed, kResistance, kDensity, kWarpPlan, kWarpSide, kBridlePlan, kBridleSide, kInputSlots };

struct TOptionSpec {
  const char* Name;
  Real Multiplier;  // option unit to the block's unit
};

constexpr std::array<TOptionSpec, kInputSlots> kInputOptions = {{
    {"--speed", 1},
    {"--resistance", kKiloNewton},
    {"--density", 1},
    {"--warp-plan", kAngleEditFactor},
    {"--warp-side", kAngleEditFactor},
    {"--bridle-plan", kAngleEditFactor},
    {"--bridle-side", kAngleEditFactor},
}};

struct TOptions {
  bool Async = false;
  bool Json = false;
  bool Help = false;
  std::array<std::optional<Real>, kInputSlots> Inputs;  // block units
};

// The program checks the ranges, as for a user's entry; here only the form: one number
// that a double carries, in the option's unit and in the block's.
Real Number(const std::string& option, const std::string& text, Real multiplier)
{
  const TUsageError error(option + ": '" + EscapedText(text) + "' is not a number within the range of a double");
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
    throw error;
  char* end = nullptr;
  const Real value = std::strtold(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !FitsDouble(value) || !FitsDouble(value * multiplier))
    throw error;
  return value * multiplier;
}

TOptions ParseOptions(int argc, const char* const* argv)
{
  TOptions o;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--", 0) != 0)
      throw TUsageError("unexpected argument '" + EscapedText(arg) + "'; see --help");
    std::optional<std::string> value;
    if (const auto eq = arg.find('='); eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
    }
    if (arg == "--async" || arg == "--json" || arg == "--help") {
      if (value)
        throw TUsageError(arg + " takes no value");
      (arg == "--async" ? o.Async : arg == "--json" ? o.Json : o.Help) = true;
      continue;
    }
    int slot = 0;
    while (slot < kInputSlots && arg != kInputOptions[slot].Name)
      ++slot;
    if (slot == kInputSlots)
      throw TUsageError("unknown option '" + EscapedText(arg) + "'; see --help");
    if (!value) {
      if (i + 1 >= argc)
        throw TUsageError(arg + " needs a value; see --help");
      value = argv[++i];
    }
    o.Inputs[slot] = Number(arg, *value, kInputOptions[slot].Multiplier);
  }
  return o;
}

unsigned char* SlotOf(TBalanceBlock& block, int slot)
{
  unsigned char* const fields[kInputSlots] = {block.TrawlSpeed,      block.TrawlResistance,  block.WaterDensity,
                                             block.WarpAngleOnPlan, block.WarpAngleOnSide, block.BridleAngleOnPlan,
                                             block.BridleAngleOnSide};
  return fields[slot];
}

// Posts the request and runs the event loop until the completion arrives at this
// client's own port. Returns 0, or the exit status with its reason on err.
int AwaitAsynchronous(TBalanceBlock& block, TWindowHandle window, TWindowMessages& messages, std::ostream& err)
{
  const std::uint32_t asyn = RegisterWindowMessage(BALANCE_LINK_ASYN_BALANCE_NAME);
  const auto self = static_cast<TWindowHandle>(::getpid());
  TMessagePort port;
  if (!port.Listen(self)) {
    err << "ravlen-link: cannot receive the completion: " << port.ErrorString().toStdString() << "\n";
    return kStatusFailed;
  }
  QEventLoop loop;
  bool completed = false;
  port.SetHandler([&](const TWindowMessage& message) -> std::int64_t {
    if (message.Message == asyn) {
      completed = true;
      loop.quit();
    }
    return 0;
  });
  QTimer watch;
  watch.setInterval(kLivenessCheckMs);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (MainWindowOf(block) != window || !messages.IsWindowServed(window))
      loop.quit();
  });

  SetCallerWindow(block, self);
  if (!messages.PostMessage(window, {asyn, 0, 0})) {
    err << "ravlen-link: window " << window << " no longer takes requests\n";
    return kStatusNoProgram;
  }
  watch.start();
  loop.exec();
  if (!completed) {
    err << "ravlen-link: the program went away before it completed the request\n";
    return kStatusNoProgram;
  }
  return 0;
}

void PrintResults(std::ostream& out, const TBalanceResults& r, bool json, TWindowHandle window, bool async)
{
  const Txyz attitudeDeg = DivXyz(r.Attitude, kDegToRad);
  if (json) {
    out << "{\n"
        << "  \"attitude_deg\": " << JsonVector(attitudeDeg) << ",\n"
        << "  \"moment_Nm\": " << JsonVector(r.Moment) << ",\n"
        << "  \"force_N\": " << JsonVector(r.Force) << ",\n"
        << "  \"tow_point_m\": " << JsonVector(r.TowPoint) << ",\n"
        << "  \"pair_upper_m\": " << JsonVector(r.PairUpper) << ",\n"
        << "  \"pair_lower_m\": " << JsonVector(r.PairLower) << "\n"
        << "}\n";
    return;
  }
  out << "Balanced by window " << window << " (" << (async ? "asynchronous" : "synchronous") << " request)\n"
      << "\n  " << std::string(22, ' ') << "             X             Y             Z\n"
      << Row("Attitude, deg", attitudeDeg, 6)
      << Row("Moment, N*m", r.Moment, 3)
      << Row("Force, kN", r.Force, 4, kKiloNewton)
      << Row("Towing point, m", r.TowPoint, 4)
      << Row("Pair upper point, m", r.PairUpper, 4)
      << Row("Pair lower point, m", r.PairLower, 4);
}

}  // namespace

int RunLinkCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
  if (HasOption(argc, argv, "--version")) {
    PrintVersion(out, "ravlen-link");
    return 0;
  }
  TOptions options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const TUsageError& e) {
    err << "ravlen-link: " << e.what() << "\n";
    return kStatusUsage;
  }
  if (options.Help) {
    out << kUsage;
    return 0;
  }

  const std::optional<std::string> blockName = LinkBlockName();
  if (!blockName) {
    err << "ravlen-link: " << InvalidLinkBlockText() << "\n";
    return kStatusUsage;
  }
  const std::string& name = *blockName;
  TPosixSharedMemory memory;
  switch (memory.Open(name)) {
    case TShmStatus::Ok:
      break;
    case TShmStatus::NotFound:
      err << "ravlen-link: no running ravlen serves the balance link (there is no block " << name << ")\n";
      return kStatusNoProgram;
    case TShmStatus::Foreign:
      err << "ravlen-link: " << memory.ErrorString() << ", not to you: no running ravlen of yours serves the link\n";
      return kStatusNoProgram;
    case TShmStatus::AlreadyExists:
    case TShmStatus::Failed:
      err << "ravlen-link: " << memory.ErrorString() << "\n";
      return kStatusNoProgram;
  }
  auto* block = reinterpret_cast<TBalanceBlock*>(memory.Map(sizeof(TBalanceBlock)));
  if (!block) {
    err << "ravlen-link: " << name << " is not a balance block: " << memory.ErrorString() << "\n";
    return kStatusNoProgram;
  }
  TSocketWindowMessages messages;
  const TWindowHandle window = MainWindowOf(*block);
  if (window == 0) {
    err << "ravlen-link: the program that made " << name << " has closed its window\n";
    return kStatusNoProgram;
  }
  if (!messages.IsWindowServed(window)) {
    err << "ravlen-link: no running ravlen serves the balance link (window " << window
        << " recorded in " << name << " is gone)\n";
    return kStatusNoProgram;
  }

  for (int slot = 0; slot < kInputSlots; ++slot)
    if (options.Inputs[slot])
      WriteSlot(SlotOf(*block, slot), *options.Inputs[slot]);

  if (options.Async) {
    if (const int status = AwaitAsynchronous(*block, window, messages, err); status != 0)
      return status;
  } else if (!messages.SendMessage(window, {RegisterWindowMessage(BALANCE_LINK_SYNC_BALANCE_NAME), 0, 0})) {
    err << "ravlen-link: the program went away before it answered the request\n";
    return kStatusNoProgram;
  }
  PrintResults(out, ResultsOf(*block), options.Json, window, options.Async);
  return 0;
}
