// view_screens FOLDER: starts the main window with its real 3D view (under a display
// with OpenGL, such as xvfb-run -a), and saves it as PNG files in FOLDER at start-up and
// after area, bracket, ballast, transparency and grid commands, each with the read-outs,
// so that the door, its markers, lines and arrows can be looked at. It is no test.
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest/QTest>

#include "app/CommandTable.h"
#include "app/DoorF.h"
#include "assets/Meshes.h"
#include "controls/EditF.h"
#include "engine/Projection.h"
#include "view/GLDoorView.h"

int main(int argc, char** argv)
{
  const QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  qputenv("RAVLEN_LINK_BLOCK", "/ravlen-view-screens");
  QApplication application(argc, argv);
  if (argc < 2) {
    QTextStream(stderr) << "usage: view_screens FOLDER\n";
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(folder.path());
  QDir::setCurrent(settings.path());
  if (!TSceneViewer::Supported()) {
    QTextStream(stderr) << "view_screens: this display has no OpenGL\n";
    return 1;
  }

  TFDoor door;
  TDoorCollaborators collaborators;
  const auto view = std::make_shared<TGLDoorView>(MeshResource);
  collaborators.View = view;
  door.SetCollaborators(collaborators);
  door.show();
  if (!QTest::qWaitForWindowExposed(&door))
    return 1;
  QTextStream out(stdout);
  const auto shoot = [&](const QString& name) {
    QTest::qWait(200);
    const QString file = folder.filePath(name + QStringLiteral(".png"));
    // A grab of the window leaves out what is painted over the 3D scene (the guide
    // circle of a drag): the viewer's own frame goes on top.
    QPixmap shot = door.grab();
    {
      QPainter painter(&shot);
      painter.drawImage(QRect(view->Viewer().mapTo(&door, QPoint(0, 0)), view->Viewer().size()),
                        view->Viewer().grabFramebuffer());
    }
    shot.save(file);
    out << file << "  attack " << door.AngleAttack->text() << "  forces " << door.ResResistance->text() << " "
        << door.ResSpreading->text() << " " << door.ResVertical->text() << "  moments " << door.MomX->text() << " "
        << door.MomY->text() << " " << door.MomZ->text() << "\n";
  };
  const auto run = [&](const char* command) { door.Commands().Execute(QString::fromLatin1(command)); };
  // A command of a radio group is checked first, as the menu does.
  const auto choose = [&](const char* command) {
    TCommandTable::SetChecked(door.Commands().Find(QString::fromLatin1(command)), true);
    run(command);
  };

  shoot(QStringLiteral("1-start"));
  door.AngleX->SetValue(10);
  door.AngleY->SetValue(-5);
  door.AngleZ->SetValue(30);
  door.AngleXInput();
  shoot(QStringLiteral("2-turned"));
  run("BalanceAct");
  shoot(QStringLiteral("3-balanced"));
  choose("Area_045");
  shoot(QStringLiteral("4-area-4.5"));
  choose("Area_144");
  shoot(QStringLiteral("5-area-14.4"));
  choose("Area_104");
  choose("BracketLarge");
  shoot(QStringLiteral("6-bracket-large"));
  choose("BracketSmall");
  choose("Ballast6");
  shoot(QStringLiteral("7-bracket-small-ballast-6"));
  run("Transparent");
  shoot(QStringLiteral("8-transparent"));
  run("Transparent");
  run("ShowGridXY");
  run("ShowGridXZ");
  shoot(QStringLiteral("9-grids"));
  run("ShowPerspective");
  shoot(QStringLiteral("10-orthogonal"));
  run("ShowGridXY");
  run("ShowGridXZ");
  // Two stations of the camera, turned and balanced, to see the door in the round.
  door.AngleX->SetValue(10);
  door.AngleY->SetValue(-5);
  door.AngleZ->SetValue(30);
  door.AngleXInput();
  run("ShowIso");
  shoot(QStringLiteral("11-iso-turned"));
  run("ShowBracket");
  shoot(QStringLiteral("12-bracket-station"));
  // Close up, from the side: the towing holes face the eye, their markers in them.
  run("ResetModel");
  door.View().SetCameraStation({{0, -10, 0}, {1, 0, 0}, {0, 0, 1}});
  door.View().SetFocalLength(800);
  shoot(QStringLiteral("13-bracket-close-up"));
  door.View().SetCameraStation({{0, -10, 1.5f}, {1, 0, 0}, {0, 0, 1}});
  door.View().SetFocalLength(100);
  run("HideHull");
  shoot(QStringLiteral("14-hull-hidden"));
  run("HideHull");

  // The stations of the view commands, upright.
  run("ResetModel");
  for (const char* station : {"ShowPlan", "ShowFront", "ShowSide", "ShowBack", "ShowBracket", "ShowIso"}) {
    run(station);
    shoot(QStringLiteral("15-station-") + QString::fromLatin1(station + 4).toLower());
  }
  // A drag of each kind from the side station in perspective, and the pointer over a
  // marker with its name in the status bar.
  QWidget* viewer = door.GLSceneViewer1;
  Qt::MouseButtons held;
  const auto mouse = [&](QEvent::Type type, Qt::MouseButton button, QPoint p) {
    if (type == QEvent::MouseButtonPress)
      held |= button;
    if (type == QEvent::MouseButtonRelease)
      held &= ~Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(p), QPointF(viewer->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(viewer, &event);
  };
  const QPoint centre(viewer->width() / 2, viewer->height() / 2);
  run("ShowBracket");
  run("ShowSide");
  mouse(QEvent::MouseButtonPress, Qt::LeftButton, centre + QPoint(120, 0));
  mouse(QEvent::MouseMove, Qt::NoButton, centre + QPoint(60, -30));
  shoot(QStringLiteral("16-orbit-30-up-60-left"));
  mouse(QEvent::MouseButtonRelease, Qt::LeftButton, centre + QPoint(60, -30));
  run("ShowSide");
  mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 10));
  mouse(QEvent::MouseMove, Qt::NoButton, QPoint(10, viewer->height() / 2));
  shoot(QStringLiteral("17-roll"));
  mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(10, viewer->height() / 2));
  run("ShowSide");
  mouse(QEvent::MouseButtonPress, Qt::RightButton, centre + QPoint(0, 100));
  mouse(QEvent::MouseMove, Qt::NoButton, centre + QPoint(0, 100 - viewer->height() / 2));
  shoot(QStringLiteral("18-zoom-half-distance"));
  mouse(QEvent::MouseButtonRelease, Qt::RightButton, centre + QPoint(0, 100 - viewer->height() / 2));
  run("ShowSide");
  run("HideHull");
  run("HideBracket");
  const TCube& marker = view->DoorScene().UpperHoleCube(11);
  const QPointF at = ProjectToView(view->DoorScene().Camera(), marker.Position(), viewer->size());
  mouse(QEvent::MouseMove, Qt::NoButton, at.toPoint());
  shoot(QStringLiteral("19-hover-upper-hole-3-2"));
  mouse(QEvent::MouseButtonPress, Qt::LeftButton, at.toPoint());
  mouse(QEvent::MouseButtonRelease, Qt::LeftButton, at.toPoint());
  mouse(QEvent::MouseMove, Qt::NoButton, QPoint(5, 5));
  shoot(QStringLiteral("20-upper-hole-3-2-chosen"));
  door.close();
  door.FinishRun();
  return 0;
}
