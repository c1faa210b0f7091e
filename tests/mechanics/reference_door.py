#!/usr/bin/env python3
# An independent model of the door, worked out from the door family's tables and the
# force and display formulas alone (it shares no code with the C++ model), run by hand to
# print the table of reference doors that DoorReference_test.cpp checks the model, its
# display update and its balance run against.
#
#   python3 tests/mechanics/reference_door.py > tests/mechanics/DoorReferenceCases.h
#
# Standard library only, double precision. The single-precision point tables are rounded
# to float first, as the program stores them. Where a formula has a plainer equivalent
# this model uses it (the plane normal as a cross product, the folded attack angle as an
# arcsine, the spline in its moment form solved by the Thomas algorithm, the end slopes
# as the derivative of the Lagrange parabola), so a slip in the program's own
# formulation shows as a difference.

import math
import struct

K = math.pi / 180  # degrees to radians


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def v32(p):
    return tuple(f32(c) for c in p)


# --- vectors ---------------------------------------------------------------------------
def add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def mul(a, k):
    return (a[0] * k, a[1] * k, a[2] * k)


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def length(a):
    return math.sqrt(dot(a, a))


def unit(a):
    return mul(a, 1 / length(a))


def rotate(p, a):
    """Attitude a: about Z (X toward Y), then about Y (X toward Z), then about X (Y toward Z)."""
    x, y, z = p
    cz, sz = math.cos(a[2]), math.sin(a[2])
    x, y = x * cz - y * sz, x * sz + y * cz
    cy, sy = math.cos(a[1]), math.sin(a[1])
    x, z = x * cy - z * sy, x * sy + z * cy
    cx, sx = math.cos(a[0]), math.sin(a[0])
    y, z = y * cx - z * sx, y * sx + z * cx
    return (x, y, z)


def direction_from_angles(plan, side):
    """Unit vector: plan projection at `plan` from +X, side projection rising at `side`."""
    return unit((math.cos(plan), math.sin(plan), math.tan(side) * math.cos(plan)))


def signed_arccos(x):
    if x > 0:
        return math.acos(min(x, 1.0))
    if x < 0:
        return -math.acos(min(-x, 1.0))
    return math.copysign(math.pi / 2, x)


def folded_attack_angle(v):
    """Angle between v and the Y-Z plane, signed like v.X, in (-pi/2, pi/2]."""
    return math.asin(max(-1.0, min(1.0, v[0] / length(v))))


# --- the clamped cubic spline ------------------------------------------------------------
def parabola_slope(x0, y0, x1, y1, x2, y2):
    """Derivative at x0 of the Lagrange parabola through the three points."""
    return (y0 * (2 * x0 - x1 - x2) / ((x0 - x1) * (x0 - x2))
            + y1 * (x0 - x2) / ((x1 - x0) * (x1 - x2))
            + y2 * (x0 - x1) / ((x2 - x0) * (x2 - x1)))


