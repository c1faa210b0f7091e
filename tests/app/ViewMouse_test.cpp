// The mouse over the main window's 3D view, under a display with OpenGL: orbit, roll and
// zoom by dragging, the hover highlight with the marker's name in the status bar, and
// choosing holes and pairs by clicking their markers, checked against ravlen-balance.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <memory>

#include "LinkTestSupport.h"
#include "app/CommandTable.h"
#include "app/DoorF.h"
#include "assets/Assets.h"
#include "assets/Meshes.h"
#include "controls/EditF.h"
#include "engine/Projection.h"
#include "view/GLDoorView.h"

namespace {

using K = TViewPick::TKind;

bool Near(const QVector3D& a, const QVector3D& b, float tol = 1e-4f) { return (a - b).length() < tol; }

// The main window with its real view, in a settings store and working folder of its own,
// and a mouse that remembers which buttons it holds.
class TWindow {
public:
  TWindow() : FOldDir(QDir::currentPath())
  {
    QDir::setCurrent(FDir.path());
    qputenv("XDG_CONFIG_HOME", FDir.filePath(QStringLiteral("config")).toLocal8Bit());
    TDoorCollaborators collaborators;
    collaborators.View = View;
    Door = std::make_unique<TFDoor>();
    Door->SetCollaborators(collaborators);
    Door->show();
    Shown = QTest::qWaitForWindowExposed(Door.get());
    WaitForFrame();
  }
  ~TWindow()
  {
    Door->close();
    Door.reset();
    QDir::setCurrent(FOldDir);
  }
  QWidget* Viewer() const { return Door->GLSceneViewer1; }
  int W() const { return Viewer()->width(); }
  int H() const { return Viewer()->height(); }
  TCamera& Camera() const { return View->DoorScene().Camera(); }
  void Run(const char* command) { Door->Commands().Find(QString::fromLatin1(command))->trigger(); }
  void WaitForFrame() const
  {
    TSceneViewer& viewer = View->Viewer();
    const std::int64_t frames = viewer.FrameCount();
    viewer.RequestRepaint();
    for (int i = 0; i < 400 && viewer.FrameCount() == frames; ++i)
      QTest::qWait(5);
  }

  void Press(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers keys = Qt::NoModifier)
  {
    FButtons |= button;
    Send(QEvent::MouseButtonPress, button, p, keys);
  }
  void Move(QPoint p, Qt::KeyboardModifiers keys = Qt::NoModifier) { Send(QEvent::MouseMove, Qt::NoButton, p, keys); }
  void Release(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers keys = Qt::NoModifier)
  {
    FButtons &= ~Qt::MouseButtons(button);
    Send(QEvent::MouseButtonRelease, button, p, keys);
  }
  // The buttons come up where the view does not see it.
  void LoseRelease() { FButtons = Qt::NoButton; }
  void Wheel(int angleDelta)
  {
    const QPointF p(W() / 2.0, H() / 2.0);
    QWheelEvent event(p, Viewer()->mapToGlobal(p), QPoint(), QPoint(0, angleDelta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Viewer(), &event);
  }

  // A pixel of the view where the pick finds that marker, near the middle of its cube.
  QPoint PixelOf(const TViewPick& marker) const
  {
    const TCube* cube = View->DoorScene().CubeOf(marker);
    if (!cube)
      return {-1, -1};
    const QPointF centre = ProjectToView(Camera(), cube->Position(), Viewer()->size());
    for (int r = 0; r <= 8; ++r)
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          const QPoint p(static_cast<int>(centre.x()) + dx, static_cast<int>(centre.y()) + dy);
          if (View->Pick(p.x(), p.y()) == marker)
            return p;
        }
    return {-1, -1};
  }
  TColor Emission(const TViewPick& marker) const { return View->DoorScene().CubeOf(marker)->Material().Front.Emission; }

  std::shared_ptr<TGLDoorView> View = std::make_shared<TGLDoorView>(MeshResource);
  std::unique_ptr<TFDoor> Door;
  bool Shown = false;

private:
  void Send(QEvent::Type type, Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers keys)
  {
    QMouseEvent event(type, QPointF(p), QPointF(Viewer()->mapToGlobal(p)), button, FButtons, keys);
    QApplication::sendEvent(Viewer(), &event);
  }

