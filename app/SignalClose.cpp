// The polite close on SIGTERM, SIGINT and SIGHUP. A signal handler may do next to nothing,
// so it writes one byte into a socket pair; the event loop reads it and closes the windows.
#include "SignalClose.h"

#include <QApplication>

#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The socket pair the signals reach the event loop through. A signal handler reaches
// nothing but static storage, hence this one file-scope variable.
int gSignalPair[2] = {-1, -1};

void OnSignal(int)
{
  const int saved = errno;
  const char byte = 1;
  const ssize_t written = ::write(gSignalPair[0], &byte, 1);  // non-blocking: a full pipe already asks
  static_cast<void>(written);
  errno = saved;
}

}  // namespace

TSignalClose::TSignalClose()
{
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalPair) != 0)
    return;  // the signals keep their default actions
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // One polite request per kind of signal; the next one of that kind acts as uncaught.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (const int signal : kSignals)
    ::sigaction(signal, &action, nullptr);
}

TSignalClose::~TSignalClose()
{
  if (gSignalPair[0] < 0)
    return;
  for (const int signal : kSignals)
    std::signal(signal, SIG_DFL);
  FNotifier.reset();
  ::close(gSignalPair[0]);
  ::close(gSignalPair[1]);
  gSignalPair[0] = gSignalPair[1] = -1;
}

void TSignalClose::Attach(QWidget& window)
{
  if (gSignalPair[1] < 0)
    return;
  FWindow = &window;
  FNotifier = std::make_unique<QSocketNotifier>(gSignalPair[1], QSocketNotifier::Read);
  QObject::connect(FNotifier.get(), &QSocketNotifier::activated, &window, [this] {
    char bytes[16];
    if (::read(gSignalPair[1], bytes, sizeof bytes) > 0)
      CloseAll();
  });
}

void TSignalClose::CloseAll()
{
  // A modal dialog or message box runs a loop of its own inside the main window's handler:
  // it closes first, as its close box or Esc would close it.
  for (int open = 0; open < 8; ++open) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->close())
      break;
  }
  // While the door is animated the first close only stops the animation; a run in progress
  // makes the window close as soon as the run is over.
  if (FWindow && !FWindow->close() && FWindow)
    FWindow->close();
}
