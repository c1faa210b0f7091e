// The viewer widget.
#include "SceneViewer.h"

#include <QMouseEvent>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QPainter>

#include <cmath>

#include "Renderer.h"
#include "Scene.h"

namespace {

constexpr int kPickSize = 3;  // pixels on each side of the square searched by Pick

}  // namespace

bool TSceneViewer::Supported()
{
  // The offscreen, minimal and VNC platforms can hand out a GL context through a display
  // they find, yet cannot compose an OpenGL widget into a window: the first flush crashes.
  static const QStringList kWithoutGLWidgets = {QStringLiteral("offscreen"), QStringLiteral("minimal"),
                                                QStringLiteral("vnc")};
  if (kWithoutGLWidgets.contains(QGuiApplication::platformName()))
    return false;
  QOpenGLContext probe;
  return probe.create();
}

TSceneViewer::TSceneViewer(TScene& scene, QWidget* parent)
    : QOpenGLWidget(parent), FScene(scene), FRenderer(std::make_unique<TRenderer>())
{
  setMouseTracking(true);
  FScene.SetChangeHandler([this] { RequestRepaint(); });
  FScene.SetRemoveHandler([this](std::uint64_t id) { FRenderer->Forget(id); });
}

TSceneViewer::~TSceneViewer()
{
  FScene.SetChangeHandler(nullptr);
  FScene.SetRemoveHandler(nullptr);
  ReleaseGL();  // while the context still exists
  // The context goes with the base class, after the renderer: it must not call back.
  if (context())
    disconnect(context(), nullptr, this, nullptr);
}

void TSceneViewer::SetCamera(TCamera* camera)
{
  FCamera = camera;
  RequestRepaint();
}

void TSceneViewer::SetBackgroundColor(const QColor& color)
{
  FBackground = color;
  RequestRepaint();
}

void TSceneViewer::SetAmbientLight(const QColor& color)
{
  FAmbient = color;
  RequestRepaint();
}

void TSceneViewer::SetOverlay(std::function<void(QPainter&)> overlay)
{
  FOverlay = std::move(overlay);
  RequestRepaint();
}

void TSceneViewer::RequestRepaint()
{
  if (FRepaintPending)
    return;
  FRepaintPending = true;
  update();
}

void TSceneViewer::initializeGL()
{
  // A new context (the widget moved to another window) needs its own GPU objects.
  if (FRenderer->Initialized())
    FRenderer->Release();
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &TSceneViewer::ReleaseGL, Qt::UniqueConnection);
  if (!FRenderer->Initialize())
    FError = FRenderer->Error();
}

void TSceneViewer::ReleaseGL()
{
  if (!FRenderer->Initialized())
    return;
  makeCurrent();
  FRenderer->Release();
  doneCurrent();
}

void TSceneViewer::paintGL()
{
  FRepaintPending = false;
  const qreal ratio = devicePixelRatioF();
  const QSize pixels(static_cast<int>(std::lround(width() * ratio)), static_cast<int>(std::lround(height() * ratio)));
  const TColor background(FBackground.redF(), FBackground.greenF(), FBackground.blueF(), 1);
  if (FCamera && FRenderer->Initialized()) {
    FRenderer->Render(FScene, *FCamera, pixels, background, TColor(FAmbient.redF(), FAmbient.greenF(), FAmbient.blueF(), 1));
  } else {
    // No camera, or shaders this context would not take: the background alone.
    glClearColor(background.x(), background.y(), background.z(), 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  ++FFrames;
  if (FOverlay) {
    QPainter painter(this);
    FOverlay(painter);
  }
}

TSceneObject* TSceneViewer::Pick(int x, int y)
{
  if (!FCamera || !FRenderer->Initialized())
    return nullptr;
  const qreal ratio = devicePixelRatioF();
  const QSize pixels(static_cast<int>(std::lround(width() * ratio)), static_cast<int>(std::lround(height() * ratio)));
  makeCurrent();
  TSceneObject* found = FRenderer->Pick(FScene, *FCamera, pixels, static_cast<int>(x * ratio),
                                        static_cast<int>(y * ratio), kPickSize);
  doneCurrent();
  return found;
}

void TSceneViewer::mousePressEvent(QMouseEvent* event) { emit MouseDown(event); }
void TSceneViewer::mouseMoveEvent(QMouseEvent* event) { emit MouseMove(event); }
void TSceneViewer::mouseReleaseEvent(QMouseEvent* event) { emit MouseUp(event); }
