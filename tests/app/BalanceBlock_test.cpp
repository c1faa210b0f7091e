// The balance block's codec: the 80-bit reals on known bit patterns, both ways, the C
// helpers of the public header against it, and which bytes each writer touches.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include <unistd.h>

#include "app/BalanceBlock.h"

namespace {

using TBytes = std::array<unsigned char, 10>;

TBytes Encoded(Real value)
{
  TBytes bytes{};
  EncodeExtended(value, bytes.data());
  return bytes;
}

// The same real as x87 hardware keeps it in memory: the check of last resort.
TBytes MemoryImage(Real value)
{
  TBytes bytes{};
  std::memcpy(bytes.data(), &value, bytes.size());
  return bytes;
}

bool SameBits(Real a, Real b) { return MemoryImage(a) == MemoryImage(b); }

struct TPattern {
  const char* Name;
  Real Value;
  TBytes Bytes;
};

const TPattern kPatterns[] = {
    {"one", 1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
    {"minus two", -2.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
    {"pi", kPi, {0x35, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40}},
    {"smallest subnormal", std::numeric_limits<Real>::denorm_min(), {1, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00}},
    {"largest subnormal", std::numeric_limits<Real>::min() - std::numeric_limits<Real>::denorm_min(),
     {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00}},
    {"smallest normal", std::numeric_limits<Real>::min(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}},
    {"largest finite", std::numeric_limits<Real>::max(),
     {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F}},
    {"infinity", std::numeric_limits<Real>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
    {"minus infinity", -std::numeric_limits<Real>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}},
    {"zero", 0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"minus zero", -0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x80}},
};

TEST(ExtendedCodec, KnownBitPatternsBothWays)
{
  for (const TPattern& p : kPatterns) {
    SCOPED_TRACE(p.Name);
    EXPECT_EQ(Encoded(p.Value), p.Bytes);
    EXPECT_TRUE(SameBits(DecodeExtended(p.Bytes.data()), p.Value));
    EXPECT_EQ(MemoryImage(p.Value), p.Bytes) << "the table itself is wrong";
  }
}

TEST(ExtendedCodec, NaNIsAQuietNaNAndEveryNaNPatternReadsAsNaN)
{
  const TBytes quiet = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F};
  EXPECT_EQ(Encoded(std::numeric_limits<Real>::quiet_NaN()), quiet);
  const TBytes nanPatterns[] = {
      quiet,
      {1, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F},  // signalling
      {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF},  // negative quiet
      {1, 0, 0, 0, 0, 0, 0, 0x00, 0xFF, 0x7F},  // pseudo-NaN: integer bit clear
      {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F},  // unnormal: 0.5 written without its integer bit
  };
  for (const TBytes& bytes : nanPatterns)
    EXPECT_TRUE(std::isnan(DecodeExtended(bytes.data())));
}

TEST(ExtendedCodec, PseudoDenormalReadsLikeTheSmallestExponent)
{
  // Exponent 0 with the integer bit set: the x87 reads it as 2^-16382.
  const TBytes bytes = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x00};
  EXPECT_TRUE(SameBits(DecodeExtended(bytes.data()), std::numeric_limits<Real>::min()));
}

TEST(ExtendedCodec, EveryRealRoundTripsBitForBit)
{
  std::mt19937_64 random(20240611);
  for (int i = 0; i < 100000; ++i) {
    // Any 80-bit pattern with a valid integer bit is a Real: normal, subnormal or huge.
    const std::uint64_t significand = random();
    const unsigned exponent = static_cast<unsigned>(random() % 0x7FFF);
    TBytes bytes{};
    for (int b = 0; b < 8; ++b)
      bytes[b] = static_cast<unsigned char>(significand >> (8 * b));
    if (exponent != 0)
      bytes[7] |= 0x80;
    else
      bytes[7] &= 0x7F;
    bytes[8] = static_cast<unsigned char>(exponent);
    bytes[9] = static_cast<unsigned char>((exponent >> 8) | (random() & 1 ? 0x80 : 0));
    Real value = 0;
    std::memcpy(&value, bytes.data(), bytes.size());
    ASSERT_EQ(Encoded(value), bytes) << i;
    ASSERT_TRUE(SameBits(DecodeExtended(bytes.data()), value)) << i;
  }
}

