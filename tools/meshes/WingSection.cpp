// Least-squares quartic through the centre-of-pressure line (millimetres).
#include "WingSection.h"

#include <cmath>

#include "coefficients/CoefTables.h"

namespace {

constexpr double kCentre = 66, kSpread = 200;  // keeps the normal equations well conditioned

}  // namespace

TWingSection::TWingSection()
{
  double a[5][6] = {};
  for (const TCpLineRow& row : CpLineTable) {
    const double t = (static_cast<double>(row.X) * 1000 - kCentre) / kSpread;
    const double y = static_cast<double>(row.Y) * 1000;
    double p[5] = {1, t, t * t, t * t * t, t * t * t * t};
    for (int i = 0; i < 5; ++i) {
      for (int j = 0; j < 5; ++j)
        a[i][j] += p[i] * p[j];
      a[i][5] += p[i] * y;
    }
  }
  for (int i = 0; i < 5; ++i)
    for (int r = 0; r < 5; ++r)
      if (r != i) {
        const double f = a[r][i] / a[i][i];
        for (int c = i; c < 6; ++c)
          a[r][c] -= f * a[i][c];
      }
  for (int i = 0; i < 5; ++i)
    FCoef[i] = a[i][5] / a[i][i];
}

double TWingSection::Y(double x) const
{
  const double t = (x - kCentre) / kSpread;
  return FCoef[0] + t * (FCoef[1] + t * (FCoef[2] + t * (FCoef[3] + t * FCoef[4])));
}

TVec2 TWingSection::Normal(double x) const
{
  const double t = (x - kCentre) / kSpread;
  const double slope = (FCoef[1] + t * (2 * FCoef[2] + t * (3 * FCoef[3] + t * 4 * FCoef[4]))) / kSpread;
  const double l = std::hypot(slope, 1.0);
  return {-slope / l, 1 / l};
}