  QTemporaryDir FDir;
  QString FOldDir;
  Qt::MouseButtons FButtons;
};

const TColor kWhite(1, 1, 1, 1), kBlack(0, 0, 0, 1);

TViewPick Marker(TMarkerGroup group, int index) { return {K::Cube, group, index}; }

// The window's read-outs are those of ravlen-balance evaluating the start-up door at its
// start-up attitude with the rigging of args.
void ExpectReadoutsOf(TFDoor& door, const QStringList& args)
{
  const TRun run = BalanceTool(QStringList{QStringLiteral("evaluate")} + args);
  QCOMPARE(run.Status, 0);
  const std::array<double, 3> moment = Vector(run.Out, "moment_Nm");
  const std::array<double, 3> force = Vector(run.Out, "force_N");
  const TEditF* moments[] = {door.MomX, door.MomY, door.MomZ};
  for (int i = 0; i < 3; ++i)
    QVERIFY2(std::abs(double(moments[i]->Val()) - moment[i]) <= 1e-9 * std::abs(moment[i]) + 1e-9,
             qPrintable(QStringLiteral("moment %1: %2 against %3").arg(i).arg(double(moments[i]->Val())).arg(moment[i])));
  // The forces read out: resistance X, spreading Y, vertical Z.
  const double shown[] = {double(door.ResResistance->Val()), double(door.ResSpreading->Val()),
                          double(door.ResVertical->Val())};
  for (int i = 0; i < 3; ++i)
    QVERIFY2(std::abs(shown[i] - force[i]) <= 1e-9 * std::abs(force[i]) + 1e-9,
             qPrintable(QStringLiteral("force %1: %2 against %3").arg(i).arg(shown[i]).arg(force[i])));
}

}  // namespace

class TViewMouseTest : public QObject {
  Q_OBJECT

private slots:
  // Down within 200 pixels of the centre: the whole drag orbits, also once it has left the
  // circle; the eye keeps its distance and the up vector stays.
  void dragFromTheCentreOrbitsToTheEnd()
  {
    TWindow w;
    QVERIFY(w.Shown);
    w.Run("ShowSide");
    const QPoint start(w.W() / 2 + 150, w.H() / 2);
    QVERIFY(w.View->Pick(start.x(), start.y()).Kind != K::Cube);
    w.Press(Qt::LeftButton, start);
    QCOMPARE(w.Door->PickedCube(), TViewPick{});
    // Up by 30 pixels: the eye rises 30 degrees over the door, from (0, -10, 0).
    w.Move(start - QPoint(0, 30));
    QVERIFY2(Near(w.Camera().Position(), QVector3D(0, -10 * std::cos(kPi / 6), 10 * std::sin(kPi / 6))),
             qPrintable(QStringLiteral("%1 %2 %3").arg(w.Camera().Position().x()).arg(w.Camera().Position().y()).arg(w.Camera().Position().z())));
    QCOMPARE(w.Viewer()->cursor().pixmap().toImage(), ViewCursor(1).pixmap().toImage());
    // Out of the circle, 90 pixels to the right: a quarter turn about up, still at the
    // same height.
    const QPoint out = start + QPoint(90, -30);
    QVERIFY(std::hypot(out.x() - w.W() / 2.0, out.y() - w.H() / 2.0) > 200);
    w.Move(out);
    const QVector3D p = w.Camera().Position();
    QVERIFY(std::abs(p.z() - 10 * std::sin(kPi / 6)) < 1e-3f);
    QVERIFY(std::abs(std::hypot(p.x(), p.y()) - 10 * std::cos(kPi / 6)) < 1e-3f);
    QVERIFY(std::abs(p.y()) < 1e-3f);  // turned a quarter, from -Y to X or -X
    QVERIFY(Near(w.Camera().Up(), QVector3D(0, 0, 1)));
    w.Release(Qt::LeftButton, out);
    QCOMPARE(w.Viewer()->cursor().shape(), Qt::ArrowCursor);
  }

