// The conditions dialogs wired to the main window's commands and to its model's inputs.
#include "app/Conditions.h"

#include "app/DoorF.h"
#include "controls/LabeledEditF.h"
#include "dialogs/Envir.h"
#include "dialogs/WrpBrdAtt.h"

void ConnectConditions(TDoorCollaborators& collaborators, TEnvironment& environment, TWrpBrdAttack& wrpBrdAttack)
{
  collaborators.ShowEnvironment = [&environment] { environment.Execute(); };
  collaborators.ShowBridleAngles = [&wrpBrdAttack] { wrpBrdAttack.Execute(); };
  collaborators.ReadConditions = [&environment, &wrpBrdAttack](TDoorInputs& inputs) {
    environment.ReadConditions(inputs);
    wrpBrdAttack.ReadConditions(inputs);
  };
  collaborators.WDens = environment.WDens;
  collaborators.WarpAngleOnPlan = wrpBrdAttack.WarpAngleOnPlan;
  collaborators.WarpAngleOnSide = wrpBrdAttack.WarpAngleOnSide;
  collaborators.BridleAngleOnPlan = wrpBrdAttack.BridleAngleOnPlan;
  collaborators.BridleAngleOnSide = wrpBrdAttack.BridleAngleOnSide;
}
