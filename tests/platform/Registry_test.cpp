// The settings store: typed values, keys, wrong-type reads, the file it writes, and
// damaged files (fixtures beside this test) that must never be written over.
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>

#include <string>

#include <sys/inotify.h>
#include <unistd.h>

#include "platform/MessageBox.h"
#include "platform/Registry.h"

namespace {

QByteArray Contents(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes)
{
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray Fixture(const char* name) { return Contents(QStringLiteral(FIXTURES "/") + QLatin1String(name)); }

}  // namespace

class TRegistryTest : public QObject {
  Q_OBJECT

private:
  QTemporaryDir FDir;
  QString FFile;

  QByteArray FileText() const
  {
    QFile file(FFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

private slots:
  void init()
  {
    QVERIFY(FDir.isValid());
    FFile = FDir.filePath(QStringLiteral("Tamarek/registry.ini"));
    QFile::remove(FFile);
  }

  void DefaultFileIsInTheConfigFolder()
  {
    QVERIFY(TSettingsRegistry::DefaultFileName().endsWith(QStringLiteral("/Tamarek/registry.ini")));
  }

  void TypedValuesRoundTrip()
  {
    const QString text = QStringLiteral(" Плотность воды; a=b, \"c\" ");
    const QByteArray bytes = QByteArray::fromHex("00ff10");
    {
      TSettingsRegistry reg(FFile);
      QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), true));
      QVERIFY(reg.WriteInteger(QStringLiteral("Count"), -7));
      QVERIFY(reg.WriteBool(QStringLiteral("Perspective"), true));
      QVERIFY(reg.WriteString(QStringLiteral("Name"), text));
      QVERIFY(reg.WriteString(QStringLiteral("Empty"), QString()));
      QVERIFY(reg.WriteBinary(QStringLiteral("Blob"), bytes));
      QVERIFY(reg.WriteReal(QStringLiteral("Speed"), 2.5L));
      QVERIFY(reg.WriteReal(QStringLiteral("Third"), 1.0L / 3));
      reg.CloseKey();
    }
    const QByteArray file = FileText();
    // QSettings writes the group Software/Tamarek/Ravlen as a section and key prefix.
    QVERIFY(file.contains("[Software]\n"));
    QVERIFY(file.contains("Tamarek\\Ravlen\\Count=dword:4294967289\n"));
    QVERIFY(file.contains("Tamarek\\Ravlen\\Perspective=dword:1\n"));
    QVERIFY(file.contains("Tamarek\\Ravlen\\Blob=hex:00ff10\n"));
    QVERIFY(file.contains("Tamarek\\Ravlen\\Speed=hex:0000000000000440\n"));  // 2.5, little-endian double
    QVERIFY(!file.contains(".key"));

