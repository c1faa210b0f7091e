// TSpline: a tabulated function with clamped cubic-spline evaluation. It holds its
// nodes and one sixth of the second derivative at each, and caches the segment of the
// last lookup so that queries walking along the curve cost one or two comparisons.
#pragma once

#include <memory>
#include <span>

#include "Real.h"

// One node of a built curve.
struct TSplineNode {
  Real x = 0;      // abscissa
  Real y = 0;      // ordinate
  Real sigma = 0;  // one sixth of the second derivative at the node
};

// Slope at the first node: the chord for two points, else the parabola through the
// first three.
Real StartSlope(std::span<const Real> x, std::span<const Real> y);
// Slope at the last node: the chord for two points, else the parabola through the
// last three.
Real EndSlope(std::span<const Real> x, std::span<const Real> y);

class TSpline {
public:
  TSpline();  // empty curve
  TSpline(const TSpline&) = delete;
  TSpline& operator=(const TSpline&) = delete;

  // Releases the nodes; the curve becomes empty.
  void Clear();
  // Builds the clamped spline through (x[k], y[k]). An end angle strictly inside
  // (-pi/2, pi/2) clamps that end to its tangent; any other angle (callers pass 1000)
  // estimates the end slope from the data. Fewer than two points leave the curve empty.
  // Throws std::invalid_argument, naming the index, when the abscissae do not rise
  // strictly; the curve is then empty.
  void Build(std::span<const Real> x, std::span<const Real> y, Real startAngle,
                     Real endAngle);
  // Makes the curve the polynomial a0 + a1 x + a2 x^2 + a3 x^3 (exactly, everywhere).
  void SetCubic(Real a0, Real a1, Real a2, Real a3);

  // Node queries; i must lie in 0 .. LastIndex(). Derivatives at the last node are
  // those of the last segment.
  Real NodeX(int i);
  Real NodeY(int i);
  Real NodeSlope(int i);
  Real NodeHalfD2(int i);
  Real NodeSixthD3(int i);
  // Power-basis coefficients of the cubic valid from node i.
  Real PolyCoef0(int i);
  Real PolyCoef1(int i);
  Real PolyCoef2(int i);
  Real PolyCoef3(int i);

  // The spline and its derivatives at x; outside the nodes the end cubics continue.
  // Every query moves the segment cache. An empty curve answers 0.
  Real ValueAt(Real x);
  Real Slope(Real x);
  Real SecondDerivative(Real x);
  Real ThirdDerivative(Real x);

  // True for a built curve (at least two nodes).
  bool IsReady() const { return FLast > 0 && FNodes != nullptr; }
  // Makes room for last + 1 nodes, reusing the array when it is large enough; a request
  // for fewer than two nodes leaves the curve empty.
  void Resize(int last);
  // Makes segment i (nodes i and i + 1) the current one.
  void SelectSegment(int i);
  // Selects the segment for x and returns x minus its left abscissa.
  Real Locate(Real x);

  int CurrentSegment() const { return FSegment; }  // -1 when empty
  int LastIndex() const { return FLast; }           // node count - 1; 0 when empty

private:
  int FSegment = -1;
  int FLast = 0;
  std::unique_ptr<TSplineNode[]> FNodes;
  const TSplineNode* FCurrent;  // left node of the current segment
  TSplineNode FDiff;            // next node minus current node, field by field
  struct TSegmentCubic {
    Real A = 0, B = 0, C = 0;   // dsigma / h, 3 sigma_i, dy / h - (3 sigma_i + dsigma) h
  } FCubic;
};
