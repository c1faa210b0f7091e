// The placement store: first run, round trips (maximised, hidden dialogs), ignored
// records, the window's own values in the same key, and the error boxes.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "controls/Pos.h"
#include "controls/ToolsRegistry.h"
#include "platform/MessageBox.h"
#include "platform/Placement.h"
#include "platform/Registry.h"

namespace {

const QString kPath = QStringLiteral("\\Software\\Tamarek\\Ravlen");

// A store in which no key can be opened or created.
class TRefusingRegistry : public TSettingsRegistry {
public:
  using TSettingsRegistry::TSettingsRegistry;
  bool OpenKey(const QString&, bool) override { return false; }
};

}  // namespace

class TPosTest : public QObject {
  Q_OBJECT

private:
  QTemporaryDir FDir;
  QString File() const { return FDir.filePath(QStringLiteral("registry.ini")); }
  TPos* MakePos(QWidget& owner, const QString& file)
  {
    auto* pos = new TPos(&owner, std::make_unique<TSettingsRegistry>(file));
    pos->SetPath(kPath);
    return pos;
  }

private slots:
  void init() { QFile::remove(File()); }

  void FirstRunCreatesTheKeyAndStillReads()
  {
    QWidget window;
    window.setObjectName(QStringLiteral("Door"));
    window.setGeometry(20, 30, 200, 100);
    auto* pos = new TPos(&window, std::make_unique<TSettingsRegistry>(File()));
    QCOMPARE(pos->Value(), QStringLiteral("posDoor"));
    QCOMPARE(pos->InitState(), TShowCmd::swSaved);
    pos->SetPath(kPath);
    QVERIFY(TSettingsRegistry(File()).KeyExists(kPath));

    QString pathDuringRead;
    Real density = 0;
    pos->SetOnRead([&](TRegistry& registry) {
      pathDuringRead = registry.CurrentPath();
      density = RegReadRealDef(registry, QStringLiteral("WDens"), 1025);
    });
    pos->ReadPlacement();
    QCOMPARE(pathDuringRead, kPath);
    QCOMPARE(density, Real(1025));
    QCOMPARE(window.geometry(), QRect(20, 30, 200, 100));
    QVERIFY(!pos->Registry().HasOpenKey());
  }

  void WrittenValuesShareTheKeyOfThePlacement()
  {
    QWidget window;
    window.setObjectName(QStringLiteral("Environment"));
    window.setGeometry(40, 50, 300, 150);
    TPos* pos = MakePos(window, File());
    pos->SetOnWrite([](TRegistry& registry) { registry.WriteReal(QStringLiteral("WDens"), 1026); });
    pos->WritePlacement();

    TSettingsRegistry reg(File());
    QVERIFY(reg.OpenKey(kPath, false));
    QCOMPARE(reg.GetDataInfo(QStringLiteral("posEnvironment"))->Size, 44);
    QCOMPARE(reg.ReadReal(QStringLiteral("WDens")), std::optional<Real>(1026));
    const std::optional<TWindowPlacement> p = DecodePlacement(*reg.ReadBinary(QStringLiteral("posEnvironment")));
    QCOMPARE(p->Length, 44);
    QCOMPARE(QRect(p->Left, p->Top, p->Right - p->Left, p->Bottom - p->Top), QRect(40, 50, 300, 150));
  }

