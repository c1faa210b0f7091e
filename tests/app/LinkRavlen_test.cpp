// The balance link against the real program. ravlen runs offscreen with its test hooks:
// its message boxes and its state (when it is ready, and after every balance run the
// angle and trawl edits) go to files; SIGTERM closes its window as the close box
// does. ravlen-link, a plain-C client and the test itself drive it; ravlen-balance,
// started from the attitude the window had, says what every number must be. Every
// program started has a working directory and settings of its own.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "LinkTestSupport.h"
#include "app/DoorConnect.h"
#include "platform/Registry.h"

namespace {

// How often a test looks at the logs of a running program, ms.
constexpr int kPollMs = 1;
// An attitude that ravlen-link prints (17 digits) and the same extended value in the
// state log agree to this, relative: two roundings to double.
constexpr double kPrintedAgreement = 1e-15;
// The plain-C client writes its inputs as doubles: results agree to this, relative.
constexpr double kDoubleInputAgreement = 1e-9;
// A solver factor that makes every run take all its 10000 steps without converging.
constexpr Real kCoarseSolverFactor = 5;

const char* const kAngleEdits[] = {"AngleX", "AngleY", "AngleZ"};

QByteArray RangeMessage(const char* edit, const char* range)
{
  return QByteArray("error: ") + edit + "\\r\\rGroupBox2 : " + edit + "\\rValue is out of range: " + range;
}

// One record of the state log: its kind ("ready" or "balanced") and its name=value fields.
struct TState {
  QByteArray Kind;
  QMap<QByteArray, QByteArray> Fields;

