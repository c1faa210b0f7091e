// The polite close on the signals a desktop session and a terminal send: SIGTERM (logout,
// kill, a service manager), SIGINT (Ctrl+C in the terminal that started the program) and
// SIGHUP (that terminal gone). Each closes the program as the user would: open dialogs and
// message boxes first, then the main window through its close box, so that the settings
// and the placement are saved and the balance link is released.
#pragma once

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#include <memory>

class TSignalClose {
public:
  // Catches the three signals from here on; one that arrives before Attach waits for it.
  // A second signal of the same kind ends the program at once, as if it were not caught,
  // so that a program that cannot close can still be stopped.
  TSignalClose();
  // Gives the three signals their default actions back.
  ~TSignalClose();
  TSignalClose(const TSignalClose&) = delete;
  TSignalClose& operator=(const TSignalClose&) = delete;

  // From now on a signal closes window. Call it once the window has been shown: closing
  // it while its first showing is still under way would end the run before it began.
  void Attach(QWidget& window);

private:
  void CloseAll();

  QPointer<QWidget> FWindow;
  std::unique_ptr<QSocketNotifier> FNotifier;
};
