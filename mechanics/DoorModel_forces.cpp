// EvaluateDoor: the force model. For an attitude it places every door point in the flow,
// hangs the bracket between its pair axis and the warp, and sums the moments of the
// wing force, the span force, the two bridle legs and the submerged weight about the
// towing hole.
//
// Loads (q = rho V^2 / 2, R the trawl resistance, s the door scale):
//   wing   (Cx q Sw, Cy q Sw nW.Y, Cy q Sw nW.Z)  at the centre of pressure
//   span   (0, Cs q Ss nS.Y, Cs q Ss nS.Z)         at the same point
//   bridle (R/4) (1, -u.Y/u.X, -u.Z/u.X)            at the chosen hole, one per leg
//   weight (0, 0, -W), W = M (7870 - rho) / 7870 g  at the combined centre of gravity
// The lift keeps only the Y and Z of the wing normal: the flow has no lift along X.
// The warp pulls at the towing point and so has no moment about it.
//
// Every point is turned by the same attitude, so its sines and cosines are worked out
// once per evaluation (TRotation); the result is bit for bit that of RotateXyz.
#include <cmath>

#include "DoorModel.h"

Real AttackAngleOf(const Txyz& v)
{
  // Written out as the dot product with +X: the sum turns a -0 X component into +0,
  // so that a normal with no X component has attack angle 0 whatever its sign.
  const Real c = (v.X * 1 + v.Y * 0 + v.Z * 0) / std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
  return kHalfPi - SignedArcCos(c);
}

void MomentTerms(const Txyz& f, const Txyz& r, Txyz& mx, Txyz& my, Txyz& mz)
{
  mx = {0, -f.Y * r.Z, f.Z * r.Y};
  my = {-f.X * r.Z, 0, f.Z * r.X};
  mz = {-f.X * r.Y, f.Y * r.X, 0};
}

namespace {

// Angles above pi/2 fold back by a half turn: the coefficients repeat every 180 degrees.
Real FoldAttack(Real angle) { return angle > kHalfPi ? angle - kPi : angle; }

// Pull of one bridle leg leading along u (a quarter of the trawl resistance per leg).
Txyz BridleLoad(Real resistance, const Txyz& u)
{
  const Real quarter = resistance / 4;
  return {quarter, -quarter * u.Y / u.X, -quarter * u.Z / u.X};
}

}  // namespace

const TLegDirections& TLegDirectionCache::For(const TDoorInputs& in)
{
  // Exact comparisons: a cached direction is reused only for the very same angles, so
  // the cache never changes a bit of the result.
  if (!FValid || in.BridleAngleOnPlan != FBridlePlan || in.BridleAngleOnSide != FBridleSide ||
      in.BridleAngleBridle != FBridleBetween || in.WarpAngleOnPlan != FWarpPlan ||
      in.WarpAngleOnSide != FWarpSide) {
    FBridlePlan = in.BridleAngleOnPlan;
    FBridleSide = in.BridleAngleOnSide;
    FBridleBetween = in.BridleAngleBridle;
    FWarpPlan = in.WarpAngleOnPlan;
    FWarpSide = in.WarpAngleOnSide;
    FValid = true;
    // The bridles spread symmetrically about their mean side angle.
    FLegs.Upper = DirectionFromAngles(FBridlePlan, FBridleSide - FBridleBetween / 2);
    FLegs.Lower = DirectionFromAngles(FBridlePlan, FBridleSide + FBridleBetween / 2);
    // The warp leads upstream, toward the vessel.
    FLegs.Warp = DirectionFromAngles(FWarpPlan - kPi, kPi - FWarpSide);
  }
  return FLegs;
}

Txyz TDoorModel::BracketPoint(const TRotation& rotation, TBracketPair pair, Real s,
                              const Txyz& bracketDir, const Txyz& p)
{
  const TxyzSingle& upper = PairPoints[2 * (static_cast<int>(pair) - 1)];
  // The point keeps its own height, takes the pair's chord position and is moved along
  // the bracket, which hangs on the pair axis.
  return rotation.Rotate(Real(upper.X) * s, Real(upper.Y) * s, p.Z) + p.X * bracketDir;
}

