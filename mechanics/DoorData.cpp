// Tables of the door family and the names of their scene markers.
#include "DoorData.h"

#include <cmath>

namespace {

// The three rows of bridle holes share their five chord positions and differ in height.
constexpr std::array<std::array<float, 2>, kHolesPerRow> kHoleXY{{
    {0.2689566f, 0.0947011f},
    {0.2548098f, 0.1073845f},
    {0.240663f, 0.1200678f},
    {0.2265162f, 0.1327511f},
    {0.2123694f, 0.1454344f},
}};
constexpr std::array<float, kHoleRows> kUpperRowZ{0.509f, 0.433f, 0.359f};
constexpr std::array<float, kHoleRows> kLowerRowZ{-0.509f, -0.433f, -0.359f};

constexpr std::array<TxyzSingle, kHoleCount> HoleTable(const std::array<float, kHoleRows>& rowZ)
{
  std::array<TxyzSingle, kHoleCount> holes{};
  for (int row = 0; row < kHoleRows; ++row)
    for (int hole = 0; hole < kHolesPerRow; ++hole)
      holes[row * kHolesPerRow + hole] = {kHoleXY[hole][0], kHoleXY[hole][1], rowZ[row]};
  return holes;
}

constexpr std::array<TxyzSingle, kTowHoles> TowHoleRow(float up2, float up1)
{
  return {{{-0.07f, 0.0f, up2}, {-0.07f, 0.0f, up1}, {-0.07f, 0.0f, 0.0f},
           {-0.07f, 0.0f, -up1}, {-0.07f, 0.0f, -up2}}};
}

std::string HoleCubeName(const char* prefix, int index)
{
  return std::string(prefix) + std::to_string(index / kHolesPerRow + 1) + "_" +
         std::to_string(index % kHolesPerRow + 1);
}

}  // namespace

const std::array<TxyzSingle, kHoleCount> UpperHoles = HoleTable(kUpperRowZ);
const std::array<TxyzSingle, kHoleCount> LowerHoles = HoleTable(kLowerRowZ);

const std::array<std::array<TxyzSingle, kTowHoles>, kBracketSizes> BracketTowHolesTable{
    TowHoleRow(0.04f, 0.02f), TowHoleRow(0.044f, 0.022f), TowHoleRow(0.052f, 0.026f)};

Real DoorScaleForAreaTag(int tag) { return std::sqrt(tag * 0.1L * 0.1L / WingArea); }

std::string UpperHoleCubeName(int index) { return HoleCubeName("CubeRU_", index); }
std::string LowerHoleCubeName(int index) { return HoleCubeName("CubeRD_", index); }

std::string PairCubeName(int index)
{
  return std::string(index % 2 == 0 ? "CubeBrU" : "CubeBrD") + std::to_string(index / 2 + 1);
}

const char* TowHoleName(TTowHole hole)
{
  switch (hole) {
    case TTowHole::F2u: return "F2u";
    case TTowHole::F1u: return "F1u";
    case TTowHole::F0: return "F0";
    case TTowHole::F1d: return "F1d";
    case TTowHole::F2d: return "F2d";
  }
  return "F0";
}

std::string TowCubeName(TTowHole hole) { return std::string("Cube") + TowHoleName(hole); }
