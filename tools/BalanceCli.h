// ravlen-balance: the door model without a window. Parses the command line into a door,
// its rigging and its towing conditions, evaluates or balances it, sweeps the conditions
// or searches the riggings, and prints a table, CSV or JSON. Kept apart from main() so
// that tests can drive it in process.
#pragma once

#include <atomic>
#include <iosfwd>

// What the process around the tool offers its long runs (sweep, advise).
struct TCliContext {
  const std::atomic<bool>* Cancel = nullptr;  // set on Ctrl-C: stop, print what is done
  bool ProgressBar = false;                   // stderr is a terminal: draw a progress bar
};

// Exit status of a long run stopped by Ctrl-C after printing what it had done.
inline constexpr int kInterruptedStatus = 130;

// Runs the command line args[1..argc-1]; returns the process exit status (0, 2 for a
// usage error, which prints one line on err and nothing on out, or 130 for a run
// cancelled through the context).
int RunBalanceCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                  const TCliContext& context = {});
