// ravlen: the desktop program. Creates the main window and its dialogs in their order,
// runs the event loop, and finishes the run (settings wipe, bar customization) after it.
#include <QApplication>

#include "DoorF.h"
#include "dialogs/Askanyth.h"

int main(int argc, char** argv)
{
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Ravlen"));
  QApplication::setOrganizationName(QStringLiteral("Tamarek"));

  TFDoor door;
  TAskAny askAny;
  TDoorCollaborators collaborators;
  collaborators.AskAny = &askAny;
  door.SetCollaborators(collaborators);

  door.show();
  const int status = application.exec();
  door.FinishRun();
  return status;
}
