// Text and number helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <limits>

#include "controls/ToolsText.h"

namespace {

const TNumberLocale kDot{'.', ','};
const TNumberLocale kCommaBlank{',', ' '};

TEST(ToolsText, RepeatAndTrim)
{
  EXPECT_EQ(RepeatChar('#', 0), "");
  EXPECT_EQ(RepeatChar('#', -3), "");
  EXPECT_EQ(RepeatChar('#', 3), "###");
  EXPECT_EQ(TrimBlanks(" \t \t"), "");
  EXPECT_EQ(TrimBlanks("\n a b \t\n"), "\n a b \t\n");
  EXPECT_EQ(TrimBlanks("\t a b \t"), "a b");
}

TEST(ToolsText, SafeStrToInt)
{
  EXPECT_EQ(SafeStrToInt("  42  "), 42);
  EXPECT_EQ(SafeStrToInt("-17"), -17);
  EXPECT_EQ(SafeStrToInt("4x"), 0);
  EXPECT_EQ(SafeStrToInt(""), 0);
  EXPECT_EQ(SafeStrToInt("-"), 0);
  EXPECT_EQ(SafeStrToInt("2147483647"), 2147483647);
  EXPECT_EQ(SafeStrToInt("2147483648"), 0);
}

TEST(ToolsText, FormatReal)
{
  struct Case {
    int Width, Decimals;
    Real Number;
    const char* Text;
  };
  const Case cases[] = {
      {15, 3, 2.5L, "2.5"},        {15, 3, 2, "2"},           {15, 3, 0.0004L, ""},
      {15, 3, 1234567.25L, "1234567.25"}, {15, 3, 0.5L, ".5"}, {15, 3, -0.5L, "-.5"},
      {15, 3, -0.0004L, ""},       {15, 1, 0.25L, ".3"},      {15, 1, -0.25L, "-.3"},
      {15, 2, 0.125L, ".13"},      {15, 0, 2.5L, "3"},        {3, 3, 12.3456L, "12.346"},
      {20, 3, 9.9996L, "10"},      {15, 1, 10000, "10000"},   {15, 3, 1e20L, "100000000000000000000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatReal(c.Width, c.Decimals, true, c.Number, kDot), c.Text) << c.Number;
  EXPECT_EQ(FormatReal(15, 3, true, 2.5L, kCommaBlank), "2,5");
  EXPECT_EQ(FormatReal(15, 3, false, 2.5L, kDot), "2.5");
}

TEST(ToolsText, SafeStrToRealWithCommaAndBlank)
{
  EXPECT_EQ(SafeStrToReal("1.5", kCommaBlank), 1.5L);  // through the lenient path
  EXPECT_NEAR(SafeStrToReal("1 000,25", kCommaBlank), 1000.25L, 1e-15L);
  EXPECT_EQ(SafeStrToReal("-0.5", kCommaBlank), -0.5L);
  EXPECT_EQ(SafeStrToReal("2,5e2", kCommaBlank), 250);
}

TEST(ToolsText, SafeStrToRealWithDotAndComma)
{
  EXPECT_EQ(SafeStrToReal("1,5", kDot), 15);  // the comma is a thousand separator
  EXPECT_EQ(SafeStrToReal("   ", kDot), 0);
  EXPECT_EQ(SafeStrToReal("", kDot), 0);
  EXPECT_EQ(SafeStrToReal(" 7.25 ", kDot), 7.25L);
  EXPECT_EQ(SafeStrToReal("-1e-3", kDot), -1e-3L);
  EXPECT_EQ(SafeStrToReal("-x", kDot), 0);
}

TEST(ToolsText, ParseRealLenient)
{
  const TNumberLocale none{'.', '\0'};
  EXPECT_EQ(ParseRealLenient("2/5e3", kDot), 2500);
  EXPECT_EQ(ParseRealLenient("2/5e", kDot), 2.5L);
  EXPECT_EQ(ParseRealLenient("7x", kDot), 7);
  EXPECT_EQ(ParseRealLenient("12kg", kDot), 12);
  EXPECT_EQ(ParseRealLenient("1 5", kDot), 1.5L);
  EXPECT_EQ(ParseRealLenient("1,5", none), 1.5L);
  EXPECT_EQ(ParseRealLenient("\t-3.5F-1", kDot), -0.35L);
  EXPECT_EQ(ParseRealLenient("1e99999", kDot), 0);       // overflow gives 0
  EXPECT_EQ(ParseRealLenient("1e99999999999", kDot), 0);  // exponent beyond 32 bits
  EXPECT_EQ(ParseRealLenient("", kDot), 0);
  EXPECT_EQ(ParseRealLenient("1\xB0" "5", kDot), 1.5L);   // a character above 127 is a point
}

TEST(ToolsText, StrictConversionRefusesWhatIsNotOneNumber)
{
  Real v = 0;
  for (const char* bad : {"", "-", ".", "1.2.3", "1e", "1x", "1,5", "e5"})
    EXPECT_FALSE(StrictStrToReal(bad, v, kDot)) << bad;
  EXPECT_TRUE(StrictStrToReal(" .5 ", v, kDot));
  EXPECT_EQ(v, 0.5L);
  EXPECT_TRUE(StrictStrToReal("1,5", v, kCommaBlank));
  EXPECT_EQ(v, 1.5L);
}

TEST(ToolsText, NiceStep)
{
  struct Case {
    Real X, Step;
  };
  for (const Case c : {Case{7, 1}, Case{3, 0.5L}, Case{1, 0.25L}, Case{0.05L, 0.025L}, Case{10, 2.5L},
                       Case{0, 1}, Case{-3, 0.5L}, Case{180, 25}})
    EXPECT_NEAR(NiceStep(c.X), c.Step, 1e-15L) << c.X;
  EXPECT_EQ(NiceStep(std::numeric_limits<Real>::infinity()), 1);
  EXPECT_EQ(NiceStep(std::nanl("")), 1);
}

}  // namespace

TEST(ToolsText, FormatGeneral)
{
  struct Case {
    Real Number;
    const char* Text;
  };
  const Case cases[] = {
      {0, "0"},
      {-0.0L, "0"},
      {100, "100"},
      {10000000, "10000000"},
      {-5, "-5"},
      {-0.002L, "-0.002"},
      {0.0001L, "0.0001"},
      {0.00001L, "1E-5"},
      {1.63e-6L, "1.63E-6"},
      {-1.63e-6L, "-1.63E-6"},
      {1.5707963267948966L, "1.5707963267949"},
      {-1.5707963267948966L, "-1.5707963267949"},
      {0.0174532925199433L, "0.0174532925199433"},
      {123456789012345.0L, "123456789012345"},
      {1e15L, "1E15"},
      {1.5e20L, "1.5E20"},
      {9.9999999999999999L, "10"},
      {0.1L + 0.2L, "0.3"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatGeneral(c.Number, kDot), c.Text) << static_cast<double>(c.Number);
  EXPECT_EQ(FormatGeneral(1.63e-6L, kCommaBlank), "1,63E-6");
  EXPECT_EQ(FormatGeneral(-2.5L, kCommaBlank), "-2,5");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<Real>::quiet_NaN(), kDot), "NAN");
  EXPECT_EQ(FormatGeneral(-std::numeric_limits<Real>::infinity(), kDot), "-INF");
}
