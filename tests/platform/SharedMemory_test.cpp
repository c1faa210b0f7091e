// Named shared memory over POSIX: creation is exclusive and private to the user, a view
// outlives the name, and a name is only removed while it still names the held object.
#include <QtTest>

#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SharedMemory.h"

class TSharedMemoryTest : public QObject {
  Q_OBJECT

  // A name of this test alone, so that parallel runs and a running program are safe.
  const std::string FName = "/ravlen-shm-test-" + std::to_string(::getpid());

private slots:
  void cleanup() { ::shm_unlink(FName.c_str()); }

  void createOpenMapUnlink()
  {
    TPosixSharedMemory first;
    QCOMPARE(first.Open(FName), TShmStatus::NotFound);
    QCOMPARE(first.Create(FName, 408), TShmStatus::Ok);
    struct stat info{};
    QCOMPARE(::stat(("/dev/shm" + FName).c_str(), &info), 0);
    QCOMPARE(int(info.st_mode & 0777), 0600);
    QCOMPARE(int(info.st_size), 408);
    unsigned char* a = first.Map(408);
    QVERIFY(a);
    for (int i = 0; i < 408; ++i)
      QCOMPARE(int(a[i]), 0);

    TPosixSharedMemory again;
    QCOMPARE(again.Create(FName, 408), TShmStatus::AlreadyExists);

    TPosixSharedMemory second;
    QCOMPARE(second.Open(FName), TShmStatus::Ok);
    unsigned char* b = second.Map(408);
    QVERIFY(b);
    a[407] = 0x5A;
    QCOMPARE(int(b[407]), 0x5A);

    // The view stays valid after the name is gone.
    QVERIFY(second.Unlink());
    QCOMPARE(TPosixSharedMemory().Open(FName), TShmStatus::NotFound);
    b[0] = 0x11;
    QCOMPARE(int(a[0]), 0x11);
    QVERIFY(!first.Unlink());
  }

  // A creator that died before sizing its object leaves 0 bytes behind; touching a view
  // beyond the end would kill the process.
  void mapRefusesASmallerObject()
  {
    TPosixSharedMemory memory;
    QCOMPARE(memory.Create(FName, 10), TShmStatus::Ok);
    QVERIFY(!memory.Map(408));
    QVERIFY(!QString::fromStdString(memory.ErrorString()).isEmpty());
    QVERIFY(memory.Map(10));
  }

  // A copy that took the name over from a stale object must not lose it when the holder
  // of the old object lets go.
  void unlinkSparesAnotherObjectOfTheSameName()
  {
    TPosixSharedMemory old;
    QCOMPARE(old.Create(FName, 408), TShmStatus::Ok);
    TPosixSharedMemory takeover;
    QCOMPARE(takeover.Open(FName), TShmStatus::Ok);
    QVERIFY(takeover.Unlink());
    QCOMPARE(takeover.Create(FName, 408), TShmStatus::Ok);
    QVERIFY(!old.Unlink());
    QCOMPARE(TPosixSharedMemory().Open(FName), TShmStatus::Ok);
    QVERIFY(takeover.Unlink());
  }

  // Anyone may make an object of any name; one that another user made is not ours, in
  // whatever mode, and is never used.
  void anotherUsersObjectIsForeign()
  {
    if (::getuid() != 0)
      QSKIP("giving an object to another user takes the superuser");
    constexpr uid_t kStranger = 54321;
    const int fd = ::shm_open(FName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
    QVERIFY(fd >= 0);
    QCOMPARE(::fchmod(fd, 0666), 0);
    QCOMPARE(::ftruncate(fd, 408), 0);
    QCOMPARE(::fchown(fd, kStranger, kStranger), 0);
    ::close(fd);
    TPosixSharedMemory memory;
    QCOMPARE(memory.Open(FName), TShmStatus::Foreign);
    QVERIFY(QString::fromStdString(memory.ErrorString()).contains(QStringLiteral("belongs to user 54321")));
    QVERIFY(!memory.Map(408));
    QVERIFY(!memory.Unlink());
  }

  void badNameFails()
  {
    TPosixSharedMemory memory;
    QCOMPARE(memory.Create("/no/such/folder", 408), TShmStatus::Failed);
    QVERIFY(!memory.ErrorString().empty());
    QVERIFY(!memory.Map(408));
  }
};

QTEST_GUILESS_MAIN(TSharedMemoryTest)
#include "SharedMemory_test.moc"
