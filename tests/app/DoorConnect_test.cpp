// The program's side of the balance link in one process: the set-up failures, a live
// first copy against a block left behind, publication, serving, nesting and tear-down.
// The services are the real ones, wrapped where a test needs a fault or a record.
#include <QtTest>

#include <cstring>
#include <functional>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "app/DoorConnect.h"
#include "platform/MessageBox.h"

namespace {

// Handles of this test's windows; the runtime folder is private to the test.
constexpr TWindowHandle kFirst = 4000000101u;
constexpr TWindowHandle kSecond = 4000000102u;
constexpr TWindowHandle kCaller = 4000000103u;
constexpr TWindowHandle kDead = 4000000199u;
// Longest a test waits for a request to come through the event loop, ms.
constexpr int kServeWaitMs = 10000;

const TBalanceInputs kStartEdits{2, 100000, 1030, 0, 0, 0, 0};

// Field by field: a long double carries six bytes of padding that memcmp would see.
bool operator==(const TBalanceInputs& a, const TBalanceInputs& b)
{
  return a.TrawlSpeed == b.TrawlSpeed && a.TrawlResistance == b.TrawlResistance &&
         a.WaterDensity == b.WaterDensity && a.WarpAngleOnPlan == b.WarpAngleOnPlan &&
         a.WarpAngleOnSide == b.WarpAngleOnSide && a.BridleAngleOnPlan == b.BridleAngleOnPlan &&
         a.BridleAngleOnSide == b.BridleAngleOnSide;
}

// The main window as the link sees it: edits, a run counter, and a hook into the run.
class TFakeHost final : public TBalanceHost {
public:
  explicit TFakeHost(TWindowHandle handle) : FHandle(handle) {}

  TWindowHandle LinkWindowHandle() const override { return FHandle; }
  TBalanceInputs LinkInputs() const override { return Edits; }
  void SetLinkInputs(const TBalanceInputs& inputs) override
  {
    Edits = inputs;
    Received.push_back(inputs);
  }
  void BalanceActExecute() override
  {
    const int run = ++Runs;
    if (DuringRun)
      DuringRun();
    // Each run leaves its ordinal in the attitude, so the order of writes shows.
    Connect->WriteResults({{Real(run), 0, 0}, {}, {}, {}, {}, {}});
    ResultWrites.push_back(run);
  }

  TDoorConnect* Connect = nullptr;
  TBalanceInputs Edits = kStartEdits;
  std::vector<TBalanceInputs> Received;
  std::vector<int> ResultWrites;
  int Runs = 0;
  std::function<void()> DuringRun;

private:
  TWindowHandle FHandle;
};

enum class TFault { None, CreateRefused, CreateFindsName, MapRefused };

// POSIX shared memory that fails where told to.
class TFaultyMemory final : public TSharedMemory {
public:
  TFault Fault = TFault::None;

  TShmStatus Open(const std::string& name) override { return FReal.Open(name); }
  TShmStatus Create(const std::string& name, std::size_t size) override
  {
    if (Fault == TFault::CreateRefused)
      return TShmStatus::Failed;
    if (Fault == TFault::CreateFindsName)
      return TShmStatus::AlreadyExists;
    return FReal.Create(name, size);
  }
  unsigned char* Map(std::size_t size) override { return Fault == TFault::MapRefused ? nullptr : FReal.Map(size); }
  bool Unlink() override { return FReal.Unlink(); }
  void Close() override { FReal.Close(); }
  std::string ErrorString() const override { return FReal.ErrorString(); }

private:
  TPosixSharedMemory FReal;
};

// Real window messages, with every post written down.
class TRecordingMessages final : public TWindowMessages {
public:
  struct TPost {
    TWindowHandle Window;
    TWindowMessage Message;
  };
  std::vector<TPost> Posts;