  // Down outside the circle: the whole drag rolls, also once it is inside. The first move
  // at the grab spot keeps up (0, 0, 1) from the side and the front stations.
  void dragFromOutsideRollsToTheEnd_data()
  {
    QTest::addColumn<QString>("station");
    QTest::addColumn<int>("kind");
    QTest::newRow("side") << "ShowSide" << 1;
    QTest::newRow("front") << "ShowFront" << 2;
    QTest::newRow("plan") << "ShowPlan" << 0;
  }
  void dragFromOutsideRollsToTheEnd()
  {
    QFETCH(QString, station);
    QFETCH(int, kind);
    TWindow w;
    QVERIFY(w.Shown);
    w.Run(station.toLatin1().constData());
    const QVector3D position = w.Camera().Position();
    const QVector3D up0 = w.Camera().Up();
    const QPoint start(10, 10);
    w.Press(Qt::LeftButton, start);
    w.Move(start);
    QVERIFY(Near(w.Camera().Up(), up0));
    QCOMPARE(w.Viewer()->cursor().pixmap().toImage(), ViewCursor(2).pixmap().toImage());
    // Across to the bottom left corner, then into the circle: the up vector turns by the
    // angle the pointer swept about the centre, the eye stays where it is.
    const double cx = w.W() / 2.0, cy = w.H() / 2.0;
    const double grab = std::atan2(cy - 10, 10 - cx);
    for (const QPoint to : {QPoint(10, w.H() - 10), QPoint(w.W() / 2 + 20, w.H() / 2 + 30)}) {
      w.Move(to);
      double swept = grab - std::atan2(cy - to.y(), to.x() - cx);
      // Up starts at (0, 0, 1) from side and front, (0, 1, 0) from plan: t = a + swept + pi/2
      // with a = 0 (side and front), a = pi/2 (plan) and no quarter for plan.
      const double t = kind == 0 ? kPi / 2 + swept : swept + kPi / 2;
      const QVector3D expected = kind == 0   ? QVector3D(std::cos(t), std::sin(t), 0)
                                 : kind == 1 ? QVector3D(std::cos(t), 0, std::sin(t))
                                             : QVector3D(0, -std::cos(t), std::sin(t));
      QVERIFY2(Near(w.Camera().Up(), expected, 1e-3f),
               qPrintable(QStringLiteral("up %1 %2 %3").arg(w.Camera().Up().x()).arg(w.Camera().Up().y()).arg(w.Camera().Up().z())));
      QVERIFY(Near(w.Camera().Position(), position));
    }
    w.Release(Qt::LeftButton, QPoint(w.W() / 2 + 20, w.H() / 2 + 30));
  }

  // Left with a key, or with the right button, over a marker grabs nothing: the drag only
  // draws the guide circle, and the release chooses nothing.
  void leftWithAnotherButtonOrKeyGrabsNothing()
  {
    TWindow w;
    QVERIFY(w.Shown);
    w.Run("HideHull");
    w.Run("HideBracket");
    w.WaitForFrame();
    const TViewPick marker = Marker(TMarkerGroup::UpperHole, 11);
    const QPoint p = w.PixelOf(marker);
    QVERIFY(p.x() >= 0);
    const QVector3D position = w.Camera().Position();
    const QImage before = w.View->Viewer().grabFramebuffer();
    const int cx = w.W() / 2, cy = w.H() / 2;
    // The guide circle: pixels on the ring of radius 200 that turn dark.
    const auto darkOnRing = [&](const QImage& frame) {
      int count = 0;
      for (int a = 0; a < 360; ++a) {
        const int x = cx + static_cast<int>(std::lround(200 * std::cos(a * kPi / 180)));
        const int y = cy + static_cast<int>(std::lround(200 * std::sin(a * kPi / 180)));
        bool dark = false;
        for (int d = -1; d <= 1 && !dark; ++d)
          for (int e = -1; e <= 1 && !dark; ++e)
            dark = qGray(frame.pixel(x + d, y + e)) < 80 && qGray(before.pixel(x + d, y + e)) >= 80;
        count += dark;
      }
      return count;
    };
    for (const Qt::KeyboardModifier key : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
      w.Press(Qt::LeftButton, p, key);
      QCOMPARE(w.Door->PickedCube(), TViewPick{});
      w.Move(p + QPoint(40, -40), key);
      w.WaitForFrame();
      QVERIFY(Near(w.Camera().Position(), position));
      QVERIFY(darkOnRing(w.View->Viewer().grabFramebuffer()) > 300);
      w.Release(Qt::LeftButton, p + QPoint(40, -40), key);
      w.WaitForFrame();
      QVERIFY(darkOnRing(w.View->Viewer().grabFramebuffer()) < 20);  // gone with the button
      QCOMPARE(w.Door->Model().UpperHoleIndex(), 0);
    }
    // The right button first, then the left over the marker.
    w.Press(Qt::RightButton, p);
    w.Press(Qt::LeftButton, p);
    QCOMPARE(w.Door->PickedCube(), TViewPick{});
    w.Release(Qt::LeftButton, p);
    w.Release(Qt::RightButton, p);
    QCOMPARE(w.Door->Model().UpperHoleIndex(), 0);
  }