  void MaximisedMainWindowAndHiddenDialog()
  {
    {
      QWidget main;
      main.setObjectName(QStringLiteral("Door"));
      main.setGeometry(60, 70, 320, 200);
      main.showMaximized();
      QVERIFY(QTest::qWaitForWindowExposed(&main));
      MakePos(main, File())->WritePlacement();
    }
    QWidget main;
    main.setObjectName(QStringLiteral("Door"));
    MakePos(main, File())->ReadPlacement();
    QVERIFY(main.isMaximized());
    main.showNormal();
    QTRY_COMPARE(main.geometry(), QRect(60, 70, 320, 200));

    // The same record read by a store that hides: position and size, but no showing.
    QWidget dialog;
    TPos* pos = MakePos(dialog, File());
    pos->SetValue(QStringLiteral("posDoor"));
    pos->SetInitState(TShowCmd::swHide);
    pos->ReadPlacement();
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.isMaximized());
    QCOMPARE(dialog.geometry(), QRect(60, 70, 320, 200));
  }

  // A main window saved hidden (a damaged record) would come back hidden for good: no way
  // to close it, nothing saved. It comes back shown; a dialog's store still hides.
  void SavedHiddenMainWindowComesBackShown()
  {
    TWindowPlacement hidden;
    hidden.ShowCmd = ShowCommand::Hide;
    hidden.Left = 10, hidden.Top = 20, hidden.Right = 210, hidden.Bottom = 120;
    {
      TSettingsRegistry reg(File());
      QVERIFY(reg.OpenKey(kPath, true));
      QVERIFY(reg.WriteBinary(QStringLiteral("posDoor"), EncodePlacement(hidden)));
    }
    QWidget main;
    main.setObjectName(QStringLiteral("Door"));
    MakePos(main, File())->ReadPlacement();
    QVERIFY(main.isVisible());
    QCOMPARE(GetWindowPlacement(&main)->ShowCmd, ShowCommand::ShowNormal);
    QCOMPARE(main.geometry(), QRect(10, 20, 200, 100));
  }

  // A store that cannot be written (a folder stands where its file should be) says so
  // when the window closes: once, for the placement and every value written with it.
  void FailedStoreIsReportedOncePerClose()
  {
    TMessageCapture boxes;
    const QString blocked = FDir.filePath(QStringLiteral("blocked-write.ini"));
    QVERIFY(QDir().mkpath(blocked));
    QWidget window;
    window.setObjectName(QStringLiteral("Door"));
    TPos pos(&window, std::make_unique<TSettingsRegistry>(blocked));
    pos.SetPath(kPath);  // "Cannot create the key in registry.", as at every start
    pos.SetOnWrite([](TRegistry& registry) {
      for (int i = 0; i < 16; ++i)
        registry.WriteReal(QStringLiteral("V%1").arg(i), i);
    });
    boxes.Clear();
    for (int close = 1; close <= 2; ++close) {
      pos.WritePlacement();
      QCOMPARE(boxes.Messages().size(), std::size_t(close));
      QCOMPARE(boxes.Messages().back().Kind, TMessageKind::Error);
      QVERIFY(boxes.Messages().back().Text.startsWith(QStringLiteral("Cannot save the settings in ")));
      QVERIFY(boxes.Messages().back().Text.contains(blocked));
    }
  }

  void BadRecordsAreIgnoredButOnReadFires()
  {
    TWindowPlacement empty;
    empty.Left = 100, empty.Right = 100, empty.Top = 10, empty.Bottom = 200;
    const QByteArray records[] = {QByteArray(43, '\1'), QByteArray(45, '\1'), EncodePlacement(empty)};
    for (const QByteArray& record : records) {
      {
        TSettingsRegistry reg(File());
        QVERIFY(reg.OpenKey(kPath, true));
        QVERIFY(reg.WriteBinary(QStringLiteral("posW"), record));
      }
      QWidget window;
      window.setObjectName(QStringLiteral("W"));
      window.setGeometry(1, 2, 30, 40);
      TPos* pos = MakePos(window, File());
      int reads = 0;
      pos->SetOnRead([&](TRegistry&) { ++reads; });
      pos->ReadPlacement();
      QCOMPARE(reads, 1);
      QCOMPARE(window.geometry(), QRect(1, 2, 30, 40));
      QVERIFY(!window.isVisible());
    }
  }

  void KeyClosesWhenAHandlerThrows()
  {
    QWidget window;
    TPos* pos = MakePos(window, File());
    pos->SetOnRead([](TRegistry&) { throw std::runtime_error("handler failed"); });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, pos->ReadPlacement());
    QVERIFY(!pos->Registry().HasOpenKey());
  }

  void MissingKeyOnReadDoesNothing()
  {
    TMessageCapture boxes;
    QWidget window;
    window.setGeometry(1, 2, 30, 40);
    TPos* pos = MakePos(window, File());
    int reads = 0;
    pos->SetOnRead([&](TRegistry&) { ++reads; });
    QVERIFY(TSettingsRegistry(File()).DeleteKey(kPath));
    pos->ReadPlacement();
    QCOMPARE(reads, 0);
    QVERIFY(boxes.Messages().empty());
    QCOMPARE(window.geometry(), QRect(1, 2, 30, 40));
  }

  void ErrorBoxes()
  {
    TMessageCapture boxes;
    const QString blocked = FDir.filePath(QStringLiteral("blocked.ini"));
    QVERIFY(QDir().mkpath(blocked));
    QWidget window;
    TPos pos(&window, std::make_unique<TSettingsRegistry>(blocked));
    pos.SetPath(kPath);
    QCOMPARE(pos.Path(), QString());  // the old path stays
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
    QCOMPARE(boxes.Messages()[0].Text, QStringLiteral("Cannot create the key in registry."));

    boxes.Clear();
    TPos writer(&window, std::make_unique<TRefusingRegistry>(File()));
    int writes = 0;
    writer.SetOnWrite([&](TRegistry&) { ++writes; });
    writer.WritePlacement();
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
    QCOMPARE(boxes.Messages()[0].Text, QStringLiteral("Cannot create the kay in registry."));
    QCOMPARE(writes, 0);

    // A store whose window is gone has no placement to save.
    boxes.Clear();
    auto* owner = new QWidget;
    TPos orphan(owner, std::make_unique<TSettingsRegistry>(File()));
    orphan.setParent(nullptr);
    delete owner;
    orphan.SetOnWrite([&](TRegistry&) { ++writes; });
    orphan.SetPath(kPath);
    orphan.WritePlacement();
    QCOMPARE(boxes.Messages().size(), std::size_t(1));
    QCOMPARE(boxes.Messages()[0].Text, QStringLiteral("Unable to retrieve window placement"));
    QCOMPARE(writes, 0);
    QVERIFY(!orphan.Registry().HasOpenKey());
  }

  void UserStoreLivesInTheConfigFolder()
  {
    QWidget window;
    window.setObjectName(QStringLiteral("Door"));
    window.setGeometry(10, 20, 200, 100);
    TPos* pos = new TPos(&window);
    pos->SetPath(kPath);
    pos->WritePlacement();
    QVERIFY(QFile::exists(TSettingsRegistry::DefaultFileName()));
    TSettingsRegistry reg;
    QVERIFY(reg.OpenKey(kPath, false));
    QVERIFY(reg.ValueExists(QStringLiteral("posDoor")));
  }
};

QTEST_MAIN(TPosTest)
#include "Pos_test.moc"