  std::optional<std::int64_t> SendMessage(TWindowHandle window, const TWindowMessage& message) override
  {
    return FReal.SendMessage(window, message);
  }
  bool PostMessage(TWindowHandle window, const TWindowMessage& message) override
  {
    Posts.push_back({window, message});
    return FReal.PostMessage(window, message);
  }
  bool IsWindowServed(TWindowHandle window) override { return FReal.IsWindowServed(window); }

private:
  TSocketWindowMessages FReal;
};

// One copy of the program: host, services and link, wired as the window wires them.
struct TCopy {
  explicit TCopy(TWindowHandle handle, const std::string& name)
      : Host(handle), Connect(Host, [this](const QString& text) { Reports << text; }, Memory, Messages, name)
  {
    Host.Connect = &Connect;
  }
  TFakeHost Host;
  TFaultyMemory Memory;
  TRecordingMessages Messages;
  QStringList Reports;
  TDoorConnect Connect;
};

// A client's view of the block, as another process maps it.
struct TClientView {
  explicit TClientView(const std::string& name)
  {
    if (Memory.Open(name) == TShmStatus::Ok)
      Block = reinterpret_cast<TBalanceBlock*>(Memory.Map(sizeof(TBalanceBlock)));
  }
  TPosixSharedMemory Memory;
  TBalanceBlock* Block = nullptr;
};

bool IsAllZero(const TBalanceBlock& block)
{
  const TBalanceBlock zero{};
  return std::memcmp(&block, &zero, sizeof block) == 0;
}

}  // namespace

class TDoorConnectTest : public QObject {
  Q_OBJECT

  const std::string FName = "/ravlen-connect-test-" + std::to_string(::getpid());

  bool NameExists() const { return TPosixSharedMemory().Open(FName) == TShmStatus::Ok; }

private slots:
  void cleanup() { ::shm_unlink(FName.c_str()); }

  void setUpFailures_data()
  {
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("portFolderMissing");
    QTest::newRow("creation refused") << int(TFault::CreateRefused) << kLinkCreateText << false;
    QTest::newRow("name taken at creation") << int(TFault::CreateFindsName) << kLinkExistsText << false;
    QTest::newRow("mapping refused") << int(TFault::MapRefused) << kLinkMapText << false;
    QTest::newRow("no message port") << int(TFault::None) << kLinkPortText << true;
  }
  // Each failure shows its one message; the copy goes on with a private, zeroed block,
  // leaves no name behind and still serves its own requests.
  void setUpFailures()
  {
    QFETCH(int, fault);
    QFETCH(QString, message);
    QFETCH(bool, portFolderMissing);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (portFolderMissing)
      qputenv("XDG_RUNTIME_DIR", "/nonexistent/ravlen-runtime");
    TCopy copy(kFirst, FName);
    copy.Memory.Fault = TFault(fault);
    copy.Connect.SetUp();
    qputenv("XDG_RUNTIME_DIR", runtime);

    QCOMPARE(copy.Reports.size(), 1);
    QVERIFY2(copy.Reports[0].startsWith(message), qPrintable(copy.Reports[0]));
    QVERIFY(!copy.Connect.IsShared());
    QVERIFY(IsAllZero(copy.Connect.Link()));
    QVERIFY(!NameExists());

    copy.Connect.Publish();
    copy.Connect.Dispatch({copy.Connect.SyncBalanceMsg(), 0, 0});
    QCOMPARE(copy.Host.Runs, 1);
    QVERIFY(copy.Host.Received.back() == kStartEdits);
    QCOMPARE(ResultsOf(copy.Connect.Link()).Attitude.X, Real(1));
  }

  // Without a report of its own the link shows its failures as the program's error box.
  void failureShowsAnErrorBoxByDefault()
  {
    TMessageCapture boxes;
    TFakeHost host(kFirst);
    TFaultyMemory memory;
    memory.Fault = TFault::CreateRefused;
    TRecordingMessages messages;
    TDoorConnect connect(host, {}, memory, messages, FName);
    connect.SetUp();
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
    QCOMPARE(boxes.Messages()[0].Kind, TMessageKind::Error);
    QCOMPARE(boxes.Messages()[0].Buttons, TMessageButtons::Ok);
    QCOMPARE(boxes.Messages()[0].Text, QString(kLinkCreateText));
  }

