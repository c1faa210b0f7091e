// Hooks that let a test drive the real program from outside, off unless their
// environment variables are set: message boxes written to a log instead of shown, a
// record of the window's state when it is ready and after every balance run, and a
// polite close on SIGTERM. Only the program's main() uses them.
#pragma once

#include <QFile>
#include <QSocketNotifier>

#include <memory>

class TFDoor;
class TMessageCapture;

class TTestHooks {
public:
  // RAVLEN_MESSAGE_LOG=<file>|-: every box becomes one line in the file (or on stderr),
  //   "<kind>: <text>" with kind error or information, " yes/no" after the kind for a
  //   box with Yes and No (answered No); CR, LF and backslash appear as \r, \n and \\.
  // RAVLEN_STATE_LOG=<file>|-: the window's state as one line when it is ready and after
  //   every balance run; while it is set, SIGTERM closes the main window as its close
  //   box does.
  // Reads both variables; the message log is in force from here on, so it must come
  // before the main window, whose creation may already show a box.
  TTestHooks();
  ~TTestHooks();
  // Follows the main window: its state records and the close on SIGTERM.
  void Attach(TFDoor& door);
  TTestHooks(const TTestHooks&) = delete;
  TTestHooks& operator=(const TTestHooks&) = delete;

private:
  void WriteState(const QByteArray& record);
  void CloseOnTerminate();

  TFDoor* FDoor = nullptr;
  std::unique_ptr<TMessageCapture> FMessageLog;
  QFile FStateLog;
  std::unique_ptr<QSocketNotifier> FTerminate;
};