  Real Value(const char* name) const { return std::strtold(Fields.value(name).constData(), nullptr); }
  // The angle edits as ravlen-balance's start attitude: the very same extended reals.
  QStringList StartAttitude() const
  {
    return {"--attitude",
            QString::fromLatin1(Fields.value("AngleX") + ',' + Fields.value("AngleY") + ',' + Fields.value("AngleZ"))};
  }
  // The angle edits show exactly this attitude, radians, as the window converts it.
  bool Shows(const Txyz& attitude) const
  {
    const Real expected[] = {attitude.X / kDegToRad, attitude.Y / kDegToRad, attitude.Z / kDegToRad};
    for (int i = 0; i < 3; ++i)
      if (Value(kAngleEdits[i]) != expected[i]) {  // exact: the same extended value
        qWarning("%s shows %s, the block holds %.21Lg", kAngleEdits[i], Fields.value(kAngleEdits[i]).constData(),
                 expected[i]);
        return false;
      }
    return true;
  }
  // The angle edits show the attitude a client printed, degrees.
  bool Shows(const std::array<double, 3>& printedDeg) const
  {
    for (int i = 0; i < 3; ++i) {
      const double shown = double(Value(kAngleEdits[i]));
      if (!(std::fabs(shown - printedDeg[i]) <= kPrintedAgreement * std::fabs(printedDeg[i]))) {
        qWarning("%s shows %.17g, the client printed %.17g", kAngleEdits[i], shown, printedDeg[i]);
        return false;
      }
    }
    return true;
  }
};

// How a test starts the program, beyond its own folders and logs.
struct TStart {
  std::optional<Real> SolverFactor;   // put into its settings first
  QByteArray Customization;           // a bar customization file in its working directory
  int DescriptorLimit = 0;            // its limit of open files; 0: as inherited
  QMap<QString, QString> Environment;  // variables set for it
  bool StateLog = true;               // without it the program runs as a user's does but for its boxes
};

// The real program, with its logs.
class TRavlen {
public:
  // Starts ravlen; a solver factor, when given, is put into its settings first, and a
  // bar customization file into its working directory.
  explicit TRavlen(std::optional<Real> solverFactor = std::nullopt, const QByteArray& customization = {})
      : TRavlen(TStart{solverFactor, customization, 0, {}})
  {
  }
  explicit TRavlen(const TStart& start)
  {
    const std::optional<Real>& solverFactor = start.SolverFactor;
    const QByteArray& customization = start.Customization;
    const QDir dir(FDir.path());
    dir.mkpath(QStringLiteral("config/Tamarek"));
    dir.mkpath(QStringLiteral("work"));
    if (!customization.isEmpty()) {
      QFile file(CustomizationPath());
      if (file.open(QIODevice::WriteOnly))
        file.write(customization);
    }
    if (solverFactor) {
      TSettingsRegistry registry(dir.filePath(QStringLiteral("config/Tamarek/registry.ini")));
      registry.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), true);
      registry.WriteReal(QStringLiteral("SolverFactor"), *solverFactor);
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
      env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), FDir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("RAVLEN_MESSAGE_LOG"), dir.filePath(QStringLiteral("messages.log")));
    if (start.StateLog)
      env.insert(QStringLiteral("RAVLEN_STATE_LOG"), dir.filePath(QStringLiteral("state.log")));
    for (auto variable = start.Environment.begin(); variable != start.Environment.end(); ++variable)
      env.insert(variable.key(), variable.value());
    FProcess.setProcessEnvironment(env);
    if (const rlim_t limit = rlim_t(start.DescriptorLimit); limit > 0)
      FProcess.setChildProcessModifier([limit] {
        const rlimit low{limit, limit};
        ::setrlimit(RLIMIT_NOFILE, &low);
      });
    FProcess.setWorkingDirectory(dir.filePath(QStringLiteral("work")));
    FProcess.setStandardOutputFile(dir.filePath(QStringLiteral("stdout.log")));
    FProcess.setStandardErrorFile(dir.filePath(QStringLiteral("stderr.log")));
    FProcess.start(QStringLiteral(RAVLEN_PATH), {});
  }
  ~TRavlen()
  {
    if (FProcess.state() != QProcess::NotRunning) {
      FProcess.kill();
      FProcess.waitForFinished();
    }
  }
  TRavlen(const TRavlen&) = delete;
  TRavlen& operator=(const TRavlen&) = delete;

  TWindowHandle Handle() const { return static_cast<TWindowHandle>(FProcess.processId()); }
  // The bar customization file in the program's working directory.
  QString CustomizationPath() const
  {
    return QDir(FDir.path()).canonicalPath() + QStringLiteral("/work/Ravlen.Ini");
  }

  // The settings store the program writes to.
  QString RegistryPath() const { return QDir(FDir.path()).filePath(QStringLiteral("config/Tamarek/registry.ini")); }

  // The window shows and serves requests: its first state record is there.
  bool WaitReady() { return WaitForStates(1); }
  // Waits until the state log holds count records.
  bool WaitForStates(int count)
  {
    return WaitFor([&] { return States().size() >= count; });
  }
  // Waits until the message log holds count boxes.
  bool WaitForMessages(int count)
  {
    return WaitFor([&] { return Messages().size() >= count; });
  }

  QList<TState> States() const
  {
    QList<TState> states;
    for (const QByteArray& line : Lines(QStringLiteral("state.log"))) {
      TState state;
      const QList<QByteArray> words = line.split(' ');
      state.Kind = words.value(0);
      for (const QByteArray& word : words.mid(1)) {
        const qsizetype equals = word.indexOf('=');
        state.Fields.insert(word.left(equals), word.mid(equals + 1));
      }
      states << state;
    }
    return states;
  }
  QList<QByteArray> Messages() const { return Lines(QStringLiteral("messages.log")); }

  // Closes the window as its close box does; true when the program then ended well.
  bool Close()
  {
    FProcess.terminate();
    return FProcess.waitForFinished(kProcessWaitMs) && FProcess.exitStatus() == QProcess::NormalExit &&
           FProcess.exitCode() == 0;
  }
  // Sends signal; true when the program then ended well.
  bool Signal(int signal)
  {
    ::kill(static_cast<pid_t>(FProcess.processId()), signal);
    return FProcess.waitForFinished(kProcessWaitMs) && FProcess.exitStatus() == QProcess::NormalExit &&
           FProcess.exitCode() == 0;
  }
  // The block names the window and its message port answers, without the state log.
  bool WaitServed()
  {
    return WaitFor([&] {
      TBlockView view;
      return view.Block && MainWindowOf(*view.Block) == Handle() && TSocketWindowMessages().IsWindowServed(Handle());
    });
  }
  void Crash()
  {
    FProcess.kill();
    FProcess.waitForFinished(kProcessWaitMs);
  }

