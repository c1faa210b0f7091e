// Clamped cubic spline. The node array doubles as the work space of the tridiagonal
// solution, so a build allocates the nodes and nothing else.
//
// With M_k the second derivative at node k and sigma_k = M_k / 6, the continuity of
// the first derivative gives, for each interior node,
//   h_(k-1) sigma_(k-1) + 2 (h_(k-1) + h_k) sigma_k + h_k sigma_(k+1) = s_k - s_(k-1),
// s_k the chord slope of interval k, and the clamped ends add
//   2 h_0 sigma_0 + h_0 sigma_1 = s_0 - d0,   h_(n-2) sigma_(n-2) + 2 h_(n-2) sigma_(n-1) = dN - s_(n-2).
// The matrix is symmetric, tridiagonal and diagonally dominant, so plain elimination
// without pivoting is stable. A natural spline was rejected: the coefficient tables
// need sensible end slopes, which the three-point estimates give.
#include "uspline.h"

#include <stdexcept>
#include <string>

#include "uphys.h"

namespace {

// The node every empty curve points at, so that the current node is never null.
const TSplineNode kZeroNode{};

// An end slope: the tangent of an angle strictly inside (-pi/2, pi/2), else the estimate.
Real EndSlopeFromAngle(Real angle, Real estimate)
{
  return (angle > -kHalfPi && angle < kHalfPi) ? Tan(angle) : estimate;
}

}  // namespace

Real StartSlope(std::span<const Real> x, std::span<const Real> y)
{
  if (x.size() == 2)
    return (y[1] - y[0]) / (x[1] - x[0]);
  return ThreePointSlope(x[0], y[0], x[1], y[1], x[2], y[2]);
}

Real EndSlope(std::span<const Real> x, std::span<const Real> y)
{
  const std::size_t n = x.size();
  if (n == 2)
    return (y[1] - y[0]) / (x[1] - x[0]);
  return ThreePointSlope(x[n - 1], y[n - 1], x[n - 2], y[n - 2], x[n - 3], y[n - 3]);
}

TSpline::TSpline() : FCurrent(&kZeroNode) {}

void TSpline::Clear()
{
  FNodes.reset();
  FSegment = -1;
  FLast = 0;
  FCurrent = &kZeroNode;
  FDiff = TSplineNode{};
  FCubic = TSegmentCubic{};
}

void TSpline::Resize(int last)
{
  if (!IsReady() || FLast < last) {
    Clear();
    if (last >= 0)
      FNodes = std::make_unique<TSplineNode[]>(static_cast<std::size_t>(last) + 1);
  }
  FLast = last;
  if (!IsReady())
    Clear();
}

void TSpline::SelectSegment(int i)
{
  FSegment = i;
  FCurrent = &FNodes[i];
  const TSplineNode& next = FNodes[i + 1];
  FDiff = {next.x - FCurrent->x, next.y - FCurrent->y, next.sigma - FCurrent->sigma};
  // The value's Horner coefficients depend on the segment only; worked out here with
  // the very operations ValueAt would repeat, they give the same bits.
  const Real h = FDiff.x, dy = FDiff.y, ds = FDiff.sigma, si = FCurrent->sigma;
  FCubic = {ds / h, 3 * si, dy / h - (3 * si + ds) * h};
}

void TSpline::Build(std::span<const Real> x, std::span<const Real> y, Real startAngle,
                    Real endAngle)
{
  RAVLEN_ASSERT(x.size() == y.size(), "a curve needs as many ordinates as abscissae");
  if (const int bad = FirstNonIncreasing(x); bad >= 0) {
    Clear();
    throw std::invalid_argument("TSpline::Build: abscissa " + std::to_string(bad) +
                                " does not exceed abscissa " + std::to_string(bad - 1));
  }
  const int n = static_cast<int>(x.size());
  Resize(n - 1);
  if (!IsReady())
    return;

  const Real d0 = EndSlopeFromAngle(startAngle, StartSlope(x, y));
  const Real dN = EndSlopeFromAngle(endAngle, EndSlope(x, y));

  // Work space: node k's x holds h_k, its y the diagonal b_k, its sigma the right-hand
  // side r_k and at last the solution. The chord slope s_k waits in node k+1's sigma
  // until row k+1 turns it into r_(k+1).
  TSplineNode* node = FNodes.get();
  node[0].x = x[1] - x[0];
  node[0].y = 2 * node[0].x;
  node[1].sigma = (y[1] - y[0]) / node[0].x;
  node[0].sigma = node[1].sigma - d0;
  for (int k = 1; k <= n - 2; ++k) {
    node[k].x = x[k + 1] - x[k];
    node[k].y = 2 * (x[k + 1] - x[k - 1]);
    const Real previousSlope = node[k].sigma;
    node[k + 1].sigma = (y[k + 1] - y[k]) / node[k].x;
    node[k].sigma = node[k + 1].sigma - previousSlope;
  }
  node[n - 1].y = 2 * node[n - 2].x;
  node[n - 1].sigma = dN - node[n - 1].sigma;

  for (int k = 0; k <= n - 2; ++k) {
    const Real h = node[k].x;
    node[k + 1].y -= h * h / node[k].y;
    node[k + 1].sigma -= node[k].sigma * h / node[k].y;
  }
  node[n - 1].sigma = node[n - 1].sigma / node[n - 1].y;
  for (int k = n - 2; k >= 0; --k)
    node[k].sigma = (node[k].sigma - node[k].x * node[k + 1].sigma) / node[k].y;

  for (int k = 0; k < n; ++k) {
    node[k].x = x[k];
    node[k].y = y[k];
  }
  SelectSegment(0);
}

