// The main window driven as a user drives it: commands, spin buttons, keys, balance,
// animation, closing, and the settings that survive a restart.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <QSettings>

#include <cmath>
#include <limits>

#include <sys/stat.h>
#include <unistd.h>

#include "app/CommandBars.h"
#include "app/CommandTable.h"
#include "app/DoorF.h"
#include "app/SpinButton.h"
#include "controls/EditF.h"
#include "dialogs/Askanyth.h"
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
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray Fixture(const char* name) { return Contents(QStringLiteral(FIXTURES "/") + QLatin1String(name)); }

// Every test runs in a working directory and a settings store of its own.
class TSandbox {
public:
  TSandbox() : FOldDir(QDir::currentPath())
  {
    QDir::setCurrent(FDir.path());
    QDir(FDir.path()).mkpath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", FDir.filePath(QStringLiteral("config")).toLocal8Bit());
  }
  ~TSandbox()
  {
    QDir::setCurrent(FOldDir);
    qunsetenv("TEMP");
  }
  QString Path(const QString& name) const { return FDir.filePath(name); }
  // A working directory that takes no file, even from the superuser (it is gone), and a
  // TEMP folder of the sandbox: the bar files then go to the user's folder there.
  QString UseTempForBarFiles()
  {
    const QDir dir(FDir.path());
    dir.mkpath(QStringLiteral("gone"));
    dir.mkpath(QStringLiteral("temp"));
    QDir::setCurrent(Path(QStringLiteral("gone")));
    dir.rmdir(QStringLiteral("gone"));
    qputenv("TEMP", Path(QStringLiteral("temp")).toLocal8Bit());
    return Path(QStringLiteral("temp/ravlen-%1").arg(::getuid()));
  }

private:
  QTemporaryDir FDir;
  QString FOldDir;
};

QAction* Command(TFDoor& door, const char* name) { return door.Commands().Find(QString::fromLatin1(name)); }

// The menu item of a command, as the user would pick it.
QAction* MenuItem(TFDoor& door, const char* name)
{
  for (QAction* menuAction : door.Bars().MenuBar()->actions())
    for (QAction* item : menuAction->menu()->actions())
      if (item->objectName() == QLatin1String(name))
        return item;
  return nullptr;
}

}  // namespace

class TDoorFTest : public QObject {
  Q_OBJECT

private slots:
  void init() { FCapture = std::make_unique<TMessageCapture>(); }
  void cleanup() { FCapture.reset(); }