private:
  // The whole lines of a log; a line still being written is not one yet.
  QList<QByteArray> Lines(const QString& name) const
  {
    QFile file(QDir(FDir.path()).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
      return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeLast();
    return lines;
  }
  bool WaitFor(const std::function<bool()>& done)
  {
    QDeadlineTimer limit(kProcessWaitMs);
    while (!done()) {
      if (limit.hasExpired() || FProcess.state() == QProcess::NotRunning || FProcess.waitForFinished(kPollMs))
        return done();
    }
    return true;
  }

  QTemporaryDir FDir;
  QProcess FProcess;
};

}  // namespace

class TLinkRavlenTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase()
  {
    // Children inherit the name: this test never meets a real program's block.
    qputenv("RAVLEN_LINK_BLOCK", QByteArray("/ravlen-link-ravlen-test-") + QByteArray::number(::getpid()));
  }
  void cleanup() { ::shm_unlink(LinkBlockName()->c_str()); }

  void resultsEqualTheEditsAndTheBalanceTool_data()
  {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<double>("solverFactor");  // 0: the program's own
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("resistance");
    QTest::newRow("synchronous, 3 m/s against 150 kN") << QStringList{"--speed", "3", "--resistance", "150"} << 0.0
                                                       << 3.0 << 150000.0;
    QTest::newRow("asynchronous, every input")
        << QStringList{"--async",     "--speed",     "2.5", "--resistance", "120", "--density",
                       "1025",        "--warp-plan", "10",  "--warp-side",  "-5",  "--bridle-plan",
                       "3",           "--bridle-side", "2"}
        << 0.0 << 2.5 << 120000.0;
    QTest::newRow("synchronous, nothing given: the edits' values") << QStringList{} << 0.0 << 2.0 << 100000.0;
    QTest::newRow("solver factor 5 from the settings: 10000 steps, no convergence")
        << QStringList{"--async", "--speed", "3", "--resistance", "150"} << double(kCoarseSolverFactor) << 3.0
        << 150000.0;
  }
  // Each request balances from the attitude the window's edits held, as ravlen-balance
  // does from the same attitude: the same numbers bit for bit. The edits then show the
  // attitude in the block and the inputs of the request. A second request without
  // options keeps the inputs the block holds and starts where the first left the door.
  void resultsEqualTheEditsAndTheBalanceTool()
  {
    QFETCH(QStringList, args);
    QFETCH(double, solverFactor);
    QFETCH(double, speed);
    QFETCH(double, resistance);
    const bool coarse = solverFactor > 0;
    const QStringList solver =
        coarse ? QStringList{"--solver-factor", QString::number(solverFactor)} : QStringList{};
    TRavlen window(coarse ? std::optional<Real>(solverFactor) : std::nullopt);
    QVERIFY(window.WaitReady());

    for (const QStringList& request : {args, QStringList{}}) {
      const QList<TState> before = window.States();
      const TRun link = Link(request + QStringList{"--json"});
      QVERIFY2(link.Status == 0, link.Err.constData());
      const TRun expected = BalanceTool(args + before.last().StartAttitude() + solver);
      QCOMPARE(expected.Status, 0);
      QVERIFY(SameResults(link.Out, expected.Out, 0, 0));

      QVERIFY(window.WaitForStates(before.size() + 1));
      const TState after = window.States().last();
      QCOMPARE(after.Kind, QByteArray("balanced"));
      QCOMPARE(after.Fields.value("nested"), QByteArray("0"));
      QCOMPARE(after.Fields.value("converged"), QByteArray(coarse ? "0" : "1"));
      if (coarse)
        QCOMPARE(after.Fields.value("iterations"), QByteArray("10000"));
      QVERIFY(after.Shows(Vector(link.Out, "attitude_deg")));
      QCOMPARE(double(after.Value("TrawlSpeed")), speed);
      QCOMPARE(double(after.Value("TrawlResistance")), resistance);
    }
    QCOMPARE(window.Messages(), QList<QByteArray>{});
    QVERIFY(window.Close());
  }

  // The table names the window, the request and the balanced door.
  void humanOutput()
  {
    TRavlen window;
    QVERIFY(window.WaitReady());
    const TRun link = Link({"--async"});
    QCOMPARE(link.Status, 0);
    QVERIFY(link.Out.startsWith("Balanced by window " + QByteArray::number(window.Handle()) +
                                " (asynchronous request)"));
    for (const char* row : {"Attitude, deg", "Moment, N*m", "Force, kN", "Towing point, m", "Pair upper point, m",
                            "Pair lower point, m"})
      QVERIFY2(link.Out.contains(row), row);
    QVERIFY(link.Out.contains("-13.512085"));
  }

  void outOfRangeInputBecomesTheDefault_data()
  {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QStringList>("corrected");
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("resistance");
    QTest::newRow("speed 20 m/s") << QStringList{"--speed", "20", "--resistance", "150"}
                                  << RangeMessage("TrawlSpeed", "[0.1..10]") << QStringList{"--resistance", "150"}
                                  << 2.0 << 150000.0;
    QTest::newRow("resistance 50 N") << QStringList{"--resistance", "0.05", "--speed", "3"}
                                     << RangeMessage("TrawlResistance", "[100..10000000]")
                                     << QStringList{"--speed", "3"} << 3.0 << 100000.0;
  }
  // The edit replaces the value by its default and shows its message, as for a user's
  // entry; the run uses the corrected value.
  void outOfRangeInputBecomesTheDefault()
  {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, message);
    QFETCH(QStringList, corrected);
    QFETCH(double, speed);
    QFETCH(double, resistance);
    TRavlen window;
    QVERIFY(window.WaitReady());
    const TState start = window.States().last();
    const TRun link = Link(args + QStringList{"--json"});
    QCOMPARE(link.Status, 0);
    QCOMPARE(window.Messages(), QList<QByteArray>{message});
    QVERIFY(SameResults(link.Out, BalanceTool(corrected + start.StartAttitude()).Out, 0, 0));
    QVERIFY(window.WaitForStates(2));
    QCOMPARE(double(window.States().last().Value("TrawlSpeed")), speed);
    QCOMPARE(double(window.States().last().Value("TrawlResistance")), resistance);
    QVERIFY(window.Close());
  }

  // A second copy shows its message once and works on without the link; the first
  // copy's block stays as it was, byte for byte, and the link still reaches it.
  void secondCopyStaysOutOfTheLink()
  {
    TRavlen first;
    QVERIFY(first.WaitReady());
    QCOMPARE(Link({"--speed", "3"}).Status, 0);
    TBlockView view;
    QVERIFY(view.Block);
    QCOMPARE(MainWindowOf(*view.Block), first.Handle());
    TBalanceBlock before;
    std::memcpy(&before, view.Block, sizeof before);

    {
      TRavlen second;
      QVERIFY(second.WaitReady());
      QCOMPARE(second.Messages(), QList<QByteArray>{QByteArray("error: ") + kLinkExistsText});
      QVERIFY(std::memcmp(view.Block, &before, sizeof before) == 0);
      QVERIFY(second.Close());
      QCOMPARE(second.Messages().size(), 1);
    }
    QVERIFY(std::memcmp(view.Block, &before, sizeof before) == 0);

    QCOMPARE(Link({}).Status, 0);
    QVERIFY(first.WaitForStates(3));
    QCOMPARE(MainWindowOf(*view.Block), first.Handle());
    QCOMPARE(first.Messages(), QList<QByteArray>{});
    QVERIFY(first.Close());
  }

  // Closing the window writes MainWindow = 0 into the block a client still maps, and
  // the name goes; a client then finds no program.
  void closedWindowReadsZero()
  {
    TRavlen window;
    QVERIFY(window.WaitReady());
    TBlockView view;
    QVERIFY(view.Block);
    QCOMPARE(MainWindowOf(*view.Block), window.Handle());
    QVERIFY(window.Close());
    QCOMPARE(MainWindowOf(*view.Block), 0u);
    QCOMPARE(TPosixSharedMemory().Open(*LinkBlockName()), TShmStatus::NotFound);
    const TRun link = Link({});
    QCOMPARE(link.Status, 3);
    QVERIFY(link.Err.contains("no running ravlen"));
  }

  // A copy that crashed leaves its block behind. Clients are told nobody serves it, and
  // the next copy takes it over without a message.
  void crashedCopyIsTakenOver()
  {
    TRavlen crashed;
    QVERIFY(crashed.WaitReady());
    crashed.Crash();
    QCOMPARE(TPosixSharedMemory().Open(*LinkBlockName()), TShmStatus::Ok);
    const TRun orphan = Link({});
    QCOMPARE(orphan.Status, 3);
    QVERIFY(orphan.Err.contains("is gone"));

    TRavlen next;
    QVERIFY(next.WaitReady());
    QCOMPARE(next.Messages(), QList<QByteArray>{});
    const TState start = next.States().last();
    const TRun link = Link({"--json"});
    QCOMPARE(link.Status, 0);
    QVERIFY(SameResults(link.Out, BalanceTool(start.StartAttitude()).Out, 0, 0));
    QVERIFY(next.Close());
  }

  // With the coarse solver factor every run takes all its steps. The outer request's
  // speed is out of range, so its message tells the moment the window has read the
  // block and starts the run; the inner request, sent then, is served inside that run
  // with its own inputs, and the outer run goes on from where the inner one left the
  // door, on the edits as the inner request set them, and writes its results last.
  void requestDuringARunIsServedInside()
  {
    TRavlen window(kCoarseSolverFactor);
    QVERIFY(window.WaitReady());
    TBlockView view;
    QVERIFY(view.Block);
    QProcess outer;
    outer.start(QStringLiteral(RAVLEN_LINK_PATH), {"--async", "--json", "--speed", "20", "--resistance", "130"});
    QVERIFY(window.WaitForMessages(1));

    SetInputs(*view.Block, {3.5L, 120000, 1030, 0, 0, 0, 0});
    TSocketWindowMessages messages;
    const auto reply = messages.SendMessage(window.Handle(), {RegisterWindowMessage(kSyncBalanceName), 0, 0});
    QVERIFY(reply && *reply == 0);
    const TBalanceResults inner = ResultsOf(*view.Block);

    QVERIFY(outer.waitForFinished(kProcessWaitMs));
    QCOMPARE(outer.exitCode(), 0);
    const QByteArray outerOut = outer.readAllStandardOutput();

    const QList<TState> states = window.States();
    QCOMPARE(states.size(), 3);
    const TState& innerEnd = states[1];
    const TState& outerEnd = states[2];
    QCOMPARE(innerEnd.Fields.value("nested"), QByteArray("1"));
    QCOMPARE(outerEnd.Fields.value("nested"), QByteArray("0"));
    for (const TState* end : {&innerEnd, &outerEnd}) {
      QCOMPARE(end->Fields.value("iterations"), QByteArray("10000"));
      QCOMPARE(double(end->Value("TrawlSpeed")), 3.5);
      QCOMPARE(double(end->Value("TrawlResistance")), 120000.0);
    }
    const TBalanceResults last = ResultsOf(*view.Block);
    QVERIFY(innerEnd.Shows(inner.Attitude));
    QVERIFY(outerEnd.Shows(last.Attitude));
    QVERIFY(outerEnd.Shows(Vector(outerOut, "attitude_deg")));
    QVERIFY(last.Attitude.X != inner.Attitude.X);  // the outer run went on after the inner one
    QCOMPARE(window.Messages(), QList<QByteArray>{RangeMessage("TrawlSpeed", "[0.1..10]")});
    QVERIFY(window.Close());
  }

  void signalClosesLikeTheCloseBox_data()
  {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM: the session ends") << SIGTERM;
    QTest::newRow("SIGINT: Ctrl+C in the terminal") << SIGINT;
    QTest::newRow("SIGHUP: the terminal is gone") << SIGHUP;
  }
  // Without any test hook a signal closes the window as its close box does: the placement
  // and the settings are stored, the bar file written, MainWindow = 0 and the block's name
  // removed, and the program ends normally. A signal that comes while the window is still
  // on its way up waits for it.
  void signalClosesLikeTheCloseBox()
  {
    QFETCH(int, signal);
    TStart start;
    start.StateLog = false;
    TRavlen window(start);
    QVERIFY(window.WaitServed());
    TBlockView view;
    QVERIFY(view.Block);
    QVERIFY(window.Signal(signal));
    QCOMPARE(MainWindowOf(*view.Block), 0u);
    QCOMPARE(TPosixSharedMemory().Open(*LinkBlockName()), TShmStatus::NotFound);
    TSettingsRegistry registry(window.RegistryPath());
    QVERIFY(registry.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), false));
    for (const char* value : {"posDoor", "TrawlSpeed", "ShowAxes", "SolverFactor"})
      QVERIFY2(registry.ValueExists(QString::fromLatin1(value)), value);
    QVERIFY(QFile::exists(window.CustomizationPath()));
    QCOMPARE(window.Messages(), QList<QByteArray>{});
  }

  // A few hundred callers that connect and never send their request would use up the
  // program's descriptors (here 128), and a failed accept used to end the link for good.
  // The callers are hung up on within a second or when too many wait; a well-formed
  // request is served all the while.
  void floodOfUnfinishedConnectionsLeavesTheLinkServing()
  {
    constexpr int kLimit = 128;
    constexpr int kFlood = 400;
    TStart start;
    start.DescriptorLimit = kLimit;
    TRavlen window(start);
    QVERIFY(window.WaitReady());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = MessagePortPath(window.Handle());
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    std::vector<int> callers;
    const auto closeCallers = qScopeGuard([&] {
      for (int fd : callers)
        ::close(fd);
    });
    QDeadlineTimer limit(kProcessWaitMs);
    while (int(callers.size()) < kFlood && !limit.hasExpired()) {
      const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
      QVERIFY(fd >= 0);
      if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        callers.push_back(fd);
      } else {
        ::close(fd);  // the queue is full for a moment: the program takes them in turn
        QTest::qWait(1);
      }
    }
    QCOMPARE(int(callers.size()), kFlood);
    const TRun link = Link({"--speed", "3", "--json"});
    QVERIFY2(link.Status == 0, link.Err.constData());
    QVERIFY(window.WaitForStates(2));
    QCOMPARE(double(window.States().last().Value("TrawlSpeed")), 3.0);
    // Every caller has been hung up on.
    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(callers.begin(), callers.end(), [](int fd) {
                               char byte;
                               return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
                             }),
                             kProcessWaitMs);
    QCOMPARE(window.Messages(), QList<QByteArray>{});
    QVERIFY(window.Close());
  }

  // A block of this name made by another user first (any mode) takes nothing away: it is
  // reported as what it is, not as a second copy, and left alone.
  void anotherUsersBlockIsReportedAndLeftAlone()
  {
    if (::getuid() != 0)
      QSKIP("giving a block to another user takes the superuser");
    const int fd = ::shm_open(LinkBlockName()->c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
    QVERIFY(fd >= 0);
    QCOMPARE(::fchmod(fd, 0666), 0);
    QCOMPARE(::ftruncate(fd, sizeof(TBalanceBlock)), 0);
    QCOMPARE(::fchown(fd, 54321, 54321), 0);
    ::close(fd);
    TRavlen window;
    QVERIFY(window.WaitReady());
    QCOMPARE(window.Messages(), QList<QByteArray>{QByteArray("error: ") + kLinkCreateText + "\\r" +
                                                  QByteArray::fromStdString(*LinkBlockName()) +
                                                  " belongs to user 54321"});
    TBlockView view;
    QVERIFY(!view.Block);  // still the stranger's, and not ours to map
    struct stat info{};
    QCOMPARE(::stat(("/dev/shm" + *LinkBlockName()).c_str(), &info), 0);
    QCOMPARE(info.st_uid, uid_t(54321));
    QVERIFY(window.Close());
  }

  // An invalid block name is reported, and the program works without the link rather
  // than on the user's real block.
  void invalidBlockNameIsReported()
  {
    TStart start;
    start.Environment.insert(QStringLiteral("RAVLEN_LINK_BLOCK"), QStringLiteral("no-slash"));
    const std::string real = "/BalancingOfOtterboard-" + std::to_string(::getuid());
    const bool realExisted = TPosixSharedMemory().Open(real) != TShmStatus::NotFound;
    TRavlen window(start);
    QVERIFY(window.WaitReady());
    QCOMPARE(window.Messages().size(), 1);
    QVERIFY(window.Messages()[0].startsWith(QByteArray("error: ") + kLinkCreateText + "\\rRAVLEN_LINK_BLOCK=\"no-slash\""));
    if (!realExisted)
      QCOMPARE(TPosixSharedMemory().Open(real), TShmStatus::NotFound);
    QVERIFY(window.Close());
  }

  // A box with Yes and No is logged with its buttons and answered No: a customization
  // file the program cannot read is kept, and the window comes up without waiting.
  void messageLogAnswersYesNoBoxesNo()
  {
    TRavlen window(std::nullopt, "not a customization\n");
    QVERIFY(window.WaitReady());
    QCOMPARE(window.Messages(), QList<QByteArray>{"error yes/no: Error loading previously saved settings file: " +
                                                  window.CustomizationPath().toUtf8() +
                                                  "\\rWould you like to delete it?"});
    QFile kept(window.CustomizationPath());
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("not a customization\n"));
    QVERIFY(window.Close());
  }

  // A client written in C from the public header alone drives both messages.
  void plainCClientDrivesBothMessages_data()
  {
    QTest::addColumn<QString>("mode");
    QTest::newRow("send") << "sync";
    QTest::newRow("post") << "async";
  }
  void plainCClientDrivesBothMessages()
  {
    QFETCH(QString, mode);
    TRavlen window;
    QVERIFY(window.WaitReady());
    const TState start = window.States().last();
    // 3 m/s, 150 kN, 1025 kg/m^3, warp 10 and -5 degrees, bridles 3 and 2 degrees.
    const TRun c = CClient({mode, "3", "150000", "1025", "0.17453292519943295", "-0.087266462599716474",
                            "0.052359877559829883", "0.034906585039886591"});
    QVERIFY2(c.Status == 0, c.Err.constData());
    const TRun expected = BalanceTool(QStringList{"--speed", "3", "--resistance", "150", "--density", "1025",
                                                  "--warp-plan", "10", "--warp-side", "-5", "--bridle-plan", "3",
                                                  "--bridle-side", "2"} +
                                      start.StartAttitude());
    QVERIFY(SameResults(c.Out, expected.Out, kDoubleInputAgreement, kDoubleInputAgreement));
    QVERIFY(window.WaitForStates(2));
    QVERIFY(window.States().last().Shows(Vector(c.Out, "attitude_deg")));
    QCOMPARE(window.Messages(), QList<QByteArray>{});
    QVERIFY(window.Close());
  }
};

QTEST_GUILESS_MAIN(TLinkRavlenTest)
#include "LinkRavlen_test.moc"
