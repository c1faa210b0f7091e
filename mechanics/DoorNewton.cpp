// Newton balance. The balanced attitude A* solves M(A*) = 0, M the moment about the
// towing point (Y reversed, as everywhere). The relaxation is the explicit Euler method
// for the turning of the door, dA/dt = M(A), with a fixed small time step; this solver
// takes implicit Euler steps of the same motion with a time step that grows as the
// moment falls (pseudo-transient continuation), and so ends in plain Newton steps:
//   J_k = dM/dA at A_k by forward differences (three evaluations, kJacobianStep),
//   (I / h_k - J_k) d = M(A_k),   d scaled so that no angle turns more than kNewtonMaxTurn,
//   A_(k+1) = A_k + d  when  r(A_(k+1)) < (1 - kNewtonDecrease) r(A_k),
//   r = |M.X| + |M.Y| + |M.Z|; otherwise h_k / 4 and the step is tried again (the line
//   search), at most kNewtonRetries times;
//   h_0 = kNewtonFirstDamping / |J_0| (times kNewtonLinearTurn / |J_0^-1 M| when that
//   Newton step is shorter, as from the balance of a neighbouring case),
//   h_(k+1) = h_k r(A_k) / r(A_(k+1)),
// until r < kBalanceTolerance. As h grows the step becomes d = -J^-1 M, so the last
// steps converge quadratically. Because the early steps follow the door's own turning,
// the solver settles where the relaxation does, not at whichever root of M lies
// nearest; started close to an unstable balance it may still end there, and the
// stability check says so. When no retry lowers the residual, or the system is
// singular, the relaxation takes over from A_k.
// Rejected: plain Newton with a step-length line search (from zero attitude it often
// runs into a valley of |M| with a singular Jacobian, or to an unstable root of a door
// hanging upside down); an analytic Jacobian (the spline lookups, the folding of the
// attack angle and the bracket geometry make it long and brittle, for three evaluations
// saved per step); Broyden updates (fewer evaluations per step, more steps, and a
// poorer Jacobian near the root).
#include "DoorNewton.h"

#include <cmath>

#include "DoorStability.h"

namespace {

Real Residual(const Txyz& m) { return std::fabs(m.X) + std::fabs(m.Y) + std::fabs(m.Z); }

Txyz Limited(const Txyz& d)
{
  const Real largest = std::fmax(std::fabs(d.X), std::fmax(std::fabs(d.Y), std::fabs(d.Z)));
  return largest > kNewtonMaxTurn ? d * (kNewtonMaxTurn / largest) : d;
}

Real RowSumNorm(const TMatrix3& j)
{
  Real norm = 0;
  for (const auto& row : j)
    norm = std::fmax(norm, std::fabs(row[0]) + std::fabs(row[1]) + std::fabs(row[2]));
  return norm;
}

// h_0: kNewtonFirstDamping / |J|, and more (less damping) when Newton's own step is
// shorter than kNewtonLinearTurn, where the moment is close to linear in the attitude.
Real FirstTimeStep(const TMatrix3& j, const Txyz& m)
{
  const Real h = kNewtonFirstDamping / RowSumNorm(j);
  Txyz newton;
  if (!Solve3(j, Txyz{-m.X, -m.Y, -m.Z}, newton))
    return h;
  const Real turn = std::fmax(std::fabs(newton.X), std::fmax(std::fabs(newton.Y), std::fabs(newton.Z)));
  return turn < kNewtonLinearTurn ? h * (kNewtonLinearTurn / turn) : h;
}

}  // namespace

TNewtonResult SolveBalanceNewton(TDoorModel& model, const std::function<void(int)>& progress)
{
  TNewtonResult result;
  Txyz a = model.Attitude();
  Txyz m = model.EvaluateDoor(a);
  result.Evaluations = 1;
  Real r = Residual(m);
  Real h = 0;  // set from the first Jacobian
  bool stuck = false;

  while (std::isfinite(r) && r >= kBalanceTolerance && result.Steps < kBalanceIterationLimit) {
    const TMatrix3 j = MomentJacobian(model, a, m);
    result.Evaluations += 3;
    if (result.Steps == 0)
      h = FirstTimeStep(j, m);
    bool taken = false;
    for (int retry = 0; retry <= kNewtonRetries && !taken; ++retry) {
      if (retry > 0)
        h /= 4;
      TMatrix3 k;
      for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
          k[row][col] = (row == col ? 1 / h : 0) - j[row][col];
      Txyz d;
      if (!Solve3(k, m, d))
        continue;
      const Txyz next = a + Limited(d);
      const Txyz mNext = model.EvaluateDoor(next);
      ++result.Evaluations;
      const Real rNext = Residual(mNext);
      if (rNext < (1 - kNewtonDecrease) * r) {
        h = h * (r / rNext);  // infinite once the moment vanishes exactly: a pure Newton step
        a = next;
        m = mNext;
        r = rNext;
        taken = true;
      }
    }
    if (!taken) {
      stuck = true;
      break;
    }
    ++result.Steps;
  }

  model.SetAttitude(a);
  if (stuck) {
    const TSolveResult relax = SolveBalance(model, progress);
    result.FellBack = true;
    result.RelaxIterations = relax.Iterations;
    result.Evaluations += relax.Evaluations;
    result.Converged = relax.Converged;
    result.Moment = relax.Moment;
    result.Residual = relax.Residual;
    return result;
  }
  // The last evaluation was at a: the start, or the step just taken.
  result.Converged = r < kBalanceTolerance;
  result.Moment = m;
  result.Residual = r;
  return result;
}
