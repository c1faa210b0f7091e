// The coefficient graph beside the main window: the Graph command shows and hides it, its
// check mark follows the window's own close box, balance runs and animations redraw it,
// and it reads the door's present wing attack angle whenever it draws of its own accord.
#pragma once

struct TDoorCollaborators;
class TFDoor;
class TGraphWin;

// Sets GraphVisible, ShowGraph and RedrawGraph, and connects the graph to the door. The
// graph must outlive the main window's use of the collaborators.
void ConnectGraph(TDoorCollaborators& collaborators, TFDoor& door, TGraphWin& graph);