class Spline:
    """Clamped cubic spline; both end slopes from the parabola through the three end nodes."""

    def __init__(self, xs, ys):
        n = len(xs)
        self.x, self.y = list(xs), list(ys)
        h = [xs[i + 1] - xs[i] for i in range(n - 1)]
        slope = [(ys[i + 1] - ys[i]) / h[i] for i in range(n - 1)]
        d0 = parabola_slope(xs[0], ys[0], xs[1], ys[1], xs[2], ys[2])
        dn = parabola_slope(xs[-1], ys[-1], xs[-2], ys[-2], xs[-3], ys[-3])
        # Second derivatives M: sub a, diagonal b, super c, right-hand side r.
        a, b, c, r = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        b[0], c[0], r[0] = 2 * h[0], h[0], 6 * (slope[0] - d0)
        for i in range(1, n - 1):
            a[i], b[i], c[i] = h[i - 1], 2 * (h[i - 1] + h[i]), h[i]
            r[i] = 6 * (slope[i] - slope[i - 1])
        a[n - 1], b[n - 1], r[n - 1] = h[n - 2], 2 * h[n - 2], 6 * (dn - slope[n - 2])
        for i in range(1, n):
            w = a[i] / b[i - 1]
            b[i] -= w * c[i - 1]
            r[i] -= w * r[i - 1]
        m = [0.0] * n
        m[n - 1] = r[n - 1] / b[n - 1]
        for i in range(n - 2, -1, -1):
            m[i] = (r[i] - c[i] * m[i + 1]) / b[i]
        self.m = m

    def __call__(self, t):
        x, y, m = self.x, self.y, self.m
        i = 0
        while i < len(x) - 2 and x[i + 1] <= t:
            i += 1
        h = x[i + 1] - x[i]
        u, v = x[i + 1] - t, t - x[i]
        return (m[i] * u ** 3 / (6 * h) + m[i + 1] * v ** 3 / (6 * h)
                + (y[i] / h - m[i] * h / 6) * u + (y[i + 1] / h - m[i + 1] * h / 6) * v)


# --- coefficient tables ------------------------------------------------------------------
BASE = [  # attack angle deg, Cx, Cy, Cp
    (0, 0.11, 0.2, -0.3), (5, 0.12, 0.44, -0.232), (10, 0.14, 0.71, -0.184),
    (20, 0.19, 1.17, -0.081), (30, 0.35, 1.66, 0.008), (40, 0.54, 2.02, 0.051),
    (42.5, 0.57, 2.07, 0.057), (45, 0.64, 2.13, 0.062), (47.5, 0.69, 2.17, 0.064),
    (50, 0.77, 1.95, 0.069), (52.5, 0.91, 1.65, 0.012), (60, 1.1, 1.2, -0.1),
    (75, 1.25, 0.7, -0.1), (90, 1.4, 0, 0)]
CP_LINE = [  # p, x, y, z
    (-0.5, -0.13, 0.072103, 0), (-0.375, -0.079934, 0.0958724, 0),
    (-0.25, -0.0324221, 0.1060882, 0), (-0.125, 0.017, 0.1105223, 0),
    (0, 0.066, 0.1114408, 0), (0.125, 0.115, 0.1102459, 0), (0.25, 0.164, 0.1041188, 0),
    (0.375, 0.213, 0.0911323, 0), (0.5, 0.262, 0.072, 0)]
SPAN = [(-90, 0), (-15, -0.36), (-10, -0.29), (-5, -0.121), (0, 0), (5, 0.121), (10, 0.29),
        (15, 0.36), (90, 0)]


def unfolded_rows():
    """The quarter-circle table over the full circle, by the symmetry of each range."""
    row = {r[0]: r for r in BASE}
    cy0 = BASE[0][2]
    nodes = {}
    for a in row:
        for t in (a - 180, -a, a, 180 - a):
            nodes[t] = None
    out = []
    for t in sorted(nodes):
        if t <= -90:
            a = t + 180
            rad = -90 * K if t == -90 else a * K - math.pi
            _, cx, cy, cp = row[a]
            out.append((rad, cx, cy, -cp))
        elif t <= 0:
            a = -t
            _, cx, cy, cp = row[a]
            out.append((-a * K, cx, 2 * cy0 - cy, cp))
        elif t <= 90:
            a = t
            rad = math.pi - 90 * K if t == 90 else a * K
            _, cx, cy, cp = row[a]
            out.append((rad, cx, cy, cp))
        else:
            a = 180 - t
            _, cx, cy, cp = row[a]
            out.append((math.pi - a * K, cx, 2 * cy0 - cy, -cp))
    assert len(out) == 53
    return out


