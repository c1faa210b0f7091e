// The main window driven as a user drives it: commands, spin buttons, keys, balance,
// animation, closing, and the settings that survive a restart.
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QSettings>
#include <QGroupBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QVector3D>
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
#include "app/CustomizeDlg.h"
#include "app/DoorF.h"
#include "app/GraphConnect.h"
#include "app/SpinButton.h"
#include "assets/Assets.h"
#include "controls/EditF.h"
#include "dialogs/Askanyth.h"
#include "dialogs/GraphWinF.h"
#include "dialogs/Sc_pic.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "view/NullDoorView.h"

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

// The tool bar button of a command on a band.
QWidget* ToolButton(TFDoor& door, const char* band, const char* name)
{
  QToolBar* bar = door.Bars().Band(QString::fromLatin1(band));
  for (QAction* item : bar->actions())
    if (item->objectName() == QLatin1String(name))
      return bar->widgetForAction(item);
  return nullptr;
}

// Shows the window, makes it the active one and puts the focus into edit.
bool ShowWithFocusIn(TFDoor& door, QWidget* edit)
{
  door.show();
  QApplication::setActiveWindow(&door);
  if (!QTest::qWaitForWindowActive(&door))
    return false;
  edit->setFocus();
  return edit->hasFocus();
}

// Empties an edit and types text into it, as the user does.
void Type(QLineEdit* edit, const QString& text)
{
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

// The pixel columns where the graph shows its attack-angle marker (grey on its top row).
QList<int> MarkerColumns(const TGraphWin& graph)
{
  const QImage image = graph.Plot()->grab().toImage();
  QList<int> columns;
  for (int x = 0; x < image.width(); ++x)
    if (QColor(image.pixel(x, 2)) == QColor(128, 128, 128))
      columns << x;
  return columns;
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

  // The menus take the keyboard from the focused edit without committing its rounded text.
  void menusLeaveTheBalancedAttitudeAlone()
  {
    TSandbox sandbox;
    TFDoor door;
    QVERIFY(ShowWithFocusIn(door, door.AngleX));
    Command(door, "BalanceAct")->trigger();
    const Real angleX = door.AngleX->Val();
    const Real momentX = door.MomX->Val();
    QVERIFY(door.AngleX->text() != QString::number(double(angleX)));  // shown rounded
    QMenu* options = door.Bars().MenuBar()->findChild<QMenu*>(QStringLiteral("&Options"));
    QTest::keyClick(door.AngleX, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(options->isVisible());
    QTest::keyClick(options, Qt::Key_Escape);
    QTest::keyClick(door.Bars().MenuBar(), Qt::Key_Escape);
    QCOMPARE(door.AngleX->Val(), angleX);
    QCOMPARE(door.MomX->Val(), momentX);
    QTRY_VERIFY(door.AngleX->hasFocus());
  }

  // A command that evaluates takes the entry the user typed and did not commit; edits
  // the user did not touch keep their values.
  void commandsTakeTheTypedEntry_data()
  {
    QTest::addColumn<QString>("how");
    QTest::newRow("Balance from the menu") << "menu-balance";
    QTest::newRow("Balance from the tool bar") << "toolbar-balance";
    QTest::newRow("Ballast 4 from the menu") << "menu-ballast";
  }
  void commandsTakeTheTypedEntry()
  {
    QFETCH(QString, how);
    TSandbox sandbox;
    TFDoor door;
    QVERIFY(ShowWithFocusIn(door, door.TrawlResistance));
    Command(door, "BalanceAct")->trigger();
    const Real angleX = door.AngleX->Val();
    Type(door.TrawlResistance, QStringLiteral("200"));
    QCOMPARE(double(door.Model().Inputs().TrawlResistance), 100000.0);
    if (how == QLatin1String("menu-balance"))
      MenuItem(door, "BalanceAct")->trigger();
    else if (how == QLatin1String("toolbar-balance"))
      QTest::mouseClick(ToolButton(door, "ActionToolBar1", "BalanceAct"), Qt::LeftButton);
    else
      MenuItem(door, "Ballast4")->trigger();
    QCOMPARE(double(door.TrawlResistance->Val()), 200000.0);
    QCOMPARE(double(door.Model().Inputs().TrawlResistance), 200000.0);
    if (how == QLatin1String("menu-ballast"))
      QCOMPARE(door.AngleX->Val(), angleX);  // not re-read from its rounded text
    else
      QVERIFY(door.AngleX->Val() != angleX);  // balanced again against 200 kN
  }

  // Tab visits every input once, each spin button as one stop after its edit, and passes
  // the read-outs by; a click puts the focus into a read-out, so its number can be copied.
  void tabOrderAndReadouts()
  {
    TSandbox sandbox;
    TFDoor door;
    QVERIFY(ShowWithFocusIn(door, door.AngleX));
    const QList<QWidget*> expected{door.ScrollX,         door.AngleY,       door.ScrollY,    door.AngleZ,
                                   door.ScrollZ,         door.AngleAttack,  door.TrawlResistance,
                                   door.ScrollTrlRes,    door.TrawlSpeed,   door.ScrollSpeed,
                                   door.ForceScale,      door.SpinButton1,  door.AutoForceScale};
    for (QWidget* next : expected) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), next);
    }
    // Round the window back to the start, meeting no single arrow on the way.
    for (int stop = 0; stop < 50 && QApplication::focusWidget() != door.AngleX; ++stop) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QVERIFY(!qobject_cast<TSpinButton*>(QApplication::focusWidget()->parentWidget()));
      QVERIFY(!expected.contains(QApplication::focusWidget()) || QApplication::focusWidget() == door.ScrollX);
    }
    QCOMPARE(QApplication::focusWidget(), door.AngleX);
    // The Up key on the focused Z spin turns the door the way its up arrow does.
    door.ScrollZ->setFocus(Qt::TabFocusReason);
    const double angleZ = double(door.AngleZ->Val());
    QTest::keyClick(door.ScrollZ, Qt::Key_Up);
    QCOMPARE(double(door.AngleZ->Val()), angleZ - 1);

    QTest::mouseClick(door.MomX, Qt::LeftButton);
    QVERIFY(door.MomX->hasFocus());
    QTest::keyClick(door.MomX, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(door.MomX, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), door.MomX->text());
    QVERIFY(!door.MomX->text().isEmpty());
  }

  // The window takes the client size of its designed bounds; there every control of the
  // panel can be reached, and none covers another.
  void panelAtTheDesignedSize()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    door.resize(843, 565);
    QApplication::processEvents();
    QCOMPARE(door.size(), QSize(843, 565));
    QList<QWidget*> controls;
    for (QWidget* w : door.Panel1->findChildren<QWidget*>())
      if (w->isVisible() && !qobject_cast<QGroupBox*>(w) && !qobject_cast<TSpinButton*>(w->parentWidget()))
        controls << w;
    for (QWidget* w : controls) {
      // Shown whole, once the panel is scrolled to it where it scrolls.
      if (auto* area = door.findChild<QScrollArea*>())
        area->verticalScrollBar()->setValue(w->mapTo(door.Panel1, QPoint(0, 0)).y());
      QVERIFY2(w->visibleRegion() == QRegion(w->rect()), qPrintable(w->objectName()));
      QVERIFY(door.rect().contains(QRect(w->mapTo(&door, QPoint(0, 0)), w->size())));
      for (QWidget* other : controls) {
        const QRect a(w->mapTo(door.Panel1, QPoint(0, 0)), w->size());
        const QRect b(other->mapTo(door.Panel1, QPoint(0, 0)), other->size());
        QVERIFY2(w == other || !a.intersects(b), qPrintable(w->objectName() + " / " + other->objectName()));
      }
    }
  }

  // The graph's marker stands at the door's wing attack angle of the moment: when the
  // graph is first shown, and when it is resized after an entry turned the door.
  void graphMarkerFollowsTheDoor()
  {
    TSandbox sandbox;
    TFDoor door;
    TGraphWin graph(&door);
    TDoorCollaborators collaborators;
    ConnectGraph(collaborators, door, graph);
    door.SetCollaborators(collaborators);
    QVERIFY(ShowWithFocusIn(door, door.AngleZ));
    const auto markerAt = [&graph] {
      return QList<int>({graph.Plot()->XToPixel(graph.AttackW() / kDegToRad)});
    };
    Command(door, "Graph")->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    QVERIFY(Command(door, "Graph")->isChecked());
    QCOMPARE(graph.AttackW(), door.Model().Results().FAttackW);
    QVERIFY(door.Model().Results().FAttackW > 1 * kDegToRad);
    QCOMPARE(MarkerColumns(graph), markerAt());
    Type(door.AngleZ, QStringLiteral("-40"));
    QTest::keyClick(door.AngleZ, Qt::Key_Return);
    graph.resize(400, 300);
    QCOMPARE(graph.AttackW(), door.Model().Results().FAttackW);
    QVERIFY(door.Model().Results().FAttackW > 30 * kDegToRad);
    QCOMPARE(MarkerColumns(graph), markerAt());
    graph.close();
    QVERIFY(!Command(door, "Graph")->isChecked());
  }

  // Once the door is at rest the animation sleeps in the event loop instead of spinning,
  // and an entry sets it turning again.
  void animationSleepsAtRest()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    Command(door, "BalanceAct")->trigger();  // close to rest, a few steps left
    QAction* animate = Command(door, "Animate");
    int waits = 0;  // times the loop went to sleep for want of events
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [&] { ++waits; });
    int phase = 0;
    Txyz rest, turning;
    QTimer probe;
    probe.setInterval(10);
    connect(&probe, &QTimer::timeout, this, [&] {
      if (phase == 0 && waits > 0) {
        rest = door.Model().Attitude();
        // At rest, a step turns the door no more.
        TDoorModel& model = door.Model();
        StepAttitude(model, model.EvaluateDoor(rest));
        QCOMPARE(double(model.Attitude().Z), double(rest.Z));
        door.TrawlSpeed->setFocus();
        door.TrawlSpeed->setText(QStringLiteral("3"));
        QTest::keyClick(door.TrawlSpeed, Qt::Key_Return);
        phase = 1;
      } else if (phase == 1) {
        turning = door.Model().Attitude();
        animate->trigger();  // stops it
        phase = 2;
      }
    });
    // A loop that never sleeps is stopped after a while.
    QTimer::singleShot(60000, this, [&] { TCommandTable::SetChecked(animate, false); });
    probe.start();
    animate->trigger();
    probe.stop();
    QCOMPARE(phase, 2);
    QVERIFY(turning.Z != rest.Z);
    QCOMPARE(double(door.AngleZ->Val() * kDegToRad), double(door.Model().Attitude().Z));
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
      // The file's program had no rigging advisor: its button comes in beside Animate.
      QCOMPARE(bars.Band(QStringLiteral("ActionToolBar1"))->actions().size(), 10);
      QVERIFY(!door.toolBarBreak(bars.Band(QStringLiteral("ActionToolBar2"))));
      QVERIFY(door.toolBarBreak(bars.Band(QStringLiteral("ActionToolBar3"))));
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

  // The menu bar cannot be hidden from the tool bar area's menu, cannot be dragged, and a
  // band file that has it elsewhere, or not at all, still puts it on the top row.
  void menuBarStaysOnTop_data()
  {
    QTest::addColumn<QStringList>("bands");  // name, then "+" for a band that starts a row
    QTest::newRow("without the menu") << QStringList{"ActionToolBar3", "ActionToolBar1+", "ActionToolBar2+"};
    QTest::newRow("menu below") << QStringList{"ActionToolBar3", "ActionToolBar1+", "ActionToolBar2+", "Menu+"};
    QTest::newRow("menu in the middle") << QStringList{"ActionToolBar1", "Menu+", "ActionToolBar3", "ActionToolBar2+"};
  }
  void menuBarStaysOnTop()
  {
    QFETCH(QStringList, bands);
    TSandbox sandbox;
    TFDoor door;
    door.show();
    QToolBar* menu = door.Bars().Band(TCommandBars::kMenuBand);
    QToolBar* conditions = door.Bars().Band(QStringLiteral("ActionToolBar1"));
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(conditions->width() - 5, 5),
                            conditions->mapToGlobal(QPoint(conditions->width() - 5, 5)));
    QApplication::sendEvent(conditions, &click);
    auto* areaMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(areaMenu);
    QStringList offered;
    for (QAction* item : areaMenu->actions())
      if (item->isVisible())
        offered << item->text();
    areaMenu->close();
    QCOMPARE(offered, QStringList({"On/Off", "Conditions", "Show"}));
    QVERIFY(!menu->isMovable());

    const QString file = sandbox.Path(QStringLiteral("Bands.Ini"));
    {
      QSettings ini(file, QSettings::IniFormat);
      ini.beginGroup(QStringLiteral("CoolBar1"));
      ini.setValue(QStringLiteral("Count"), bands.size());
      for (int i = 0; i < bands.size(); ++i) {
        QString name = bands[i];
        const bool rowBreak = name.endsWith(QLatin1Char('+'));
        name.remove(QLatin1Char('+'));
        ini.setValue(QStringLiteral("Control%1").arg(i), name);
        ini.setValue(QStringLiteral("Break%1").arg(i), rowBreak ? 1 : 0);
      }
    }
    door.Bars().LoadBandLayout(file);
    QApplication::processEvents();
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), QPoint(0, 0));
    for (const QString& name : door.Bars().BarNames())
      QVERIFY(door.Bars().Band(name)->isVisible());
  }

  // The Customize dialog shows the bars as they are after any change made outside it.
  void customizeFollowsTheBars()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    Command(door, "Customize")->trigger();
    auto* dialog = door.findChild<TCustomizeDlg*>();
    QVERIFY(dialog);
    const QString show = QStringLiteral("ActionToolBar2");
    dialog->BarList()->setCurrentIndex(dialog->BarList()->findData(show));
    QListWidget* rows = dialog->ItemList();
    const auto rowOf = [rows](const QString& caption) {
      const QList<QListWidgetItem*> found = rows->findItems(caption, Qt::MatchExactly);
      return found.isEmpty() ? -1 : rows->row(found.first());
    };
    const auto shown = [&door, &show](const char* command) {
      for (QAction* item : door.Bars().Band(show)->actions())
        if (item->objectName() == QLatin1String(command))
          return true;
      return false;
    };
    // "Graph" moved to the top with the dialog's button, then the bars reset elsewhere.
    rows->setCurrentRow(rowOf(QStringLiteral("Graph")));
    while (rows->currentRow() > 0)
      dialog->MoveCurrent(-1);
    Command(door, "ResetToolBars")->trigger();
    QCOMPARE(rowOf(QStringLiteral("Graph")), int(rows->count()) - 1);
    rows->setFocus();
    rows->setCurrentRow(rowOf(QStringLiteral("Graph")));
    QTest::keyClick(rows, Qt::Key_Space);  // unticks the current row
    QVERIFY(!shown("Graph"));
    QVERIFY(shown("Transparent"));

    // A customization of fewer items read while the dialog is open.
    const QString file = sandbox.Path(QStringLiteral("Short.Ini"));
    {
      QSettings ini(file, QSettings::IniFormat);
      ini.setValue(QStringLiteral("Bars/Format"), 1);
      ini.beginWriteArray(show, 2);
      for (int i = 0; i < 2; ++i) {
        ini.setArrayIndex(i);
        ini.setValue(QStringLiteral("Command"), i == 0 ? QStringLiteral("ShowPlan") : QStringLiteral("Graph"));
        ini.setValue(QStringLiteral("Caption"), i == 0 ? QStringLiteral("&Show Plan") : QStringLiteral("&Graph"));
      }
      ini.endArray();
    }
    QCOMPARE(door.Bars().LoadCustomization(file), TCommandBars::TLoadResult::Loaded);
    QCOMPARE(rows->count(), 2);
    QCOMPARE(rows->item(1)->text(), QStringLiteral("Graph"));
    rows->setCurrentRow(0);
    QTest::keyClick(rows, Qt::Key_Space);
    QVERIFY(!shown("ShowPlan"));
    QVERIFY(shown("Graph"));
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
    QImage icon;
    QTimer::singleShot(0, &ask, [&ask, &icon] {
      icon = ask.windowIcon().pixmap(32).toImage();
      QCOMPARE(ask.Edit1->text(), QStringLiteral("10000"));
      ask.Edit1->setText(QStringLiteral("20000"));
      ask.OKBtn->click();
    });
    Command(door, "AskSolverFactor")->trigger();
    QCOMPARE(double(door.Model().SolverFactor()), 50.0);
    // The prompt wears an icon of its own.
    QCOMPARE(icon, WindowIcon(TWindowIconKind::ValuePrompt).pixmap(32).toImage());
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

  // Every station of the view commands: where the camera stands, its direction and up
  // vector, the projection it asks for and how rolling goes from there on.
  void stationsOfTheViewCommands_data()
  {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QVector3D>("position");
    QTest::addColumn<QVector3D>("direction");
    QTest::addColumn<QVector3D>("up");
    QTest::addColumn<int>("viewKind");  // -1: as before
    QTest::addColumn<int>("perspective");  // 1 on, 0 off, -1 as before
    QTest::newRow("reset") << "ResetCamera" << QVector3D(0, -10, 0) << QVector3D(1, 0, 0) << QVector3D(0, 0, 1) << -1 << -1;
    QTest::newRow("plan") << "ShowPlan" << QVector3D(0, 0, 10) << QVector3D(0, 0, -1) << QVector3D(0, 1, 0) << 0 << -1;
    QTest::newRow("front") << "ShowFront" << QVector3D(-10, 0, 0) << QVector3D(1, 0, 0) << QVector3D(0, 0, 1) << 2 << -1;
    QTest::newRow("side") << "ShowSide" << QVector3D(0, -10, 0) << QVector3D(1, 0, 0) << QVector3D(0, 0, 1) << 1 << -1;
    QTest::newRow("back") << "ShowBack" << QVector3D(5, 10, 5) << QVector3D(1, 0, 0) << QVector3D(0, 0, 1) << -1 << -1;
    QTest::newRow("bracket") << "ShowBracket" << QVector3D(-3, -3, 3) << QVector3D(1, 0, 0) << QVector3D(0, 0, 1) << -1 << 1;
    QTest::newRow("iso") << "ShowIso" << QVector3D(-10, -10, 10) << QVector3D(1, 0, 0) << QVector3D(0, 0, 1) << -1 << 0;
  }
  void stationsOfTheViewCommands()
  {
    QFETCH(QString, command);
    QFETCH(QVector3D, position);
    QFETCH(QVector3D, direction);
    QFETCH(QVector3D, up);
    QFETCH(int, viewKind);
    QFETCH(int, perspective);
    TSandbox sandbox;
    TFDoor door;
    auto view = std::make_shared<TNullDoorView>();
    TDoorCollaborators collaborators;
    collaborators.View = view;
    door.SetCollaborators(collaborators);
    door.show();
    const auto vec = [](const TxyzSingle& v) { return QVector3D(v.X, v.Y, v.Z); };
    QAction* perspectiveSwitch = Command(door, "ShowPerspective");
    // From both projections and from each of the three kinds of rolling.
    for (const bool startInPerspective : {true, false}) {
      for (const char* before : {"ShowPlan", "ShowSide", "ShowFront"}) {
        if (perspectiveSwitch->isChecked() != startInPerspective)
          perspectiveSwitch->trigger();
        Command(door, before)->trigger();
        const int kindBefore = door.ViewKind();
        view->SetCameraStation({{1, 2, 3}, {0, 1, 0}, {1, 0, 0}});
        Command(door, command.toLatin1().constData())->trigger();
        const TCameraStation station = view->CameraStation();
        QCOMPARE(vec(station.Position), position);
        QCOMPARE(vec(station.Direction), direction);
        QCOMPARE(vec(station.Up), up);
        QCOMPARE(door.ViewKind(), viewKind < 0 ? kindBefore : viewKind);
        const bool nowPerspective = perspective < 0 ? startInPerspective : perspective == 1;
        QCOMPARE(perspectiveSwitch->isChecked(), nowPerspective);
        QCOMPARE(view->Perspective(), nowPerspective);
        QCOMPARE(double(view->FocalLength()), nowPerspective ? 100.0 : 10.0);
      }
    }
  }

  // The status bar is the window's own: it adds its height, the view and the panel keep
  // theirs, and the window its designed width; the side station is the one rolling starts from.
  void statusBarAddsItsHeight()
  {
    TSandbox sandbox;
    TFDoor door;
    QCOMPARE(door.ViewKind(), 1);
    QStatusBar* bar = door.statusBar();
    QVERIFY(bar);
    door.show();
    QVERIFY(QTest::qWaitForWindowExposed(&door));
    QApplication::processEvents();
    QVERIFY(bar->isVisible());
    QCOMPARE(door.height(), 565 + bar->height());
    QCOMPARE(door.width(), 843);  // laying the bars out at the first showing keeps the width
    QCOMPARE(door.centralWidget()->geometry().bottom() + 1, bar->geometry().top());
  }

  // Reset Model puts the door back upright and shows it so; the switch of the camera
  // stations leaves the attitude alone.
  void resetModelTurnsTheDoorBack()
  {
    TSandbox sandbox;
    TFDoor door;
    door.show();
    door.AngleX->SetValue(10);
    door.AngleY->SetValue(-5);
    door.AngleZ->SetValue(30);
    door.AngleXInput();
    QVERIFY(std::abs(door.AngleAttack->Val()) > 1e-3L);
    Command(door, "ShowIso")->trigger();
    QCOMPARE(double(door.AngleZ->Val()), 30.0);
    Command(door, "ResetModel")->trigger();
    for (TEditF* edit : {door.AngleX, door.AngleY, door.AngleZ})
      QCOMPARE(double(edit->Val()), 0.0);
    // Upright the wing meets the water head on (ravlen-balance evaluate: attack angle 0).
    QCOMPARE(double(door.AngleAttack->Val()), 0.0);
    QCOMPARE(double(door.Model().Attitude().Z), 0.0);
  }

private:
  std::unique_ptr<TMessageCapture> FCapture;
};

QTEST_MAIN(TDoorFTest)
#include "DoorF_test.moc"
