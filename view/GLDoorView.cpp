// The 3D view's viewer, camera and picking.
#include "GLDoorView.h"

#include <QPainter>

namespace {

// The guide circle of a drag: radius 200 pixels about the view's centre.
constexpr int kGuideRadius = 200;

QVector3D ToQ(const TxyzSingle& v) { return {v.X, v.Y, v.Z}; }
TxyzSingle FromQ(const QVector3D& v) { return {v.x(), v.y(), v.z()}; }

}  // namespace

TGLDoorView::TGLDoorView(TDoorScene::TMeshSource meshes)
    : FScene(std::make_unique<TDoorScene>(std::move(meshes))), FViewer(new TSceneViewer(FScene->Scene()))
{
  FViewer->setObjectName(QStringLiteral("GLSceneViewer1"));
  FViewer->SetBackgroundColor(QColor(255, 251, 240));  // cream
  // The two lights stand high behind and before the door; the faces they reach at a
  // slant would be near black without more light from all round.
  FViewer->SetAmbientLight(QColor::fromRgbF(0.45f, 0.45f, 0.45f));
  FViewer->SetCamera(&FScene->Camera());
  FViewer->SetOverlay([this](QPainter& painter) {
    if (!FGuideCircle)
      return;
    // The default pen, no fill; div truncates toward zero.
    const int cx = FViewer->width() / 2, cy = FViewer->height() / 2;
    painter.drawEllipse(QRect(cx - kGuideRadius, cy - kGuideRadius, 2 * kGuideRadius, 2 * kGuideRadius));
  });
}

TGLDoorView::~TGLDoorView() { delete FViewer; }  // before the scene it draws; none if its window took it

QWidget* TGLDoorView::Widget() { return FViewer; }

TCameraStation TGLDoorView::CameraStation() const
{
  const TCamera& camera = FScene->Camera();
  return {FromQ(camera.Position()), FromQ(camera.Direction()), FromQ(camera.Up())};
}

void TGLDoorView::SetCameraStation(const TCameraStation& station)
{
  TCamera& camera = FScene->Camera();
  camera.SetPosition(ToQ(station.Position));
  // The camera aims at its target whatever its direction says, so the up vector is kept
  // as given (a roll turns it in any plane) and the direction is squared to it instead.
  camera.SetDirection(ToQ(station.Direction));
  camera.SetUp(ToQ(station.Up));
}

void TGLDoorView::OrbitCamera(Real pitchDegrees, Real turnDegrees)
{
  FScene->Camera().MoveAroundTarget(static_cast<float>(pitchDegrees), static_cast<float>(turnDegrees));
}

void TGLDoorView::ScaleCameraDistance(Real ratio) { FScene->Camera().AdjustDistanceToTarget(static_cast<float>(ratio)); }

bool TGLDoorView::Perspective() const { return FScene->Camera().Style() == TCameraStyle::Perspective; }

Real TGLDoorView::FocalLength() const { return FScene->Camera().FocalLength(); }

void TGLDoorView::SetFocalLength(Real focalLength) { FScene->Camera().SetFocalLength(static_cast<float>(focalLength)); }

TViewPick TGLDoorView::Pick(int x, int y) { return FScene->Identify(FViewer ? FViewer->Pick(x, y) : nullptr); }

void TGLDoorView::SetHighlight(const TViewPick& cube, bool on)
{
  if (TCube* found = FScene->CubeOf(cube))
    found->SetEmission(on ? TColor(1, 1, 1, 1) : TColor(0, 0, 0, 1));
}

void TGLDoorView::SetGuideCircle(bool shown)
{
  FGuideCircle = shown;
  if (FViewer)
    FViewer->RequestRepaint();
}