ROWS = unfolded_rows()
CX = Spline([r[0] for r in ROWS], [r[1] for r in ROWS])
CY = Spline([r[0] for r in ROWS], [r[2] for r in ROWS])
CP = Spline([r[0] for r in ROWS], [r[3] for r in ROWS])
CPX = Spline([r[0] for r in CP_LINE], [r[1] for r in CP_LINE])
CPY = Spline([r[0] for r in CP_LINE], [r[2] for r in CP_LINE])
CPZ = Spline([r[0] for r in CP_LINE], [r[3] for r in CP_LINE])
CS = Spline([r[0] * K for r in SPAN], [r[1] for r in SPAN])

# --- the door family ---------------------------------------------------------------------
STEEL = 7870.0
G = 9.80665
HULL_COG = v32((0.0648238, 0.1007314, 0.0002996))
HULL_MASS = 18.980387364701
WING_AREA = 0.4155973991
SPAN_AREA = 0.3104032582
REACH = 0.395807
PAIRS = [v32(p) for p in [(-0.022, 0.012, 0.0385), (-0.022, 0.012, -0.0385), (0, 0, 0.0385),
                          (0, 0, -0.0385), (0.022, 0, 0.0385), (0.022, 0, -0.0385)]]
HOLE_XY = [(0.2689566, 0.0947011), (0.2548098, 0.1073845), (0.240663, 0.1200678),
           (0.2265162, 0.1327511), (0.2123694, 0.1454344)]
UPPER = [v32((x, y, z)) for z in (0.509, 0.433, 0.359) for (x, y) in HOLE_XY]
LOWER = [v32((x, y, -z)) for z in (0.509, 0.433, 0.359) for (x, y) in HOLE_XY]
TOW_Z = {"Small": (0.04, 0.02, 0, -0.02, -0.04), "Medium": (0.044, 0.022, 0, -0.022, -0.044),
         "Large": (0.052, 0.026, 0, -0.026, -0.052)}
BRACKET_COG_X = {"Small": -0.0444833, "Medium": -0.0453303, "Large": -0.046811}
BRACKET_VOLUME = {"Small": 0.0000697948468, "Medium": 0.0000732302738, "Large": 0.0000802008409}
BALLAST_XY = (f32(0.0641793), f32(0.0925326))
BALLAST_TOP, BALLAST_PITCH, BALLAST_VOLUME = -0.529, 0.006, 0.0002810580687
TOW_NAMES = ("F2u", "F1u", "F0", "F1d", "F2d")


