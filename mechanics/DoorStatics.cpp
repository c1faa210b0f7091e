// One balance with its stability, heel, pitch and warnings.
#include "DoorStatics.h"

#include "DoorNewton.h"
#include "DoorSolver.h"

const char* MethodName(TBalanceMethod method)
{
  return method == TBalanceMethod::Newton ? "newton" : "relax";
}

TBalanceOutcome BalanceDoor(TDoorModel& model, TBalanceMethod method, const std::function<void(int)>& progress)
{
  TBalanceOutcome o;
  o.Method = method;
  if (method == TBalanceMethod::Newton) {
    const TNewtonResult r = SolveBalanceNewton(model, progress);
    o.FellBack = r.FellBack;
    o.NewtonSteps = r.Steps;
    o.Iterations = r.RelaxIterations;
    o.Evaluations = r.Evaluations;
    o.Converged = r.Converged;
    o.Moment = r.Moment;
    o.Residual = r.Residual;
  } else {
    const TSolveResult r = SolveBalance(model, progress);
    o.Iterations = r.Iterations;
    o.Evaluations = r.Evaluations;
    o.Converged = r.Converged;
    o.Moment = r.Moment;
    o.Residual = r.Residual;
    // The relaxation's last evaluation is the one that converged, or the one after its
    // last step: either way at the final attitude.
  }
  const Txyz a = model.Attitude();
  if (o.Converged) {
    o.Stability = AssessStability(model, a);
    o.StabilityAssessed = true;
  }
  o.HeelPitch = HeelPitchOf(a);
  o.AttackAngle = model.Results().FAttackW;
  o.Warnings = WarningsFor(o.Converged, o.Stability.Stable, o.AttackAngle, o.HeelPitch.Heel, o.HeelPitch.Pitch);
  return o;
}