void TSpline::SetCubic(Real a0, Real a1, Real a2, Real a3)
{
  Resize(1);
  FNodes[0] = {0, a0, a2 / 3};
  FNodes[1] = {1, a0 + a1 + a2 + a3, a2 / 3 + a3};
  SelectSegment(0);
}

Real TSpline::Locate(Real x)
{
  const int c = FSegment;
  int lo, hi, m;
  if (x < FNodes[c].x) {
    lo = 0;
    hi = c;
    m = c / 2;
  } else {
    // A query in the same segment as the last costs one more comparison, one in the
    // next segment two.
    lo = c;
    hi = FLast;
    m = c + 1;
  }
  while (lo + 1 < hi) {
    if (FNodes[m].x <= x)
      lo = m;
    else
      hi = m;
    m = (lo + hi) / 2;
  }
  if (lo != c)
    SelectSegment(lo);
  return x - FNodes[lo].x;
}

Real TSpline::ValueAt(Real x)
{
  if (!IsReady())
    return 0;
  // ((dsigma / h t + 3 sigma_i) t + (dy / h - (3 sigma_i + dsigma) h)) t + y_i
  const Real t = Locate(x);
  return ((FCubic.A * t + FCubic.B) * t + FCubic.C) * t + FCurrent->y;
}

Real TSpline::Slope(Real x)
{
  if (!IsReady())
    return 0;
  const Real t = Locate(x);
  const Real h = FDiff.x, dy = FDiff.y, ds = FDiff.sigma;
  const Real si = FCurrent->sigma;
  return (3 * ds / h * t + 6 * si) * t + dy / h - (3 * si + ds) * h;
}

Real TSpline::SecondDerivative(Real x)
{
  if (!IsReady())
    return 0;
  const Real t = Locate(x);
  return (t * FDiff.sigma / FDiff.x + FCurrent->sigma) * 6;
}

Real TSpline::ThirdDerivative(Real x)
{
  if (!IsReady())
    return 0;
  Locate(x);  // selects the segment, as every query does
  return 6 * FDiff.sigma / FDiff.x;
}

Real TSpline::NodeX(int i) { return FNodes[i].x; }
Real TSpline::NodeY(int i) { return FNodes[i].y; }
Real TSpline::NodeSlope(int i) { return Slope(NodeX(i)); }
Real TSpline::NodeHalfD2(int i) { return SecondDerivative(NodeX(i)) / 2; }
Real TSpline::NodeSixthD3(int i) { return ThirdDerivative(NodeX(i)) / 6; }

Real TSpline::PolyCoef0(int i)
{
  const Real X = NodeX(i), Y = NodeY(i), D1 = NodeSlope(i), E = NodeHalfD2(i), F = NodeSixthD3(i);
  return Y - X * (D1 - X * (E - X * F));
}

Real TSpline::PolyCoef1(int i)
{
  const Real X = NodeX(i), D1 = NodeSlope(i), E = NodeHalfD2(i), F = NodeSixthD3(i);
  return D1 - X * (2 * E - 3 * X * F);
}

Real TSpline::PolyCoef2(int i)
{
  const Real X = NodeX(i), E = NodeHalfD2(i), F = NodeSixthD3(i);
  return E - 3 * X * F;
}

Real TSpline::PolyCoef3(int i) { return NodeSixthD3(i); }