def evaluate(c):
    # Tag 0: the start-up door, scale exactly 5; otherwise wing area tag / 100 m^2.
    s = 5.0 if c["tag"] == 0 else math.sqrt(c["tag"] * 0.01 / WING_AREA)
    A = tuple(d * K for d in c["attitude"])
    R, V, rho = c["resistance"], c["speed"], c["density"]
    b_side, b_plan, b_between = (c[k] * K for k in ("bridle_side", "bridle_plan", "bridle_between"))
    w_side, w_plan = c["warp_side"] * K, c["warp_plan"] * K
    r = {"scale": s}
    sc = lambda p: mul(p, s)

    r["upper_holes"] = [rotate(sc(p), A) for p in UPPER]
    r["lower_holes"] = [rotate(sc(p), A) for p in LOWER]
    legs = {}
    for name, side in (("upper", b_side - b_between / 2), ("lower", b_side + b_between / 2)):
        # A quarter of the trawl resistance along the flow, pulling toward the net along
        # the leg: (1, -tan plan, -tan side) times R/4.
        legs[name] = (R / 4, -R / 4 * math.tan(b_plan), -R / 4 * math.tan(side))
    r["leg_dir"] = {"upper": direction_from_angles(b_plan, b_side - b_between / 2),
                    "lower": direction_from_angles(b_plan, b_side + b_between / 2)}

    upper = rotate(sc(UPPER[c["upper_hole"]]), A)
    lower = rotate(sc(LOWER[c["lower_hole"]]), A)
    pairs = [rotate(sc(p), A) for p in PAIRS]
    k = 2 * (c["pair"] - 1)
    U, D = pairs[k], pairs[k + 1]
    # Toward the vessel: upstream (-X), turned in plan by the warp plan angle and rising
    # by the warp side angle.
    warp = unit((-math.cos(w_plan), -math.sin(w_plan), math.tan(w_side) * math.cos(w_plan)))
    t0 = add(mul(add(U, D), 0.5), mul(warp, REACH * s))
    # The bracket hangs on the pair axis in the plane of the axis and the warp, at right
    # angles to the axis; its towing end (negative bracket X) points toward the warp.
    normal = cross(sub(D, U), sub(t0, U))
    bracket_dir = unit(cross(normal, sub(U, D)))

    def bracket_point(px, pz):
        # The pair's chord position at the point's own height, moved along the bracket.
        return add(rotate((PAIRS[k][0] * s, PAIRS[k][1] * s, pz), A), mul(bracket_dir, px))

    tow_holes = [bracket_point(f32(-0.07) * s, f32(z) * s) for z in TOW_Z[c["bracket"]]]
    tow = tow_holes[TOW_NAMES.index(c["tow"])]

    n = c["ballast"]
    mb = BALLAST_VOLUME * STEEL * s ** 3
    pieces = [rotate((BALLAST_XY[0] * s, BALLAST_XY[1] * s, (BALLAST_TOP - i * BALLAST_PITCH) * s), A)
              for i in range(n)]
    hull_cog = rotate(sc(HULL_COG), A)
    bracket_cog = bracket_point(f32(BRACKET_COG_X[c["bracket"]]) * s, 0.0)
    mh = HULL_MASS * s ** 3
    mr = BRACKET_VOLUME[c["bracket"]] * STEEL * s ** 3
    total = mh + mr + n * mb
    ballast_centre = mul(tuple(sum(p[j] for p in pieces) for j in range(3)), 1 / n)
    cog = mul(add(add(mul(hull_cog, mh), mul(bracket_cog, mr)), mul(ballast_centre, n * mb)), 1 / total)
    weight = total * (STEEL - rho) / STEEL * G

    q = rho * V * V / 2
    nw = rotate((0, 1, 0), A)
    attack_w = folded_attack_angle(nw)
    cp = CP(attack_w)
    centre = rotate((CPX(cp) * s, CPY(cp) * s, CPZ(cp) * s), A)
    lift = CY(attack_w) * q * WING_AREA * s * s
    wing = (CX(attack_w) * q * WING_AREA * s * s, lift * nw[1], lift * nw[2])
    ns = rotate((0, 0, 1), A)
    attack_s = folded_attack_angle(ns)
    span_mag = CS(attack_s) * q * SPAN_AREA * s * s
    span = (0.0, span_mag * ns[1], span_mag * ns[2])

    points = [centre, centre, lower, upper, cog]
    loads = [wing, span, legs["lower"], legs["upper"], (0.0, 0.0, -weight)]
    # Moments about the towing hole; the model reports the Y component reversed.
    m = (0.0, 0.0, 0.0)
    for p, f in zip(points, loads):
        m = add(m, cross(sub(p, tow), f))
    r.update(points=points, loads=loads, moment=(m[0], -m[1], m[2]), tow=tow, pair_upper=U,
             pair_lower=D, pairs=pairs, warp=warp, bracket_dir=bracket_dir, tow_holes=tow_holes,
             hull_cog=hull_cog, bracket_cog=bracket_cog, attack_w=attack_w, attack_s=attack_s,
             total_mass=total, force=(wing[0] + span[0], wing[1] + span[1], wing[2] + span[2] - weight),
             upper=upper, lower=lower, A=A)
    return r


def balance(c):
    """The balance run from the case's attitude: each step turns every angle by its own
    moment component times (pi/180) / 10000 until |M.X| + |M.Y| + |M.Z| < 1e-5 N*m, at most
    10000 steps."""
    a = [d * K for d in c["attitude"]]
    for step in range(10000):
        m = evaluate(dict(c, attitude=[x / K for x in a]))["moment"]
        if abs(m[0]) + abs(m[1]) + abs(m[2]) < 1e-5:
            return step, True, [x / K for x in a]
        a = [a[j] + m[j] * K / 10000 for j in range(3)]
    return 10000, False, [x / K for x in a]


