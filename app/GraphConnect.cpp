// The coefficient graph wired to the main window.
#include "app/GraphConnect.h"

#include <QAction>

#include "app/CommandTable.h"
#include "app/DoorF.h"
#include "dialogs/GraphWinF.h"

void ConnectGraph(TDoorCollaborators& collaborators, TFDoor& door, TGraphWin& graph)
{
  QObject::connect(&graph, &TGraphWin::VisibleChanged, door.Commands().Find(QStringLiteral("Graph")),
                   &QAction::setChecked);
  // Shown, resized or redrawn, the marker stands at the angle of the last evaluation.
  graph.SetAttackSource([&door] { return door.Model().Results().FAttackW; });
  collaborators.GraphVisible = [&graph] { return graph.isVisible(); };
  collaborators.ShowGraph = [&graph](bool show) { show ? graph.show() : static_cast<void>(graph.close()); };
  collaborators.RedrawGraph = [&graph](Real attackW) { graph.DrawGraphNow(attackW); };
}
