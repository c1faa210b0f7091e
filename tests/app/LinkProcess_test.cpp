// The balance link between real processes: the stand-in window (link_standin) serves
// the link, ravlen-link and a plain-C client drive it, and ravlen-balance says what the
// numbers must be. Every test starts its own stand-in on a block name of its own.
#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <array>
#include <csignal>
#include <cstring>
#include <memory>

#include <sys/mman.h>
#include <unistd.h>

#include "app/DoorConnect.h"
#include "platform/SharedMemory.h"
#include "platform/WindowMessages.h"

namespace {

// Longest a test waits for a process or a line from it, ms.
constexpr int kProcessWaitMs = 30000;
// Attitudes reached from different starts agree to this, degrees: the runs stop once
// the moments fall below 1e-5 N*m, and the door's stiffness turns that into far less.
constexpr double kAttitudeAgreementDeg = 1e-6;
// Forces and moments of runs that started elsewhere agree to this, relative or N.
constexpr double kForceAgreement = 1e-6;
// A C client writes its inputs as doubles: results agree to this, relative.
constexpr double kDoubleInputAgreement = 1e-9;

const char* const kKeys[] = {"attitude_deg", "moment_Nm", "force_N", "tow_point_m", "pair_upper_m", "pair_lower_m"};

struct TRun {
  int Status = -1;
  QByteArray Out, Err;
};

TRun RunTool(const QString& program, const QStringList& args)
{
  QProcess process;
  process.start(program, args);
  TRun run;
  if (!process.waitForFinished(kProcessWaitMs)) {
    process.kill();
    process.waitForFinished();
    run.Err = "timed out";
    return run;
  }
  run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.Out = process.readAllStandardOutput();
  run.Err = process.readAllStandardError();
  return run;
}

TRun Link(const QStringList& args) { return RunTool(RAVLEN_LINK_PATH, args); }

TRun BalanceTool(QStringList args)
{
  args.removeAll("--async");
  args.removeAll("--json");
  return RunTool(RAVLEN_BALANCE_PATH, QStringList{"--json"} + args);
}

std::array<double, 3> Vector(const QByteArray& json, const char* key)
{
  const QJsonArray a = QJsonDocument::fromJson(json).object().value(key).toArray();
  return {a.at(0).toDouble(), a.at(1).toDouble(), a.at(2).toDouble()};
}

// The six result vectors of two JSON outputs, equal within tolerance (0: bit for bit).
bool SameResults(const QByteArray& a, const QByteArray& b, double attitudeTolerance, double relative)
{
  for (const char* key : kKeys) {
    const auto u = Vector(a, key);
    const auto v = Vector(b, key);
    for (int i = 0; i < 3; ++i) {
      const bool attitude = std::strcmp(key, "attitude_deg") == 0;
      const bool moment = std::strcmp(key, "moment_Nm") == 0;
      // Moments below the convergence threshold are noise; compare them absolutely.
      const double tolerance = attitude ? attitudeTolerance
                               : moment ? (relative > 0 ? 1e-4 : 0)
                                        : relative * std::max(1.0, std::fabs(v[i]));
      if (!(std::fabs(u[i] - v[i]) <= tolerance)) {
        qWarning("%s[%d]: %.17g against %.17g", key, i, u[i], v[i]);
        return false;
      }
    }
  }
  return true;
}

// The stand-in window, its output gathered line by line.
class TStandIn {
public:
  explicit TStandIn(const QStringList& args = {})
  {
    FProcess.setProcessChannelMode(QProcess::SeparateChannels);
    FProcess.start(LINK_STANDIN_PATH, args);
  }
  ~TStandIn()
  {
    if (FProcess.state() != QProcess::NotRunning) {
      FProcess.kill();
      FProcess.waitForFinished();
    }
  }

