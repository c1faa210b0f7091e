// The lines of a grid.
#include "XYZGrid.h"

#include <cmath>

namespace {

std::vector<float> Samples(const TGridAxis& axis)
{
  std::vector<float> values;
  if (!(axis.Step > 0) || !(axis.Max > axis.Min))
    return {axis.Min};
  // The small allowance keeps a maximum that is a whole number of steps away.
  const int count = static_cast<int>(std::floor((axis.Max - axis.Min) / axis.Step + 1e-4f)) + 1;
  for (int i = 0; i < count; ++i)
    values.push_back(axis.Min + static_cast<float>(i) * axis.Step);
  return values;
}

}  // namespace

std::vector<QVector3D> TXYZGrid::LineVertices() const
{
  std::vector<QVector3D> out;
  const std::array<std::vector<float>, 3> samples{Samples(FAxes[0]), Samples(FAxes[1]), Samples(FAxes[2])};
  for (int along = 0; along < 3; ++along) {
    if (!(FParts & (1 << along)))
      continue;
    const int a = (along + 1) % 3, b = (along + 2) % 3;
    const TGridAxis& run = FAxes[static_cast<std::size_t>(along)];
    const float dash = FLineStyle == TGridLineStyle::Dashed && run.Step > 0 ? run.Step / 4 : 0;
    for (float u : samples[static_cast<std::size_t>(a)])
      for (float v : samples[static_cast<std::size_t>(b)]) {
        QVector3D from, to;
        from[a] = to[a] = u;
        from[b] = to[b] = v;
        from[along] = run.Min;
        to[along] = run.Max;
        if (dash <= 0) {
          out.push_back(from);
          out.push_back(to);
          continue;
        }
        for (float t = run.Min; t < run.Max; t += 2 * dash) {
          QVector3D d0 = from, d1 = from;
          d0[along] = t;
          d1[along] = std::min(t + dash, run.Max);
          out.push_back(d0);
          out.push_back(d1);
        }
      }
  }
  return out;
}