  // A release the view never saw (a window opened mid-drag) ends the drag at the next
  // move: arrow cursor, no circle, the view no longer turns, and a grabbed marker is let
  // go unchosen.
  void lostReleaseEndsTheDrag()
  {
    TWindow w;
    QVERIFY(w.Shown);
    w.Run("HideHull");
    w.Run("HideBracket");
    w.WaitForFrame();
    const QPoint start(w.W() / 2 + 150, w.H() / 2);
    w.Press(Qt::LeftButton, start);
    w.Move(start - QPoint(0, 10));
    w.LoseRelease();
    const QVector3D position = w.Camera().Position();
    w.Move(start - QPoint(0, 40));
    QVERIFY(Near(w.Camera().Position(), position));
    QCOMPARE(w.Viewer()->cursor().shape(), Qt::ArrowCursor);
    w.WaitForFrame();
    const QImage frame = w.View->Viewer().grabFramebuffer();
    QVERIFY(qGray(frame.pixel(w.W() / 2, w.H() / 2 + 200)) > 200);  // on the ring: cream

    const TViewPick upper32 = Marker(TMarkerGroup::UpperHole, 11);
    const QPoint p = w.PixelOf(upper32);
    QVERIFY(p.x() >= 0);
    w.Press(Qt::LeftButton, p);
    QCOMPARE(w.Door->PickedCube(), upper32);
    w.LoseRelease();
    w.Move(QPoint(5, 5));
    QCOMPARE(w.Door->PickedCube(), TViewPick{});
    QCOMPARE(w.Emission(upper32), kBlack);
    QCOMPARE(w.Door->Model().UpperHoleIndex(), 0);
  }

  // A click on a marker chooses it, wherever the button comes up; the view does not move
  // meanwhile. Pair 2's lower marker chooses pair 2, held by its upper point. The read-outs
  // are those of ravlen-balance with the same rigging.
  void clickingMarkersChoosesTheRigging()
  {
    TWindow w;
    QVERIFY(w.Shown);
    w.Run("HideHull");
    w.Run("HideBracket");
    // The start-up steps the door once; upright it stands as ravlen-balance takes it.
    w.Run("ResetModel");
    w.WaitForFrame();
    ExpectReadoutsOf(*w.Door, {});
    const QVector3D position = w.Camera().Position();

    const TViewPick upper32 = Marker(TMarkerGroup::UpperHole, 5 * 2 + 1);  // CubeRU_3_2
    const QPoint p = w.PixelOf(upper32);
    QVERIFY(p.x() >= 0);
    w.Press(Qt::LeftButton, p);
    QCOMPARE(w.Door->PickedCube(), upper32);
    QCOMPARE(w.Emission(upper32), kWhite);
    w.Move(QPoint(15, 15));  // a grabbed marker holds the view still
    QVERIFY(Near(w.Camera().Position(), position));
    QCOMPARE(w.Door->Model().UpperHoleIndex(), 0);  // nothing chosen before the release
    w.Release(Qt::LeftButton, QPoint(15, 15));
    QCOMPARE(w.Emission(upper32), kBlack);
    QCOMPARE(w.Door->Model().UpperHoleIndex(), 11);
    QCOMPARE(w.Door->Model().LowerHoleIndex(), 0);
    ExpectReadoutsOf(*w.Door, {QStringLiteral("--upper-hole"), QStringLiteral("3,2")});

    const TViewPick pairLower2 = Marker(TMarkerGroup::BracketPair, 3);  // CubeBrD2
    const QPoint q = w.PixelOf(pairLower2);
    QVERIFY(q.x() >= 0);
    w.Press(Qt::LeftButton, q);
    w.Release(Qt::LeftButton, q);
    QCOMPARE(w.Door->Model().Pair(), TBracketPair::Pair2);
    ExpectReadoutsOf(*w.Door, {QStringLiteral("--upper-hole"), QStringLiteral("3,2"), QStringLiteral("--pair"),
                               QStringLiteral("2")});

    const TViewPick lower23 = Marker(TMarkerGroup::LowerHole, 5 * 1 + 2);  // row 2, hole 3
    const TViewPick towF1u = Marker(TMarkerGroup::TowHole, 1);
    for (const TViewPick& m : {lower23, towF1u}) {
      const QPoint r = w.PixelOf(m);
      QVERIFY(r.x() >= 0);
      w.Press(Qt::LeftButton, r);
      w.Release(Qt::LeftButton, r + QPoint(3, 3));
    }
    QCOMPARE(w.Door->Model().LowerHoleIndex(), 7);
    QCOMPARE(w.Door->Model().TowHole(), TTowHole::F1u);
    ExpectReadoutsOf(*w.Door, {QStringLiteral("--upper-hole"), QStringLiteral("3,2"), QStringLiteral("--pair"),
                               QStringLiteral("2"), QStringLiteral("--lower-hole"), QStringLiteral("2,3"),
                               QStringLiteral("--tow-hole"), QStringLiteral("F1u")});
  }

