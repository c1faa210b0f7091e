// The main window's command table, its menus and tool bars, the dispatch of every command
// to its handler, and the handlers that are pure shell work: dialogs, About, Help,
// Customize, Reset ToolBars, Graph.
#include <QApplication>

#include <cstddef>
#include <iterator>

#include "CommandBars.h"
#include "CommandTable.h"
#include "CustomizeDlg.h"
#include "DoorF.h"
#include "HelpViewer.h"
#include "InstallLayout.h"
#include "RavlenVersion.h"
#include "assets/Assets.h"
#include "platform/MessageBox.h"

namespace {

using C = TDoorCommand;

// One row of the window's command table: the command's id and its definition.
struct TDoorCommandRow {
  TDoorCommand Id;
  TCommandDef Def;
};

// The command table as designed, in the order of the ids. Tags: wing area in hundredths
// of m^2 for the area commands, number of pieces for ballast, mesh resource number for
// the brackets.
constexpr TDoorCommandRow kCommands[] = {
    {C::BalanceAct, {"BalanceAct", "Balance", "Balance", "Turn ON/Off Ballancing Process", 0, 1}},
    {C::CallBridleAngles, {"CallBridleAngles", "Conditions", "Warp and Bridle Angles ...", "Specify Direction of Warp and Bridles", 9}},
    {C::CallEnvironment, {"CallEnvironment", "Conditions", "Environment ...", "Specify Density of Water", 5}},
    {C::Ballast1, {"Ballast1", "Tuning", "Ballast 1", "", -1, 1, false, false, 2}},
    {C::Ballast2, {"Ballast2", "Tuning", "Ballast 2", "", -1, 2, false, false, 2}},
    {C::Ballast3, {"Ballast3", "Tuning", "Ballast 3", "", -1, 3, true, false, 2}},
    {C::Ballast4, {"Ballast4", "Tuning", "Ballast 4", "", -1, 4, false, false, 2}},
    {C::Ballast5, {"Ballast5", "Tuning", "Ballast 5", "", -1, 5, false, false, 2}},
    {C::Ballast6, {"Ballast6", "Tuning", "Ballast 6", "", -1, 6, false, false, 2}},
    {C::ResetCamera, {"ResetCamera", "View", "Reset Camera", "Set Camera to Initial Position", 7}},
    {C::ResetModel, {"ResetModel", "View", "Reset Model", "Set Model to Initial Position", 8}},
    {C::ShowPlan, {"ShowPlan", "Projections", "Show Plan", "Show Plan View. Camera on Top", 4}},
    {C::ShowFront, {"ShowFront", "Projections", "Show Front", "Show Front View. Camera in Front of Door", 3}},
    {C::ShowSide, {"ShowSide", "Projections", "Show Side", "Show Side View. Camera is at the side.", 1}},
    {C::ShowIso, {"ShowIso", "Projections", "Show Isomerty", "Show Isometry. ", 2}},
    {C::ShowBack, {"ShowBack", "Projections", "Show Back", "Show Back Side of the Door.", 12}},
    {C::ShowBracket, {"ShowBracket", "Projections", "Show Bracket", "Show Bracket", 13}},
    {C::ShowPerspective, {"ShowPerspective", "Projections", "Show Perspective", "Switch Perspective ON/OFF", 6, 0, false, true}},
    {C::Transparent, {"Transparent", "Projections", "Transparent", "Switch Transparency ON/OFF", 10, 0, false, true}},
    {C::Animate, {"Animate", "Balance", "Animate", "", 20, 0, false, true}},
    {C::AskSolverFactor, {"AskSolverFactor", "Balance", "SolverFactor", "Set the Sensitivity of Solver. Choose Speed or Accuracy"}},
    {C::Customize, {"Customize", "Options", "Customize", "Adjust ToolBars and Menu", 11}},
    {C::ShowAxes, {"ShowAxes", "View", "Show Axes", "Switch Axes ON/OFF", 14, 0, true, true}},
    {C::ShowGridXY, {"ShowGridXY", "View", "Show Grid for X0Y", "Switch Grid for XOY plane ON/OFF", 15, 0, false, true}},
    {C::ShowGridXZ, {"ShowGridXZ", "View", "Show Grid for X0Z", "Switch Grid for XO\u042F plane ON/OFF", 16, 0, false, true}},
    {C::HideHull, {"HideHull", "View", "Hide Hull", "Hide Hull", 18, 0, false, true}},
    {C::HideBracket, {"HideBracket", "View", "Hide Bracket", "Hide Bracket", 19, 0, false, true}},
    {C::RestoreDefaults, {"RestoreDefaults", "Options", "Restore Defaults", "Clear Adjustment of Toolbars and Menu and Return Default State"}},
    {C::ResetToolBars, {"ResetToolBars", "Options", "Reset ToolBars", "Clear Adjustment of Toolbars and Return Default State"}},
    {C::Action1, {"Action1", "Options", "About ..."}},
    {C::Area_045, {"Area_045", "Tuning", "Area = 4.5 sq. m", "", -1, 450, false, true, 3}},
    {C::Area_076, {"Area_076", "Tuning", "Area = 7.6 sq. m", "", -1, 760, false, true, 3}},
    {C::Area_104, {"Area_104", "Tuning", "Area = 10.3 sq. m", "", -1, 1039, false, true, 3}},
    {C::Area_116, {"Area_116", "Tuning", "Area = 11.6 sq. m", "", -1, 1160, false, true, 3}},
    {C::Area_144, {"Area_144", "Tuning", "Area = 14.4 sq. m", "", -1, 1440, false, true, 3}},
    {C::Graph, {"Graph", "View", "Graph", "", 21, 0, false, false, 0, true}},
    {C::BracketSmall, {"BracketSmall", "Tuning", "Bracket small", "Small Bracket. Distance between holes is 100 mm (for 10.3 sq. m door)", -1, 1301, false, false, 5}},
    {C::BracketMedium, {"BracketMedium", "Tuning", "Bracket medium", "Medium Bracket. Distance between holes is 110 mm (for 10.3 sq. m door)", -1, 1311, true, false, 5}},
    // The large bracket's hint begins "Medium Bracket" as it always has; its 130 mm tells the two apart.
    {C::BracketLarge, {"BracketLarge", "Tuning", "Bracket large", "Medium Bracket. Distance between holes is 130 mm (for 10.3 sq. m door)", -1, 1321, false, false, 5}},
    {C::Action2, {"Action2", "Options", "Help"}},
    {C::RiggingAdvisor, {"RiggingAdvisor", "Tuning", "Rigging Advisor ...", "Search the Riggings for the Best Balanced Door", 22}},
};

static_assert(std::size(kCommands) == kDoorCommandCount, "one row per command id");
constexpr bool InIdOrder()
{
  for (std::size_t i = 0; i < std::size(kCommands); ++i)
    if (kCommands[i].Id != TDoorCommand(i))
      return false;
  return true;
}
static_assert(InIdOrder(), "the rows stand in the order of their ids");

// A bar item of a command, under a caption of its own.
constexpr TBarItemDef Item(TDoorCommand id, const char* caption)
{
  return {kCommands[std::size_t(id)].Def.Name, caption};
}

std::vector<TMenuDef> DesignedMenus()
{
  return {
      {"&Balance",
       {Item(C::BalanceAct, "&Balance"), Item(C::Animate, "&Animate"), Item(C::AskSolverFactor, "&SolverFactor")}},
      {"&Conditions",
       {Item(C::CallBridleAngles, "&Warp and Bridle Angles ..."), Item(C::CallEnvironment, "&Environment ...")}},
      {"&Tuning",
       {Item(C::Ballast1, "&Ballast 1"), Item(C::Ballast2, "B&allast 2"), Item(C::Ballast3, "Ba&llast 3"),
        Item(C::Ballast4, "Balla&st 4"), Item(C::Ballast5, "Ballas&t 5"), Item(C::Ballast6, "Ballast &6"), kSeparator,
        Item(C::Area_045, "A&rea = 4.5 sq. m"), Item(C::Area_076, "Ar&ea = 7.6 sq. m"),
        Item(C::Area_104, "Area = &10.3 sq. m"), Item(C::Area_116, "Area = 11.6 s&q. m"),
        Item(C::Area_144, "Area = 1&4.4 sq. m"), kSeparator, Item(C::BracketSmall, "Bra&cket small"),
        Item(C::BracketMedium, "Brac&ket medium"), Item(C::BracketLarge, "Bracket lar&ge"), kSeparator,
        Item(C::RiggingAdvisor, "Rigging A&dvisor ...")}},
      {"&Projections",
       {Item(C::ShowPlan, "&Show Plan"), Item(C::ShowFront, "S&how Front"), Item(C::ShowSide, "Sh&ow Side"),
        Item(C::ShowIso, "Sho&w Isomerty"), kSeparator, Item(C::ShowBack, "Show &Back"),
        Item(C::ShowBracket, "Show B&racket"), kSeparator, Item(C::ShowPerspective, "Show &Perspective"),
        Item(C::Transparent, "&Transparent")}},
      {"&View",
       {Item(C::ResetCamera, "&Reset Camera"), Item(C::ResetModel, "R&eset Model"), kSeparator,
        Item(C::ShowAxes, "&Show Axes"), Item(C::ShowGridXY, "S&how Grid for X0Y"),
        Item(C::ShowGridXZ, "Sh&ow Grid for X0Z"), kSeparator, Item(C::HideHull, "H&ide Hull"),
        Item(C::HideBracket, "Hi&de Bracket"), kSeparator, Item(C::Graph, "&Graph")}},
      {"&Options",
       {Item(C::Customize, "&Customize"), Item(C::ResetToolBars, "&Reset ToolBars"),
        Item(C::RestoreDefaults, "R&estore Defaults"), kSeparator, Item(C::Action1, "&About ..."),
        Item(C::Action2, "Help")}},
  };
}

std::vector<TToolBarDef> DesignedToolBars()
{
  return {
      {"ActionToolBar3", "On/Off",
       {Item(C::ShowGridXY, "Sh&ow Grid for X0Y"), Item(C::ShowGridXZ, "Show &Grid for X0Z"), kSeparator,
        Item(C::HideHull, "H&ide Hull"), Item(C::HideBracket, "Hi&de Bracket")}},
      {"ActionToolBar1", "Conditions",
       {Item(C::CallBridleAngles, "&Warp and Bridle Angles ..."), Item(C::CallEnvironment, "&Environment ..."),
        kSeparator, Item(C::BalanceAct, "&Balance"), Item(C::Animate, "&Animate"),
        Item(C::RiggingAdvisor, "Rigging A&dvisor ..."), kSeparator,
        Item(C::ResetCamera, "&Reset Camera"), Item(C::ResetModel, "Re&set Model"), kSeparator,
        Item(C::ShowPerspective, "Show &Perspective")}},
      {"ActionToolBar2", "Show",
       {Item(C::ShowPlan, "&Show Plan"), Item(C::ShowFront, "S&how Front"), Item(C::ShowSide, "Sh&ow Side"),
        Item(C::ShowIso, "Sho&w Isomerty"), kSeparator, Item(C::ShowBack, "Show &Back"),
        Item(C::ShowBracket, "Show B&racket"), kSeparator, Item(C::Transparent, "&Transparent"),
        Item(C::ShowAxes, "Show &Axes"), Item(C::Graph, "&Graph")}},
  };
}

}  // namespace

