// The settings store: typed values, keys, wrong-type reads and the file it writes.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/Registry.h"

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

  void HandEditedValuesAreReadSafely()
  {
    QDir().mkpath(QFileInfo(FFile).path());
    QFile file(FFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[K]\nPlain=42\nBadInt=dword:4x\nBigInt=dword:4294967296\nOddHex=hex:123\n"
               "BadHex=hex:zz\nCommaHex=hex:01,02\nSigned=dword:-1\n");
    file.close();

    TSettingsRegistry reg(FFile);
    QVERIFY(reg.OpenKey(QStringLiteral("\\K"), false));
    for (const char* name : {"Plain", "BadInt", "BigInt", "OddHex", "BadHex"}) {
      QVERIFY2(!reg.ReadInteger(QString::fromLatin1(name)), name);
      QVERIFY2(!reg.ReadBinary(QString::fromLatin1(name)), name);
      QCOMPARE(reg.GetDataInfo(QString::fromLatin1(name))->Type, TRegDataType::Unknown);
    }
    QCOMPARE(reg.ReadBinary(QStringLiteral("CommaHex")), std::optional<QByteArray>(QByteArray("\1\2")));
    QCOMPARE(reg.ReadInteger(QStringLiteral("Signed")), std::optional<qint32>(-1));
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
