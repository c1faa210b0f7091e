// One balance with its stability, heel, pitch and warnings.
#include "DoorStatics.h"

#include "DoorNewton.h"
#include "DoorSolver.h"

const char* MethodName(TBalanceMethod method)
{
  return method == TBalanceMethod::Newton ? "newton" : "relax";
}

namespace {

// Stability, heel, pitch, attack angle and warnings of the balance that ended at the
// model's attitude.
void AssessEnd(TDoorModel& model, TBalanceOutcome& o)
{
  const Txyz a = model.Attitude();
  if (o.Converged) {
    o.Stability = AssessStability(model, a);
    o.StabilityAssessed = true;
  }
  o.HeelPitch = HeelPitchOf(a);
  o.AttackAngle = model.Results().FAttackW;
  o.Warnings = WarningsFor(o.Converged, o.Stability.Stable, o.AttackAngle, o.HeelPitch.Heel, o.HeelPitch.Pitch);
}

}  // namespace

TBalanceOutcome AssessBalance(TDoorModel& model, const TSolveResult& r)
{
  TBalanceOutcome o;
  o.Method = TBalanceMethod::Relax;
  o.Iterations = r.Iterations;
  o.Evaluations = r.Evaluations;
  o.Converged = r.Converged;
  o.Moment = r.Moment;
  o.Residual = r.Residual;
  // The relaxation's last evaluation is the one that converged, or the one after its
  // last step: either way at the final attitude.
  AssessEnd(model, o);
  return o;
}

TBalanceOutcome BalanceDoor(TDoorModel& model, TBalanceMethod method, const std::function<void(int)>& progress)
{
  if (method == TBalanceMethod::Relax)
    return AssessBalance(model, SolveBalance(model, progress));
  TBalanceOutcome o;
  o.Method = method;
  const TNewtonResult r = SolveBalanceNewton(model, progress);
  o.FellBack = r.FellBack;
  o.NewtonSteps = r.Steps;
  o.Iterations = r.RelaxIterations;
  o.Evaluations = r.Evaluations;
  o.Converged = r.Converged;
  o.Moment = r.Moment;
  o.Residual = r.Residual;
  AssessEnd(model, o);
  return o;
}
