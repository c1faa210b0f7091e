// The main window's command table, its menus and tool bars, and the handlers that are
// pure shell work: dialogs, About, Help, Customize, Reset ToolBars, Graph.
#include <QApplication>

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

// The command table as designed. Tags: wing area in hundredths of m^2 for the area
// commands, number of pieces for ballast, mesh resource number for the brackets.
const TCommandDef kCommands[] = {
    {"BalanceAct", "Balance", "Balance", "Turn ON/Off Ballancing Process", 0, 1},
    {"CallBridleAngles", "Conditions", "Warp and Bridle Angles ...", "Specify Direction of Warp and Bridles", 9},
    {"CallEnvironment", "Conditions", "Environment ...", "Specify Density of Water", 5},
    {"Ballast1", "Tuning", "Ballast 1", "", -1, 1, false, false, 2},
    {"Ballast2", "Tuning", "Ballast 2", "", -1, 2, false, false, 2},
    {"Ballast3", "Tuning", "Ballast 3", "", -1, 3, true, false, 2},
    {"Ballast4", "Tuning", "Ballast 4", "", -1, 4, false, false, 2},
    {"Ballast5", "Tuning", "Ballast 5", "", -1, 5, false, false, 2},
    {"Ballast6", "Tuning", "Ballast 6", "", -1, 6, false, false, 2},
    {"ResetCamera", "View", "Reset Camera", "Set Camera to Initial Position", 7},
    {"ResetModel", "View", "Reset Model", "Set Model to Initial Position", 8},
    {"ShowPlan", "Projections", "Show Plan", "Show Plan View. Camera on Top", 4},
    {"ShowFront", "Projections", "Show Front", "Show Front View. Camera in Front of Door", 3},
    {"ShowSide", "Projections", "Show Side", "Show Side View. Camera is at the side.", 1},
    {"ShowIso", "Projections", "Show Isomerty", "Show Isometry. ", 2},
    {"ShowBack", "Projections", "Show Back", "Show Back Side of the Door.", 12},
    {"ShowBracket", "Projections", "Show Bracket", "Show Bracket", 13},
    {"ShowPerspective", "Projections", "Show Perspective", "Switch Perspective ON/OFF", 6, 0, false, true},
    {"Transparent", "Projections", "Transparent", "Switch Transparency ON/OFF", 10, 0, false, true},
    {"Animate", "Balance", "Animate", "", 20, 0, false, true},
    {"AskSolverFactor", "Balance", "SolverFactor", "Set the Sensitivity of Solver. Choose Speed or Accuracy"},
    {"Customize", "Options", "Customize", "Adjust ToolBars and Menu", 11},
    {"ShowAxes", "View", "Show Axes", "Switch Axes ON/OFF", 14, 0, true, true},
    {"ShowGridXY", "View", "Show Grid for X0Y", "Switch Grid for XOY plane ON/OFF", 15, 0, false, true},
    {"ShowGridXZ", "View", "Show Grid for X0Z", "Switch Grid for XO\u042F plane ON/OFF", 16, 0, false, true},
    {"HideHull", "View", "Hide Hull", "Hide Hull", 18, 0, false, true},
    {"HideBracket", "View", "Hide Bracket", "Hide Bracket", 19, 0, false, true},
    {"RestoreDefaults", "Options", "Restore Defaults", "Clear Adjustment of Toolbars and Menu and Return Default State"},
    {"ResetToolBars", "Options", "Reset ToolBars", "Clear Adjustment of Toolbars and Return Default State"},
    {"Action1", "Options", "About ..."},
    {"Area_045", "Tuning", "Area = 4.5 sq. m", "", -1, 450, false, true, 3},
    {"Area_076", "Tuning", "Area = 7.6 sq. m", "", -1, 760, false, true, 3},
    {"Area_104", "Tuning", "Area = 10.3 sq. m", "", -1, 1039, false, true, 3},
    {"Area_116", "Tuning", "Area = 11.6 sq. m", "", -1, 1160, false, true, 3},
    {"Area_144", "Tuning", "Area = 14.4 sq. m", "", -1, 1440, false, true, 3},
    {"Graph", "View", "Graph", "", 21, 0, false, false, 0, true},
    {"BracketSmall", "Tuning", "Bracket small", "Small Bracket. Distance between holes is 100 mm (for 10.3 sq. m door)", -1, 1301, false, false, 5},
    {"BracketMedium", "Tuning", "Bracket medium", "Medium Bracket. Distance between holes is 110 mm (for 10.3 sq. m door)", -1, 1311, true, false, 5},
    {"BracketLarge", "Tuning", "Bracket large", "Medium Bracket. Distance between holes is 130 mm (for 10.3 sq. m door)", -1, 1321, false, false, 5},
    {"Action2", "Options", "Help"},
};