    TSettingsRegistry reg(FFile);
    QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), false));
    QCOMPARE(reg.ReadInteger(QStringLiteral("Count")), std::optional<qint32>(-7));
    QCOMPARE(reg.ReadBool(QStringLiteral("Perspective")), std::optional<bool>(true));
    QCOMPARE(reg.ReadString(QStringLiteral("Name")), std::optional<QString>(text));
    QCOMPARE(reg.ReadString(QStringLiteral("Empty")), std::optional<QString>(QString()));
    QCOMPARE(reg.ReadBinary(QStringLiteral("Blob")), std::optional<QByteArray>(bytes));
    QCOMPARE(reg.ReadReal(QStringLiteral("Speed")), std::optional<Real>(2.5L));
    QCOMPARE(reg.ReadReal(QStringLiteral("Third")), std::optional<Real>(static_cast<double>(1.0L / 3)));
    // Names compare without regard to letter case, as in the registry.
    QVERIFY(reg.ValueExists(QStringLiteral("speed")));
    QVERIFY(reg.OpenKey(QStringLiteral("\\SOFTWARE\\tamarek\\RAVLEN"), false));
    QCOMPARE(reg.CurrentPath(), QStringLiteral("\\Software\\Tamarek\\Ravlen"));
  }

  void WrongTypeAndSizeReadsFail()
  {
    TSettingsRegistry reg(FFile);
    QVERIFY(reg.OpenKey(QStringLiteral("\\K"), true));
    QVERIFY(reg.WriteString(QStringLiteral("Text"), QStringLiteral("2.5")));
    QVERIFY(reg.WriteInteger(QStringLiteral("Int"), 3));
    QVERIFY(reg.WriteBinary(QStringLiteral("Short"), QByteArray(4, '\1')));

    QVERIFY(!reg.ReadReal(QStringLiteral("Text")));
    QVERIFY(!reg.ReadInteger(QStringLiteral("Text")));
    QVERIFY(!reg.ReadReal(QStringLiteral("Int")));
    QVERIFY(!reg.ReadString(QStringLiteral("Int")));
    QVERIFY(!reg.ReadReal(QStringLiteral("Short")));
    QVERIFY(!reg.ReadBool(QStringLiteral("Short")));
    QVERIFY(!reg.ReadInteger(QStringLiteral("Missing")));

    QCOMPARE(reg.GetDataInfo(QStringLiteral("Text"))->Type, TRegDataType::String);
    QCOMPARE(reg.GetDataInfo(QStringLiteral("Text"))->Size, 4);
    QCOMPARE(reg.GetDataInfo(QStringLiteral("Int"))->Type, TRegDataType::Integer);
    QCOMPARE(reg.GetDataInfo(QStringLiteral("Int"))->Size, 4);
    QCOMPARE(reg.GetDataInfo(QStringLiteral("Short"))->Type, TRegDataType::Binary);
    QCOMPARE(reg.GetDataInfo(QStringLiteral("Short"))->Size, 4);
    QVERIFY(!reg.GetDataInfo(QStringLiteral("Missing")));
    // The failed reads left every value in place.
    QCOMPARE(reg.ReadString(QStringLiteral("Text")), std::optional<QString>(QStringLiteral("2.5")));
  }

  // A value that is not exactly what its type allows is no value of that type: not the
  // number its first digits make, nor bytes from digits of another script.
  void HandEditedValuesAreReadSafely()
  {
    using namespace std::string_literals;
    Put(FFile, QByteArray::fromStdString("[K]\nPlain=42\nBadInt=dword:4x\nBigInt=dword:4294967296\nOddHex=hex:123\n"
                                         "BadHex=hex:zz\nCommaHex=hex:01,02\nSigned=dword:-1\nNulInt=dword:12\0"
                                         "999\nSpacedInt=dword: 12\nEmptyInt=dword:\nLoneComma=hex:,0102\nTwoCommas=hex:01,,02\n"
                                         "ArabicHex=hex:\xd9\xa0\xd9\xa0\nFullWidthInt=dword:\xef\xbc\x91\n"s));

    TSettingsRegistry reg(FFile);
    QVERIFY(reg.OpenKey(QStringLiteral("\\K"), false));
    for (const char* name : {"Plain", "BadInt", "BigInt", "OddHex", "BadHex", "NulInt", "SpacedInt", "EmptyInt",
                             "LoneComma", "TwoCommas", "ArabicHex", "FullWidthInt"}) {
      QVERIFY2(!reg.ReadInteger(QString::fromLatin1(name)), name);
      QVERIFY2(!reg.ReadBinary(QString::fromLatin1(name)), name);
      QCOMPARE(reg.GetDataInfo(QString::fromLatin1(name))->Type, TRegDataType::Unknown);
    }
    QCOMPARE(reg.ReadBinary(QStringLiteral("CommaHex")), std::optional<QByteArray>(QByteArray("\1\2")));
    QCOMPARE(reg.ReadInteger(QStringLiteral("Signed")), std::optional<qint32>(-1));
  }

  void damagedFileIsKeptAndAFreshOneStarted_data()
  {
    QTest::addColumn<QString>("fixture");
    QTest::newRow("a stray quote line at the top") << "stray-quote.ini";
    QTest::newRow("a value with an unclosed quote") << "unterminated-quote.ini";
    QTest::newRow("a line without = and a section without ]") << "line-without-equals.ini";
    QTest::newRow("a value running on past its line") << "continued-line.ini";
    QTest::newRow("bytes that are not UTF-8") << "not-utf8.ini";
  }
  // The reader would drop or swallow part of such a file, and the next write would store
  // what is left. The file is moved aside byte for byte instead, the user is told once
  // where it went, and the store starts afresh.
  void damagedFileIsKeptAndAFreshOneStarted()
  {
    QFETCH(QString, fixture);
    const QString file = FDir.filePath(QStringLiteral("damaged/") + fixture);
    const QByteArray original = Fixture(qPrintable(fixture));
    QVERIFY(!original.isEmpty());
    Put(file, original);
    TMessageCapture boxes;
    {
      TSettingsRegistry reg(file);
      QVERIFY(reg.OpenKey(QStringLiteral("\\New"), true));
      QVERIFY(reg.WriteInteger(QStringLiteral("C"), 3));
      QVERIFY(reg.CloseKey());
    }
    const QStringList backups = QDir(QFileInfo(file).path()).entryList({fixture + QStringLiteral(".*.bak")});
    QCOMPARE(backups.size(), 1);
    const QString backup = QFileInfo(file).dir().filePath(backups[0]);
    QCOMPARE(Contents(backup), original);
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
    QVERIFY(boxes.Messages()[0].Text.contains(file));
    QVERIFY(boxes.Messages()[0].Text.contains(backup));

    TSettingsRegistry again(file);
    QVERIFY(again.OpenKey(QStringLiteral("\\New"), false));
    QCOMPARE(again.ReadInteger(QStringLiteral("C")), std::optional<qint32>(3));
    QVERIFY(!again.KeyExists(QStringLiteral("\\K")));
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
  }

  // A file as the program writes it loads whole, every value in it, and is not moved.
  void goodFileLoadsWhole()
  {
    const QString file = FDir.filePath(QStringLiteral("good/registry.ini"));
    Put(file, Fixture("good.ini"));
    TMessageCapture boxes;
    TSettingsRegistry reg(file);
    QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), false));
    QCOMPARE(reg.ReadReal(QStringLiteral("SolverFactor")), std::optional<Real>(10000));
    QCOMPARE(reg.ReadBool(QStringLiteral("ShowAxes")), std::optional<bool>(true));
    QCOMPARE(reg.GetDataInfo(QStringLiteral("posDoor"))->Size, 44);
    QCOMPARE(reg.ReadString(QStringLiteral("Note")), std::optional<QString>(QStringLiteral("a, b; \"c\" \\ d")));
    QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Software\\Tamarek\\Ravlen"), false));
    QCOMPARE(reg.ReadReal(QStringLiteral("WDens")), std::optional<Real>(1030));
    QVERIFY(boxes.Messages().empty());
    QCOMPARE(QDir(FDir.filePath(QStringLiteral("good"))).entryList(QDir::Files), QStringList{"registry.ini"});
  }

  // A write killed half way leaves its lock file and, where the file system has no
  // unnamed temporary files, a copy of the file beside it. Those go at the next start;
  // other files stay, and so does everything while another write holds the lock.
  void leftoversOfAKilledWriteGo()
  {
    const QString folder = FDir.filePath(QStringLiteral("killed"));
    const QString file = folder + QStringLiteral("/registry.ini");
    Put(file, Fixture("good.ini"));
    Put(file + QStringLiteral(".Ab12Cd"), QByteArray(4096, 'x'));
    Put(file + QStringLiteral(".keep-me"), "other");
    Put(file + QStringLiteral(".20240101-000000.bak"), "backup");
    {
      QLockFile held(file + QStringLiteral(".lock"));
      QVERIFY(held.tryLock(0));
      TSettingsRegistry reg(file);
      QVERIFY(QFile::exists(file + QStringLiteral(".Ab12Cd")));
    }
    // The lock file of a process that no longer runs.
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    Put(file + QStringLiteral(".lock"), QByteArray("999999999\nravlen\n") + host + "\n");
    TSettingsRegistry reg(file);
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    QCOMPARE(left, (QStringList{"registry.ini", "registry.ini.20240101-000000.bak", "registry.ini.keep-me"}));
    QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), false));
    QCOMPARE(reg.ReadBool(QStringLiteral("ShowAxes")), std::optional<bool>(true));
  }

  // The values written in one open key are stored together: the file is replaced once
  // when the key closes, however many values (and however large) were written.
  void oneCloseIsOneWrite()
  {
    {
      TSettingsRegistry reg(FFile);
      QVERIFY(reg.OpenKey(QStringLiteral("\\K"), true));
      QVERIFY(reg.CloseKey());
    }
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0);
    QVERIFY(::inotify_add_watch(watch, QFile::encodeName(QFileInfo(FFile).path()).constData(), IN_MOVED_TO | IN_CLOSE_WRITE) >= 0);
    {
      TSettingsRegistry reg(FFile);
      QVERIFY(reg.OpenKey(QStringLiteral("\\K"), false));
      for (int i = 0; i < 17; ++i)
        QVERIFY(reg.WriteBinary(QStringLiteral("V%1").arg(i), QByteArray(1000, char(i))));
      QVERIFY(reg.CloseKey());
    }
    int replacements = 0;
    alignas(inotify_event) char events[16384];
    for (ssize_t got; (got = ::read(watch, events, sizeof events)) > 0;)
      for (char* at = events; at < events + got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        if ((event->mask & IN_MOVED_TO) && event->len > 0 && QLatin1String(event->name) == QLatin1String("registry.ini"))
          ++replacements;
        at += sizeof(inotify_event) + event->len;
      }
    ::close(watch);
    QCOMPARE(replacements, 1);
    TSettingsRegistry reg(FFile);
    QVERIFY(reg.OpenKey(QStringLiteral("\\K"), false));
    QCOMPARE(reg.ReadBinary(QStringLiteral("V16")), std::optional<QByteArray>(QByteArray(1000, char(16))));
  }

  void KeysAreCreatedOpenedAndDeleted()
  {
    {
      TSettingsRegistry reg(FFile);
      QVERIFY(!reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), false));
      QVERIFY(!reg.HasOpenKey());
      // A key created without values outlives the accessor.
      QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), true));
      reg.CloseKey();
    }
    TSettingsRegistry reg(FFile);
    QVERIFY(reg.KeyExists(QStringLiteral("\\Software\\Tamarek\\Ravlen")));
    QVERIFY(reg.KeyExists(QStringLiteral("\\Software\\Tamarek")));
    QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), false));
    QVERIFY(!reg.ValueExists(QStringLiteral(".key")));
    QVERIFY(!reg.WriteInteger(QStringLiteral(".key"), 1));

    // A relative path starts at the open key.
    QVERIFY(reg.OpenKey(QStringLiteral("Sub"), true));
    QCOMPARE(reg.CurrentPath(), QStringLiteral("\\Software\\Tamarek\\Ravlen\\Sub"));
    QVERIFY(reg.WriteInteger(QStringLiteral("A"), 1));

    QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), false));
    QVERIFY(reg.WriteInteger(QStringLiteral("B"), 2));
    QVERIFY(reg.DeleteValue(QStringLiteral("B")));
    QVERIFY(!reg.ValueExists(QStringLiteral("B")));
    QVERIFY(!reg.DeleteValue(QStringLiteral("B")));

    // Deleting a key takes its values and subkeys and closes it; its parent stays.
    QVERIFY(reg.DeleteKey(QStringLiteral("\\Software\\Tamarek\\Ravlen")));
    QVERIFY(!reg.HasOpenKey());
    QVERIFY(!reg.KeyExists(QStringLiteral("\\Software\\Tamarek\\Ravlen")));
    QVERIFY(!reg.KeyExists(QStringLiteral("\\Software\\Tamarek\\Ravlen\\Sub")));
    QVERIFY(reg.KeyExists(QStringLiteral("\\Software\\Tamarek")));
    QVERIFY(!reg.DeleteKey(QStringLiteral("\\Software\\Tamarek\\Ravlen")));
  }

  void BadNamesAndClosedKeysAreRefused()
  {
    TSettingsRegistry reg(FFile);
    QVERIFY(!reg.WriteInteger(QStringLiteral("A"), 1));  // no key open
    QVERIFY(!reg.ValueExists(QStringLiteral("A")));
    QVERIFY(!reg.OpenKey(QStringLiteral("\\a/b"), true));
    QVERIFY(reg.OpenKey(QStringLiteral("\\K"), true));
    QVERIFY(!reg.WriteInteger(QStringLiteral("x/y"), 1));
    QVERIFY(!reg.WriteInteger(QStringLiteral("x\\y"), 1));
    QVERIFY(!reg.WriteInteger(QString(), 1));
    QVERIFY(!reg.DeleteKey(QStringLiteral("\\")));
  }

  void UnwritableStoreFailsWithoutLosingValues()
  {
    {
      TSettingsRegistry reg(FFile);
      QVERIFY(reg.OpenKey(QStringLiteral("\\K"), true));
      QVERIFY(reg.WriteInteger(QStringLiteral("Kept"), 5));
    }
    // A folder where the file should be: nothing can be written there.
    const QString blocked = FDir.filePath(QStringLiteral("blocked.ini"));
    QVERIFY(QDir().mkpath(blocked));
    TSettingsRegistry reg(blocked);
    QVERIFY(!reg.OpenKey(QStringLiteral("\\K"), true));
    QVERIFY(!reg.KeyExists(QStringLiteral("\\K")));
    // The root is always there; what is written in it is stored at the close, which fails.
    QVERIFY(reg.OpenKey(QStringLiteral("\\"), false));
    QVERIFY(reg.WriteInteger(QStringLiteral("Lost"), 1));
    QVERIFY(!reg.CloseKey());
    QVERIFY(!reg.ErrorString().isEmpty());
    QCOMPARE(reg.StoreName(), blocked);

    TSettingsRegistry good(FFile);
    QVERIFY(good.OpenKey(QStringLiteral("\\K"), false));
    QCOMPARE(good.ReadInteger(QStringLiteral("Kept")), std::optional<qint32>(5));
    QVERIFY(good.WriteInteger(QStringLiteral("Later"), 6));
  }

  void TwoAccessorsShareTheStore()
  {
    TSettingsRegistry a(FFile);
    TSettingsRegistry b(FFile);
    QVERIFY(a.OpenKey(QStringLiteral("\\K"), true));
    QVERIFY(a.WriteString(QStringLiteral("S"), QStringLiteral("x")));
    QVERIFY(b.OpenKey(QStringLiteral("\\k"), false));
    QCOMPARE(b.ReadString(QStringLiteral("s")), std::optional<QString>(QStringLiteral("x")));
  }

  void RealEncoding()
  {
    QCOMPARE(EncodeRealBinary(1.0L).toHex(), QByteArray("000000000000f03f"));
    QVERIFY(!DecodeRealBinary(QByteArray(7, '\0')));
    QVERIFY(!DecodeRealBinary(QByteArray(9, '\0')));
    QCOMPARE(DecodeRealBinary(EncodeRealBinary(-1e300L)), std::optional<Real>(static_cast<double>(-1e300L)));
  }
};

QTEST_GUILESS_MAIN(TRegistryTest)
#include "Registry_test.moc"
