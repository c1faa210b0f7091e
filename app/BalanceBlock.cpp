// The block's codec. The extended reals are built from frexp/ldexp rather than copied,
// so the encoding does not depend on how the compiler lays out long double, and every
// Real round-trips bit for bit.
#include "BalanceBlock.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include <unistd.h>

static_assert(std::numeric_limits<Real>::digits == 64 && std::numeric_limits<Real>::max_exponent == 16384,
              "Real must be the x87 extended type for the block's reals to round-trip exactly");

#define RAVLEN_CHECK_OFFSET(field, offset) \
  static_assert(offsetof(TBalanceBlock, field) == (offset), #field " sits at " #offset)
RAVLEN_CHECK_OFFSET(MainWindow, BALANCE_LINK_MAIN_WINDOW);
RAVLEN_CHECK_OFFSET(CallerWindow, BALANCE_LINK_CALLER_WINDOW);
RAVLEN_CHECK_OFFSET(TrawlSpeed, BALANCE_LINK_TRAWL_SPEED);
RAVLEN_CHECK_OFFSET(TrawlResistance, BALANCE_LINK_TRAWL_RESISTANCE);
RAVLEN_CHECK_OFFSET(WaterDensity, BALANCE_LINK_WATER_DENSITY);
RAVLEN_CHECK_OFFSET(WarpAngleOnPlan, BALANCE_LINK_WARP_ANGLE_ON_PLAN);
RAVLEN_CHECK_OFFSET(WarpAngleOnSide, BALANCE_LINK_WARP_ANGLE_ON_SIDE);
RAVLEN_CHECK_OFFSET(BridleAngleOnPlan, BALANCE_LINK_BRIDLE_ANGLE_ON_PLAN);
RAVLEN_CHECK_OFFSET(BridleAngleOnSide, BALANCE_LINK_BRIDLE_ANGLE_ON_SIDE);
RAVLEN_CHECK_OFFSET(AttitudeX, BALANCE_LINK_ATTITUDE_X);
RAVLEN_CHECK_OFFSET(AttitudeY, BALANCE_LINK_ATTITUDE_Y);
RAVLEN_CHECK_OFFSET(AttitudeZ, BALANCE_LINK_ATTITUDE_Z);
RAVLEN_CHECK_OFFSET(MomentX, BALANCE_LINK_MOMENT_X);
RAVLEN_CHECK_OFFSET(MomentY, BALANCE_LINK_MOMENT_Y);
RAVLEN_CHECK_OFFSET(MomentZ, BALANCE_LINK_MOMENT_Z);
RAVLEN_CHECK_OFFSET(ForceX, BALANCE_LINK_FORCE_X);
RAVLEN_CHECK_OFFSET(ForceY, BALANCE_LINK_FORCE_Y);
RAVLEN_CHECK_OFFSET(ForceZ, BALANCE_LINK_FORCE_Z);
RAVLEN_CHECK_OFFSET(PairUpperX, BALANCE_LINK_PAIR_UPPER_X);
RAVLEN_CHECK_OFFSET(PairUpperY, BALANCE_LINK_PAIR_UPPER_Y);
RAVLEN_CHECK_OFFSET(PairUpperZ, BALANCE_LINK_PAIR_UPPER_Z);
RAVLEN_CHECK_OFFSET(PairLowerX, BALANCE_LINK_PAIR_LOWER_X);
RAVLEN_CHECK_OFFSET(PairLowerY, BALANCE_LINK_PAIR_LOWER_Y);
RAVLEN_CHECK_OFFSET(PairLowerZ, BALANCE_LINK_PAIR_LOWER_Z);
RAVLEN_CHECK_OFFSET(TowPointX, BALANCE_LINK_TOW_POINT_X);
RAVLEN_CHECK_OFFSET(TowPointY, BALANCE_LINK_TOW_POINT_Y);
RAVLEN_CHECK_OFFSET(TowPointZ, BALANCE_LINK_TOW_POINT_Z);
#undef RAVLEN_CHECK_OFFSET
static_assert(alignof(TBalanceBlock) == 1, "the block may sit at any address of a mapping");

namespace {

constexpr int kExponentBias = 16383;
constexpr unsigned kExponentMax = 0x7FFF;        // infinities and NaN
constexpr int kSignificandBits = 64;              // with the explicit integer bit
constexpr std::uint64_t kIntegerBit = 1ull << 63;
constexpr std::uint64_t kQuietNaN = 0xC000000000000000ull;

Txyz ReadXyz(const unsigned char* x, const unsigned char* y, const unsigned char* z)
{
  return {ReadSlot(x), ReadSlot(y), ReadSlot(z)};
}

void WriteXyz(unsigned char* x, unsigned char* y, unsigned char* z, const Txyz& v)
{
  WriteSlot(x, v.X);
  WriteSlot(y, v.Y);
  WriteSlot(z, v.Z);
}

}  // namespace

void EncodeExtended(Real value, unsigned char* bytes)
{
  std::uint64_t significand = 0;
  unsigned exponent = 0;
  const unsigned sign = std::signbit(value) ? 1 : 0;
  if (std::isnan(value)) {
    exponent = kExponentMax;
    significand = kQuietNaN;
  } else if (std::isinf(value)) {
    exponent = kExponentMax;
    significand = kIntegerBit;
  } else if (value != 0) {
    int e = 0;
    const Real m = std::frexp(std::fabs(value), &e);  // |value| = m 2^e, 0.5 <= m < 1
    significand = static_cast<std::uint64_t>(std::ldexp(m, kSignificandBits));
    const int biased = e - 1 + kExponentBias;
    if (biased > 0) {
      exponent = static_cast<unsigned>(biased);
    } else {
      // Subnormal: the exponent field stays 0 and the significand loses its integer
      // bit; the bits shifted out are zero, as the value came from a subnormal.
      significand >>= 1 - biased;
    }
  }
  for (int i = 0; i < 8; ++i)
    bytes[i] = static_cast<unsigned char>(significand >> (8 * i));
  bytes[8] = static_cast<unsigned char>(exponent & 0xFF);
  bytes[9] = static_cast<unsigned char>((exponent >> 8) | (sign << 7));
}

Real DecodeExtended(const unsigned char* bytes)
{
  std::uint64_t significand = 0;
  for (int i = 7; i >= 0; --i)
    significand = significand << 8 | bytes[i];
  const unsigned exponent = bytes[8] | unsigned(bytes[9] & 0x7F) << 8;
  const bool negative = (bytes[9] & 0x80) != 0;
  Real magnitude;
  if (exponent == kExponentMax) {
    magnitude = (significand & ~kIntegerBit) == 0 ? std::numeric_limits<Real>::infinity()
                                                  : std::numeric_limits<Real>::quiet_NaN();
  } else if (exponent != 0 && (significand & kIntegerBit) == 0) {
    magnitude = std::numeric_limits<Real>::quiet_NaN();
  } else {
    // Exponent 0 scales like exponent 1, without the integer bit.
    const int scale = (exponent == 0 ? 1 : static_cast<int>(exponent)) - kExponentBias - (kSignificandBits - 1);
    magnitude = std::ldexp(static_cast<Real>(significand), scale);
  }
  return negative ? -magnitude : magnitude;
}

void WriteSlot(unsigned char* slot, Real value)
{
  EncodeExtended(value, slot);
  std::memset(slot + BALANCE_LINK_REAL_BYTES, 0, BALANCE_LINK_REAL_SLOT - BALANCE_LINK_REAL_BYTES);
}

TBalanceInputs InputsOf(const TBalanceBlock& block)
{
  return {ReadSlot(block.TrawlSpeed),        ReadSlot(block.TrawlResistance),  ReadSlot(block.WaterDensity),
          ReadSlot(block.WarpAngleOnPlan),   ReadSlot(block.WarpAngleOnSide),  ReadSlot(block.BridleAngleOnPlan),
          ReadSlot(block.BridleAngleOnSide)};
}

void SetInputs(TBalanceBlock& block, const TBalanceInputs& inputs)
{
  WriteSlot(block.TrawlSpeed, inputs.TrawlSpeed);
  WriteSlot(block.TrawlResistance, inputs.TrawlResistance);
  WriteSlot(block.WaterDensity, inputs.WaterDensity);
  WriteSlot(block.WarpAngleOnPlan, inputs.WarpAngleOnPlan);
  WriteSlot(block.WarpAngleOnSide, inputs.WarpAngleOnSide);
  WriteSlot(block.BridleAngleOnPlan, inputs.BridleAngleOnPlan);
  WriteSlot(block.BridleAngleOnSide, inputs.BridleAngleOnSide);
}

TBalanceResults ResultsOf(const TBalanceBlock& block)
{
  return {ReadXyz(block.AttitudeX, block.AttitudeY, block.AttitudeZ),
          ReadXyz(block.MomentX, block.MomentY, block.MomentZ),
          ReadXyz(block.ForceX, block.ForceY, block.ForceZ),
          ReadXyz(block.PairUpperX, block.PairUpperY, block.PairUpperZ),
          ReadXyz(block.PairLowerX, block.PairLowerY, block.PairLowerZ),
          ReadXyz(block.TowPointX, block.TowPointY, block.TowPointZ)};
}

void SetResults(TBalanceBlock& block, const TBalanceResults& results)
{
  WriteXyz(block.AttitudeX, block.AttitudeY, block.AttitudeZ, results.Attitude);
  WriteXyz(block.MomentX, block.MomentY, block.MomentZ, results.Moment);
  WriteXyz(block.ForceX, block.ForceY, block.ForceZ, results.Force);
  WriteXyz(block.PairUpperX, block.PairUpperY, block.PairUpperZ, results.PairUpper);
  WriteXyz(block.PairLowerX, block.PairLowerY, block.PairLowerZ, results.PairLower);
  WriteXyz(block.TowPointX, block.TowPointY, block.TowPointZ, results.TowPoint);
}

TBalanceResults BalanceResultsOf(const TDoorModel& model, const TSolveResult& run)
{
  const TDoorResults& r = model.Results();
  return {model.Attitude(), run.Moment, r.FForce, r.FPairUpperPos, r.FPairLowerPos, r.FTowPoint};
}

std::optional<std::string> LinkBlockName()
{
  constexpr std::size_t kLongestName = 255;  // NAME_MAX of the shared-memory folder
  const char* text = std::getenv("RAVLEN_LINK_BLOCK");
  if (!text) {
    char name[BALANCE_LINK_BLOCK_NAME_SIZE];
    BalanceLinkBlockName(name, sizeof name, ::getuid());
    return std::string(name);
  }
  const std::string_view name = text;
  if (name.size() >= 2 && name.size() <= kLongestName && name[0] == '/' && name.find('/', 1) == name.npos)
    return std::string(name);
  return std::nullopt;
}

std::string InvalidLinkBlockText()
{
  const char* text = std::getenv("RAVLEN_LINK_BLOCK");
  std::string shown;
  for (const char* c = text ? text : ""; *c; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte < 0x20 || byte >= 0x7F || byte == '\\') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      shown += escaped;
    } else {
      shown += *c;
    }
  }
  return "RAVLEN_LINK_BLOCK=\"" + shown + "\" is no block name (\"/\" and 1 to 254 characters without \"/\")";
}