def poses(c, r):
    """Where the display puts every scene object, single precision as the scene keeps it."""
    s, A = r["scale"], r["A"]
    # The meshes turn by the same rotation as the door's points, so the markers stay on
    # their holes; the scene engine is handed the edits' angles with Y reversed.
    p = {"mesh_angles": (c["attitude"][0], -c["attitude"][1], c["attitude"][2]),
         "mesh_up": rotate((0, 1, 0), A), "mesh_direction": rotate((0, 0, 1), A)}
    pair_cubes = [v32(x) for x in r["pairs"]]
    tow_cubes = [v32(x) for x in r["tow_holes"]]
    k = 2 * (c["pair"] - 1)
    bracket = v32(mul(add(pair_cubes[k], pair_cubes[k + 1]), 0.5))
    # The bracket rolls about the pair axis until it points at its F0 hole.
    towards_f0 = sub(tow_cubes[2], bracket)
    roll = signed_arccos(dot(unit(towards_f0), p["mesh_up"])) / K
    if roll > 0:
        roll -= 180
    p.update(bracket=bracket, roll=roll, pair_cubes=pair_cubes, tow_cubes=tow_cubes,
             ballast=[v32(rotate((0, 0, (BALLAST_TOP - i * BALLAST_PITCH) * s), A))
                      for i in range(c["ballast"])],
             upper_cubes=[v32(x) for x in r["upper_holes"]],
             lower_cubes=[v32(x) for x in r["lower_holes"]],
             gravity_door=v32(r["hull_cog"]), gravity_bracket=v32(r["bracket_cog"]),
             cube_gravity=v32(r["points"][4]), cube_hydro_w=v32(r["points"][0]),
             cube_hydro_s=v32(r["points"][1]))

    def leg(start, u):
        start = v32(start)
        return (start, v32(add(start, mul((u[0], -u[1], -u[2]), REACH / 2))))

    p["bridle_u"] = leg(r["upper"], r["leg_dir"]["upper"])
    p["bridle_d"] = leg(r["lower"], r["leg_dir"]["lower"])
    warp_from = tow_cubes[TOW_NAMES.index(c["tow"])]
    p["warp"] = (warp_from, v32(add(warp_from, mul(r["warp"], REACH * s / 2))))

    kf = 1 / c["force_scale"]

    def force_line(at, f):
        return [v32(x) for x in ((at[0] + kf * f[0], at[1], at[2]), at, (at[0], at[1] + kf * f[1], at[2]),
                                 at, (at[0], at[1], at[2] + kf * f[2]), at, add(at, mul(f, kf)))]

    pts, lds = r["points"], r["loads"]
    p.update(bridle_uf=force_line(pts[3], lds[3]), bridle_df=force_line(pts[2], lds[2]),
             grav_f=force_line(pts[4], lds[4]), hydro_wf=force_line(pts[0], lds[0]),
             hydro_sf=force_line(pts[1], lds[1]))
    return p


# --- the cases ---------------------------------------------------------------------------
START_UP = dict(tag=0, ballast=3, bracket="Medium", pair=1, tow="F0", upper_hole=0, lower_hole=0,
                resistance=100000.0, speed=2.0, density=1030.0, bridle_side=0.0, bridle_plan=0.0,
                bridle_between=5.0, warp_side=0.0, warp_plan=0.0, force_scale=15000.0)
