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

#include "app/CommandBars.h"
#include "app/CommandTable.h"
#include "app/DoorF.h"
#include "app/SpinButton.h"
#include "controls/EditF.h"
#include "dialogs/Askanyth.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "view/NullDoorView.h"

namespace {

// Every test runs in a working directory and a settings store of its own.
class TSandbox {
public:
  TSandbox() : FOldDir(QDir::currentPath())
  {
    QDir::setCurrent(FDir.path());
    QDir(FDir.path()).mkpath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", FDir.filePath(QStringLiteral("config")).toLocal8Bit());
  }
  ~TSandbox() { QDir::setCurrent(FOldDir); }
  QString Path(const QString& name) const { return FDir.filePath(name); }

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

  void aboutKeepsItsFirstLineAndShowsTheVersion()
  {
    TSandbox sandbox;
    TFDoor door;
    MenuItem(door, "Action1")->trigger();
    QCOMPARE(FCapture->Messages().size(), std::size_t(1));
    const TCapturedMessage& about = FCapture->Messages().front();
    QCOMPARE(about.Kind, TMessageKind::Information);
    QVERIFY(about.Text.startsWith(QStringLiteral("Balancing of otterboard 3D. V1.0\r")));
    QVERIFY2(about.Text.contains(QStringLiteral("Ravlen " RAVLEN_EXPECTED_VERSION ",")), qPrintable(about.Text));
  }

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

  void readOnlyWorkingDirectorySendsBothFilesToTemp()
  {
    TSandbox sandbox;
    // A directory in the way of the probe file refuses it even to the superuser, as a
    // read-only directory refuses it to everyone else.
    QDir(sandbox.Path(QString())).mkpath(QStringLiteral("locked/testfile"));
    QDir(sandbox.Path(QString())).mkdir(QStringLiteral("temp"));
    QDir::setCurrent(sandbox.Path(QStringLiteral("locked")));
    qputenv("TEMP", sandbox.Path(QStringLiteral("temp")).toLocal8Bit());
    for (int run = 0; run < 2; ++run) {
      TFDoor door;
      door.show();
      QCOMPARE(door.CustomizationPath(), sandbox.Path(QStringLiteral("temp/Ravlen.Ini")));
      door.close();
      door.FinishRun();
    }
    qunsetenv("TEMP");
    QVERIFY(QFile::exists(sandbox.Path(QStringLiteral("temp/Ravlen.Ini"))));
    QVERIFY(QFile::exists(sandbox.Path(QStringLiteral("temp/RavlenB.Ini"))));
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

  void viewSwitchesReachTheView_data()
  {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("which");
    QTest::addColumn<bool>("checkedAtStart");
    QTest::newRow("axes") << "ShowAxes" << int(TViewSwitch::ShowAxes) << true;
    QTest::newRow("grid X0Y") << "ShowGridXY" << int(TViewSwitch::ShowGridXY) << false;
    QTest::newRow("grid X0Z") << "ShowGridXZ" << int(TViewSwitch::ShowGridXZ) << false;
    QTest::newRow("hull") << "HideHull" << int(TViewSwitch::HideHull) << false;
    QTest::newRow("bracket") << "HideBracket" << int(TViewSwitch::HideBracket) << false;
    QTest::newRow("transparent") << "Transparent" << int(TViewSwitch::Transparent) << false;
    QTest::newRow("perspective") << "ShowPerspective" << int(TViewSwitch::ShowPerspective) << true;
  }
  void viewSwitchesReachTheView()
  {
    QFETCH(QString, command);
    QFETCH(int, which);
    QFETCH(bool, checkedAtStart);
    TSandbox sandbox;
    TFDoor door;
    auto view = std::make_shared<TNullDoorView>();
    TDoorCollaborators collaborators;
    collaborators.View = view;
    door.SetCollaborators(collaborators);
    QCOMPARE(door.GLSceneViewer1, view->Widget());
    door.show();
    const auto kind = static_cast<TViewSwitch>(which);
    QCOMPARE(view->Switch(kind), checkedAtStart);  // the start-up applies every switch
    door.Commands().Find(command)->trigger();
    QCOMPARE(view->Switch(kind), !checkedAtStart);
    QCOMPARE(door.Commands().Find(command)->isChecked(), !checkedAtStart);
  }

  void buildingTheModelRebuildsTheScene()
  {
    TSandbox sandbox;
    TFDoor door;
    auto view = std::make_shared<TNullDoorView>();
    TDoorCollaborators collaborators;
    collaborators.View = view;
    door.SetCollaborators(collaborators);
    door.show();
    QCOMPARE(view->Variant().BracketMesh, 1311);
    QCOMPARE(view->Variant().BallastCount, 3);
    QCOMPARE(double(view->Variant().DoorScale), 5.0);

    MenuItem(door, "BracketSmall")->trigger();
    QCOMPARE(view->Variant().BracketMesh, 1301);
    MenuItem(door, "Ballast5")->trigger();
    QCOMPARE(view->Variant().BallastCount, 5);
    // The water has moved on since the first showing; a rebuild puts the grids back.
    QTest::qWait(100);
    door.AngleXInput();
    QVERIFY(door.GridXZ() > 0.15);
    MenuItem(door, "Area_045")->trigger();
    // 4.5 m^2 at 0.4155973991 m^2 per unit door: scale sqrt(4.5 / 0.4155973991).
    QVERIFY(std::abs(double(view->Variant().DoorScale) - 3.2905602445) < 1e-9);
    QCOMPARE(view->Variant().BallastCount, 5);
    QCOMPARE(view->Variant().BracketMesh, 1301);
    QVERIFY(door.GridXZ() < 0.05);  // back at 0, then the area's two refreshes
    // The window's poses are the view's.
    QCOMPARE(&door.ScenePoses(), &view->Poses());
    QCOMPARE(door.ScenePoses().BallastCount, 5);
  }

private:
  std::unique_ptr<TMessageCapture> FCapture;
};

QTEST_MAIN(TDoorFTest)
#include "DoorF_test.moc"
