// Balance solver. The door settles where the moment about the towing point vanishes;
// each relaxation step turns every attitude angle by its own moment component:
//   A_(k+1) = A_k + M(A_k) (pi/180) / F,
// F the solver factor (10000 turns the door one degree per 10 kN*m). The gain is fixed:
// a line search or a Newton step on the 3 x 3 Jacobian would converge in fewer steps,
// but the users tune the factor by feel and expect the same run for the same factor.
// There is no divergence test; a NaN moment (degenerate rigging) fails the convergence
// test and the run ends at the iteration limit with NaN results.
#include "DoorSolver.h"

#include <cmath>

namespace {

Real Residual(const Txyz& m) { return std::fabs(m.X) + std::fabs(m.Y) + std::fabs(m.Z); }

}  // namespace

void StepAttitude(TDoorModel& model, const Txyz& moment)
{
  Txyz a = model.Attitude();
  const Real factor = model.SolverFactor();
  // The Y moment is already sign-reversed by the force model, so all three add alike.
  a.X = a.X + moment.X * kDegToRad / factor;
  a.Y = a.Y + moment.Y * kDegToRad / factor;
  a.Z = a.Z + moment.Z * kDegToRad / factor;
  model.SetAttitude(a);
}

TSolveResult SolveBalance(TDoorModel& model, const std::function<void(int)>& progress)
{
  TSolveResult result;
  Txyz moment;
  int i = 0;
  while (i < kBalanceIterationLimit) {
    moment = model.EvaluateDoor(model.Attitude());
    if (Residual(moment) < kBalanceTolerance) {
      result.Converged = true;
      break;
    }
    StepAttitude(model, moment);
    moment = model.EvaluateDoor(model.Attitude());
    ++i;
    if (i % kBalanceProgressInterval == 0 && progress)
      progress(i);
  }
  result.Iterations = i;
  result.Evaluations = 2 * i + (result.Converged ? 1 : 0);
  result.Moment = moment;
  result.Residual = Residual(moment);
  return result;
}
