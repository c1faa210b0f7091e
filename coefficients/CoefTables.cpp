// Coefficient tables of the door family's wing, measured over a quarter circle and
// unfolded by symmetry: drag is even in the attack angle and both drag and lift repeat
// every half turn, while lift is mirrored about its zero-angle value on the back side
// and the centre of pressure changes end when the flow comes from the trailing edge.
#include "CoefTables.h"

const std::array<TCoefRow, kCoefRows> CoefTable{{
    {0.0L, 0.11L, 0.2L, -0.3L},
    {5.0L, 0.12L, 0.44L, -0.232L},
    {10.0L, 0.14L, 0.71L, -0.184L},
    {20.0L, 0.19L, 1.17L, -0.081L},
    {30.0L, 0.35L, 1.66L, 0.008L},
    {40.0L, 0.54L, 2.02L, 0.051L},
    {42.5L, 0.57L, 2.07L, 0.057L},
    {45.0L, 0.64L, 2.13L, 0.062L},
    {47.5L, 0.69L, 2.17L, 0.064L},
    {50.0L, 0.77L, 1.95L, 0.069L},
    {52.5L, 0.91L, 1.65L, 0.012L},
    {60.0L, 1.1L, 1.2L, -0.1L},
    {75.0L, 1.25L, 0.7L, -0.1L},
    {90.0L, 1.4L, 0.0L, 0.0L},
}};

const std::array<TCpLineRow, kCpLineRows> CpLineTable{{
    {-0.5L, -0.13L, 0.072103L, 0.0L},
    {-0.375L, -0.079934L, 0.0958724L, 0.0L},
    {-0.25L, -0.0324221L, 0.1060882L, 0.0L},
    {-0.125L, 0.017L, 0.1105223L, 0.0L},
    {0.0L, 0.066L, 0.1114408L, 0.0L},
    {0.125L, 0.115L, 0.1102459L, 0.0L},
    {0.25L, 0.164L, 0.1041188L, 0.0L},
    {0.375L, 0.213L, 0.0911323L, 0.0L},
    {0.5L, 0.262L, 0.072L, 0.0L},
}};

const std::array<Real, kSpanRows> SpanAngleDegTable{-90.0L, -15.0L, -10.0L, -5.0L, 0.0L,
                                                    5.0L,   10.0L,  15.0L,  90.0L};
const std::array<Real, kSpanRows> SpanCoefTable{0.0L,   -0.36L, -0.29L, -0.121L, 0.0L,
                                                0.121L, 0.29L,  0.36L,  0.0L};

TUnfoldedTables UnfoldCoefTable()
{
  constexpr int N = kCoefRows - 1;
  TUnfoldedTables t{};
  // The seams (indices N, 2N, 3N) are written twice; the later write stands.
  for (int i = 0; i <= N; ++i) {
    const TCoefRow& row = CoefTable[i];
    const TCoefRow& mirror = CoefTable[N - i];
    t.Angle[i] = row.Angle * kDegToRad - kPi;
    t.Angle[2 * N - i] = -row.Angle * kDegToRad;
    t.Angle[2 * N + i] = row.Angle * kDegToRad;
    t.Angle[4 * N - i] = kPi - row.Angle * kDegToRad;

    t.Cx[i] = row.Cx;
    t.Cx[N + i] = mirror.Cx;
    t.Cx[2 * N + i] = row.Cx;
    t.Cx[3 * N + i] = mirror.Cx;

    t.Cy[i] = row.Cy;
    t.Cy[N + i] = 2 * CoefTable[0].Cy - mirror.Cy;
    t.Cy[2 * N + i] = row.Cy;
    t.Cy[3 * N + i] = 2 * CoefTable[0].Cy - mirror.Cy;

    t.Cp[i] = -row.Cp;
    t.Cp[N + i] = mirror.Cp;
    t.Cp[2 * N + i] = row.Cp;
    t.Cp[3 * N + i] = -mirror.Cp;
  }
  return t;
}

void TCoefficientCurves::Build()
{
  // Both end slopes are estimated from the three end nodes.
  constexpr Real kEstimateSlope = 1000;
  const TUnfoldedTables t = UnfoldCoefTable();
  FCxCurve.Build(t.Angle, t.Cx, kEstimateSlope, kEstimateSlope);
  FCyCurve.Build(t.Angle, t.Cy, kEstimateSlope, kEstimateSlope);
  FCpCurve.Build(t.Angle, t.Cp, kEstimateSlope, kEstimateSlope);

  std::array<Real, kSpanRows> spanAngle;
  for (int i = 0; i < kSpanRows; ++i)
    spanAngle[i] = SpanAngleDegTable[i] * kDegToRad;
  FSpanCurve.Build(spanAngle, SpanCoefTable, kEstimateSlope, kEstimateSlope);

  std::array<Real, kCpLineRows> p, x, y, z;
  for (int i = 0; i < kCpLineRows; ++i) {
    p[i] = CpLineTable[i].P;
    x[i] = CpLineTable[i].X;
    y[i] = CpLineTable[i].Y;
    z[i] = CpLineTable[i].Z;
  }
  FCpLineX.Build(p, x, kEstimateSlope, kEstimateSlope);
  FCpLineY.Build(p, y, kEstimateSlope, kEstimateSlope);
  FCpLineZ.Build(p, z, kEstimateSlope, kEstimateSlope);
}
