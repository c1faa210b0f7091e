// ravlen: the desktop program. Creates the main window and its dialogs in their order,
// runs the event loop, and finishes the run (settings wipe, bar customization) after it.
#include <QApplication>

#include "DoorF.h"
#include "app/Conditions.h"
#include "dialogs/Askanyth.h"
#include "dialogs/Envir.h"
#include "dialogs/WrpBrdAtt.h"

int main(int argc, char** argv)
{
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Ravlen"));
  QApplication::setOrganizationName(QStringLiteral("Tamarek"));

  TFDoor door;
  TEnvironment environment;
  TAskAny askAny;
  TWrpBrdAttack wrpBrdAttack;
  TDoorCollaborators collaborators;
  collaborators.AskAny = &askAny;
  ConnectConditions(collaborators, environment, wrpBrdAttack);
  door.SetCollaborators(collaborators);

  door.show();
  const int status = application.exec();
  door.FinishRun();
  return status;
}
