// ravlen: the desktop program. Creates the main window and its dialogs in their order,
// runs the event loop, and finishes the run (settings wipe, bar customization) after it.
#include <QApplication>
#include <QLocale>

#include "DoorF.h"
#include "TestHooks.h"
#include "app/Conditions.h"
#include "app/GraphConnect.h"
#include "controls/ToolsText.h"
#include "dialogs/Askanyth.h"
#include "dialogs/Envir.h"
#include "dialogs/GraphWinF.h"
#include "dialogs/WrpBrdAtt.h"
#include "platform/MessageBox.h"

namespace {

// Numbers are typed and shown with the separators of the user's locale.
void TakeNumberLocale()
{
  const QLocale locale;
  const auto ascii = [](const QString& text, char fallback) {
    return text.size() == 1 && text[0].unicode() < 128 ? char(text[0].unicode()) : fallback;
  };
  TNumberLocale& numbers = ProcessNumberLocale();
  numbers.DecimalSeparator = ascii(locale.decimalPoint(), '.');
  numbers.ThousandSeparator = ascii(locale.groupSeparator(), ' ');
}

}  // namespace

int main(int argc, char** argv)
{
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Ravlen"));
  QApplication::setOrganizationName(QStringLiteral("Tamarek"));
  TakeNumberLocale();

  TTestHooks testHooks;
  TFDoor door;
  TEnvironment environment;
  TAskAny askAny;
  TWrpBrdAttack wrpBrdAttack;
  auto* graph = new TGraphWin(&door);
  graph->SetErrorReporter([](const QString& text) { ShowMessage(TMessageKind::Error, text); });

  TDoorCollaborators collaborators;
  collaborators.AskAny = &askAny;
  ConnectConditions(collaborators, environment, wrpBrdAttack);
  ConnectGraph(collaborators, door, *graph);
  door.SetCollaborators(collaborators);
  testHooks.Attach(door);

  door.show();
  const int status = application.exec();
  door.FinishRun();
  return status;
}
