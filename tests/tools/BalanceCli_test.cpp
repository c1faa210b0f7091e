// ravlen-balance driven in process: usage errors, help, both outputs.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/BalanceCli.h"
#include "tools/CliFormat.h"

namespace {

struct TCliRun {
  int Status;
  std::string Out, Err;
};

TCliRun RunCli(std::vector<const char*> args)
{
  args.insert(args.begin(), "ravlen-balance");
  std::ostringstream out, err;
  const int status = RunBalanceCli(static_cast<int>(args.size()), args.data(), out, err);
  return {status, out.str(), err.str()};
}

// A number printed by --json under a key (first number after it).
double JsonValue(const std::string& json, const std::string& key, int index = 0)
{
  std::size_t at = json.find("\"" + key + "\"");
  EXPECT_NE(at, std::string::npos) << key;
  at = json.find(':', at) + 1;
  for (int i = 0; i < index; ++i)
    at = json.find(',', at) + 1;
  while (json[at] == ' ' || json[at] == '[')
    ++at;
  return std::stod(json.substr(at));
}

TEST(BalanceCli, BadInputIsOneLineOnStderrAndStatusTwo)
{
  const std::vector<std::vector<const char*>> cases = {
      {"--bogus"},
      {"--speed", "fast"},
      {"--speed", "2x"},
      {"--speed", "0.05"},
      {"--speed", "10.5"},
      {"--speed"},
      {"--resistance", "0.01"},
      {"--resistance", "nan"},
      {"--density", "1200"},
      {"--area", "10"},
      {"--ballast", "0"},
      {"--ballast", "2.5"},
      {"--bracket", "huge"},
      {"--upper-hole", "4,1"},
      {"--lower-hole", "1,6"},
      {"--upper-hole", "1"},
      {"--pair", "4"},
      {"--tow-hole", "F3u"},
      {"--warp-plan", "90"},
      {"--bridle-side", "-90"},
      {"--bridle-plan", "89.9999"},
      {"--bridle-between", "80"},
      {"--bridle-between", "-1"},
      {"--solver-factor", "4"},
      {"--attitude", "1,2"},
      {"--attitude", "1,x,3"},
      {"--attitude", "1e308,0,0"},
      {"--attitude", "0,1e4000,0"},
      {"--attitude", "0,0,-1.0000001e15"},
      {"balance", "evaluate"},
      {"solve"},
      {"--json=yes"},
  };
  for (const auto& args : cases) {
    const TCliRun r = RunCli(args);
    const std::string name = args.front();
    EXPECT_EQ(r.Status, 2) << name;
    EXPECT_TRUE(r.Out.empty()) << name;
    ASSERT_FALSE(r.Err.empty()) << name;
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err;
  }
  EXPECT_NE(RunCli({"--speed", "fast"}).Err.find("--speed"), std::string::npos);
}

TEST(BalanceCli, AcceptsTheEdgesOfTheRanges)
{
  const std::vector<std::vector<const char*>> cases = {
      {"evaluate", "--speed", "0.1"},         {"evaluate", "--speed=10"},
      {"evaluate", "--resistance", "0.1"},    {"evaluate", "--resistance", "10000"},
      {"evaluate", "--density", "800"},       {"evaluate", "--warp-plan", "89.9"},
      {"evaluate", "--bridle-between", "79.9"}, {"evaluate", "--bridle-between", "0"},
      {"evaluate", "--upper-hole", "3,5"},    {"evaluate", "--tow-hole", "F2d"},
      {"evaluate", "--area", "14.4"},         {"evaluate", "--solver-factor", "5"},
      {"evaluate", "--attitude", "1e15,-1e15,0"},
  };
  for (const auto& args : cases)
    EXPECT_EQ(RunCli(args).Status, 0) << args[1];
}

// An argument echoed in a usage error cannot break its line or reach the terminal as a
// control sequence.
TEST(BalanceCli, UsageErrorsEchoArgumentsEscaped)
{
  struct TCase {
    std::vector<const char*> Args;
    const char* Echo;
  };
  const TCase cases[] = {
      {{"--speed", "2\n\x1b[2J"}, "'2\\n\\x1b[2J'"},
      {{"--bracket", "huge\r\tback\\slash"}, "'huge\\r\\tback\\\\slash'"},
      {{"--tow-hole", "F\xc2\x9b" "1m\xff\xd0\xa4"}, "'F\\xc2\\x9b1m\\xff\xd0\xa4'"},  // C1 CSI, a stray byte, then Ф
      {{"--bogus\x07"}, "'--bogus\\x07'"},
      {{"stray\nword"}, "'stray\\nword'"},
  };
  for (const TCase& c : cases) {
    const TCliRun r = RunCli(c.Args);
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err;
    EXPECT_EQ(r.Err.find('\x1b'), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find(c.Echo), std::string::npos) << r.Err;
  }
}

// JSON carries no number a double cannot hold; table columns never run together, however
// large a number.
TEST(BalanceCli, NumbersStayReadable)
{
  EXPECT_EQ(JsonNumber(1e4000L), "null");
  EXPECT_EQ(JsonNumber(-1e309L), "null");
  EXPECT_EQ(JsonNumber(1e-4000L), "0");
  EXPECT_EQ(JsonNumber(-1e-4000L), "-0");
  EXPECT_EQ(JsonNumber(1.5e308L), "1.5e+308");
  // 24 columns of label, then 14 to a cell, each cell beginning with a blank.
  const std::string row = Row("Attitude, deg", {1e15L, -1e300L, -12.5L}, 6);
  EXPECT_EQ(row, "  Attitude, deg           1.000000e+15 -1.00000e+300    -12.500000\n");

  const TCliRun r = RunCli({"evaluate", "--attitude", "1e15,-1e15,7"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  const std::size_t at = r.Out.find("Attitude, deg");
  std::istringstream cells(r.Out.substr(at + 13, r.Out.find('\n', at) - at - 13));
  std::vector<double> values;
  for (double v; cells >> v;)
    values.push_back(v);
  EXPECT_EQ(values, (std::vector<double>{1e15, -1e15, 7}));
}

TEST(BalanceCli, HelpGoesToStdout)
{
  const TCliRun r = RunCli({"--help"});
  EXPECT_EQ(r.Status, 0);
  EXPECT_NE(r.Out.find("Usage: ravlen-balance"), std::string::npos);
  EXPECT_NE(r.Out.find("--attitude X,Y,Z    start attitude, degrees, each -1e15..1e15"), std::string::npos);
  EXPECT_TRUE(r.Err.empty());
}

TEST(BalanceCli, VersionIsAnsweredBeforeAnythingElse)
{
  for (const auto& args : std::vector<std::vector<const char*>>{{"--version"}, {"balance", "--speed", "fast", "--version"}}) {
    const TCliRun r = RunCli(args);
    EXPECT_EQ(r.Status, 0) << args.size();
    EXPECT_EQ(r.Out, "ravlen-balance " RAVLEN_EXPECTED_VERSION "\n");
    EXPECT_TRUE(r.Err.empty()) << r.Err;
  }
}

TEST(BalanceCli, EvaluateJsonOfTheStartUpDoor)
{
  const TCliRun r = RunCli({"evaluate", "--json"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_DOUBLE_EQ(JsonValue(r.Out, "door_scale"), 5.0);
  EXPECT_NEAR(JsonValue(r.Out, "mass_kg"), 3274.0613, 1e-4);
  EXPECT_NEAR(JsonValue(r.Out, "submerged_weight_N"), 27905.4387, 1e-4);
  EXPECT_EQ(JsonValue(r.Out, "attack_angle_deg"), 0);
  EXPECT_EQ(r.Out.find("\"iterations\""), std::string::npos);
  for (const char* key : {"attitude_deg", "moment_Nm", "force_N", "tow_point_m", "pair_upper_m", "pair_lower_m"})
    EXPECT_NE(r.Out.find(std::string("\"") + key + "\": ["), std::string::npos) << key;
}

TEST(BalanceCli, AreaCommandScaleAndStartAttitude)
{
  const TCliRun r = RunCli({"evaluate", "--json", "--area", "10.3", "--attitude", "0,0,-30"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NEAR(JsonValue(r.Out, "door_scale"), 5.0000156, 1e-7);
  EXPECT_NE(JsonValue(r.Out, "door_scale"), 5.0);
  EXPECT_NEAR(JsonValue(r.Out, "attitude_deg", 2), -30, 1e-12);
  // Turning the door nose-in about Z opens the wing to the flow.
  EXPECT_NEAR(JsonValue(r.Out, "attack_angle_deg"), 30, 1e-12);
}

TEST(BalanceCli, BalanceReportsConvergence)
{
  TCliRun r = RunCli({"--json"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("\"converged\": true"), std::string::npos);
  EXPECT_GT(JsonValue(r.Out, "iterations"), 0);

  r = RunCli({"balance", "--json", "--solver-factor", "5"});
  EXPECT_EQ(r.Status, 0);  // not converging is a result, not an error
  EXPECT_NE(r.Out.find("\"converged\": false"), std::string::npos);
  EXPECT_EQ(JsonValue(r.Out, "iterations"), 10000);
}

TEST(BalanceCli, TableNamesTheDoorAndTheResult)
{
  const TCliRun r = RunCli({"--ballast", "6", "--bracket", "large", "--pair", "2"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  for (const char* text : {"6 ballast pieces", "large bracket", "bracket pair 2", "converged after", "Attitude, deg"})
    EXPECT_NE(r.Out.find(text), std::string::npos) << text;
}

}  // namespace
