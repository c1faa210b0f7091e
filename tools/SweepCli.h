// ravlen-balance sweep: runs a sweep of the towing conditions and prints one CSV row
// (after a header row) or one JSON object per line for every case.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "BalanceCli.h"
#include "mechanics/DoorSweep.h"

struct TSweepRequest {
  TSweepDef Def;                                // the door set-up, the axes, the method
  std::vector<std::string> Names;               // option name of each axis ("speed")
  std::vector<std::vector<std::string>> Texts;  // each axis value as the option was given it
  bool Json = false;
};

// Runs and prints; 0, or 130 when cancelled (the cases done are printed).
int RunSweepCli(const TSweepRequest& request, const TCliContext& context, std::ostream& out, std::ostream& err);
