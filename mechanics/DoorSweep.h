// A sweep of the towing conditions: one input varied along a line of values, or two
// over a grid, each case balanced from the balanced attitude of the case before it
// (continuation). The cases are cut into runs of kSweepRun along the last input; each
// run starts from the start attitude, so the results do not depend on how many
// workers share them.
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include "DoorStatics.h"

// Cases balanced one after another by one worker, the first from the start attitude.
inline constexpr int kSweepRun = 50;

// One varied input: the field of TDoorInputs and its values (SI units, radians).
struct TSweepAxis {
  Real TDoorInputs::*Field = nullptr;
  std::vector<Real> Values;
};

struct TSweepDef {
  // Sets up a model for every case: door, rigging, conditions, solver factor and the
  // start attitude. Called once per worker on a fresh model.
  std::function<void(TDoorModel&)> SetUp;
  std::vector<TSweepAxis> Axes;  // one or two; the last varies fastest
  TBalanceMethod Method = TBalanceMethod::Newton;
  int Workers = 0;  // 0: every core
};

struct TSweepCase {
  bool Done = false;  // balanced before the run ended
  Txyz Attitude;      // final attitude, radians
  Txyz Force;         // FForce there: resistance, spreading, vertical, N
  TBalanceOutcome Outcome;
};

struct TSweepResult {
  std::vector<TSweepCase> Cases;  // row-major over the axes
  long Done = 0;
  bool Cancelled = false;
};

// The number of cases of a sweep: the product of the axes' value counts.
long SweepCaseCount(const TSweepDef& def);
// The value index of each axis for case i (row-major).
std::vector<int> SweepCaseIndices(const TSweepDef& def, long i);

// Runs the sweep. progress(done, total) runs on the calling thread about every
// kProgressPeriod; once *cancel is set the workers stop after the case in hand.
TSweepResult RunSweep(const TSweepDef& def, const std::function<void(long, long)>& progress = {},
                      const std::atomic<bool>* cancel = nullptr);