Txyz TDoorModel::BracketPoint(const Txyz& a, const Txyz& p) const
{
  return BracketPoint(TRotation(a), FBracketPairCube, FVariant.FDoorScale, FResults.FBracketDir, p);
}

const TDoorResults& TDoorModel::Results() const
{
  if (FMarkersStale)
    CompleteMarkers();
  return FResults;
}

void TDoorModel::CompleteMarkers() const
{
  // The same rotations and the same formulas as in the evaluation, so every marker has
  // the bits it would have had if it had been turned there.
  const TMarkerSnapshot& m = FMarkerSnapshot;
  TDoorResults& r = FResults;
  const TRotation rotation(m.Attitude);
  for (int k = 0; k < kHoleCount; ++k)
    r.FLowerHolesPos[k] = rotation.Rotate(ScaledPoint(LowerHoles[k], m.Scale));
  for (int k = 0; k < kHoleCount; ++k)
    r.FUpperHolesPos[k] = rotation.Rotate(ScaledPoint(UpperHoles[k], m.Scale));
  for (int k = 0; k < 6; ++k)
    r.FPairPointsPos[k] = rotation.Rotate(ScaledPoint(PairPoints[k], m.Scale));
  for (int k = 0; k < kTowHoles; ++k)
    r.FBracketHolesPos[k] = BracketPoint(rotation, m.Pair, m.Scale, r.FBracketDir, ScaledPoint(m.TowHoles[k], m.Scale));
  for (int i = 0; i < kLoadCount; ++i) {
    r.FLever[i] = r.FApplyPoint[i] - r.FTowPoint;
    MomentTerms(r.FLoad[i], r.FLever[i], r.FMomX[i], r.FMomY[i], r.FMomZ[i]);
  }
  FMarkersStale = false;
}