  // Waits until a line starting with prefix has appeared; returns that line.
  QByteArray WaitForLine(const QByteArray& prefix)
  {
    QDeadlineTimer limit(kProcessWaitMs);
    while (!limit.hasExpired()) {
      for (const QByteArray& line : Lines())
        if (line.startsWith(prefix))
          return line;
      if (!FProcess.waitForReadyRead(100) && FProcess.state() == QProcess::NotRunning) {
        FOutput += FProcess.readAllStandardOutput();
        break;
      }
    }
    for (const QByteArray& line : Lines())
      if (line.startsWith(prefix))
        return line;
    return {};
  }
  QList<QByteArray> Lines()
  {
    FOutput += FProcess.readAllStandardOutput();
    return FOutput.split('\n');
  }
  // Waits until count lines start with prefix; false when they do not come.
  bool WaitForCount(const QByteArray& prefix, int count)
  {
    QDeadlineTimer limit(kProcessWaitMs);
    while (Count(prefix) < count && !limit.hasExpired())
      FProcess.waitForReadyRead(100);
    return Count(prefix) == count;
  }
  int Count(const QByteArray& prefix)
  {
    int n = 0;
    for (const QByteArray& line : Lines())
      n += line.startsWith(prefix);
    return n;
  }
  // Closes the "window" and waits for the process to end.
  bool Close()
  {
    FProcess.closeWriteChannel();
    return FProcess.waitForFinished(kProcessWaitMs) && FProcess.exitCode() == 0;
  }
  void Crash()
  {
    ::kill(static_cast<pid_t>(FProcess.processId()), SIGKILL);
    FProcess.waitForFinished(kProcessWaitMs);
  }
  TWindowHandle Handle() const { return static_cast<TWindowHandle>(FProcess.processId()); }

private:
  QProcess FProcess;
  QByteArray FOutput;
};

// The block as a client maps it.
struct TBlockView {
  TBlockView()
  {
    if (Memory.Open(LinkBlockName()) == TShmStatus::Ok)
      Block = reinterpret_cast<TBalanceBlock*>(Memory.Map(sizeof(TBalanceBlock)));
  }
  TPosixSharedMemory Memory;
  TBalanceBlock* Block = nullptr;
};

}  // namespace

class TLinkProcessTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase()
  {
    // Children inherit the name: this test never meets a real program's block.
    qputenv("RAVLEN_LINK_BLOCK", QByteArray("/ravlen-link-test-") + QByteArray::number(::getpid()));
  }
  void cleanup() { ::shm_unlink(LinkBlockName().c_str()); }

  void resultsMatchTheBalanceTool_data()
  {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("synchronous, 3 m/s against 150 kN") << QStringList{"--speed", "3", "--resistance", "150"};
    QTest::newRow("asynchronous, every input")
        << QStringList{"--async",     "--speed",     "2.5", "--resistance", "120", "--density",
                       "1025",        "--warp-plan", "10",  "--warp-side",  "-5",  "--bridle-plan",
                       "3",           "--bridle-side", "2"};
    QTest::newRow("synchronous, nothing given: the edits' values") << QStringList{};
  }
  // A fresh window balances from the zero attitude as ravlen-balance does: the same
  // numbers bit for bit, and the window's angle edits show the attitude in the block.
  void resultsMatchTheBalanceTool()
  {
    QFETCH(QStringList, args);
    TStandIn window;
    QVERIFY(window.WaitForLine("ready shared").size() > 0);
    const TRun link = Link(args + QStringList{"--json"});
    QVERIFY2(link.Status == 0, link.Err.constData());
    const TRun expected = BalanceTool(args);
    QCOMPARE(expected.Status, 0);
    QVERIFY(SameResults(link.Out, expected.Out, 0, 0));

    const QList<QByteArray> edits = window.WaitForLine("attitude ").split(' ');
    const auto attitude = Vector(link.Out, "attitude_deg");
    for (int i = 0; i < 3; ++i)
      QCOMPARE(edits[i + 1].toDouble(), attitude[i]);
    QCOMPARE(window.Count("message:"), 0);
    QVERIFY(window.Close());
  }

  // The table names the window, the request and the same numbers.
  void humanOutput()
  {
    TStandIn window;
    QVERIFY(!window.WaitForLine("ready shared").isEmpty());
    const TRun link = Link({"--async"});
    QCOMPARE(link.Status, 0);
    QVERIFY(link.Out.startsWith("Balanced by window " + QByteArray::number(window.Handle()) +
                                " (asynchronous request)"));
    for (const char* row : {"Attitude, deg", "Moment, N*m", "Force, kN", "Towing point, m", "Pair upper point, m",
                            "Pair lower point, m"})
      QVERIFY2(link.Out.contains(row), row);
    QVERIFY(link.Out.contains("-13.512085"));
  }

  // Options not given keep what the block holds: the second request repeats the first
  // one's inputs, so the balanced door stays put and the results repeat exactly.
  void optionsNotGivenKeepTheBlockValues()
  {
    TStandIn window;
    QVERIFY(!window.WaitForLine("ready shared").isEmpty());
    const TRun first = Link({"--json", "--speed", "3", "--warp-plan", "8"});
    QCOMPARE(first.Status, 0);
    const TRun second = Link({"--json", "--async"});
    QCOMPARE(second.Status, 0);
    QVERIFY(SameResults(first.Out, second.Out, 0, 0));
    TBlockView view;
    QVERIFY(view.Block);
    QCOMPARE(InputsOf(*view.Block).TrawlSpeed, Real(3));
    QCOMPARE(InputsOf(*view.Block).TrawlResistance, Real(100000));
  }

  void outOfRangeInputBecomesTheDefault_data()
  {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("corrected");
    QTest::newRow("speed above 10 m/s") << QStringList{"--speed", "20", "--resistance", "150"}
                                        << "TrawlSpeed||StandInPanel : TrawlSpeed|Value is out of range: [0.1..10]"
                                        << QStringList{"--resistance", "150"};
    QTest::newRow("warp angle beyond 90 degrees")
        << QStringList{"--warp-plan", "100", "--speed", "3"}
        << "WarpAngleOnPlan||StandInPanel : WarpAngleOnPlan|Value is out of range: ]-1.5707963267949..1.5707963267949["
        << QStringList{"--speed", "3"};
    QTest::newRow("density below 800") << QStringList{"--density", "700"}
                                       << "WDens||StandInPanel : WDens|Value is out of range: [800..1100]"
                                       << QStringList{};
  }
  // The edit replaces the value by its default and shows its message; the run uses the
  // corrected value.
  void outOfRangeInputBecomesTheDefault()
  {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QFETCH(QStringList, corrected);
    TStandIn window;
    QVERIFY(!window.WaitForLine("ready shared").isEmpty());
    const TRun link = Link(args + QStringList{"--json"});
    QCOMPARE(link.Status, 0);
    QVERIFY(window.WaitForLine("run end 1").size() > 0);
    QCOMPARE(window.Count("message:"), 1);
    QCOMPARE(QString::fromUtf8(window.WaitForLine("message:")), "message: " + message);
    QVERIFY(SameResults(link.Out, BalanceTool(corrected).Out, 0, 0));
  }

  // A second copy shows its message once, works on without the link, and the first
  // copy's block stays as it was; the link still reaches the first copy.
  void secondCopyStaysOutOfTheLink()
  {
    TStandIn first;
    QVERIFY(!first.WaitForLine("ready shared").isEmpty());
    QCOMPARE(Link({"--speed", "3"}).Status, 0);
    TBlockView view;
    QVERIFY(view.Block);
    TBalanceBlock before;
    std::memcpy(&before, view.Block, sizeof before);

    TStandIn second;
    QVERIFY(!second.WaitForLine("ready private").isEmpty());
    QCOMPARE(second.Count("message:"), 1);
    QCOMPARE(second.WaitForLine("message:"), QByteArray("message: ") + kLinkExistsText);
    QVERIFY(std::memcmp(view.Block, &before, sizeof before) == 0);
    QVERIFY(second.Close());
    QVERIFY(std::memcmp(view.Block, &before, sizeof before) == 0);

    QCOMPARE(Link({}).Status, 0);
    QVERIFY(first.WaitForCount("run end", 2));
    QCOMPARE(MainWindowOf(*view.Block), first.Handle());
  }

  // Closing the window writes MainWindow = 0 into the block a client still maps, and
  // the name goes; a client then finds no program.
  void closedWindowReadsZero()
  {
    TStandIn window;
    QVERIFY(!window.WaitForLine("ready shared").isEmpty());
    TBlockView view;
    QVERIFY(view.Block);
    QCOMPARE(MainWindowOf(*view.Block), window.Handle());
    QVERIFY(window.Close());
    QCOMPARE(MainWindowOf(*view.Block), 0u);
    QCOMPARE(TPosixSharedMemory().Open(LinkBlockName()), TShmStatus::NotFound);
    const TRun link = Link({});
    QCOMPARE(link.Status, 3);
    QVERIFY(link.Err.contains("no running ravlen"));
    QCOMPARE(link.Err.count('\n'), 1);
  }

  // A copy that crashed leaves its block behind. Clients are told nobody serves it, and
  // the next copy takes it over without a message.
  void crashedCopyIsTakenOver()
  {
    TStandIn crashed;
    QVERIFY(!crashed.WaitForLine("ready shared").isEmpty());
    crashed.Crash();
    QCOMPARE(TPosixSharedMemory().Open(LinkBlockName()), TShmStatus::Ok);
    const TRun orphan = Link({});
    QCOMPARE(orphan.Status, 3);
    QVERIFY(orphan.Err.contains("is gone"));

    TStandIn next;
    QVERIFY(!next.WaitForLine("ready shared").isEmpty());
    QCOMPARE(next.Count("message:"), 0);
    const TRun link = Link({"--json"});
    QCOMPARE(link.Status, 0);
    QVERIFY(SameResults(link.Out, BalanceTool({}).Out, 0, 0));
  }

  // An asynchronous request holds a run open; a synchronous one sent meanwhile is
  // served inside it, with its own inputs, and the outer run finishes from where the
  // inner one left the door, on the edits as the inner request set them.
  void requestDuringARunIsServedInside()
  {
    TStandIn window({"--hold-first-run"});
    QVERIFY(!window.WaitForLine("ready shared").isEmpty());
    QProcess outer;
    outer.start(RAVLEN_LINK_PATH, {"--async", "--json", "--speed", "2.5"});
    QVERIFY(!window.WaitForLine("run begin 1").isEmpty());
    const QStringList innerArgs = {"--json", "--speed", "3.5", "--resistance", "130"};
    const TRun inner = Link(innerArgs);
    QCOMPARE(inner.Status, 0);
    QVERIFY(outer.waitForFinished(kProcessWaitMs));
    QCOMPARE(outer.exitCode(), 0);
    const QByteArray outerOut = outer.readAllStandardOutput();

    QVERIFY(!window.WaitForLine("run end 1").isEmpty());
    QList<QByteArray> runs;
    for (const QByteArray& line : window.Lines())
      if (line.startsWith("run "))
        runs << line.left(9);
    QCOMPARE(runs, (QList<QByteArray>{"run begin", "run begin", "run end 2", "run end 1"}));
    const QByteArray expected = BalanceTool(innerArgs).Out;
    QVERIFY(SameResults(inner.Out, expected, kAttitudeAgreementDeg, kForceAgreement));
    QVERIFY(SameResults(outerOut, expected, kAttitudeAgreementDeg, kForceAgreement));
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
    TStandIn window;
    QVERIFY(!window.WaitForLine("ready shared").isEmpty());
    // 3 m/s, 150 kN, 1025 kg/m^3, warp 10 and -5 degrees, bridles 3 and 2 degrees.
    const TRun c = RunTool(LINK_C_CLIENT_PATH, {mode, "3", "150000", "1025", "0.17453292519943295",
                                                "-0.087266462599716474", "0.052359877559829883",
                                                "0.034906585039886591"});
    QVERIFY2(c.Status == 0, c.Err.constData());
    const TRun expected = BalanceTool({"--speed", "3", "--resistance", "150", "--density", "1025", "--warp-plan", "10",
                                       "--warp-side", "-5", "--bridle-plan", "3", "--bridle-side", "2"});
    QVERIFY(SameResults(c.Out, expected.Out, kDoubleInputAgreement, kDoubleInputAgreement));
    QCOMPARE(window.Count("message:"), 0);
  }

  void clientUsage_data()
  {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::newRow("help") << QStringList{"--help"} << 0;
    QTest::newRow("unknown option") << QStringList{"--area", "10"} << 2;
    QTest::newRow("not a number") << QStringList{"--speed", "fast"} << 2;
    QTest::newRow("infinite") << QStringList{"--density=inf"} << 2;
    QTest::newRow("missing value") << QStringList{"--warp-side"} << 2;
    QTest::newRow("flag with a value") << QStringList{"--json=yes"} << 2;
    QTest::newRow("stray argument") << QStringList{"balance"} << 2;
    QTest::newRow("no program") << QStringList{"--speed", "3"} << 3;
  }
  void clientUsage()
  {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    const TRun run = Link(args);
    QCOMPARE(run.Status, status);
    if (status == 0) {
      QVERIFY(run.Out.startsWith("Usage: ravlen-link"));
      QVERIFY(run.Err.isEmpty());
    } else {
      QVERIFY(run.Out.isEmpty());
      QCOMPARE(run.Err.count('\n'), 1);
      QVERIFY(run.Err.startsWith("ravlen-link: "));
    }
  }
};

QTEST_GUILESS_MAIN(TLinkProcessTest)
#include "LinkProcess_test.moc"
