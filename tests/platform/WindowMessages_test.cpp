// Registered message numbers, the wire format and the message port: what a client in
// another language relies on, checked with plain sockets where the bytes matter.
#include <QtTest>

#include <QTemporaryDir>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/MessagePort.h"
#include "platform/WindowMessages.h"

namespace {

// Handles of this test's ports; the runtime folder is private to the test.
constexpr TWindowHandle kPortHandle = 4000000001u;
constexpr TWindowHandle kNobody = 4000000002u;

// Longest a raw read waits for a reply, s, so that a fault fails the test instead of
// hanging it.
constexpr int kReadTimeoutS = 10;
// Longest a test waits for the port to hang up on a caller, ms: well past the port's
// own time-out.
constexpr int kHangUpWaitMs = 5000;
// A user id nobody on the test machine has.
constexpr uid_t kStranger = 54321;

sockaddr_un PortAddress(TWindowHandle window)
{
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = MessagePortPath(window);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

// A raw connection to window's port, or -1.
int RawConnect(TWindowHandle window)
{
  const sockaddr_un address = PortAddress(window);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  const timeval timeout{kReadTimeoutS, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  return fd;
}

// Whether the port has hung up on fd: a read finds the end of the stream.
bool HungUp(int fd)
{
  char byte;
  return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

// Sets XDG_RUNTIME_DIR for the life of the scope.
class TRuntimeFolder {
public:
  explicit TRuntimeFolder(const QByteArray& folder) : FSaved(qgetenv("XDG_RUNTIME_DIR")) { qputenv("XDG_RUNTIME_DIR", folder); }
  ~TRuntimeFolder() { qputenv("XDG_RUNTIME_DIR", FSaved); }
  TRuntimeFolder(const TRuntimeFolder&) = delete;
  TRuntimeFolder& operator=(const TRuntimeFolder&) = delete;

private:
  QByteArray FSaved;
};

}  // namespace

class TWindowMessagesTest : public QObject {
  Q_OBJECT

private slots:
  void registeredNumbers()
  {
    // FNV-1a reference vectors, then the two names the link uses.
    QCOMPARE(Fnv1a32(""), 0x811C9DC5u);
    QCOMPARE(Fnv1a32("a"), 0xE40C292Cu);
    QCOMPARE(Fnv1a32("foobar"), 0xBF9CF968u);
    QCOMPARE(RegisterWindowMessage("Zozerazid Edezideduv: SyncBalance"), 0xE2B5u);
    QCOMPARE(RegisterWindowMessage("Zozerazid Edezideduv: AsynBalance"), 0xFA29u);
    // The name's UTF-8 bytes, not its characters.
    QCOMPARE(RegisterWindowMessage("\xC3\xA6"), 0xC000u + Fnv1a32("\xC3\xA6") % 0x4000u);
  }

  void wireFormat()
  {
    const auto request = EncodeMessageRequest({0xE2B5, -2, 0x1122334455667788});
    const unsigned char expected[20] = {0xB5, 0xE2, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11};
    QVERIFY(std::memcmp(request.data(), expected, sizeof expected) == 0);
    const TWindowMessage back = DecodeMessageRequest(request.data());
    QCOMPARE(back.Message, 0xE2B5u);
    QCOMPARE(back.WParam, std::int64_t(-2));
    QCOMPARE(back.LParam, std::int64_t(0x1122334455667788));
    const auto reply = EncodeMessageReply(-1);
    QCOMPARE(DecodeMessageReply(reply.data()), std::int64_t(-1));
    QCOMPARE(int(reply[0]), 0xFF);
  }

  void portPath_data()
  {
    QTest::addColumn<QByteArray>("runtime");
    QTest::addColumn<bool>("unset");
    QTest::addColumn<QString>("path");
    // The fall-back folder is the user's own: /tmp is every user's.
    const QString own = QStringLiteral("/tmp/ravlen-%1/ravlen-hwnd-4294967295").arg(::getuid());
    QTest::newRow("runtime folder") << QByteArray("/run/user/1000") << false << "/run/user/1000/ravlen-hwnd-4294967295";
    QTest::newRow("empty counts as unset") << QByteArray("") << false << own;
    QTest::newRow("unset") << QByteArray() << true << own;
  }
  void portPath()
  {
    QFETCH(QByteArray, runtime);
    QFETCH(bool, unset);
    QFETCH(QString, path);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    if (unset)
      qunsetenv("XDG_RUNTIME_DIR");
    else
      qputenv("XDG_RUNTIME_DIR", runtime);
    const std::string got = MessagePortPath(4294967295u);
    qputenv("XDG_RUNTIME_DIR", saved);
    QCOMPARE(QString::fromStdString(got), path);
  }

  void portIsPrivateAndServed()
  {
    TSocketWindowMessages messages;
    QVERIFY(!messages.IsWindowServed(0));
    QVERIFY(!messages.IsWindowServed(kNobody));
    TMessagePort port;
    QVERIFY2(port.Listen(kPortHandle), qPrintable(port.ErrorString()));
    struct stat info{};
    QCOMPARE(::stat(MessagePortPath(kPortHandle).c_str(), &info), 0);
    QVERIFY(S_ISSOCK(info.st_mode));
    QCOMPARE(int(info.st_mode & 0777), 0600);
    QVERIFY(messages.IsWindowServed(kPortHandle));
    port.Close();
    QVERIFY(!messages.IsWindowServed(kPortHandle));
    QVERIFY(!QFile::exists(QString::fromStdString(MessagePortPath(kPortHandle))));
  }

  // A program that died leaves its socket behind; whoever gets its handle next serves it.
  void leftoverSocketIsReplaced()
  {
    const std::string path = MessagePortPath(kPortHandle);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int dead = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QCOMPARE(::bind(dead, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(dead);
    TSocketWindowMessages messages;
    QVERIFY(QFile::exists(QString::fromStdString(path)));
    QVERIFY(!messages.IsWindowServed(kPortHandle));
    TMessagePort port;
    QVERIFY2(port.Listen(kPortHandle), qPrintable(port.ErrorString()));
    QVERIFY(messages.IsWindowServed(kPortHandle));
  }

  // The reply is the handler's result and arrives only once the handler has run, which
  // happens in the event loop of the port's thread.
  void sendWaitsForTheHandler()
  {
    TMessagePort port;
    QVERIFY(port.Listen(kPortHandle));
    std::vector<TWindowMessage> seen;
    port.SetHandler([&](const TWindowMessage& m) {
      seen.push_back(m);
      return std::int64_t(-7) * m.WParam;
    });
    std::atomic<bool> done = false;
    std::optional<std::int64_t> reply;
    std::thread client([&] {
      TSocketWindowMessages messages;
      reply = messages.SendMessage(kPortHandle, {0xC123, 6, 9});
      done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
    client.join();
    QVERIFY(reply.has_value());
    QCOMPARE(*reply, std::int64_t(-42));
    QCOMPARE(seen.size(), std::size_t(1));
    QCOMPARE(seen[0].Message, 0xC123u);
    QCOMPARE(seen[0].LParam, std::int64_t(9));
  }

  void sendToNobodyFails()
  {
    TSocketWindowMessages messages;
    QVERIFY(!messages.SendMessage(kNobody, {0xC123, 0, 0}));
    QVERIFY(!messages.PostMessage(kNobody, {0xC123, 0, 0}));
    QVERIFY(!messages.PostMessage(0, {0xC123, 0, 0}));
  }

  // Posting returns at once; the message is handled later, from the event loop, even
  // though the poster has closed its end long before the reply is written.
  void postIsHandledFromTheEventLoop()
  {
    TMessagePort port;
    QVERIFY(port.Listen(kPortHandle));
    std::vector<std::uint32_t> seen;
    port.SetHandler([&](const TWindowMessage& m) {
      seen.push_back(m.Message);
      return 0;
    });
    TSocketWindowMessages messages;
    QVERIFY(messages.PostMessage(kPortHandle, {0xC001, 0, 0}));
    QVERIFY(messages.PostMessage(kPortHandle, {0xC002, 0, 0}));
    QVERIFY(seen.empty());
    QTRY_COMPARE(seen.size(), std::size_t(2));
    QCOMPARE(seen[0] + seen[1], 0xC001u + 0xC002u);
  }

  // Connections that close without a whole request (a liveness probe, a client that
  // died) are dropped; a request written in pieces is served once, whole.
  void partialAndEmptyConnections()
  {
    TMessagePort port;
    QVERIFY(port.Listen(kPortHandle));
    std::vector<TWindowMessage> seen;
    port.SetHandler([&](const TWindowMessage& m) {
      seen.push_back(m);
      return 0;
    });
    const int probe = RawConnect(kPortHandle);
    QVERIFY(probe >= 0);
    ::close(probe);
    const int broken = RawConnect(kPortHandle);
    QCOMPARE(::write(broken, "\x01\x02\x03", 3), ssize_t(3));
    ::close(broken);

    const auto request = EncodeMessageRequest({0xC777, 1, 2});
    const int pieces = RawConnect(kPortHandle);
    QCOMPARE(::write(pieces, request.data(), 7), ssize_t(7));
    QTest::qWait(50);
    QVERIFY(seen.empty());
    QCOMPARE(::write(pieces, request.data() + 7, 13), ssize_t(13));
    unsigned char reply[8];
    std::thread reader([&] { (void)::read(pieces, reply, sizeof reply); });
    QTRY_COMPARE(seen.size(), std::size_t(1));
    reader.join();
    ::close(pieces);
    QCOMPARE(seen[0].Message, 0xC777u);
    QCOMPARE(seen[0].LParam, std::int64_t(2));
  }

  // A runtime folder others may enter, or one of another user, is no place for a port: it
  // does not listen there, and a client does not talk to a socket there.
  void portFolderMustBeTheUsersAlone_data()
  {
    QTest::addColumn<bool>("stranger");
    QTest::newRow("open to others") << false;
    QTest::newRow("another user's") << true;
  }
  void portFolderMustBeTheUsersAlone()
  {
    QFETCH(bool, stranger);
    if (stranger && ::getuid() != 0)
      QSKIP("giving a folder to another user takes the superuser");
    QTemporaryDir dir;
    TRuntimeFolder runtime(QFile::encodeName(dir.path()));
    {
      TMessagePort port;
      QVERIFY2(port.Listen(kPortHandle), qPrintable(port.ErrorString()));
    }
    if (stranger)
      QCOMPARE(::chown(QFile::encodeName(dir.path()).constData(), kStranger, kStranger), 0);
    else
      QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    TMessagePort port;
    QVERIFY(!port.Listen(kPortHandle));
    QVERIFY(port.ErrorString().contains(dir.path()));
    // A socket someone made there is not talked to either.
    const sockaddr_un address = PortAddress(kPortHandle);
    const int planted = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QCOMPARE(::bind(planted, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    QCOMPARE(::listen(planted, 4), 0);
    TSocketWindowMessages messages;
    QVERIFY(!messages.IsWindowServed(kPortHandle));
    QVERIFY(!messages.PostMessage(kPortHandle, {0xC001, 0, 0}));
    ::close(planted);
  }

  // A socket of another user at a port's name is not this user's window, whoever listens
  // on it; and the port answers no program of another user, even when its socket lets
  // him in.
  void otherUsersAreNotTalkedTo()
  {
    if (::getuid() != 0)
      QSKIP("acting as another user takes the superuser");
    const sockaddr_un address = PortAddress(kNobody);
    ::unlink(address.sun_path);
    const int planted = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QCOMPARE(::bind(planted, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    QCOMPARE(::listen(planted, 4), 0);
    TSocketWindowMessages messages;
    QVERIFY(messages.IsWindowServed(kNobody));
    QCOMPARE(::chown(address.sun_path, kStranger, kStranger), 0);
    QVERIFY(!messages.IsWindowServed(kNobody));
    QVERIFY(!messages.SendMessage(kNobody, {0xC001, 0, 0}));
    ::close(planted);
    ::unlink(address.sun_path);

    TMessagePort port;
    QVERIFY(port.Listen(kPortHandle));
    int handled = 0;
    port.SetHandler([&](const TWindowMessage&) { return ++handled; });
    const sockaddr_un portAddress = PortAddress(kPortHandle);
    const QByteArray folder = QFile::encodeName(QString::fromStdString(MessagePortFolder()));
    QCOMPARE(::chmod(portAddress.sun_path, 0666), 0);
    QCOMPARE(::chmod(folder.constData(), 0777), 0);
    const auto closeFolder = qScopeGuard([&] { ::chmod(folder.constData(), 0700); });
    const pid_t child = ::fork();
    if (child == 0) {
      // The stranger sends a whole request and waits for a reply: it must get none.
      if (::setgid(kStranger) != 0 || ::setuid(kStranger) != 0)
        ::_exit(2);
      const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
      if (::connect(fd, reinterpret_cast<const sockaddr*>(&portAddress), sizeof portAddress) != 0)
        ::_exit(3);
      const auto request = EncodeMessageRequest({0xC001, 0, 0});
      const timeval timeout{kReadTimeoutS, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
      unsigned char reply[8];
      const bool answered = ::write(fd, request.data(), request.size()) == ssize_t(request.size()) &&
                            ::read(fd, reply, sizeof reply) == ssize_t(sizeof reply);
      ::_exit(answered ? 1 : 0);
    }
    int status = -1;
    bool ended = false;
    QTRY_VERIFY_WITH_TIMEOUT(ended || (ended = ::waitpid(child, &status, WNOHANG) == child), 2 * kReadTimeoutS * 1000);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(handled, 0);
  }

  // Callers that connect and never finish their request are hung up on after a second,
  // and no more than a few are kept waiting at a time (the oldest go first); a
  // well-formed request is served all the while.
  void unfinishedConnectionsAreDropped()
  {
    TMessagePort port;
    QVERIFY(port.Listen(kPortHandle));
    port.SetHandler([](const TWindowMessage& m) { return m.WParam; });
    const int flood = int(TMessagePort::kMaxUnfinished) + 8;
    std::vector<int> callers;
    for (int i = 0; i < flood; ++i) {
      callers.push_back(RawConnect(kPortHandle));
      QVERIFY(callers.back() >= 0);
      QTest::qWait(1);  // let the port take each in turn
    }
    QTRY_VERIFY_WITH_TIMEOUT(HungUp(callers[7]), kHangUpWaitMs / 5);
    QVERIFY(!HungUp(callers.back()));
    std::optional<std::int64_t> reply;
    std::thread client([&] { reply = TSocketWindowMessages().SendMessage(kPortHandle, {0xC001, 5, 0}); });
    QTRY_VERIFY_WITH_TIMEOUT(reply.has_value(), kHangUpWaitMs);
    client.join();
    QCOMPARE(*reply, std::int64_t(5));
    // The rest time out.
    QTRY_VERIFY_WITH_TIMEOUT(HungUp(callers.back()), kHangUpWaitMs);
    for (int fd : callers)
      ::close(fd);
  }

  // When no descriptor is left for a new connection, the server stops listening and
  // removes its socket; the port listens again once descriptors are free.
  void portListensAgainAfterAFailedAccept()
  {
    TMessagePort port;
    QVERIFY(port.Listen(kPortHandle));
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 256;
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> spare;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
      spare.push_back(fd);
    // The caller takes the last descriptor, so the port has none to accept it with.
    ::close(spare.back());
    spare.pop_back();
    const int caller = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    QVERIFY(caller >= 0);
    const sockaddr_un address = PortAddress(kPortHandle);
    QCOMPARE(::connect(caller, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!port.IsListening(), kHangUpWaitMs);
    for (int fd : spare)
      ::close(fd);
    ::close(caller);
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    QTRY_VERIFY_WITH_TIMEOUT(port.IsListening(), kHangUpWaitMs);
    QVERIFY(TSocketWindowMessages().IsWindowServed(kPortHandle));
  }

  // A handler that closes the port (the window closes during a request) must not bring
  // the program down when it returns.
  void handlerMayDeleteThePort()
  {
    auto* port = new TMessagePort;
    QVERIFY(port->Listen(kPortHandle));
    bool handled = false;
    port->SetHandler([&](const TWindowMessage&) {
      handled = true;
      delete port;
      return 0;
    });
    TSocketWindowMessages messages;
    QVERIFY(messages.PostMessage(kPortHandle, {0xC001, 0, 0}));
    QTRY_VERIFY(handled);
    QTest::qWait(20);
  }
};

QTEST_GUILESS_MAIN(TWindowMessagesTest)
#include "WindowMessages_test.moc"
