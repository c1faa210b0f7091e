// ravlen: the desktop program. Answers the options that need no window, creates the main
// window and its dialogs in their order, runs the event loop, and finishes the run
// (settings wipe, bar customization) after it.
#include <QApplication>
#include <QLocale>

#include <iostream>

#include "CommandLine.h"
#include "DoorF.h"
#include "RavlenVersion.h"
#include "SignalClose.h"
#include "TestHooks.h"
#include "app/Conditions.h"
#include "app/GraphConnect.h"
#include "assets/Meshes.h"
#include "controls/ToolsText.h"
#include "dialogs/Askanyth.h"
#include "dialogs/Envir.h"
#include "dialogs/GraphWinF.h"
#include "dialogs/WrpBrdAtt.h"
#include "platform/MessageBox.h"
#include "view/GLDoorView.h"
#include "view/NullDoorView.h"

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
  // Answered before QApplication, which needs a display.
  if (const std::optional<int> status = AnswerWithoutWindow(argc, argv, std::cout, std::cerr))
    return *status;

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Ravlen"));
  QApplication::setApplicationVersion(QStringLiteral(RAVLEN_VERSION));
  QApplication::setOrganizationName(QStringLiteral("Tamarek"));
  // The desktop entry this window belongs to, so that a Wayland desktop shows its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(RAVLEN_APP_ID));
  TakeNumberLocale();

  // Before any window, so that a signal never ends the run without the close.
  TSignalClose signalClose;
  TTestHooks testHooks;
  // Without OpenGL (a display that has none) the window still balances; it says why it
  // shows no door.
  std::shared_ptr<TDoorView> view;
  if (TSceneViewer::Supported())
    view = std::make_shared<TGLDoorView>(MeshResource);
  else
    view = std::make_shared<TNullDoorView>(QStringLiteral("The 3D view needs OpenGL, which this display does not offer."));
  TFDoor door;
  TEnvironment environment;
  TAskAny askAny;
  TWrpBrdAttack wrpBrdAttack;
  auto* graph = new TGraphWin(&door);
  graph->SetErrorReporter([](const QString& text) { ShowMessage(TMessageKind::Error, text); });

  TDoorCollaborators collaborators;
  collaborators.View = view;
  collaborators.AskAny = &askAny;
  ConnectConditions(collaborators, environment, wrpBrdAttack);
  ConnectGraph(collaborators, door, *graph);
  door.SetCollaborators(collaborators);

  door.show();
  // After the first showing, which may answer events itself before it has published the
  // window's inputs in the balance link: only then is the window ready for requests, and
  // only a window that has been shown can close.
  testHooks.Attach(door);
  signalClose.Attach(door);
  const int status = application.exec();
  door.FinishRun();
  return status;
}