TEST(ExtendedCodec, HeaderHelpersForDoublesAgreeWithTheCodec)
{
  const double values[] = {1.0, -2.0, 3.141592653589793, 0.1, -1e-300, 4.9406564584124654e-324,
                           2.2250738585072014e-308, 1.7976931348623157e308, 0.0, -0.0,
                           std::numeric_limits<double>::infinity(), 150000.0};
  for (const double value : values) {
    SCOPED_TRACE(value);
    TBytes fromC{};
    BalanceLinkPutReal(fromC.data(), value);
    EXPECT_EQ(fromC, Encoded(value));
    const double back = BalanceLinkGetReal(fromC.data());
    EXPECT_TRUE(std::memcmp(&back, &value, sizeof value) == 0);
  }
  TBytes nan{};
  BalanceLinkPutReal(nan.data(), std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(std::isnan(BalanceLinkGetReal(nan.data())));
  // Extended values beyond the double's range, and pi rounded to the nearest double.
  EXPECT_EQ(BalanceLinkGetReal(Encoded(std::numeric_limits<Real>::max()).data()),
            std::numeric_limits<double>::infinity());
  EXPECT_EQ(BalanceLinkGetReal(Encoded(std::numeric_limits<Real>::denorm_min()).data()), 0.0);
  EXPECT_EQ(BalanceLinkGetReal(Encoded(kPi).data()), 3.141592653589793);
}

TEST(BalanceBlock, HandlesAreLittleEndian)
{
  TBalanceBlock block{};
  SetMainWindow(block, 0x01020304u);
  SetCallerWindow(block, 4000000000u);
  const unsigned char expected[] = {0x04, 0x03, 0x02, 0x01, 0x00, 0x28, 0x6B, 0xEE};
  EXPECT_EQ(std::memcmp(&block, expected, sizeof expected), 0);
  EXPECT_EQ(MainWindowOf(block), 0x01020304u);
  EXPECT_EQ(CallerWindowOf(block), 4000000000u);
}

// Each writer touches its own fields and nothing else: the client's and the program's
// writes must not undo each other.
TEST(BalanceBlock, WritersTouchOnlyTheirOffsets)
{
  const TBalanceInputs inputs{3, 150000, 1025, 0.1L, -0.2L, 0.3L, -0.4L};
  const TBalanceResults results{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 18}};
  struct TCase {
    const char* Name;
    std::size_t First, End;
    void (*Write)(TBalanceBlock&, const TBalanceInputs&, const TBalanceResults&);
  };
  const TCase cases[] = {
      {"inputs", 8, 120, [](TBalanceBlock& b, const TBalanceInputs& in, const TBalanceResults&) { SetInputs(b, in); }},
      {"results", 120, 408, [](TBalanceBlock& b, const TBalanceInputs&, const TBalanceResults& r) { SetResults(b, r); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBalanceBlock block;
    std::memset(&block, 0xA5, sizeof block);
    c.Write(block, inputs, results);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&block);
    for (std::size_t i = 0; i < sizeof block; ++i) {
      const bool inside = i >= c.First && i < c.End;
      if (!inside) {
        ASSERT_EQ(bytes[i], 0xA5) << "byte " << i;
      } else if ((i - 8) % 16 >= 10) {
        ASSERT_EQ(bytes[i], 0) << "padding byte " << i;
      }
    }
  }
  TBalanceBlock block{};
  SetInputs(block, inputs);
  SetResults(block, results);
  const TBalanceInputs in = InputsOf(block);
  EXPECT_EQ(in.TrawlResistance, 150000);
  EXPECT_EQ(in.BridleAngleOnSide, -0.4L);
  const TBalanceResults r = ResultsOf(block);
  EXPECT_EQ(r.Moment.Y, 5);
  EXPECT_EQ(r.TowPoint.Z, 18);
  // Offsets pinned by hand, as a client would read them.
  EXPECT_EQ(DecodeExtended(reinterpret_cast<const unsigned char*>(&block) + 24), 150000);
  EXPECT_EQ(DecodeExtended(reinterpret_cast<const unsigned char*>(&block) + 392), 18);
}

TEST(BalanceBlock, PaddingOfASlotIsNeverRead)
{
  unsigned char slot[16];
  WriteSlot(slot, 2.5L);
  std::memset(slot + 10, 0xFF, 6);
  EXPECT_EQ(ReadSlot(slot), 2.5L);
}

TEST(BalanceBlock, BlockNameIsTheUsersOwnOrAValidOneFromTheEnvironment)
{
  // An invalid name is no name at all: falling back to the user's block would let a test
  // meant to be private drive a real running copy.
  const std::string own = "/BalancingOfOtterboard-" + std::to_string(::getuid());
  const std::string longest = "/" + std::string(254, 'x');
  struct TCase {
    std::optional<std::string> Env;  // none: unset
    std::optional<std::string> Expected;
  };
  const TCase cases[] = {{std::nullopt, own},          {"/RavlenTest-1", "/RavlenTest-1"},
                         {longest, longest},           {longest + "x", std::nullopt},
                         {"", std::nullopt},           {"NoSlash", std::nullopt},
                         {"/two/slashes", std::nullopt}, {"/", std::nullopt}};
  for (const TCase& c : cases) {
    if (c.Env)
      ::setenv("RAVLEN_LINK_BLOCK", c.Env->c_str(), 1);
    else
      ::unsetenv("RAVLEN_LINK_BLOCK");
    EXPECT_EQ(LinkBlockName(), c.Expected) << c.Env.value_or("(unset)");
  }
  ::setenv("RAVLEN_LINK_BLOCK", "bad\nname\x1b", 1);
  EXPECT_EQ(InvalidLinkBlockText().find('\n'), std::string::npos);
  EXPECT_NE(InvalidLinkBlockText().find("bad\\x0aname\\x1b"), std::string::npos) << InvalidLinkBlockText();
  ::unsetenv("RAVLEN_LINK_BLOCK");
}

// The header's helper builds the same name a client written from it alone would use.
TEST(BalanceBlock, HeaderHelpersBuildTheUsersNames)
{
  char name[BALANCE_LINK_BLOCK_NAME_SIZE];
  EXPECT_STREQ(BalanceLinkBlockName(name, sizeof name, 4294967295ul), "/BalancingOfOtterboard-4294967295");
  char folder[108];
  EXPECT_STREQ(BalanceLinkPortFolder(folder, sizeof folder, nullptr, 1000), "/tmp/ravlen-1000");
  EXPECT_STREQ(BalanceLinkPortFolder(folder, sizeof folder, "", 1000), "/tmp/ravlen-1000");
  EXPECT_STREQ(BalanceLinkPortFolder(folder, sizeof folder, "/run/user/1000", 1000), "/run/user/1000");
}

}  // namespace
