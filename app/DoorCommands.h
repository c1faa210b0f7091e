// The main window's commands by id: one id per row of its command table, in table order.
// The window dispatches on the id with a switch that names every one, so a command without
// its handler, or a handler for a command that does not exist, does not compile.
#pragma once

#include <cstddef>

enum class TDoorCommand {
  BalanceAct,
  CallBridleAngles,
  CallEnvironment,
  Ballast1,
  Ballast2,
  Ballast3,
  Ballast4,
  Ballast5,
  Ballast6,
  ResetCamera,
  ResetModel,
  ShowPlan,
  ShowFront,
  ShowSide,
  ShowIso,
  ShowBack,
  ShowBracket,
  ShowPerspective,
  Transparent,
  Animate,
  AskSolverFactor,
  Customize,
  ShowAxes,
  ShowGridXY,
  ShowGridXZ,
  HideHull,
  HideBracket,
  RestoreDefaults,
  ResetToolBars,
  Action1,
  Area_045,
  Area_076,
  Area_104,
  Area_116,
  Area_144,
  Graph,
  BracketSmall,
  BracketMedium,
  BracketLarge,
  Action2,
  RiggingAdvisor,
};
inline constexpr std::size_t kDoorCommandCount = std::size_t(TDoorCommand::RiggingAdvisor) + 1;