  // The bracket's centre of gravity lights up under the held button and chooses nothing;
  // the pointer over a marker names it in the status bar and lights it, until it leaves.
  void centresHighlightAndMarkersAreNamed()
  {
    TWindow w;
    QVERIFY(w.Shown);
    w.Run("HideHull");
    w.Run("HideBracket");
    w.WaitForFrame();
    const QString momentBefore = w.Door->MomX->text();
    const TViewPick gravityBracket = Marker(TMarkerGroup::Centre, 1);
    const QPoint g = w.PixelOf(gravityBracket);
    QVERIFY(g.x() >= 0);
    w.Press(Qt::LeftButton, g);
    QCOMPARE(w.Emission(gravityBracket), kWhite);
    QCOMPARE(w.Door->statusBar()->currentMessage(), QStringLiteral("Centre of gravity of the bracket"));
    w.Release(Qt::LeftButton, g);
    QCOMPARE(w.Emission(gravityBracket), kBlack);
    QCOMPARE(w.Door->Model().UpperHoleIndex(), 0);
    QCOMPARE(w.Door->Model().LowerHoleIndex(), 0);
    QCOMPARE(w.Door->Model().Pair(), TBracketPair::Pair1);
    QCOMPARE(w.Door->Model().TowHole(), TTowHole::F0);
    QCOMPARE(w.Door->MomX->text(), momentBefore);

    struct Case {
      TViewPick Marker;
      const char* Caption;
    };
    for (const Case& c : {Case{Marker(TMarkerGroup::UpperHole, 11), "Upper bridle hole: row 3, hole 2"},
                          Case{Marker(TMarkerGroup::LowerHole, 0), "Lower bridle hole: row 1, hole 1"},
                          Case{Marker(TMarkerGroup::BracketPair, 3), "Bracket pair 2"},
                          Case{Marker(TMarkerGroup::TowHole, 1), "Towing hole F1u"}}) {
      const QPoint p = w.PixelOf(c.Marker);
      QVERIFY2(p.x() >= 0, c.Caption);
      w.Move(p);
      QCOMPARE(w.Emission(c.Marker), kWhite);
      QCOMPARE(w.Door->statusBar()->currentMessage(), QString::fromLatin1(c.Caption));
      w.Move(QPoint(5, 5));
      QCOMPARE(w.Emission(c.Marker), kBlack);
      QCOMPARE(w.Door->statusBar()->currentMessage(), QString());
    }
    // After a click the marker under the pointer lights up again at the next move.
    const TViewPick tow = Marker(TMarkerGroup::TowHole, 1);
    const QPoint t = w.PixelOf(tow);
    w.Move(t);
    w.Press(Qt::LeftButton, t);
    w.Release(Qt::LeftButton, t);
    QCOMPARE(w.Emission(tow), kBlack);
    w.Move(t);
    QCOMPARE(w.Emission(tow), kWhite);
    QCOMPARE(w.Door->statusBar()->currentMessage(), QStringLiteral("Towing hole F1u"));

    // Out of the view the marker is no longer under the pointer.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w.Viewer(), &leave);
    QCOMPARE(w.Emission(tow), kBlack);
    QCOMPARE(w.Door->statusBar()->currentMessage(), QString());

    // Over something that is no marker, such as a ballast piece: building the model makes
    // the pieces anew, and the pointer is then over nothing the window knows of.
    w.Run("HideHull");
    w.WaitForFrame();
    const QPoint hull = w.Door->GLSceneViewer1->rect().center() + QPoint(40, 0);
    w.Move(hull);
    QCOMPARE(w.Door->HoverObject().Kind, K::Other);
    QCOMPARE(w.Door->statusBar()->currentMessage(), QString());
    QAction* small = w.Door->Commands().Find(QStringLiteral("BracketSmall"));
    TCommandTable::SetChecked(small, true);  // as the menu checks it
    small->trigger();
    QCOMPARE(w.Door->HoverObject(), TViewPick{});
  }

