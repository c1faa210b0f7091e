// The balance solver: fixed-gain relaxation of the door's attitude until the moments
// about the towing point vanish, and the single step the animation repeats.
#pragma once

#include <functional>

#include "DoorModel.h"

inline constexpr int kBalanceIterationLimit = 10000;
// Converged when |M.X| + |M.Y| + |M.Z| falls below this, N*m: about a millionth of the
// moments a door of this family meets in use.
inline constexpr Real kBalanceTolerance = 1e-5L;
// The progress callback runs after every this many iterations.
inline constexpr int kBalanceProgressInterval = 100;

// What a balance run did.
struct TSolveResult {
  int Iterations = 0;      // relaxation steps taken, 0 .. 10000
  int Evaluations = 0;     // evaluations of the door: two per step, one more when converged
  bool Converged = false;  // the moment fell below the tolerance
  Txyz Moment;             // moment at the final attitude, N*m (Y reversed)
  Real Residual = 0;       // |M.X| + |M.Y| + |M.Z| of that moment
};

// Turns the attitude by moment times (pi/180) / solver factor, each angle by its own
// moment component.
void StepAttitude(TDoorModel& model, const Txyz& moment);

// Relaxes the model's attitude from where it stands. progress(iterations) runs after
// every 100 iterations; it may keep a window live, and whatever it changes in the model
// (inputs, gain, even the attitude) the run carries on with. Allocates nothing.
TSolveResult SolveBalance(TDoorModel& model, const std::function<void(int)>& progress = {});
