// Stability of a balanced door. Near a balanced attitude A* the moment is
//   M(A* + d) ~ J d,  J[i][j] = d M_i / d A_j,
// and a door left to turn with its moment (the relaxation's own picture, dA/dt ~ M)
// returns to A* exactly when every eigenvalue of J has a negative real part. The Y
// component of the model's moment is reversed, like the sense of the Y rotation of the
// attitude, so J is taken as the model gives it, without sign changes.
// Central differences would halve the truncation error at twice the evaluations; the
// forward error is already four orders below the entries (see kJacobianStep).
#include "DoorStability.h"

namespace {

Txyz Pushed(const Txyz& a, int axis)
{
  Txyz p = a;
  (axis == 0 ? p.X : axis == 1 ? p.Y : p.Z) += kJacobianStep;
  return p;
}

void SetColumn(TMatrix3& j, int axis, const Txyz& pushed, const Txyz& m0)
{
  j[0][axis] = (pushed.X - m0.X) / kJacobianStep;
  j[1][axis] = (pushed.Y - m0.Y) / kJacobianStep;
  j[2][axis] = (pushed.Z - m0.Z) / kJacobianStep;
}

}  // namespace

TMatrix3 MomentJacobian(TDoorModel& model, const Txyz& a, const Txyz& m0)
{
  TMatrix3 j{};
  for (int axis = 0; axis < 3; ++axis)
    SetColumn(j, axis, model.EvaluateDoor(Pushed(a, axis)), m0);
  return j;
}

TStability StabilityOf(const TMatrix3& jacobian)
{
  TStability s;
  s.Eigenvalues = Eigenvalues3(jacobian);
  s.Stable = true;
  for (const auto& e : s.Eigenvalues)
    if (!(e.real() < 0))  // NaN is not stable either
      s.Stable = false;
  return s;
}

TStability AssessStability(TDoorModel& model, const Txyz& a)
{
  Txyz pushed[3];
  for (int axis = 0; axis < 3; ++axis)
    pushed[axis] = model.EvaluateDoor(Pushed(a, axis));
  const Txyz m0 = model.EvaluateDoor(a);
  TMatrix3 j{};
  for (int axis = 0; axis < 3; ++axis)
    SetColumn(j, axis, pushed[axis], m0);
  return StabilityOf(j);
}
