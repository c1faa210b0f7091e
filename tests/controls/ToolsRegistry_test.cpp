// Settings reads with a default, and the event pump of long loops.
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "controls/ToolsPump.h"
#include "controls/ToolsRegistry.h"
#include "platform/Registry.h"

class TToolsRegistryTest : public QObject {
  Q_OBJECT

private slots:
  void ReadsWithDefaults()
  {
    QTemporaryDir dir;
    TSettingsRegistry reg(dir.filePath(QStringLiteral("r.ini")));
    QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Tamarek\\Ravlen"), true));
    QVERIFY(reg.WriteReal(QStringLiteral("WDens"), 1025.5L));
    QVERIFY(reg.WriteString(QStringLiteral("AsText"), QStringLiteral("1025.5")));
    QVERIFY(reg.WriteBinary(QStringLiteral("Long"), QByteArray(10, '\0')));
    QVERIFY(reg.WriteBool(QStringLiteral("On"), true));
    QVERIFY(reg.WriteInteger(QStringLiteral("Seven"), 7));

    QCOMPARE(RegReadRealDef(reg, QStringLiteral("WDens"), 1), 1025.5L);
    QCOMPARE(RegReadRealDef(reg, QStringLiteral("AsText"), 1), Real(1));
    QCOMPARE(RegReadRealDef(reg, QStringLiteral("Long"), 1), Real(1));
    QCOMPARE(RegReadRealDef(reg, QStringLiteral("Missing"), 2), Real(2));
    QCOMPARE(RegReadBoolDef(reg, QStringLiteral("On"), false), true);
    QCOMPARE(RegReadBoolDef(reg, QStringLiteral("Seven"), false), true);
    QCOMPARE(RegReadBoolDef(reg, QStringLiteral("WDens"), true), true);
    QCOMPARE(RegReadBoolDef(reg, QStringLiteral("WDens"), false), false);
    QCOMPARE(RegReadBoolDef(reg, QStringLiteral("Missing"), true), true);
  }

  void PumpHandlesPendingEventsAndReturns()
  {
    bool ran = false;
    QTimer::singleShot(0, this, [&] { ran = true; });
    PumpWindowMessages(nullptr);
    QVERIFY(ran);
    PumpWindowMessages(nullptr);  // nothing pending: returns at once
  }
};

QTEST_MAIN(TToolsRegistryTest)
#include "ToolsRegistry_test.moc"
