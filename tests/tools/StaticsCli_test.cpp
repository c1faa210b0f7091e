// ravlen-balance's statics driven in process: the new balance fields, sweep against
// separate balances, and advise against balancing its riggings one by one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tools/BalanceCli.h"

namespace {

struct TCliRun {
  int Status;
  std::string Out, Err;
};

TCliRun RunCli(std::vector<std::string> args)
{
  args.insert(args.begin(), "ravlen-balance");
  std::vector<const char*> argv;
  for (const std::string& a : args)
    argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int status = RunBalanceCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

// The text of the value under a key: a number, a quoted string or a bracketed list.
std::string JsonToken(const std::string& json, const std::string& key)
{
  std::size_t at = json.find("\"" + key + "\": ");
  EXPECT_NE(at, std::string::npos) << key << " in " << json;
  if (at == std::string::npos)
    return {};
  at += key.size() + 4;
  std::size_t end = at;
  if (json[at] == '[') {
    int depth = 0;
    do {
      depth += json[end] == '[' ? 1 : json[end] == ']' ? -1 : 0;
      ++end;
    } while (depth > 0);
  } else if (json[at] == '"') {
    end = json.find('"', at + 1) + 1;
  } else {
    end = json.find_first_of(",}\n", at);
  }
  return json.substr(at, end - at);
}

double JsonNumberAt(const std::string& json, const std::string& key, int index = 0)
{
  std::string token = JsonToken(json, key);
  if (!token.empty() && token[0] == '[') {
    token = token.substr(1);
    for (int i = 0; i < index; ++i)
      token = token.substr(token.find(',') + 1);
  }
  return std::stod(token);
}

std::vector<std::string> Lines(const std::string& text)
{
  std::vector<std::string> lines;
  std::stringstream stream(text);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  return lines;
}

std::vector<std::string> CsvFields(const std::string& line)
{
  std::vector<std::string> fields;
  std::stringstream stream(line);
  for (std::string field; std::getline(stream, field, ',');)
    fields.push_back(field);
  if (!line.empty() && line.back() == ',')
    fields.emplace_back();
  return fields;
}

TEST(StaticsCli, UsageErrorsAreOneLineAndStatusTwo)
{
  const std::vector<std::vector<std::string>> cases = {
      {"--method", "fast"},
      {"evaluate", "--method", "newton"},
      {"sweep"},
      {"sweep", "--vary", "speed"},
      {"sweep", "--vary", "spin=1:2:0.5"},
      {"sweep", "--vary", "speed=1:2"},
      {"sweep", "--vary", "speed=1:2:0"},
      {"sweep", "--vary", "speed=2:1:0.5"},
      {"sweep", "--vary", "speed=1:x:0.5"},
      {"sweep", "--vary", "speed=0:1:0.5"},  // 0 m/s is outside --speed's range
      {"sweep", "--vary", "warp-plan=80:90:5"},
      {"sweep", "--vary", "speed=0.1:10:0.00001"},
      {"sweep", "--vary", "speed=1:4:0.01", "--vary", "density=800:1100:0.5"},
      {"sweep", "--vary", "speed=1:2:1", "--vary", "speed=1:3:1"},
      {"sweep", "--vary", "speed=1:2:1", "--vary", "density=1000:1030:30", "--vary", "resistance=50:60:10"},
      {"balance", "--vary", "speed=1:2:1"},
      {"advise", "--heel", "5,-5"},
      {"advise", "--pitch", "1"},
      {"advise", "--top", "0"},
      {"advise", "--rank", "best"},
      {"advise", "--csv", "--json"},
      {"advise", "--threads", "0"},
      {"balance", "--area", "all"},
      {"balance", "--top", "3"},
      {"sweep", "--vary", "speed=1:2:1", "--csv"},
      {"balance", "--threads", "2"},
  };
  for (const auto& args : cases) {
    const TCliRun r = RunCli(args);
    std::string name;
    for (const std::string& a : args)
      name += a + " ";
    EXPECT_EQ(r.Status, 2) << name;
    EXPECT_TRUE(r.Out.empty()) << name;
    ASSERT_FALSE(r.Err.empty()) << name;
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err;
  }
}

TEST(StaticsCli, BalanceReportsMethodStabilityHeelPitchAndWarnings)
{
  const TCliRun relax = RunCli({"--json"});
  const TCliRun newton = RunCli({"--json", "--method", "newton"});
  ASSERT_EQ(relax.Status, 0) << relax.Err;
  ASSERT_EQ(newton.Status, 0) << newton.Err;
  EXPECT_EQ(JsonToken(relax.Out, "method"), "\"relax\"");
  EXPECT_EQ(JsonToken(newton.Out, "method"), "\"newton\"");
  // The relaxation evaluates twice per iteration and once more to see it converged.
  EXPECT_EQ(JsonNumberAt(relax.Out, "evaluations"), 2 * JsonNumberAt(relax.Out, "iterations") + 1);
  EXPECT_LE(JsonNumberAt(newton.Out, "evaluations"), 30);
  for (const std::string* out : {&relax.Out, &newton.Out}) {
    EXPECT_EQ(JsonToken(*out, "stable"), "true");
    EXPECT_EQ(JsonToken(*out, "warnings"), "[]");
  }
  for (const char* key : {"heel_deg", "pitch_deg", "attack_angle_deg"})
    EXPECT_NEAR(JsonNumberAt(relax.Out, key), JsonNumberAt(newton.Out, key), 1e-6) << key;

  const TCliRun table = RunCli({"--method", "newton"});
  for (const char* text : {"Newton steps", "Method    newton", "Stability stable", "Heel ", "Pitch ", "Warnings  none"})
    EXPECT_NE(table.Out.find(text), std::string::npos) << text;
}

TEST(StaticsCli, HeelAndPitchOfAnAttitude)
{
  struct Case {
    const char* Attitude;
    double Heel, Pitch;
  };
  // Turning about X swings the top inward; about Y the leading edge goes down.
  for (const Case c : {Case{"10,0,0", -10, 0}, Case{"0,15,0", 0, -15}, Case{"0,0,40", 0, 0}}) {
    const TCliRun r = RunCli({"evaluate", "--json", "--attitude", c.Attitude});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NEAR(JsonNumberAt(r.Out, "heel_deg"), c.Heel, 1e-12) << c.Attitude;
    EXPECT_NEAR(JsonNumberAt(r.Out, "pitch_deg"), c.Pitch, 1e-12) << c.Attitude;
  }
}

TEST(StaticsCli, EachWarningFromADoorMadeForIt)
{
  struct Case {
    std::vector<std::string> Args;
    std::string Word;
  };
  const std::vector<Case> cases = {
      {{"--solver-factor", "5"}, "not_converged"},
      // Started nearly upside down, Newton ends in a balance a push would undo.
      {{"--method", "newton", "--attitude", "-160,0,-190"}, "unstable"},
      {{"--method", "newton", "--area", "4.5", "--bracket", "large", "--ballast", "6", "--upper-hole", "1,5",
        "--lower-hole", "2,4", "--pair", "3", "--tow-hole", "F2u", "--speed", "1.18", "--resistance", "55",
        "--warp-plan", "26.5", "--warp-side", "21.4", "--bridle-plan", "28.9", "--bridle-side", "13.3"},
       "stalled"},
      {{"--method", "newton", "--area", "14.4", "--bracket", "small", "--ballast", "1", "--upper-hole", "1,3",
        "--lower-hole", "2,4", "--pair", "2", "--speed", "1.47", "--resistance", "11.2", "--warp-plan", "14.5",
        "--warp-side", "-3", "--bridle-plan", "22.5", "--bridle-side", "-4.5"},
       "falling_over"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> json = c.Args;
    json.push_back("--json");
    const TCliRun j = RunCli(json);
    ASSERT_EQ(j.Status, 0) << j.Err;
    EXPECT_NE(JsonToken(j.Out, "warnings").find("\"" + c.Word + "\""), std::string::npos) << c.Word;
    const TCliRun t = RunCli(c.Args);
    EXPECT_NE(t.Out.find("Warning   " + c.Word + ": "), std::string::npos) << c.Word;
  }
  EXPECT_EQ(JsonToken(RunCli({"--solver-factor", "5", "--json"}).Out, "stable"), "null");
}

// A balance of the start-up door with more options, as JSON.
std::string BalanceJson(std::vector<std::string> args)
{
  args.insert(args.begin(), {"balance", "--json", "--method", "newton"});
  const TCliRun r = RunCli(args);
  EXPECT_EQ(r.Status, 0) << r.Err;
  return r.Out;
}

TEST(StaticsCli, SweepContinuationGivesTheSeparateBalances)
{
  const TCliRun sweep = RunCli({"sweep", "--vary", "speed=1.5:4:0.5", "--vary", "warp-plan=-5:5:5"});
  ASSERT_EQ(sweep.Status, 0) << sweep.Err;
  const std::vector<std::string> lines = Lines(sweep.Out);
  ASSERT_EQ(lines.size(), 1u + 6 * 3);
  const std::vector<std::string> header = CsvFields(lines[0]);
  ASSERT_EQ(header.size(), 15u);
  EXPECT_EQ(header[0], "speed");
  EXPECT_EQ(header[1], "warp-plan");
  EXPECT_EQ(header[2], "converged");
  int warmStarted = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = CsvFields(lines[i]);
    ASSERT_EQ(f.size(), header.size()) << lines[i];
    const std::string one = BalanceJson({"--speed", f[0], "--warp-plan", f[1]});
    EXPECT_EQ(f[2], JsonToken(one, "converged")) << lines[i];
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(std::stod(f[4 + k]), JsonNumberAt(one, "attitude_deg", k), 1e-6) << lines[i];
    EXPECT_NEAR(std::stod(f[7]), JsonNumberAt(one, "heel_deg"), 1e-6) << lines[i];
    EXPECT_NEAR(std::stod(f[8]), JsonNumberAt(one, "pitch_deg"), 1e-6) << lines[i];
    EXPECT_NEAR(std::stod(f[9]), JsonNumberAt(one, "attack_angle_deg"), 1e-6) << lines[i];
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(std::stod(f[10 + k]), JsonNumberAt(one, "force_N", k) / 1000, 1e-7) << lines[i];
    EXPECT_EQ(f[13], JsonToken(one, "stable")) << lines[i];
    // The warm start is what the sweep is for: it costs fewer evaluations.
    if (std::stoi(f[3]) < JsonNumberAt(one, "evaluations"))
      ++warmStarted;
  }
  EXPECT_GT(warmStarted, 0);
}

TEST(StaticsCli, SweepDoesNotDependOnTheWorkerCount)
{
  // Longer than one run of continued cases, so that the runs are shared out.
  const std::vector<std::string> args = {"sweep", "--vary", "speed=1:3.99:0.01", "--json"};
  std::vector<std::string> one = args, two = args;
  one.insert(one.end(), {"--threads", "1"});
  two.insert(two.end(), {"--threads", "2"});
  const TCliRun a = RunCli(one), b = RunCli(two);
  ASSERT_EQ(a.Status, 0) << a.Err;
  EXPECT_EQ(Lines(a.Out).size(), 300u);
  EXPECT_EQ(a.Out, b.Out);
  EXPECT_EQ(JsonToken(Lines(a.Out)[299], "speed"), "3.99");
}

// The "riggings" list of advise --json, one object per line.
std::vector<std::string> AdviseRows(const std::string& json)
{
  std::vector<std::string> rows;
  for (const std::string& line : Lines(json))
    if (line.rfind("    {\"rank\"", 0) == 0)
      rows.push_back(line);
  return rows;
}

std::string HoleArg(const std::string& pair)
{
  std::string text = pair.substr(1, pair.size() - 2);
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

TEST(StaticsCli, AdviseRiggingsBalanceAgainToTheSameNumbers)
{
  const TCliRun advise = RunCli({"advise", "--json", "--top", "5", "--bracket", "all", "--speed", "2.5"});
  ASSERT_EQ(advise.Status, 0) << advise.Err;
  EXPECT_EQ(JsonNumberAt(advise.Out, "configurations"), 3 * 3375);
  EXPECT_EQ(JsonNumberAt(advise.Out, "balanced"), 3 * 3375);
  const std::vector<std::string> rows = AdviseRows(advise.Out);
  ASSERT_EQ(rows.size(), 5u);
  double previous = INFINITY;
  for (const std::string& row : rows) {
    const std::string bracket = JsonToken(row, "bracket");
    const std::string one = BalanceJson({"--speed", "2.5", "--bracket", bracket.substr(1, bracket.size() - 2),
                                         "--upper-hole", HoleArg(JsonToken(row, "upper_hole")), "--lower-hole",
                                         HoleArg(JsonToken(row, "lower_hole")), "--pair", JsonToken(row, "pair"),
                                         "--tow-hole", JsonToken(row, "tow_hole").substr(1, 3)});
    for (const char* key : {"attitude_deg", "force_N", "heel_deg", "pitch_deg", "attack_angle_deg", "evaluations",
                            "stable", "warnings"})
      EXPECT_EQ(JsonToken(row, key), JsonToken(one, key)) << key << " of " << row;
    const double spreading = JsonNumberAt(row, "force_N", 1);
    EXPECT_LE(spreading, previous);
    previous = spreading;
    EXPECT_LE(std::fabs(JsonNumberAt(row, "heel_deg")), 5);
    EXPECT_LE(std::fabs(JsonNumberAt(row, "pitch_deg")), 5);
  }
}

TEST(StaticsCli, StartUpRiggingRanksWhereItsSpreadingPutsIt)
{
  // Wide ranges keep every stable, unstalled balance, the start-up rigging among them.
  const TCliRun advise =
      RunCli({"advise", "--csv", "--heel", "-90,90", "--pitch", "-90,90", "--top", "3375", "--threads", "2"});
  ASSERT_EQ(advise.Status, 0) << advise.Err;
  const std::vector<std::string> lines = Lines(advise.Out);
  ASSERT_GT(lines.size(), 1u);
  const std::vector<std::string> header = CsvFields(lines[0]);
  EXPECT_EQ(header[10], "spreading_force_kN");
  const double startUp = JsonNumberAt(BalanceJson({}), "force_N", 1) / 1000;

  int startUpRank = 0, larger = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = CsvFields(lines[i]);
    const double spreading = std::stod(f[10]);
    if (f[4] == "1" && f[5] == "1" && f[6] == "1" && f[7] == "1" && f[8] == "1" && f[9] == "F0") {
      startUpRank = std::stoi(f[0]);
      EXPECT_EQ(spreading, startUp);
    }
    EXPECT_EQ(std::stoi(f[0]), static_cast<int>(i));
  }
  for (std::size_t i = 1; i < lines.size(); ++i)
    if (std::stod(CsvFields(lines[i])[10]) > startUp)
      ++larger;
  ASSERT_GT(startUpRank, 0) << "the start-up rigging is not in the list";
  EXPECT_EQ(startUpRank, larger + 1);
}

TEST(StaticsCli, AdviseRanksByEfficiency)
{
  const TCliRun r = RunCli({"advise", "--json", "--rank", "efficiency", "--top", "4"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  const std::vector<std::string> rows = AdviseRows(r.Out);
  ASSERT_EQ(rows.size(), 4u);
  double previous = INFINITY;
  for (const std::string& row : rows) {
    const double efficiency = JsonNumberAt(row, "efficiency");
    EXPECT_NEAR(efficiency, JsonNumberAt(row, "force_N", 1) / JsonNumberAt(row, "force_N", 0), 1e-12);
    EXPECT_LE(efficiency, previous);
    previous = efficiency;
  }
  // The best by efficiency is no worse in efficiency than the best by spreading.
  const TCliRun spreading = RunCli({"advise", "--json", "--top", "1"});
  EXPECT_GE(JsonNumberAt(rows[0], "efficiency"), JsonNumberAt(AdviseRows(spreading.Out)[0], "efficiency"));
}

}  // namespace
