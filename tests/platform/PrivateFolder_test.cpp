// A user's own folder in a place every user shares, and the probe file: what another
// user (or anyone with write access there) could plant in their place is refused, and
// the probe never opens a file that is already there.
#include <QtTest>

#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PrivateFolder.h"

namespace {

// A user id nobody on the test machine has.
constexpr uid_t kStranger = 54321;

std::string Path(const QTemporaryDir& dir, const char* name) { return dir.filePath(QLatin1String(name)).toStdString(); }

}  // namespace

class TPrivateFolderTest : public QObject {
  Q_OBJECT

private slots:
  void userFolderIsNamedAfterTheUser()
  {
    const std::string expected = "/tmp/ravlen-" + std::to_string(::getuid());
    QCOMPARE(UserFolderPath("/tmp"), expected);
    QCOMPARE(UserFolderPath("/tmp//"), expected);
  }

  void madeFolderIsTheUsersAlone()
  {
    QTemporaryDir dir;
    const std::string folder = UserFolderPath(dir.path().toStdString());
    std::string error;
    const mode_t old = ::umask(0);  // a lax umask must not open the folder to others
    const bool made = MakePrivateFolder(folder, error);
    ::umask(old);
    QVERIFY2(made, error.c_str());
    struct stat info{};
    QCOMPARE(::lstat(folder.c_str(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), 0700);
    QVERIFY(MakePrivateFolder(folder, error));  // and it is used again next time
  }

  void plantedNamesAreRefused_data()
  {
    QTest::addColumn<QString>("plant");
    QTest::newRow("a folder others may enter") << "open";
    QTest::newRow("a link to a folder of ours") << "link";
    QTest::newRow("a file") << "file";
    QTest::newRow("a folder of another user") << "stranger";
  }
  void plantedNamesAreRefused()
  {
    QFETCH(QString, plant);
    QTemporaryDir dir;
    const std::string folder = Path(dir, "ravlen-x");
    const std::string target = Path(dir, "target");
    QCOMPARE(::mkdir(target.c_str(), 0700), 0);
    if (plant == "open") {
      QCOMPARE(::mkdir(folder.c_str(), 0700), 0);
      QCOMPARE(::chmod(folder.c_str(), 0777), 0);
    } else if (plant == "link") {
      QCOMPARE(::symlink(target.c_str(), folder.c_str()), 0);
    } else if (plant == "file") {
      QCOMPARE(::close(::open(folder.c_str(), O_CREAT | O_WRONLY, 0600)), 0);
    } else {
      if (::getuid() != 0)
        QSKIP("giving a folder to another user takes the superuser");
      QCOMPARE(::mkdir(folder.c_str(), 0700), 0);
      QCOMPARE(::chown(folder.c_str(), kStranger, kStranger), 0);
    }
    std::string error;
    QVERIFY(!MakePrivateFolder(folder, error));
    QVERIFY(!error.empty());
    QVERIFY2(QString::fromStdString(error).startsWith(QString::fromStdString(folder)), error.c_str());
    QVERIFY(!IsPrivateFolder(folder, false, error));
  }

  // A link is followed only when asked to (a runtime folder the user named himself).
  void linkIsFollowedOnlyWhenAsked()
  {
    QTemporaryDir dir;
    const std::string target = Path(dir, "target");
    const std::string link = Path(dir, "link");
    QCOMPARE(::mkdir(target.c_str(), 0700), 0);
    QCOMPARE(::symlink(target.c_str(), link.c_str()), 0);
    std::string error;
    QVERIFY(IsPrivateFolder(link, true, error));
    QVERIFY(!IsPrivateFolder(link, false, error));
    QVERIFY(IsSymbolicLink(link));
    QVERIFY(!IsSymbolicLink(target));
  }

  // The probe makes a file of its own and removes it; a user's file called like an
  // old probe, or a link of that name, is never opened, let alone truncated or removed.
  void probeLeavesWhatIsThereAlone()
  {
    QTemporaryDir dir;
    const std::string victim = Path(dir, "victim");
    QFile file(QString::fromStdString(victim));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep");
    file.close();
    QCOMPARE(::symlink(victim.c_str(), Path(dir, "testfile").c_str()), 0);
    QVERIFY(FolderTakesFiles(dir.path().toStdString()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             (QStringList{"testfile", "victim"}));
    QVERIFY(!FolderTakesFiles(Path(dir, "missing")));
  }
};

QTEST_GUILESS_MAIN(TPrivateFolderTest)
#include "PrivateFolder_test.moc"