Txyz TDoorModel::EvaluateDoor(const Txyz& a)
{
  if (FInputSource)
    FInputSource(FInputs);
  const TDoorInputs& in = FInputs;
  TDoorResults& r = FResults;
  const Real s = FVariant.FDoorScale;
  const TRotation rotation(a);

  // The markers (every hole, every pair point, every towing hole) are only drawn; the
  // solver never reads them. They are turned when the results are asked for, so that
  // a balance run does not turn some forty points twenty thousand times.
  FMarkerSnapshot = {a, s, FBracketPairCube, FVariant.BracketTowHoles};
  FMarkersStale = true;

  const TLegDirections& legs = FLegs.For(in);
  r.FLoad[kLoadUpperBridle] = BridleLoad(in.TrawlResistance, legs.Upper);
  r.FLoad[kLoadLowerBridle] = BridleLoad(in.TrawlResistance, legs.Lower);

  r.FApplyPoint[kLoadUpperBridle] = rotation.Rotate(FUpperHole);
  r.FApplyPoint[kLoadLowerBridle] = rotation.Rotate(FLowerHole);
  r.FUpperHolePos = r.FApplyPoint[kLoadUpperBridle];
  r.FLowerHolePos = r.FApplyPoint[kLoadLowerBridle];

  const int pairUpper = 2 * (static_cast<int>(FBracketPairCube) - 1);
  const Txyz U = rotation.Rotate(ScaledPoint(PairPoints[pairUpper], s));
  const Txyz D = rotation.Rotate(ScaledPoint(PairPoints[pairUpper + 1], s));
  r.FPairUpperPos = U;
  r.FPairLowerPos = D;

  r.FWarpDir = legs.Warp;
  const Txyz T0 = DivXyz(U + D, 2) + r.FWarpDir * BracketReach * s;

  // The bracket lies in the plane of the pair axis and the warp, at right angles to the
  // axis: along N x d, N the normal of the plane through U, D and T0.
  const Txyz N{Det3(U.Y, U.Z, 1, D.Y, D.Z, 1, T0.Y, T0.Z, 1),
               Det3(U.Z, U.X, 1, D.Z, D.X, 1, T0.Z, T0.X, 1),
               Det3(U.X, U.Y, 1, D.X, D.Y, 1, T0.X, T0.Y, 1)};
  const Txyz d = U - D;
  r.FBracketDir = Normalized({N.Y * d.Z - d.Y * N.Z, N.Z * d.X - d.Z * N.X, N.X * d.Y - d.X * N.Y});
  r.FTowPoint = BracketPoint(rotation, FBracketPairCube, s, r.FBracketDir,
                             ScaledPoint(FVariant.BracketTowHoles[static_cast<int>(FTowCube)], s));

  // Centres of gravity and masses.
  const Real s3 = s * s * s;
  const Real mb = FVariant.BallastPieceMass * s3;
  Txyz ballastMoment;
  for (int i = 0; i < FVariant.FBallastCount; ++i) {
    const Txyz piece = rotation.Rotate(Real(BallastCoGXY[0]) * s, Real(BallastCoGXY[1]) * s,
                                       (BallastTop - i * BallastPitch) * s);
    ballastMoment = ballastMoment + piece * mb;
  }
  const Real Mb = FVariant.FBallastCount * mb;
  const Txyz ballastCoG = DivXyz(ballastMoment, Mb);
  r.FHullCoG = rotation.Rotate(ScaledPoint(HullCoG, s));
  r.FBracketCoG = BracketPoint(rotation, FBracketPairCube, s, r.FBracketDir, ScaledPoint(FVariant.BracketCoG, s));
  const Real Mh = HullMass * s3;
  const Real Mr = FVariant.BracketMass * s3;
  r.FTotalMass = Mr + Mh + Mb;
  r.FApplyPoint[kLoadWeight] = DivXyz(r.FBracketCoG * Mr + r.FHullCoG * Mh + ballastCoG * Mb, r.FTotalMass);

  const Real W = r.FTotalMass * ((kSteelDensity - in.WaterDensity) / kSteelDensity) * kGravity;
  r.FLoad[kLoadWeight] = {0, 0, -W};

  // Wing.
  const Txyz nW = rotation.Rotate(WingNormal);
  r.FAttackW = AttackAngleOf(nW);
  if (FAttackObserver)
    FAttackObserver(r.FAttackW);
  r.FAttackW = FoldAttack(r.FAttackW);
  const Real Cx = FCurves.FCxCurve.ValueAt(r.FAttackW);
  const Real Cy = FCurves.FCyCurve.ValueAt(r.FAttackW);
  const Real Cp = FCurves.FCpCurve.ValueAt(r.FAttackW);
  const Txyz C{FCurves.FCpLineX.ValueAt(Cp) * s, FCurves.FCpLineY.ValueAt(Cp) * s,
               FCurves.FCpLineZ.ValueAt(Cp) * s};
  r.FApplyPoint[kLoadWing] = rotation.Rotate(C);
  const Real q = in.WaterDensity * (in.TrawlSpeed * in.TrawlSpeed) / 2;
  const Real Sw = WingAreaAtScale(s);
  r.FLoad[kLoadWing] = {Cx * q * Sw, Cy * q * Sw * nW.Y, Cy * q * Sw * nW.Z};

  // Span.
  const Txyz nS = rotation.Rotate(SpanAxis);
  r.FAttackS = FoldAttack(AttackAngleOf(nS));
  const Real Cs = FCurves.FSpanCurve.ValueAt(r.FAttackS);
  r.FApplyPoint[kLoadSpan] = r.FApplyPoint[kLoadWing];
  const Real Ss = SpanArea * (s * s);
  r.FLoad[kLoadSpan] = {0, Cs * q * Ss * nS.Y, Cs * q * Ss * nS.Z};

  // Moments about the towing point, summed term by term in load order.
  Txyz M;
  for (int i = 0; i < kLoadCount; ++i) {
    Txyz mx, my, mz;
    MomentTerms(r.FLoad[i], r.FApplyPoint[i] - r.FTowPoint, mx, my, mz);
    M.X = M.X + mx.X + mx.Y + mx.Z;
    M.Y = M.Y + my.X + my.Y + my.Z;
    M.Z = M.Z + mz.X + mz.Y + mz.Z;
  }
  r.FMoment = M;
  r.FForce = {r.FLoad[kLoadWing].X + r.FLoad[kLoadSpan].X, r.FLoad[kLoadWing].Y + r.FLoad[kLoadSpan].Y,
              r.FLoad[kLoadWing].Z + r.FLoad[kLoadSpan].Z + r.FLoad[kLoadWeight].Z};
  return M;
}