  // The right button zooms: in perspective the eye's distance shrinks by dy / H in one
  // step (up by H/2 halves it), in orthogonal projection the focal length grows by dy.
  // A wheel notch forward is a tenth of the height upward.
  void rightDragAndWheelZoom()
  {
    TWindow w;
    QVERIFY(w.Shown);
    w.Run("ShowSide");
    QVERIFY(w.Door->Command(TDoorCommand::ShowPerspective)->isChecked());
    QCOMPARE(w.Camera().DistanceToTarget(), 10.f);
    const int h = w.H();
    const QPoint start(w.W() / 2, h - 5);
    w.Press(Qt::RightButton, start);
    w.Move(start - QPoint(0, h / 2));
    QVERIFY(std::abs(w.Camera().DistanceToTarget() - 10 * (1 - double(h / 2) / h)) < 1e-4);
    if (h % 2 == 0)
      QVERIFY(std::abs(w.Camera().DistanceToTarget() - 5) < 1e-4);
    QCOMPARE(w.Viewer()->cursor().pixmap().toImage(), ViewCursor(3).pixmap().toImage());
    QVERIFY(Near(w.Camera().Position().normalized(), QVector3D(0, -1, 0)));  // along the same line
    w.Release(Qt::RightButton, start - QPoint(0, h / 2));
    const float d = w.Camera().DistanceToTarget();
    w.Wheel(120);
    QVERIFY(std::abs(w.Camera().DistanceToTarget() - 0.9 * d) < 1e-4);
    w.Wheel(-120);
    QVERIFY(std::abs(w.Camera().DistanceToTarget() - d) < 1e-4);

    w.Run("ShowPerspective");  // orthogonal, focal length 10
    QCOMPARE(w.Camera().FocalLength(), 10.f);
    w.Press(Qt::RightButton, start);
    w.Move(start - QPoint(0, 15));
    QCOMPARE(w.Camera().FocalLength(), 25.f);
    w.Move(start - QPoint(0, 5));
    QCOMPARE(w.Camera().FocalLength(), 15.f);
    w.Release(Qt::RightButton, start - QPoint(0, 5));
    w.Wheel(120);
    QVERIFY(std::abs(w.Camera().FocalLength() - 15 / 0.9) < 1e-4);
  }

  // The view answers while a balance run or the animation keeps the window live: a drag
  // that arrives mid-run orbits the camera before the run ends.
  void viewWorksDuringBalanceRunsAndTheAnimation()
  {
    TWindow w;
    QVERIFY(w.Shown);
    w.Run("ShowSide");
    const QPoint start(w.W() / 2 + 150, w.H() / 2);
    QVector3D duringRun;
    w.Door->SetBalanceListener([&](const TSolveResult&) { duringRun = w.Camera().Position(); });
    QTimer::singleShot(0, w.Door.get(), [&] {
      w.Press(Qt::LeftButton, start);
      w.Move(start - QPoint(0, 30));
      w.Release(Qt::LeftButton, start - QPoint(0, 30));
    });
    // Started from a turned attitude, the run takes many rounds of 100 iterations.
    w.Door->AngleZ->SetValue(40);
    w.Door->AngleXInput();
    w.Run("BalanceAct");
    QVERIFY(Near(duringRun, QVector3D(0, -10 * std::cos(kPi / 6), 10 * std::sin(kPi / 6))));

    // Likewise while the door is animated: the animation runs until it is switched off,
    // and the drag and the switch both come in while it runs.
    w.Run("ShowSide");
    QAction* animate = w.Door->Command(TDoorCommand::Animate);
    QTimer::singleShot(0, w.Door.get(), [&] {
      w.Press(Qt::LeftButton, start);
      w.Move(start - QPoint(0, 30));
      w.Release(Qt::LeftButton, start - QPoint(0, 30));
      duringRun = w.Camera().Position();
    });
    QTimer::singleShot(200, w.Door.get(), [animate] { TCommandTable::SetChecked(animate, false); });
    duringRun = {};
    w.Door->AngleZ->SetValue(40);
    w.Door->AngleXInput();
    w.Run("Animate");
    QVERIFY(Near(duringRun, QVector3D(0, -10 * std::cos(kPi / 6), 10 * std::sin(kPi / 6))));
  }
};

QTEST_MAIN(TViewMouseTest)
#include "ViewMouse_test.moc"
