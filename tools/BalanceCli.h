// ravlen-balance: the door model without a window. Parses the command line into a door,
// its rigging and its towing conditions, evaluates or balances it and prints a table or
// one JSON object. Kept apart from main() so that tests can drive it in process.
#pragma once

#include <iosfwd>

// Runs the command line args[1..argc-1]; returns the process exit status (0, or 2 for a
// usage error, which prints one line on err and nothing on out).
int RunBalanceCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