std::vector<TMenuDef> DesignedMenus()
{
  return {
      {"&Balance", {{"BalanceAct", "&Balance"}, {"Animate", "&Animate"}, {"AskSolverFactor", "&SolverFactor"}}},
      {"&Conditions", {{"CallBridleAngles", "&Warp and Bridle Angles ..."}, {"CallEnvironment", "&Environment ..."}}},
      {"&Tuning",
       {{"Ballast1", "&Ballast 1"}, {"Ballast2", "B&allast 2"}, {"Ballast3", "Ba&llast 3"}, {"Ballast4", "Balla&st 4"},
        {"Ballast5", "Ballas&t 5"}, {"Ballast6", "Ballast &6"}, kSeparator, {"Area_045", "A&rea = 4.5 sq. m"},
        {"Area_076", "Ar&ea = 7.6 sq. m"}, {"Area_104", "Area = &10.3 sq. m"}, {"Area_116", "Area = 11.6 s&q. m"},
        {"Area_144", "Area = 1&4.4 sq. m"}, kSeparator, {"BracketSmall", "Bra&cket small"},
        {"BracketMedium", "Brac&ket medium"}, {"BracketLarge", "Bracket lar&ge"}}},
      {"&Projections",
       {{"ShowPlan", "&Show Plan"}, {"ShowFront", "S&how Front"}, {"ShowSide", "Sh&ow Side"},
        {"ShowIso", "Sho&w Isomerty"}, kSeparator, {"ShowBack", "Show &Back"}, {"ShowBracket", "Show B&racket"},
        kSeparator, {"ShowPerspective", "Show &Perspective"}, {"Transparent", "&Transparent"}}},
      {"&View",
       {{"ResetCamera", "&Reset Camera"}, {"ResetModel", "R&eset Model"}, kSeparator, {"ShowAxes", "&Show Axes"},
        {"ShowGridXY", "S&how Grid for X0Y"}, {"ShowGridXZ", "Sh&ow Grid for X0Z"}, kSeparator,
        {"HideHull", "H&ide Hull"}, {"HideBracket", "Hi&de Bracket"}, kSeparator, {"Graph", "&Graph"}}},
      {"&Options",
       {{"Customize", "&Customize"}, {"ResetToolBars", "&Reset ToolBars"}, {"RestoreDefaults", "R&estore Defaults"},
        kSeparator, {"Action1", "&About ..."}, {"Action2", "Help"}}},
  };
}

std::vector<TToolBarDef> DesignedToolBars()
{
  return {
      {"ActionToolBar3", "On/Off",
       {{"ShowGridXY", "Sh&ow Grid for X0Y"}, {"ShowGridXZ", "Show &Grid for X0Z"}, kSeparator,
        {"HideHull", "H&ide Hull"}, {"HideBracket", "Hi&de Bracket"}}},
      {"ActionToolBar1", "Conditions",
       {{"CallBridleAngles", "&Warp and Bridle Angles ..."}, {"CallEnvironment", "&Environment ..."}, kSeparator,
        {"BalanceAct", "&Balance"}, {"Animate", "&Animate"}, kSeparator, {"ResetCamera", "&Reset Camera"},
        {"ResetModel", "Re&set Model"}, kSeparator, {"ShowPerspective", "Show &Perspective"}}},
      {"ActionToolBar2", "Show",
       {{"ShowPlan", "&Show Plan"}, {"ShowFront", "S&how Front"}, {"ShowSide", "Sh&ow Side"},
        {"ShowIso", "Sho&w Isomerty"}, kSeparator, {"ShowBack", "Show &Back"}, {"ShowBracket", "Show B&racket"},
        kSeparator, {"Transparent", "&Transparent"}, {"ShowAxes", "Show &Axes"}, {"Graph", "&Graph"}}},
  };
}

}  // namespace

