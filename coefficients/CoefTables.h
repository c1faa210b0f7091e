// The wing's hydrodynamic coefficient tables: the quarter-circle table of drag, lift and
// centre-of-pressure position, its unfolding over the full circle of attack angles, the
// centre-of-pressure line and the span coefficient, and the seven curves built on them.
#pragma once

#include <array>

#include "Real.h"
#include "uspline.h"

// One row of the quarter-circle table.
struct TCoefRow {
  Real Angle;  // attack angle, degrees (0 .. 90)
  Real Cx;     // drag coefficient
  Real Cy;     // lift coefficient
  Real Cp;     // chord parameter of the centre of pressure (-0.5 .. 0.5)
};
inline constexpr int kCoefRows = 14;
extern const std::array<TCoefRow, kCoefRows> CoefTable;

// One row of the centre-of-pressure line: chord parameter p to a point of the wing's
// mid-section, door frame, unit scale.
struct TCpLineRow {
  Real P, X, Y, Z;
};
inline constexpr int kCpLineRows = 9;
extern const std::array<TCpLineRow, kCpLineRows> CpLineTable;

// Span coefficient against the attack angle of the span axis (degrees).
inline constexpr int kSpanRows = 9;
extern const std::array<Real, kSpanRows> SpanAngleDegTable;
extern const std::array<Real, kSpanRows> SpanCoefTable;

// The quarter-circle table unfolded over -180 .. 180 degrees (angles in radians).
inline constexpr int kUnfoldedRows = 4 * (kCoefRows - 1) + 1;  // 53
struct TUnfoldedTables {
  std::array<Real, kUnfoldedRows> Angle;
  std::array<Real, kUnfoldedRows> Cx;
  std::array<Real, kUnfoldedRows> Cy;
  std::array<Real, kUnfoldedRows> Cp;
};
TUnfoldedTables UnfoldCoefTable();

// The seven curves the force model evaluates.
struct TCoefficientCurves {
  TSpline FCxCurve;    // drag coefficient against the wing attack angle, radians
  TSpline FCyCurve;    // lift coefficient against the wing attack angle
  TSpline FCpCurve;    // centre-of-pressure chord parameter against the wing attack angle
  TSpline FCpLineX;    // centre-of-pressure line, x against the chord parameter
  TSpline FCpLineY;    // ... y
  TSpline FCpLineZ;    // ... z
  TSpline FSpanCurve;  // span coefficient against the span attack angle, radians

  // Unfolds the tables and (re)builds all seven curves with estimated end slopes.
  void Build();
};