CASES = [
    dict(START_UP, name="StartUpDoorTurned", attitude=(4.5, 2.5, -17.0)),
    dict(START_UP, name="Area144LargeSixPiecesPair3F2u", tag=1440, bracket="Large", ballast=6,
         pair=3, tow="F2u", attitude=(10.0, -5.0, 20.0)),
    dict(START_UP, name="Area45SmallOnePiecePair2F1d", tag=450, bracket="Small", ballast=1, pair=2,
         tow="F1d", attitude=(-6.0, 3.0, -35.0), force_scale=8000.0),
    dict(START_UP, name="Area116WarpAndBridlesOffTheFlow", tag=1160, ballast=4, pair=1, tow="F1u",
         upper_hole=8, lower_hole=11, resistance=130000.0, speed=2.4, density=1025.0,
         bridle_side=4.0, bridle_plan=-6.0, bridle_between=7.0, warp_side=-20.0, warp_plan=12.0,
         attitude=(-8.0, 6.0, -12.0), force_scale=20000.0),
    dict(START_UP, name="Area76SteepAttackPair2F2d", tag=760, ballast=2, pair=2, tow="F2d",
         upper_hole=14, lower_hole=4, bridle_side=-3.0, bridle_plan=8.0, warp_side=15.0,
         warp_plan=-9.0, attitude=(3.0, -7.0, -58.0)),
    dict(START_UP, name="Area104WingPastItsStall", tag=1039, ballast=5, bracket="Large", pair=3,
         tow="F1d", upper_hole=6, lower_hole=13, bridle_plan=3.0, warp_plan=5.0, warp_side=8.0,
         attitude=(-2.0, -4.0, 63.0)),
]


# --- printing ----------------------------------------------------------------------------
def num(x):
    return repr(float(x)) + "L"


def vec(v):
    return "{" + ", ".join(num(x) for x in v) + "}"


def vecs(vs):
    return "{{" + ", ".join(vec(v) for v in vs) + "}}"


HEADER = """\
// Reference doors: for each case, the inputs and what the door model and the display
// update must make of them. Printed by reference_door.py beside this file, an independent
// model of the door written from the door family's tables and the force, spline and
// display formulas (no code shared with the C++ model), in double precision:
//
//   python3 tests/mechanics/reference_door.py > tests/mechanics/DoorReferenceCases.h
//
// Do not edit by hand; change the script and run it again.
#pragma once

#include <array>

#include "mechanics/DoorDisplay.h"

struct TReferenceDoor {
  const char* Name;
  // Inputs. AreaTag 0 keeps the start-up scale of exactly 5; angles in degrees.
  int AreaTag;
  TBracketSize Bracket;
  int Ballast;
  TBracketPair Pair;
  TTowHole Tow;
  int UpperHole, LowerHole;
  Real Resistance, Speed, Density;
  Real BridleSideDeg, BridlePlanDeg, BridleBetweenDeg, WarpSideDeg, WarpPlanDeg;
  Txyz AttitudeDeg;
  Real ForceScale;
  // The evaluation.
  std::array<Txyz, kLoadCount> Load, ApplyPoint;
  Txyz Moment, Force, TowPoint, PairUpper, PairLower, WarpDir, BracketDir, HullCoG, BracketCoG;
  std::array<Txyz, kTowHoles> TowHoles;
  Real AttackW, AttackS, TotalMass;
  // The display update.
  Txyz MeshAnglesDeg, MeshUp, MeshDirection, BracketPosition;
  Real BracketRollDeg;
  std::array<Txyz, kMaxBallast> BallastPositions;
  std::array<Txyz, kHoleCount> UpperHoleCubes, LowerHoleCubes;
  std::array<Txyz, 6> PairCubes;
  std::array<Txyz, kTowHoles> TowCubes;
  Txyz GravityDoor, GravityBracket, CubeGravity, CubeHydroW, CubeHydroS;
  std::array<Txyz, 2> BridleU, BridleD, Warp;
  std::array<Txyz, 7> BridleUF, BridleDF, GravF, HydroWF, HydroSF;
  // A balance run from AttitudeDeg with the solver factor 10000.
  int BalanceSteps;
  bool BalanceConverged;
  Txyz BalancedDeg;
};
"""