  void liveFirstCopyKeepsItsBlock()
  {
    TCopy first(kFirst, FName);
    first.Connect.SetUp();
    first.Connect.Publish();
    first.Connect.Dispatch({first.Connect.SyncBalanceMsg(), 0, 0});
    QVERIFY(first.Connect.IsShared());
    TBalanceBlock before;
    std::memcpy(&before, &first.Connect.Link(), sizeof before);

    TCopy second(kSecond, FName);
    second.Connect.SetUp();
    second.Connect.Publish();
    second.Connect.Dispatch({second.Connect.SyncBalanceMsg(), 0, 0});
    second.Connect.TearDown();

    QCOMPARE(second.Reports, QStringList{kLinkExistsText});
    QVERIFY(!second.Connect.IsShared());
    QCOMPARE(second.Host.Runs, 1);
    TClientView client(FName);
    QVERIFY(client.Block);
    QVERIFY(std::memcmp(client.Block, &before, sizeof before) == 0);
    QCOMPARE(MainWindowOf(*client.Block), kFirst);
    QVERIFY(first.Reports.isEmpty());
  }

  void staleBlockIsTakenOver_data()
  {
    QTest::addColumn<uint>("recorded");
    QTest::addColumn<int>("size");
    QTest::newRow("window gone") << uint(kDead) << 408;
    QTest::newRow("no window recorded") << 0u << 408;
    QTest::newRow("our own handle, from a dead copy with our process id") << uint(kFirst) << 408;
    QTest::newRow("creator died before sizing it") << 0u << 0;
  }
  // A block left behind by a copy that died is taken over without a word, and starts
  // clean.
  void staleBlockIsTakenOver()
  {
    QFETCH(uint, recorded);
    QFETCH(int, size);
    {
      TPosixSharedMemory crashed;
      QCOMPARE(crashed.Create(FName, std::size_t(size)), TShmStatus::Ok);
      if (size > 0) {
        unsigned char* bytes = crashed.Map(std::size_t(size));
        std::memset(bytes, 0x77, std::size_t(size));
        SetMainWindow(*reinterpret_cast<TBalanceBlock*>(bytes), recorded);
      }
    }
    TCopy copy(kFirst, FName);
    copy.Connect.SetUp();
    QVERIFY2(copy.Reports.isEmpty(), qPrintable(copy.Reports.join('|')));
    QVERIFY(copy.Connect.IsShared());
    TClientView client(FName);
    QVERIFY(client.Block);
    QCOMPARE(MainWindowOf(*client.Block), kFirst);
    TBalanceBlock expected{};
    SetMainWindow(expected, kFirst);
    QVERIFY(std::memcmp(client.Block, &expected, sizeof expected) == 0);
  }

  void publishServeAndTearDown()
  {
    TCopy copy(kFirst, FName);
    copy.Host.Edits = {3, 150000, 1025, 0.1L, -0.1L, 0.05L, -0.05L};
    copy.Connect.SetUp();
    QVERIFY(copy.Connect.Port().IsListening());
    TClientView client(FName);
    QVERIFY(client.Block);
    QCOMPARE(MainWindowOf(*client.Block), kFirst);
    QVERIFY(InputsOf(*client.Block) == TBalanceInputs{});

    copy.Connect.Publish();
    QVERIFY(InputsOf(*client.Block) == copy.Host.Edits);
    copy.Connect.WriteResults({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 18}});
    QCOMPARE(ResultsOf(*client.Block).TowPoint.Z, Real(18));

