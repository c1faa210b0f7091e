// The towing conditions the main window does not own: the water (environment dialog) and
// the warp and bridle directions (warp and bridle angle dialog). Hands the window the
// commands that open them and the reader its model calls at every evaluation.
#pragma once

struct TDoorCollaborators;
class TEnvironment;
class TWrpBrdAttack;

// Sets ShowEnvironment and ShowBridleAngles (open the dialog modally), ReadConditions (the
// water density and the five angles from the dialogs' edits) and the five edits the balance
// link reads and sets. Both dialogs must outlive the main window's use of the collaborators.
void ConnectConditions(TDoorCollaborators& collaborators, TEnvironment& environment, TWrpBrdAttack& wrpBrdAttack);
