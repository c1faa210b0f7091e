// Test hooks of the program. Records are whole lines written at once and flushed, so a
// test that reads the file while the program runs never sees half a record.
#include "TestHooks.h"

#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <sys/socket.h>
#include <unistd.h>

#include "DoorF.h"
#include "controls/EditF.h"
#include "platform/MessageBox.h"

namespace {

// Opens a log named by an environment variable: "-" is stderr, anything else a file
// that records are appended to. False when the variable is unset or the file cannot be
// opened (the hook then stays off).
bool OpenLog(const char* variable, QFile& log)
{
  const QString target = qEnvironmentVariable(variable);
  if (target.isEmpty())
    return false;
  if (target == QLatin1String("-"))
    return log.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
  log.setFileName(target);
  return log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

void WriteRecord(QFile& log, const QByteArray& record) { log.write(record + '\n'); }

// Every box becomes a line of the log; Yes/No boxes are answered No, the answer that
// changes nothing (it keeps a bar customization file the program could not read).
class TMessageLog final : public TMessageCapture {
public:
  TMessageLog() { YesNoAnswer = TMessageAnswer::No; }
  QFile& File() { return FFile; }

  TMessageAnswer Show(TMessageKind kind, const QString& text, TMessageButtons buttons) override
  {
    QByteArray record = kind == TMessageKind::Error ? "error" : "information";
    if (buttons == TMessageButtons::YesNo)
      record += " yes/no";
    record += ": ";
    for (const char c : text.toUtf8()) {
      if (c == '\r' || c == '\n' || c == '\\')
        record += '\\';
      record += c == '\r' ? 'r' : c == '\n' ? 'n' : c;
    }
    WriteRecord(FFile, record);
    return buttons == TMessageButtons::YesNo ? YesNoAnswer : TMessageAnswer::Ok;
  }

private:
  QFile FFile;
};

// The socket pair SIGTERM is turned into an event through. A signal handler reaches
// nothing but static storage, hence this one file-scope variable.
int gTerminatePair[2] = {-1, -1};

void OnTerminate(int)
{
  const int saved = errno;
  const char byte = 1;
  const ssize_t written = ::write(gTerminatePair[0], &byte, 1);
  static_cast<void>(written);
  errno = saved;
}

// Enough digits to give back the very same extended real.
QByteArray Number(Real value)
{
  char text[48];
  std::snprintf(text, sizeof text, "%.21Lg", value);
  return text;
}

}  // namespace

TTestHooks::TTestHooks()
{
  auto log = std::make_unique<TMessageLog>();
  if (OpenLog("RAVLEN_MESSAGE_LOG", log->File()))
    FMessageLog = std::move(log);
  OpenLog("RAVLEN_STATE_LOG", FStateLog);
}

TTestHooks::~TTestHooks()
{
  if (FTerminate) {
    std::signal(SIGTERM, SIG_DFL);
    FTerminate.reset();
    ::close(gTerminatePair[0]);
    ::close(gTerminatePair[1]);
    gTerminatePair[0] = gTerminatePair[1] = -1;
  }
}

void TTestHooks::Attach(TFDoor& door)
{
  if (!FStateLog.isOpen())
    return;
  FDoor = &door;
  door.SetBalanceListener([this](const TSolveResult& run) {
    WriteState(QByteArray("balanced iterations=") + QByteArray::number(run.Iterations) +
               " converged=" + QByteArray::number(int(run.Converged)) +
               " nested=" + QByteArray::number(int(FDoor->Balancing())));
  });
  // Runs once the event loop is going: from then on requests are served.
  QTimer::singleShot(0, &door, [this] { WriteState("ready"); });
  CloseOnTerminate();
}

void TTestHooks::WriteState(const QByteArray& record)
{
  const TFDoor& d = *FDoor;
  WriteRecord(FStateLog, record + " AngleX=" + Number(d.AngleX->Val()) + " AngleY=" + Number(d.AngleY->Val()) +
                             " AngleZ=" + Number(d.AngleZ->Val()) + " TrawlSpeed=" + Number(d.TrawlSpeed->Val()) +
                             " TrawlResistance=" + Number(d.TrawlResistance->Val()));
}

void TTestHooks::CloseOnTerminate()
{
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gTerminatePair) != 0)
    return;
  FTerminate = std::make_unique<QSocketNotifier>(gTerminatePair[1], QSocketNotifier::Read);
  QObject::connect(FTerminate.get(), &QSocketNotifier::activated, FDoor, [this] {
    char byte;
    if (::read(gTerminatePair[1], &byte, 1) == 1)
      FDoor->close();
  });
  struct sigaction action {};
  action.sa_handler = OnTerminate;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
}