void TFDoor::CreateCommands()
{
  ActionManager1 = new TCommandTable(this);
  ActionManager1->setObjectName(QStringLiteral("ActionManager1"));
  // The camera stations are still to come; they only keep their check marks.
  const auto none = [](QAction*) {};
  const auto viewSwitch = [this](TViewSwitch which) {
    return [this, which](QAction* command) { ViewSwitchExecute(which, command); };
  };
  const std::map<QString, TCommandTable::THandler> handlers = {
      {"BalanceAct", [this](QAction*) { BalanceActExecute(); }},
      {"CallBridleAngles", [this](QAction*) {
         CommitEntries();
         if (FCollaborators.ShowBridleAngles)
           FCollaborators.ShowBridleAngles();
         EvaluationCycle();
       }},
      {"CallEnvironment", [this](QAction*) {
         CommitEntries();
         if (FCollaborators.ShowEnvironment)
           FCollaborators.ShowEnvironment();
         EvaluationCycle();
       }},
      {"ResetModel", [this](QAction*) { ResetModelExecute(); }},
      {"Animate", [this](QAction*) { AnimateExecute(); }},
      {"AskSolverFactor", [this](QAction*) { AskSolverFactorExecute(); }},
      {"Customize", [this](QAction*) { CustomizeExecute(); }},
      {"RestoreDefaults", [this](QAction*) { RestoreDefaultsExecute(); }},
      {"ResetToolBars", [this](QAction*) { ResetToolBarsExecute(); }},
      {"Action1", [this](QAction*) { Action1Execute(); }},
      {"Action2", [this](QAction*) { Action2Execute(); }},
      {"Graph", [this](QAction*) { GraphExecute(); }},
      {"ShowAxes", viewSwitch(TViewSwitch::ShowAxes)},
      {"ShowGridXY", viewSwitch(TViewSwitch::ShowGridXY)},
      {"ShowGridXZ", viewSwitch(TViewSwitch::ShowGridXZ)},
      {"HideHull", viewSwitch(TViewSwitch::HideHull)},
      {"HideBracket", viewSwitch(TViewSwitch::HideBracket)},
      {"Transparent", viewSwitch(TViewSwitch::Transparent)},
      {"ShowPerspective", viewSwitch(TViewSwitch::ShowPerspective)},
  };
  for (const TCommandDef& def : kCommands) {
    const QString name = QString::fromLatin1(def.Name);
    TCommandTable::THandler handler = none;
    if (const auto found = handlers.find(name); found != handlers.end())
      handler = found->second;
    else if (name.startsWith(QLatin1String("Ballast")))
      handler = [this](QAction* command) { Ballast1Execute(TCommandTable::Tag(command)); };
    else if (name.startsWith(QLatin1String("Area_")))
      handler = [this](QAction* command) { Area_045Execute(TCommandTable::Tag(command)); };
    else if (name.startsWith(QLatin1String("Bracket")))
      handler = [this](QAction*) { BracketSmallExecute(); };
    QAction* command = ActionManager1->Add(def, handler);
    command->setIcon(CommandIcon(def.Icon));
  }
  FBars = new TCommandBars(*ActionManager1, *this, DesignedMenus(), DesignedToolBars());
  FBars->Build({TCommandBars::kMenuBand, QStringLiteral("ActionToolBar3"), QStringLiteral("ActionToolBar1"),
                QStringLiteral("ActionToolBar2")},
               {false, false, true, true});
}

void TFDoor::CustomizeExecute()
{
  TCommandTable::SetChecked(ActionManager1->Find(QStringLiteral("Animate")), false);
  if (FCustomizeDlg)
    FCustomizeDlg->close();  // deletes itself
  FCustomizeDlg = new TCustomizeDlg(*FBars, this);
  FCustomizeDlg->show();
}

void TFDoor::ResetToolBarsExecute() { FBars->ResetToolBars(); }

void TFDoor::GraphExecute()
{
  QAction* graph = ActionManager1->Find(QStringLiteral("Graph"));
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