def emit(c):
    r = evaluate(c)
    p = poses(c, r)
    ballast = p["ballast"] + [(0.0, 0.0, 0.0)] * (6 - len(p["ballast"]))
    steps, converged, balanced = balance(c)
    fields = [
        ("Name", '"%s"' % c["name"]), ("AreaTag", str(c["tag"])),
        ("Bracket", "TBracketSize::" + c["bracket"]), ("Ballast", str(c["ballast"])),
        ("Pair", "TBracketPair::Pair%d" % c["pair"]), ("Tow", "TTowHole::" + c["tow"]),
        ("UpperHole", str(c["upper_hole"])), ("LowerHole", str(c["lower_hole"])),
        ("Resistance", num(c["resistance"])), ("Speed", num(c["speed"])),
        ("Density", num(c["density"])), ("BridleSideDeg", num(c["bridle_side"])),
        ("BridlePlanDeg", num(c["bridle_plan"])), ("BridleBetweenDeg", num(c["bridle_between"])),
        ("WarpSideDeg", num(c["warp_side"])), ("WarpPlanDeg", num(c["warp_plan"])),
        ("AttitudeDeg", vec(c["attitude"])), ("ForceScale", num(c["force_scale"])),
        ("Load", vecs(r["loads"])), ("ApplyPoint", vecs(r["points"])),
        ("Moment", vec(r["moment"])), ("Force", vec(r["force"])), ("TowPoint", vec(r["tow"])),
        ("PairUpper", vec(r["pair_upper"])), ("PairLower", vec(r["pair_lower"])),
        ("WarpDir", vec(r["warp"])), ("BracketDir", vec(r["bracket_dir"])),
        ("HullCoG", vec(r["hull_cog"])), ("BracketCoG", vec(r["bracket_cog"])),
        ("TowHoles", vecs(r["tow_holes"])), ("AttackW", num(r["attack_w"])),
        ("AttackS", num(r["attack_s"])), ("TotalMass", num(r["total_mass"])),
        ("MeshAnglesDeg", vec(p["mesh_angles"])), ("MeshUp", vec(p["mesh_up"])),
        ("MeshDirection", vec(p["mesh_direction"])), ("BracketPosition", vec(p["bracket"])),
        ("BracketRollDeg", num(p["roll"])), ("BallastPositions", vecs(ballast)),
        ("UpperHoleCubes", vecs(p["upper_cubes"])), ("LowerHoleCubes", vecs(p["lower_cubes"])),
        ("PairCubes", vecs(p["pair_cubes"])), ("TowCubes", vecs(p["tow_cubes"])),
        ("GravityDoor", vec(p["gravity_door"])), ("GravityBracket", vec(p["gravity_bracket"])),
        ("CubeGravity", vec(p["cube_gravity"])), ("CubeHydroW", vec(p["cube_hydro_w"])),
        ("CubeHydroS", vec(p["cube_hydro_s"])), ("BridleU", vecs(p["bridle_u"])),
        ("BridleD", vecs(p["bridle_d"])), ("Warp", vecs(p["warp"])),
        ("BridleUF", vecs(p["bridle_uf"])), ("BridleDF", vecs(p["bridle_df"])),
        ("GravF", vecs(p["grav_f"])), ("HydroWF", vecs(p["hydro_wf"])),
        ("HydroSF", vecs(p["hydro_sf"])),
        ("BalanceSteps", str(steps)), ("BalanceConverged", "true" if converged else "false"),
        ("BalancedDeg", vec(balanced)),
    ]
    return "    {" + ",\n     ".join(".%s = %s" % f for f in fields) + "},"


def main():
    print(HEADER)
    print("inline const std::array<TReferenceDoor, %d> kReferenceDoors{{" % len(CASES))
    for c in CASES:
        print(emit(c))
    print("}};")


if __name__ == "__main__":
    main()