void TFDoor::CreateCommands()
{
  ActionManager1 = new TCommandTable(this);
  ActionManager1->setObjectName(QStringLiteral("ActionManager1"));
  for (const TDoorCommandRow& row : kCommands) {
    QAction* command = ActionManager1->Add(row.Def, [this, id = row.Id](QAction* sender) { ExecuteCommand(id, *sender); });
    command->setIcon(CommandIcon(row.Def.Icon));
    FCommands[std::size_t(row.Id)] = command;
  }
  FBars = new TCommandBars(*ActionManager1, *this, DesignedMenus(), DesignedToolBars());
  FBars->SetLaterCommands({QString::fromLatin1(kCommands[std::size_t(C::RiggingAdvisor)].Def.Name)});
  FBars->Build({TCommandBars::kMenuBand, QStringLiteral("ActionToolBar3"), QStringLiteral("ActionToolBar1"),
                QStringLiteral("ActionToolBar2")},
               {false, false, true, true});
}

void TFDoor::ExecuteCommand(TDoorCommand id, const QAction& command)
{
  switch (id) {
    case C::BalanceAct: return BalanceActExecute();
    case C::CallBridleAngles: return CallBridleAnglesExecute();
    case C::CallEnvironment: return CallEnvironmentExecute();
    case C::Ballast1:
    case C::Ballast2:
    case C::Ballast3:
    case C::Ballast4:
    case C::Ballast5:
    case C::Ballast6: return Ballast1Execute(TCommandTable::Tag(&command));
    case C::ResetModel: return ResetModelExecute();
    case C::Animate: return AnimateExecute();
    case C::AskSolverFactor: return AskSolverFactorExecute();
    case C::Customize: return CustomizeExecute();
    case C::RestoreDefaults: return RestoreDefaultsExecute();
    case C::ResetToolBars: return ResetToolBarsExecute();
    case C::Action1: return Action1Execute();
    case C::Area_045:
    case C::Area_076:
    case C::Area_104:
    case C::Area_116:
    case C::Area_144: return Area_045Execute(TCommandTable::Tag(&command));
    case C::Graph: return GraphExecute();
    case C::BracketSmall:
    case C::BracketMedium:
    case C::BracketLarge: return BracketSmallExecute();
    case C::Action2: return Action2Execute();
    case C::RiggingAdvisor: return RiggingAdvisorExecute();
    case C::ShowPerspective: return ViewSwitchExecute(TViewSwitch::ShowPerspective, command);
    case C::Transparent: return ViewSwitchExecute(TViewSwitch::Transparent, command);
    case C::ShowAxes: return ViewSwitchExecute(TViewSwitch::ShowAxes, command);
    case C::ShowGridXY: return ViewSwitchExecute(TViewSwitch::ShowGridXY, command);
    case C::ShowGridXZ: return ViewSwitchExecute(TViewSwitch::ShowGridXZ, command);
    case C::HideHull: return ViewSwitchExecute(TViewSwitch::HideHull, command);
    case C::HideBracket: return ViewSwitchExecute(TViewSwitch::HideBracket, command);
    case C::ResetCamera: return ResetCameraExecute();
    case C::ShowPlan: return ShowPlanExecute();
    case C::ShowFront: return ShowFrontExecute();
    case C::ShowSide: return ShowSideExecute();
    case C::ShowIso: return ShowIsoExecute();
    case C::ShowBack: return ShowBackExecute();
    case C::ShowBracket: return ShowBracketExecute();
  }
}

