// One balance of the door with everything an engineer asks of it: the method and its
// cost, convergence, stability, heel and pitch, and the warnings. The command-line
// tool, its sweeps and the rigging search all balance through here.
#pragma once

#include <functional>

#include "BalanceWarnings.h"
#include "DoorSolver.h"
#include "DoorModel.h"
#include "DoorStability.h"
#include "HeelPitch.h"

enum class TBalanceMethod { Relax, Newton };
// "relax" or "newton".
const char* MethodName(TBalanceMethod method);

struct TBalanceOutcome {
  TBalanceMethod Method = TBalanceMethod::Relax;  // what was asked for
  bool FellBack = false;    // Newton could not make progress; the relaxation finished
  int NewtonSteps = 0;      // Newton steps (Newton only)
  int Iterations = 0;       // relaxation iterations (of the fallback, for Newton)
  int Evaluations = 0;      // evaluations of the solve, without the stability check
  bool Converged = false;
  Txyz Moment;              // at the final attitude, N*m (Y reversed)
  Real Residual = 0;        // |M.X| + |M.Y| + |M.Z|, N*m
  bool StabilityAssessed = false;  // only a converged balance has a stability
  TStability Stability;
  THeelPitch HeelPitch;     // radians
  Real AttackAngle = 0;     // wing attack angle, radians
  TWarnings Warnings;
};

// Balances the model from its attitude with the method, then, when it converged,
// checks the stability (four more evaluations). The model is left evaluated at the
// final attitude. progress goes to the relaxation, as for SolveBalance. Allocates
// nothing.
TBalanceOutcome BalanceDoor(TDoorModel& model, TBalanceMethod method, const std::function<void(int)>& progress = {});
// The outcome of a relaxation run that has just ended on the model (SolveBalance, as the
// window's Balance command runs it): the run's figures, then the stability when it
// converged (four more evaluations, ending at the final attitude), heel, pitch, attack
// angle and warnings.
TBalanceOutcome AssessBalance(TDoorModel& model, const TSolveResult& solve);
