// The door family at unit scale: points, centres of gravity, volumes and reference
// areas, and the variant (scale, ballast, bracket) that picks one member. Points are
// door-frame coordinates: X along the chord, Y the wing normal, Z up the span. Lengths
// scale with the door scale, areas with its square, masses and volumes with its cube.
#pragma once

#include <array>
#include <string>

#include "Tools.h"

inline constexpr Real kSteelDensity = 7870;    // kg/m^3, bracket, ballast and hull
inline constexpr Real kGravity = 9.80665L;     // m/s^2

inline constexpr TxyzSingle HullCoG{0.0648238f, 0.1007314f, 0.0002996f};
inline constexpr Real HullMass = 18.980387364701L;  // kg at unit scale
inline constexpr Real WingArea = 0.4155973991L;     // m^2 at unit scale
inline constexpr Real SpanArea = 0.3104032582L;     // m^2 at unit scale
// The wing's area of the door drawn at this scale, m^2.
inline constexpr Real WingAreaAtScale(Real scale) { return WingArea * (scale * scale); }
inline constexpr Txyz WingNormal{0, 1, 0};
inline constexpr Txyz SpanAxis{0, 0, 1};
// Along the warp from the bracket pair's mid-point to the provisional towing point.
inline constexpr Real BracketReach = 0.395807L;

// Bracket attachment points: pair 1 upper, pair 1 lower, pair 2 upper, ...
inline constexpr std::array<TxyzSingle, 6> PairPoints{{
    {-0.022f, 0.012f, 0.0385f},
    {-0.022f, 0.012f, -0.0385f},
    {0.0f, 0.0f, 0.0385f},
    {0.0f, 0.0f, -0.0385f},
    {0.022f, 0.0f, 0.0385f},
    {0.022f, 0.0f, -0.0385f},
}};

inline constexpr int kHoleRows = 3;
inline constexpr int kHolesPerRow = 5;
inline constexpr int kHoleCount = kHoleRows * kHolesPerRow;
// Bridle holes, row-major: index = 5 (row - 1) + (hole - 1).
extern const std::array<TxyzSingle, kHoleCount> UpperHoles;
extern const std::array<TxyzSingle, kHoleCount> LowerHoles;

enum class TBracketSize { Small, Medium, Large };
inline constexpr int kBracketSizes = 3;
inline constexpr int kTowHoles = 5;
// Towing holes of each bracket, in bracket coordinates (X along the bracket from the
// pair axis, Z the height in the door frame), order F2u, F1u, F0, F1d, F2d.
extern const std::array<std::array<TxyzSingle, kTowHoles>, kBracketSizes> BracketTowHolesTable;
inline constexpr std::array<TxyzSingle, kBracketSizes> BracketCoGTable{{
    {-0.0444833f, 0.0f, 0.0f},
    {-0.0453303f, 0.0f, 0.0f},
    {-0.046811f, 0.0f, 0.0f},
}};
inline constexpr std::array<Real, kBracketSizes> BracketVolumeTable{
    0.0000697948468L, 0.0000732302738L, 0.0000802008409L};  // m^3 at unit scale

inline constexpr std::array<float, 2> BallastCoGXY{0.0641793f, 0.0925326f};
inline constexpr Real BallastTop = -0.529L;     // Z of the first piece
inline constexpr Real BallastPitch = 0.006L;    // Z step down to the next piece
inline constexpr Real BallastVolume = 0.0002810580687L;  // m^3 per piece at unit scale
inline constexpr int kMaxBallast = 6;

// The towing holes of a bracket, in table order.
enum class TTowHole { F2u, F1u, F0, F1d, F2d };
// Bracket attachment pair, held by its upper point as the pair's marker is.
enum class TBracketPair { Pair1 = 1, Pair2 = 2, Pair3 = 3 };

// --- variant state -----------------------------------------------------------------
// The chosen member of the family; the start-up door is the 10.39 m^2 door at scale
// exactly 5, three ballast pieces and the medium bracket.
struct TDoorVariant {
  Real FDoorScale = 5.0L;
  int FBallastCount = 3;
  TBracketSize Bracket = TBracketSize::Medium;
  std::array<TxyzSingle, kTowHoles> BracketTowHoles = BracketTowHolesTable[1];
  TxyzSingle BracketCoG = BracketCoGTable[1];
  Real BracketVolume = BracketVolumeTable[1];
  Real BracketMass = 0;       // kg at unit scale; set by building the model
  Real BallastPieceMass = 0;  // kg at unit scale; set by building the model
};

// The wing areas of the area commands, in hundredths of m^2 (the commands' tags).
inline constexpr std::array<int, 5> kAreaTags{450, 760, 1039, 1160, 1440};
// Linear scale of the door whose wing area is tag / 100 m^2.
Real DoorScaleForAreaTag(int tag);

// Resource identifiers of the bracket meshes, the bracket commands' tags.
inline constexpr std::array<int, kBracketSizes> kBracketTags{1301, 1311, 1321};

// --- names of the scene markers -------------------------------------------------------
// "CubeRU_<row>_<hole>" for an upper hole index, "CubeRD_..." for a lower one.
std::string UpperHoleCubeName(int index);
std::string LowerHoleCubeName(int index);
// "CubeBrU1" .. "CubeBrD3" for PairPoints index 0 .. 5.
std::string PairCubeName(int index);
// "CubeF2u" .. "CubeF2d".
std::string TowCubeName(TTowHole hole);
// "F2u" .. "F2d".
const char* TowHoleName(TTowHole hole);