void TFDoor::CallBridleAnglesExecute()
{
  CommitEntries();
  if (FCollaborators.ShowBridleAngles)
    FCollaborators.ShowBridleAngles();
  EvaluationCycle();  // whatever the dialog's answer
}

void TFDoor::CallEnvironmentExecute()
{
  CommitEntries();
  if (FCollaborators.ShowEnvironment)
    FCollaborators.ShowEnvironment();
  EvaluationCycle();
}

void TFDoor::CustomizeExecute()
{
  TCommandTable::SetChecked(Command(C::Animate), false);
  if (FCustomizeDlg)
    FCustomizeDlg->close();  // deletes itself
  FCustomizeDlg = new TCustomizeDlg(*FBars, this);
  FCustomizeDlg->show();
}

void TFDoor::ResetToolBarsExecute() { FBars->ResetToolBars(); }

void TFDoor::GraphExecute()
{
  QAction* graph = Command(C::Graph);
  const bool visible = FCollaborators.GraphVisible && FCollaborators.GraphVisible();
  graph->setChecked(!visible);
  if (FCollaborators.ShowGraph)
    FCollaborators.ShowGraph(!visible);
}

void TFDoor::Action1Execute()
{
  ShowMessage(TMessageKind::Information,
              QStringLiteral("Balancing of otterboard 3D. V1.0\r\r"
                             "Otterboard \"ORVENA\"\r\r"
                             "Balances a trawl door of the family at the chosen wing area, ballast and bracket: "
                             "the moments of the wing and span forces, the bridle pulls and the submerged "
                             "weight about the towing point are brought to zero.\r\r"
                             "Ravlen %1, Qt %2")
                  .arg(QStringLiteral(RAVLEN_VERSION), QString::fromLatin1(qVersion())));
}

void TFDoor::Action2Execute()
{
  if (!FHelpViewer)
    FHelpViewer = new THelpViewer(this);
  FHelpViewer->ShowFile(HelpFilePath());
}
