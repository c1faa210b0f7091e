// The description of the link for client authors states the ranges the program's edits
// enforce, as the table of inputs defines them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "mechanics/InputDefs.h"

namespace {

std::string HeaderText()
{
  std::ifstream file(LINK_HEADER_PATH);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Number(Real value)
{
  char text[48];
  std::snprintf(text, sizeof text, "%.17Lg", value);
  return text;
}

}  // namespace

TEST(BalanceLinkText, ListsEveryInputRangeOfTheBlock)
{
  const struct {
    const char* Slot;
    TInput Input;
  } slots[] = {{"TrawlSpeed", TInput::TrawlSpeed},
               {"TrawlResistance", TInput::TrawlResistance},
               {"WaterDensity", TInput::WaterDensity},
               {"WarpAngleOnPlan", TInput::WarpAngleOnPlan},
               {"WarpAngleOnSide", TInput::WarpAngleOnSide},
               {"BridleAngleOnPlan", TInput::BridleAngleOnPlan},
               {"BridleAngleOnSide", TInput::BridleAngleOnSide}};
  const std::string header = HeaderText();
  ASSERT_FALSE(header.empty()) << LINK_HEADER_PATH;
  for (const auto& slot : slots) {
    const TInputDef& def = InputDef(slot.Input);
    ASSERT_EQ(def.MinIncl, def.MaxIncl) << slot.Slot;  // the line has one word for both ends
    std::string line = std::string(" *   ") + slot.Slot;
    line.resize(24, ' ');
    line += Number(def.Min) + " .. " + Number(def.Max) + ", both ends " + (def.MinIncl ? "included" : "excluded") +
            "; default " + Number(def.Default) + "\n";
    EXPECT_NE(header.find(line), std::string::npos) << "the header lacks the line\n" << line;
  }
}
