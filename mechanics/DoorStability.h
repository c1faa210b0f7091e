// Stability of a balanced door: the Jacobian of the moment about the towing point with
// respect to the attitude, and the verdict from its eigenvalues. The door turns back
// after a small push when every eigenvalue has a negative real part.
#pragma once

#include "DoorModel.h"
#include "Matrix3.h"

// Forward-difference step of the Jacobian, radians. The moment's terms are some 1e5 N*m,
// so the rounding of one evaluation (1e-19 relative) over this step costs 1e-6 N*m/rad,
// and the curvature (1e5 N*m/rad^2) over half of it 5e-4 N*m/rad, both far below the
// 1e3..1e5 N*m/rad of the entries.
inline constexpr Real kJacobianStep = 1e-8L;

// J[i][j] = d M_i / d A_j at attitude a by forward differences from m0 = M(a), the
// moment's Y component reversed as the force model gives it. Three evaluations; the
// model is left evaluated at the last push.
TMatrix3 MomentJacobian(TDoorModel& model, const Txyz& a, const Txyz& m0);

struct TStability {
  bool Stable = false;        // every eigenvalue has a negative real part
  TEigenvalues3 Eigenvalues{};  // of the Jacobian, N*m/rad
};

// The verdict on a Jacobian.
TStability StabilityOf(const TMatrix3& jacobian);

// Pushes the door about each axis from a, then evaluates it at a again (four
// evaluations), so the model's results describe a when it returns.
TStability AssessStability(TDoorModel& model, const Txyz& a);