  void ballastFromTheMenuChecksItAndKeepsTheRigging()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    door.Model().SelectUpperHole(12);
    MenuItem(door, "Ballast5")->trigger();
    QVERIFY(Command(door, "Ballast5")->isChecked());
    QVERIFY(!Command(door, "Ballast3")->isChecked());
    QVERIFY(MenuItem(door, "Ballast5")->isChecked());
    QCOMPARE(door.Model().Variant().FBallastCount, 5);
    QCOMPARE(door.Model().UpperHoleIndex(), 12);  // no rebuild
  }

  void areaCommandRebuildsAndResetsEvenWhenChecked()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    door.AngleX->SetValue(10);
    door.AngleXInput();
    door.Model().SelectTowHole(TTowHole::F2u);
    QVERIFY(Command(door, "Area_104")->isChecked());
    MenuItem(door, "Area_104")->trigger();
    QVERIFY(Command(door, "Area_104")->isChecked());
    QCOMPARE(double(door.AngleX->Val()), 0.0);
    QCOMPARE(door.Model().TowHole(), TTowHole::F0);
    QCOMPARE(double(door.Model().DoorScale()), double(DoorScaleForAreaTag(1039)));
    MenuItem(door, "Area_144")->trigger();
    QVERIFY(!Command(door, "Area_104")->isChecked());
    QCOMPARE(double(door.Model().DoorScale()), double(DoorScaleForAreaTag(1440)));
  }

  void spinButtons_data()
  {
    QTest::addColumn<QString>("spin");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<double>("change");
    QTest::newRow("X up") << "ScrollX" << true << "AngleX" << 1.0;
    QTest::newRow("Y down") << "ScrollY" << false << "AngleY" << -1.0;
    QTest::newRow("Z down turns up") << "ScrollZ" << false << "AngleZ" << 1.0;
    QTest::newRow("Z up turns down") << "ScrollZ" << true << "AngleZ" << -1.0;
    QTest::newRow("speed up") << "ScrollSpeed" << true << "TrawlSpeed" << 0.1;
    QTest::newRow("resistance down") << "ScrollTrlRes" << false << "TrawlResistance" << -100.0;
    QTest::newRow("force scale up shrinks") << "SpinButton1" << true << "ForceScale" << -100.0;
  }
  void spinButtons()
  {
    QFETCH(QString, spin);
    QFETCH(bool, up);
    QFETCH(QString, edit);
    QFETCH(double, change);
    TSandbox sandbox;
    TFDoor door;
    door.show();
    auto* button = door.findChild<TSpinButton*>(spin);
    auto* target = door.findChild<TEditF*>(edit);
    const double before = double(target->Val());
    QTest::mouseClick(up ? button->UpButton() : button->DownButton(), Qt::LeftButton);
    QVERIFY(qAbs(double(target->Val()) - before - change) < 1e-12);
    if (edit.startsWith(QLatin1String("Angle")))
      QVERIFY(qAbs(double(door.Model().Attitude().Z + door.Model().Attitude().Y + door.Model().Attitude().X)) > 0);
  }

  void onlyEnterEvaluatesTheSpeed()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    const double before = double(door.ResResistance->Val());
    door.TrawlSpeed->setFocus();
    door.TrawlSpeed->setText(QStringLiteral("4"));
    QTest::keyClick(door.TrawlSpeed, Qt::Key_A);
    QCOMPARE(double(door.ResResistance->Val()), before);
    door.TrawlSpeed->setText(QStringLiteral("4"));
    QTest::keyClick(door.TrawlSpeed, Qt::Key_Return);
    QCOMPARE(double(door.TrawlSpeed->Val()), 4.0);
    QVERIFY(qAbs(double(door.ResResistance->Val()) - 4 * before) < 1e-9 * before);
  }

  void balanceWritesTheAttitudeIntoTheEdits()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    TSolveResult seen;
    bool editsShownWhenTold = false;
    bool stillBalancingWhenTold = true;
    // The listener hears of the run once the edits show its attitude and the run is over.
    door.SetBalanceListener([&](const TSolveResult& r) {
      seen = r;
      // Exact: AngleXInput made the attitude from the edit's value by this very product.
      editsShownWhenTold = door.AngleX->Val() * kDegToRad == door.Model().Attitude().X && door.AngleX->Val() != 0;
      stillBalancingWhenTold = door.Balancing();
    });
    Command(door, "BalanceAct")->trigger();
    QVERIFY(seen.Converged);
    QVERIFY(editsShownWhenTold);
    QVERIFY(!stillBalancingWhenTold);
    const Txyz& a = door.Model().Attitude();
    QVERIFY(qAbs(double(door.AngleZ->Val() * kDegToRad - a.Z)) < 1e-15);
    QVERIFY(qAbs(double(door.AngleX->Val() * kDegToRad - a.X)) < 1e-15);
    QVERIFY(qAbs(double(door.MomX->Val())) < 1e-5);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void animateStopsOnTheSecondExecutionAndBlocksTheFirstClose()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    QAction* animate = Command(door, "Animate");
    bool closedWhileAnimating = true;
    QTimer::singleShot(50, &door, [&] {
      closedWhileAnimating = door.close();
      QVERIFY(!animate->isChecked());  // the refused close stopped it
    });
    animate->trigger();  // runs until the close request unchecks it
    QVERIFY(!closedWhileAnimating);
    QVERIFY(door.isVisible());
    const Txyz stopped = door.Model().Attitude();
    QVERIFY(stopped.Z != 0);
    QCOMPARE(double(door.AngleZ->Val() * kDegToRad), double(stopped.Z));
    QVERIFY(door.close());
  }

  void settingsSurviveARestartButNotTheAngles()
  {
    TSandbox sandbox;
    {
      TFDoor door;
      door.show();
      Command(door, "HideHull")->trigger();
      door.Model().SetSolverFactor(50);
      door.TrawlSpeed->SetValue(3.5L);
      door.AngleX->SetValue(10);
      door.AngleY->SetValue(20);
      door.AngleZ->SetValue(30);
      door.AutoForceScale->setChecked(true);
      QVERIFY(door.close());
      door.FinishRun();
    }
    TFDoor door;
    door.show();
    QVERIFY(Command(door, "HideHull")->isChecked());
    QVERIFY(Command(door, "ShowAxes")->isChecked());
    QCOMPARE(double(door.Model().SolverFactor()), 50.0);
    QCOMPARE(double(door.TrawlSpeed->Val()), 3.5);
    QVERIFY(door.AutoForceScale->isChecked());
    // The door starts from zero rotation; the re-applied Animate switch stepped it once.
    TDoorModel once;
    once.Inputs().TrawlSpeed = 3.5L;
    once.SetSolverFactor(50);
    StepAttitude(once, once.EvaluateDoor({0, 0, 0}));
    QVERIFY(qAbs(double(door.AngleX->Val() * kDegToRad - once.Attitude().X)) < 1e-12);
    QVERIFY(qAbs(double(door.AngleZ->Val() * kDegToRad - once.Attitude().Z)) < 1e-12);
    QVERIFY(!door.BandFileName().isEmpty());
  }

  void restoreDefaultsWipesEverything()
  {
    TSandbox sandbox;
    {
      TFDoor door;
      door.show();
      door.close();
      door.FinishRun();
    }
    {
      TFDoor door;
      door.show();
      Command(door, "RestoreDefaults")->trigger();
      QCOMPARE(FCapture->Messages().at(0).Text, QStringLiteral("Defaults will be restored after restart the program"));
      QVERIFY(!QFile::exists(sandbox.Path(QStringLiteral("Ravlen.Ini"))));
      Command(door, "HideBracket")->trigger();
      door.close();
      door.FinishRun();
    }
    QVERIFY(!QFile::exists(sandbox.Path(QStringLiteral("Ravlen.Ini"))));
    TFDoor door;
    door.show();
    QVERIFY(!Command(door, "HideBracket")->isChecked());
  }

  // A working directory that takes no file sends both bar files to a folder of the
  // user's own under TEMP, mode 0700, where the next start finds them. A link planted at
  // the old fixed name in the shared folder, or one inside the user's folder, leads to
  // no write: the files they point at stay as they were.
  void readOnlyWorkingDirectorySendsBothFilesToTemp()
  {
    TSandbox sandbox;
    const QString folder = sandbox.UseTempForBarFiles();
    Put(sandbox.Path(QStringLiteral("victim")), "victim");
    QVERIFY(QFile::link(sandbox.Path(QStringLiteral("victim")), sandbox.Path(QStringLiteral("temp/Ravlen.Ini"))));
    QVERIFY(QFile::link(sandbox.Path(QStringLiteral("victim")), sandbox.Path(QStringLiteral("temp/RavlenB.Ini"))));
    for (int run = 0; run < 2; ++run) {
      TFDoor door;
      door.show();
      QCOMPARE(door.CustomizationPath(), folder + QStringLiteral("/Ravlen.Ini"));
      door.close();
      door.FinishRun();
    }
    QVERIFY(QFile::exists(folder + QStringLiteral("/Ravlen.Ini")));
    QVERIFY(QFile::exists(folder + QStringLiteral("/RavlenB.Ini")));
    struct stat info{};
    QCOMPARE(::stat(QFile::encodeName(folder).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 0777), 0700);
    QVERIFY(FCapture->Messages().empty());

    // The user's own folder takes no link either (kept when the program cannot read
    // what it points at and the user answers No).
    QVERIFY(QFile::remove(folder + QStringLiteral("/Ravlen.Ini")));
    QVERIFY(QFile::link(sandbox.Path(QStringLiteral("victim")), folder + QStringLiteral("/Ravlen.Ini")));
    FCapture->YesNoAnswer = TMessageAnswer::No;
    {
      TFDoor door;
      door.show();
      door.close();
      door.FinishRun();
    }
    QCOMPARE(FCapture->Messages().back().Text, QStringLiteral("Unable to save settings"));
    QCOMPARE(Contents(sandbox.Path(QStringLiteral("victim"))), QByteArray("victim"));
  }

  // A folder of that name that is not the user's alone (here a link someone planted) is
  // refused: the bar files are neither read nor written, and the user is told.
  void plantedUserFolderIsNotUsed()
  {
    TSandbox sandbox;
    const QString folder = sandbox.UseTempForBarFiles();
    QDir(sandbox.Path(QString())).mkdir(QStringLiteral("elsewhere"));
    QVERIFY(QFile::link(sandbox.Path(QStringLiteral("elsewhere")), folder));
    {
      TFDoor door;
      door.show();
      QVERIFY(door.CustomizationPath().isEmpty());
      QVERIFY(door.BandFileName().isEmpty());
      door.close();
      door.FinishRun();
    }
    QCOMPARE(FCapture->Messages().size(), std::size_t(1));
    QVERIFY(FCapture->Messages()[0].Text.contains(folder));
    QVERIFY(QDir(sandbox.Path(QStringLiteral("elsewhere"))).isEmpty());
  }

  void probeLeavesTheUsersTestfileAlone_data()
  {
    QTest::addColumn<bool>("link");
    QTest::newRow("a file of that name") << false;
    QTest::newRow("a link of that name") << true;
  }
  // The working directory is probed with a file of a fresh name: a user's "testfile",
  // or the file a link of that name points at, is neither truncated nor removed.
  void probeLeavesTheUsersTestfileAlone()
  {
    QFETCH(bool, link);
    TSandbox sandbox;
    const QString kept = sandbox.Path(link ? QStringLiteral("target") : QStringLiteral("testfile"));
    Put(kept, "the user's");
    if (link)
      QVERIFY(QFile::link(kept, sandbox.Path(QStringLiteral("testfile"))));
    TFDoor door;
    QCOMPARE(door.CustomizationPath(), QStringLiteral("Ravlen.Ini"));
    QCOMPARE(Contents(sandbox.Path(QStringLiteral("testfile"))), QByteArray("the user's"));
    QCOMPARE(QDir(sandbox.Path(QString())).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), link ? 2 : 1);
  }

  void storedValuesOutOfRangeAreReplacedAndReported_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("message");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QString factor = QStringLiteral("SolverFactor\r\rValue is out of range: [5..10000]");
    const QString scale = QStringLiteral("ForceScale\r\rPanel1 : ForceScale\rValue is out of range: [100..10000000]");
    for (const double bad : {0.0, nan, -10.0, 1e-300, 20000.0}) {
      QTest::addRow("solver factor %g", bad) << "SolverFactor" << bad << 10000.0 << factor;
      QTest::addRow("force scale %g", bad * 1000) << "ForceScale" << bad * 1000 << 15000.0 << scale;
    }
    QTest::newRow("solver factor at its lower bound") << "SolverFactor" << 5.0 << 5.0 << QString();
    QTest::newRow("solver factor at its upper bound") << "SolverFactor" << 10000.0 << 10000.0 << QString();
    QTest::newRow("force scale at its lower bound") << "ForceScale" << 100.0 << 100.0 << QString();
  }
  // A stored solver factor or force scale that its prompt or edit would not take makes
  // every balance NaN or run away: it becomes the default, is reported like a stored
  // edit value, and the bad value is not written back.
  void storedValuesOutOfRangeAreReplacedAndReported()
  {
    QFETCH(QString, name);
    QFETCH(double, stored);
    QFETCH(double, expected);
    QFETCH(QString, message);
    TSandbox sandbox;
    {
      TSettingsRegistry registry;
      QVERIFY(registry.OpenKey(QString::fromLatin1(TFDoor::SettingsKey()), true));
      QVERIFY(registry.WriteReal(name, stored));
      QVERIFY(registry.CloseKey());
    }
    {
      TFDoor door;
      door.show();
      const Real now = name == QLatin1String("SolverFactor") ? door.Model().SolverFactor() : door.ForceScale->Val();
      QCOMPARE(double(now), expected);
      if (message.isEmpty())
        QVERIFY(FCapture->Messages().empty());
      else
        QCOMPARE(FCapture->Messages().at(0).Text, message);
      door.close();
    }
    TSettingsRegistry registry;
    QVERIFY(registry.OpenKey(QString::fromLatin1(TFDoor::SettingsKey()), false));
    QCOMPARE(double(*registry.ReadReal(name)), expected);
  }

  // A customization file the program cannot read, kept because the user said No, is
  // written over at the end of the run; that is no failure to report.
  void keptUnreadableCustomizationIsWrittenWithoutAFalseAlarm()
  {
    TSandbox sandbox;
    Put(sandbox.Path(QStringLiteral("Ravlen.Ini")), "not a customization\n");
    FCapture->YesNoAnswer = TMessageAnswer::No;
    {
      TFDoor door;
      door.show();
      door.close();
      door.FinishRun();
    }
    QCOMPARE(FCapture->Messages().size(), std::size_t(1));
    QVERIFY(FCapture->Messages()[0].Text.startsWith(QStringLiteral("Error loading previously saved settings file")));
    FCapture->Clear();
    TFDoor door;
    QVERIFY(FCapture->Messages().empty());  // it reads now
  }

  // Counts in the bar files are taken no further than the bars and items that exist, and
  // numbers outside their range count as absent; what else the files say still applies.
  // A file that asks for two billion bands or items would otherwise take minutes, add
  // hundreds of separators, or overflow the run counter.
  void barFileCountsAreClamped()
  {
    TSandbox sandbox;
    const QString folder = sandbox.UseTempForBarFiles();
    {
      TFDoor door;  // makes the folder
    }
    Put(folder + QStringLiteral("/Ravlen.Ini"), Fixture("Ravlen-counts.ini"));
    Put(folder + QStringLiteral("/RavlenB.Ini"), Fixture("RavlenB-counts.ini"));
    {
      TFDoor door;
      door.show();
      TCommandBars& bars = door.Bars();
      QVERIFY(FCapture->Messages().empty());
      const auto separators = [&](const char* bar) {
        int count = 0;
        for (QAction* action : bars.Band(QLatin1String(bar))->actions())
          count += action->isSeparator();
        return count;
      };
      QCOMPARE(bars.Band(QStringLiteral("ActionToolBar3"))->actions().size(), 5);
      QCOMPARE(separators("ActionToolBar3"), 1);
      QVERIFY(bars.Band(QStringLiteral("ActionToolBar2"))->actions().size() <= 11);
      // The rest of the files: a hidden item stays hidden, the bands keep the file's rows
      // (a row break of 99 is none), and the bar the file leaves out gets a row of its own.
      QCOMPARE(bars.Band(QStringLiteral("ActionToolBar1"))->actions().size(), 9);
      QVERIFY(door.toolBarBreak(bars.Band(TCommandBars::kMenuBand)));
      QVERIFY(!door.toolBarBreak(bars.Band(QStringLiteral("ActionToolBar3"))));
      QVERIFY(door.toolBarBreak(bars.Band(QStringLiteral("ActionToolBar1"))));
      bars.ItemAction(QStringLiteral("ActionToolBar1"), 0)->trigger();  // counts one more use
      door.close();
      door.FinishRun();
    }
    QSettings saved(folder + QStringLiteral("/Ravlen.Ini"), QSettings::IniFormat);
    QCOMPARE(saved.value(QStringLiteral("Bars/Run")).toInt(), 1);
    QCOMPARE(saved.value(QStringLiteral("ActionToolBar3/size")).toInt(), 5);
    QCOMPARE(saved.value(QStringLiteral("ActionToolBar1/1/UseCount")).toInt(), 1);
    QCOMPARE(saved.value(QStringLiteral("ActionToolBar1/1/LastUse")).toInt(), 1);
  }

  void resetToolBarsBringsItemsBackAndKeepsTheMenuOrder()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    TCommandBars& bars = door.Bars();
    const int shown = door.Bars().Band(QStringLiteral("ActionToolBar2"))->actions().size();
    bars.SetVisible(QStringLiteral("ActionToolBar2"), 0, false);
    bars.Move(TCommandBars::kMenuBand, 0, 2);
    QCOMPARE(bars.Band(QStringLiteral("ActionToolBar2"))->actions().size(), shown - 1);
    Command(door, "ResetToolBars")->trigger();
    QCOMPARE(bars.Band(QStringLiteral("ActionToolBar2"))->actions().size(), shown);
    QCOMPARE(bars.MenuBar()->actions().at(2)->text(), QStringLiteral("&Balance"));
  }

  void solverFactorPrompt()
  {
    TSandbox sandbox;
    TFDoor door;
    TAskAny ask;
    TDoorCollaborators collaborators;
    collaborators.AskAny = &ask;
    door.SetCollaborators(collaborators);
    door.show();
    QTimer::singleShot(0, &ask, [&ask] {
      QCOMPARE(ask.Edit1->text(), QStringLiteral("10000"));
      ask.Edit1->setText(QStringLiteral("20000"));
      ask.OKBtn->click();
    });
    Command(door, "AskSolverFactor")->trigger();
    QCOMPARE(double(door.Model().SolverFactor()), 50.0);
  }

private:
  std::unique_ptr<TMessageCapture> FCapture;
};

QTEST_MAIN(TDoorFTest)
#include "DoorF_test.moc"
