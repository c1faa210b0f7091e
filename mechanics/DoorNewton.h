// The Newton balance: solves moment = 0 for the attitude with a forward-difference
// Jacobian and damped Newton steps chosen by a line search on the residual, tested like
// the relaxation (sum of |moment| below kBalanceTolerance) and limited to as many
// steps; it hands over to the relaxation when it cannot make progress.
#pragma once

#include <functional>

#include "DoorSolver.h"

// Largest turn of any attitude angle in one step, radians (about 29 degrees): a first
// step from far away can otherwise throw the door past the balance it heads for.
inline constexpr Real kNewtonMaxTurn = 0.5L;
// Damping of the first step: its time step times the Jacobian's row-sum norm. At 10 the
// first step covers ten elevenths of a Newton step along the stiffest turn and less
// along softer ones, so a door far from balance first turns the way its moments push.
inline constexpr Real kNewtonFirstDamping = 10;
// A start whose Newton step turns no angle by more than this, radians (about 6
// degrees), is near enough a balance for the moment to be almost linear: the damping
// of the first step shrinks in proportion, so a sweep that starts each case from the
// balance of the case before takes nearly full Newton steps at once.
inline constexpr Real kNewtonLinearTurn = 0.1L;
// A step is taken when it lowers the residual below (1 - kNewtonDecrease) of what it
// was; otherwise the damping grows fourfold, at most kNewtonRetries times, before the
// step counts as no progress.
inline constexpr Real kNewtonDecrease = 1e-4L;
inline constexpr int kNewtonRetries = 20;

struct TNewtonResult {
  bool Converged = false;   // the moment fell below the tolerance
  int Steps = 0;            // Newton steps taken
  int Evaluations = 0;      // evaluations of the door, a fallback's included
  bool FellBack = false;    // the relaxation finished the run
  int RelaxIterations = 0;  // that relaxation's iterations
  Txyz Moment;              // moment at the final attitude, N*m (Y reversed)
  Real Residual = 0;        // |M.X| + |M.Y| + |M.Z| of that moment
};

// Balances the model's attitude from where it stands. When no damping of a step lowers
// the residual, the relaxation (SolveBalance, which gets progress) carries on from the
// best attitude reached. A moment that is not finite at the start ends the run at
// once: no method gets anywhere from there. The model is left evaluated at the final
// attitude. Allocates nothing.
TNewtonResult SolveBalanceNewton(TDoorModel& model, const std::function<void(int)>& progress = {});
