// The viewer: a widget that draws a scene through one camera on a background colour,
// draws again (once per frame, however many changes came) whenever anything of the scene
// changes, hands its mouse events on, lets its owner paint a 2D overlay over the picture,
// and tells which object is drawn under a pixel.
#pragma once

#include <QColor>
#include <QOpenGLWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;
class TCamera;
class TRenderer;
class TScene;
class TSceneObject;

class TSceneViewer : public QOpenGLWidget {
  Q_OBJECT
public:
  // Whether this platform can show the viewer: a display with OpenGL, on a platform that
  // composes OpenGL widgets into windows (offscreen, minimal and VNC do not). Without,
  // make no viewer.
  static bool Supported();
  // The scene must outlive the viewer.
  explicit TSceneViewer(TScene& scene, QWidget* parent = nullptr);
  ~TSceneViewer() override;

  TScene& Scene() const { return FScene; }
  // Nothing is drawn without a camera.
  TCamera* Camera() const { return FCamera; }
  void SetCamera(TCamera* camera);
  QColor BackgroundColor() const { return FBackground; }
  void SetBackgroundColor(const QColor& color);
  // Light falling on every surface from all sides (dark grey at first).
  QColor AmbientLight() const { return FAmbient; }
  void SetAmbientLight(const QColor& color);
  // Painted over every frame, in widget pixels; none to stop.
  void SetOverlay(std::function<void(QPainter&)> overlay);

  // The object drawn nearest the eye within the 3 x 3 pixels around (x, y), widget pixels
  // from the top-left corner; none over the background or before the first frame.
  TSceneObject* Pick(int x, int y);
  // Asks for a new frame; many requests before it is drawn make one frame.
  void RequestRepaint();
  // Frames drawn so far.
  std::int64_t FrameCount() const { return FFrames; }
  // The GL failure that keeps the viewer from drawing, empty while it draws.
  QString Error() const { return FError; }

signals:
  void MouseDown(QMouseEvent* event);
  void MouseMove(QMouseEvent* event);
  void MouseUp(QMouseEvent* event);

protected:
  void initializeGL() override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  void ReleaseGL();

  TScene& FScene;
  TCamera* FCamera = nullptr;
  QColor FBackground = Qt::black;
  QColor FAmbient = QColor::fromRgbF(0.2f, 0.2f, 0.2f);
  std::function<void(QPainter&)> FOverlay;
  std::unique_ptr<TRenderer> FRenderer;
  bool FRepaintPending = false;
  std::int64_t FFrames = 0;
  QString FError;
};
