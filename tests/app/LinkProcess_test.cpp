// The balance link through the stand-in window (link_standin), which has what the
// program's window does not give a test: the conditions edits of the dialogs with their
// ranges, and a balance run that holds until a request has been served inside it. The
// client's own command line is checked here too. Every test starts its own stand-in.
#include <QtTest>

#include <QProcess>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "LinkTestSupport.h"

namespace {

// Attitudes reached from different starts agree to this, degrees: the runs stop once
// the moments fall below 1e-5 N*m, and the door's stiffness turns that into far less.
constexpr double kAttitudeAgreementDeg = 1e-6;
// Forces and moments of runs that started elsewhere agree to this, relative or N.
constexpr double kForceAgreement = 1e-6;

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

private:
  QProcess FProcess;
  QByteArray FOutput;
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
  void cleanup() { ::shm_unlink(LinkBlockName()->c_str()); }

  void outOfRangeInputBecomesTheDefault_data()
  {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("corrected");
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
    QVERIFY(window.Close());
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
    QVERIFY(window.Close());
  }

  void clientUsage_data()
  {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::newRow("help") << QStringList{"--help"} << 0;
    QTest::newRow("unknown option") << QStringList{"--area", "10"} << 2;
    QTest::newRow("not a number") << QStringList{"--speed", "fast"} << 2;
    QTest::newRow("infinite") << QStringList{"--density=inf"} << 2;
    QTest::newRow("beyond a double") << QStringList{"--density", "1e4930"} << 2;
    QTest::newRow("beyond a double once in newtons") << QStringList{"--resistance", "1e306"} << 2;
    QTest::newRow("a line break and a terminal escape") << QStringList{"--speed", "3\n\x1b[2J"} << 2;
    QTest::newRow("an option with a line break") << QStringList{"--sp\need"} << 2;
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
      QVERIFY(run.Err.endsWith('\n'));
      QVERIFY(!run.Err.contains('\x1b'));
      QVERIFY(run.Err.startsWith("ravlen-link: "));
    }
  }

  void invalidBlockNameIsAnError_data()
  {
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("no leading slash") << QByteArray("NoSlash");
    QTest::newRow("a second slash") << QByteArray("/two/slashes");
    QTest::newRow("too long") << "/" + QByteArray(255, 'x');
  }
  // A name meant to keep a test private never falls back to the user's real block.
  void invalidBlockNameIsAnError()
  {
    QFETCH(QByteArray, name);
    const QByteArray saved = qgetenv("RAVLEN_LINK_BLOCK");
    qputenv("RAVLEN_LINK_BLOCK", name);
    const TRun run = Link({"--speed", "3"});
    qputenv("RAVLEN_LINK_BLOCK", saved);
    QCOMPARE(run.Status, 2);
    QCOMPARE(run.Err.count('\n'), 1);
    QVERIFY(run.Err.startsWith("ravlen-link: RAVLEN_LINK_BLOCK="));
  }

  // A block of another user's is not the link of this one, whoever made it.
  void anotherUsersBlockIsNotUsed()
  {
    if (::getuid() != 0)
      QSKIP("giving a block to another user takes the superuser");
    TPosixSharedMemory memory;
    QCOMPARE(memory.Create(*LinkBlockName(), sizeof(TBalanceBlock)), TShmStatus::Ok);
    auto* block = reinterpret_cast<TBalanceBlock*>(memory.Map(sizeof(TBalanceBlock)));
    SetMainWindow(*block, static_cast<std::uint32_t>(::getpid()));
    const int fd = ::shm_open(LinkBlockName()->c_str(), O_RDWR, 0);
    QCOMPARE(::fchown(fd, 54321, 54321), 0);
    ::close(fd);
    const TRun run = Link({"--speed", "3"});
    QCOMPARE(run.Status, 3);
    QVERIFY2(run.Err.contains("belongs to user 54321"), run.Err.constData());
    QCOMPARE(double(ReadSlot(block->TrawlSpeed)), 0.0);  // nothing written into it
  }
};

QTEST_GUILESS_MAIN(TLinkProcessTest)
#include "LinkProcess_test.moc"
