// The bracket in its own frame: Z the pair axis, -Y along the bracket toward the towing
// holes, X across the towing plate. A hinge block with the pin bore, the size's towing
// plate with its five holes at the towing-hole table points and, for the medium and large
// bracket, the pin. The end segments of the towing plate make each size's vertex count.
#include <cmath>

#include "DoorMeshes.h"
#include "MeshShapes.h"

namespace {

constexpr double kHingeR = 10, kHingeSide = 9.98, kHingeTop = 9.73;  // barrel about the pin
constexpr double kHingeBack = 40;      // the hinge block reaches this far down the bracket
constexpr double kBarrelHalf = 35;     // barrel height, between the door's lug plates
constexpr double kHingeHalf = 49.8;    // the back of the block reaches past them
constexpr double kHingeShelf = 22;     // ... behind the lug plates' rims
constexpr double kBoreR = 5.5;
constexpr double kPinR = 5, kPinHalfLength = 38;
constexpr double kTowHoleDistance = 70;  // from the pair axis to the towing holes
constexpr double kTowHoleR = 7, kTowBarRim = 14, kTowPlateHalf = 6;
constexpr double kTowPlateTop = 16, kTowNeckHalf = 28;
constexpr double kTowBarHalfLength[kBracketSizes] = {53.98, 57.87, 65.78};

// The hinge block: a barrel round the pin bore between the door's lug plates, on a back
// that reaches past them above and below. One solid with one hole, the bore.
void AddBracketHinge(TMeshObject& m)
{
  const double side = std::acos(kHingeSide / kHingeR) * 180 / kPiD;
  const double top = std::asin(kHingeTop / kHingeR) * 180 / kPiD;
  TLoop arc = Arc({0, 0}, kHingeR, kHingeR, side, top, 3);
  Append(arc, Arc({0, 0}, kHingeR, kHingeR, top, 180 - top, 1));
  Append(arc, Arc({0, 0}, kHingeR, kHingeR, 180 - top, 180 - side, 3));
  const TLoop bore = Circle({0, 0}, kBoreR, 16);
  const double ys = arc.front().Y;
  auto p = [](TVec2 q, double z) { return TVec3{q.X, q.Y, z}; };
  constexpr double x = kHingeSide, yb = -kHingeBack, yf = -kHingeShelf, zb = kBarrelHalf, zt = kHingeHalf;

  for (const double s : {1.0, -1.0}) {
    const TVec3 up{0, 0, s};
    // The back's end face and the barrel's end face with the bore.
    m.AddPolygon({{{-x, yb, s * zt}, {x, yb, s * zt}, {x, yf, s * zt}, {-x, yf, s * zt}}}, up, 8);
    std::vector<TVec3> end{{x, yf, s * zb}};
    for (const TVec2& q : arc)
      end.push_back(p(q, s * zb));
    end.push_back({-x, yf, s * zb});
    std::vector<TVec3> hole;
    for (const TVec2& q : bore)
      hole.push_back(p(q, s * zb));
    m.AddPolygon({end, hole}, up, 8);
    // The step from the barrel's end up to the back's end.
    m.AddPolygon({{{-x, yf, s * zb}, {x, yf, s * zb}, {x, yf, s * zt}, {-x, yf, s * zt}}}, {0, 1, 0}, 16);
    // Flat sides.
    m.AddPolygon({{{s * x, yb, -zt}, {s * x, yf, -zt}, {s * x, yf, -zb}, {s * x, ys, -zb}, {s * x, ys, zb},
                   {s * x, yf, zb}, {s * x, yf, zt}, {s * x, yb, zt}}},
                 {s, 0, 0}, 32);
  }
  m.AddPolygon({{{-x, yb, -zt}, {x, yb, -zt}, {x, yb, zt}, {-x, yb, zt}}}, {0, -1, 0}, 16);
  for (size_t i = 0; i + 1 < arc.size(); ++i)
    m.AddQuad(p(arc[i], -zb), p(arc[i + 1], -zb), p(arc[i + 1], zb), p(arc[i], zb), 2);
  for (size_t i = 0; i < bore.size(); ++i) {
    const TVec2 a = bore[(i + 1) % bore.size()], b = bore[i];  // walls face the pin
    m.AddQuad(p(a, -zb), p(b, -zb), p(b, zb), p(a, zb), 4);
  }
}

}  // namespace

TMeshFile BracketMeshes(TBracketSize size)
{
  TMeshFile f;
  AddBracketHinge(f.Add("WHITE", {255, 255, 255}));

  // The towing plate: a bar through the five towing holes, tapering up into the hinge.
  static constexpr const char* kNames[kBracketSizes] = {"RED", "COL082_", "BLUE"};
  static constexpr TRgb kColours[kBracketSizes] = {{255, 0, 0}, {41, 165, 0}, {0, 0, 255}};
  static constexpr int kEndSegments[kBracketSizes] = {18, 20, 18};
  const int s = static_cast<int>(size);
  TMeshObject& plate = f.Add(kNames[s], kColours[s]);
  const auto& tow = BracketTowHolesTable[s];
  const double outer = tow[0].Z * 1000.0;  // the F2u hole
  const double endR = kTowBarHalfLength[s] - outer;
  constexpr double holeY = -kTowHoleDistance;
  TLoop outline = Arc({outer, holeY}, endR, kTowBarRim, -90, 90, kEndSegments[s]);
  Append(outline, {{kTowNeckHalf, -kHingeBack}, {kTowNeckHalf, -kTowPlateTop},
                   {-kTowNeckHalf, -kTowPlateTop}, {-kTowNeckHalf, -kHingeBack}});
  Append(outline, Arc({-outer, holeY}, endR, kTowBarRim, 90, 270, kEndSegments[s]));
  std::vector<TLoop> holes;
  for (const TxyzSingle& hole : tow)
    holes.push_back(Circle({hole.Z * 1000.0, holeY}, kTowHoleR, 28));
  AddPrism(plate, kZY, outline, holes, -kTowPlateHalf, kTowPlateHalf);

  if (size != TBracketSize::Small) {
    TMeshObject& pin = f.Add("COL132_", {0, 165, 165});
    AddPrism(pin, kXY, Circle({0, 0}, kPinR, 36), {}, -kPinHalfLength, kPinHalfLength);
  }
  return f;
}