    copy.Connect.TearDown();
    QCOMPARE(MainWindowOf(*client.Block), 0u);
    QCOMPARE(ResultsOf(*client.Block).TowPoint.Z, Real(18));
    QVERIFY(!NameExists());
    QVERIFY(!TSocketWindowMessages().IsWindowServed(kFirst));
    QVERIFY(!copy.Connect.IsShared());
    QCOMPARE(ResultsOf(copy.Connect.Link()).Force.X, Real(7));
    QCOMPARE(MainWindowOf(copy.Connect.Link()), 0u);
  }

  void dispatch_data()
  {
    QTest::addColumn<uint>("message");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<bool>("completes");
    QTest::newRow("synchronous") << uint(BALANCE_LINK_SYNC_BALANCE_MSG) << true << false;
    QTest::newRow("asynchronous") << uint(BALANCE_LINK_ASYN_BALANCE_MSG) << true << true;
    QTest::newRow("another registered message") << 0xC000u << false << false;
    QTest::newRow("message 0") << 0u << false << false;
  }
  // The inputs the client wrote reach the edits, the run happens, and only the
  // asynchronous request posts its completion, to CallerWindow with both parameters 0.
  void dispatch()
  {
    QFETCH(uint, message);
    QFETCH(bool, runs);
    QFETCH(bool, completes);
    TCopy copy(kFirst, FName);
    copy.Connect.SetUp();
    copy.Connect.Publish();
    QCOMPARE(copy.Connect.SyncBalanceMsg(), BALANCE_LINK_SYNC_BALANCE_MSG);
    QCOMPARE(copy.Connect.AsynBalanceMsg(), BALANCE_LINK_ASYN_BALANCE_MSG);
    TClientView client(FName);
    const TBalanceInputs sent{3, 150000, 1025, 0.1L, -0.1L, 0.05L, -0.05L};
    SetInputs(*client.Block, sent);
    SetCallerWindow(*client.Block, kCaller);

    QCOMPARE(copy.Connect.Dispatch({message, 0, 0}), std::int64_t(0));
    QCOMPARE(copy.Host.Runs, runs ? 1 : 0);
    if (runs)
      QVERIFY(copy.Host.Received.back() == sent);
    QCOMPARE(copy.Messages.Posts.size(), std::size_t(completes ? 1 : 0));
    if (completes) {
      const auto& post = copy.Messages.Posts.back();
      QCOMPARE(post.Window, kCaller);
      QCOMPARE(post.Message.Message, BALANCE_LINK_ASYN_BALANCE_MSG);
      QCOMPARE(post.Message.WParam, std::int64_t(0));
      QCOMPARE(post.Message.LParam, std::int64_t(0));
    }
  }

  // A request that arrives while a run processes events is served inside it: the inner
  // run takes the new inputs and writes its results, the outer one writes last.
  void requestDuringARunIsServedInside()
  {
    TCopy copy(kFirst, FName);
    copy.Connect.SetUp();
    copy.Connect.Publish();
    TClientView client(FName);
    const TBalanceInputs outer{3, 150000, 1025, 0, 0, 0, 0};
    const TBalanceInputs inner{4, 120000, 1020, 0, 0, 0, 0};
    SetInputs(*client.Block, outer);
    copy.Host.DuringRun = [&] {
      if (copy.Host.Runs != 1)
        return;
      SetInputs(*client.Block, inner);
      QVERIFY(TSocketWindowMessages().PostMessage(kFirst, {BALANCE_LINK_SYNC_BALANCE_MSG, 0, 0}));
      QDeadlineTimer limit(kServeWaitMs);
      while (copy.Host.Runs < 2 && !limit.hasExpired())
        QCoreApplication::processEvents();
    };
    copy.Connect.Dispatch({BALANCE_LINK_SYNC_BALANCE_MSG, 0, 0});

    QCOMPARE(copy.Host.Runs, 2);
    QVERIFY(copy.Host.Received[0] == outer);
    QVERIFY(copy.Host.Received[1] == inner);
    QCOMPARE(copy.Host.ResultWrites, (std::vector<int>{2, 1}));
    QCOMPARE(ResultsOf(*client.Block).Attitude.X, Real(1));
  }

  // The window closes while a request runs: the run ends on the private copy and the
  // completion still goes out.
  void windowClosesDuringARequest()
  {
    TCopy copy(kFirst, FName);
    copy.Connect.SetUp();
    copy.Connect.Publish();
    TClientView client(FName);
    SetCallerWindow(*client.Block, kCaller);
    copy.Host.DuringRun = [&] { copy.Connect.TearDown(); };
    copy.Connect.Dispatch({BALANCE_LINK_ASYN_BALANCE_MSG, 0, 0});
    QCOMPARE(MainWindowOf(*client.Block), 0u);
    QVERIFY(!NameExists());
    QCOMPARE(ResultsOf(copy.Connect.Link()).Attitude.X, Real(1));
    QCOMPARE(copy.Messages.Posts.size(), std::size_t(1));
    QCOMPARE(copy.Messages.Posts[0].Window, kCaller);
  }
};

QTEST_GUILESS_MAIN(TDoorConnectTest)
#include "DoorConnect_test.moc"
