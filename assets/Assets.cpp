// Turns the embedded SVG drawings into icons and cursors. An icon gets one pixmap per size
// that menus, tool bars and window managers ask for, each drawn from the vector original,
// so that no size is a blurred scaling of another and the style can still derive the
// disabled look from them.
#include "assets/Assets.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <array>
#include <span>

#include "assets/Cursors.h"

namespace {

constexpr std::array<const char*, kCommandIconCount> kCommandIconFiles{
    ":/icons/00-balance.svg",          ":/icons/01-show-side.svg",
    ":/icons/02-show-iso.svg",         ":/icons/03-show-front.svg",
    ":/icons/04-show-plan.svg",        ":/icons/05-environment.svg",
    ":/icons/06-show-perspective.svg", ":/icons/07-reset-camera.svg",
    ":/icons/08-reset-model.svg",      ":/icons/09-warp-bridle-angles.svg",
    ":/icons/10-transparent.svg",      ":/icons/11-customize.svg",
    ":/icons/12-show-back.svg",        ":/icons/13-show-bracket.svg",
    ":/icons/14-show-axes.svg",        ":/icons/15-grid-xy.svg",
    ":/icons/16-grid-xz.svg",          ":/icons/17-door.svg",
    ":/icons/18-hide-hull.svg",        ":/icons/19-hide-bracket.svg",
    ":/icons/20-animate.svg",          ":/icons/21-graph.svg",
    ":/icons/22-rigging-advisor.svg",
};

// Menus and tool bars ask for 16 to 32 pixels, twice that on a high-density screen.
constexpr std::array kCommandIconSizes{16, 20, 24, 32, 40, 48, 64};
// Task switchers and docks ask window icons for much larger sizes.
constexpr std::array kWindowIconSizes{16, 20, 24, 32, 48, 64, 128, 256};

QPixmap RenderSquare(QSvgRenderer& renderer, int size)
{
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  return pixmap;
}

QIcon IconFromSvg(const QString& path, std::span<const int> sizes)
{
  QSvgRenderer renderer(path);
  if (!renderer.isValid())
    return {};
  QIcon icon;
  for (const int size : sizes)
    icon.addPixmap(RenderSquare(renderer, size));
  return icon;
}

QCursor CursorFromSvg(const QString& path, TCursorHotSpot hotSpot)
{
  QSvgRenderer renderer(path);
  if (!renderer.isValid())
    return QCursor(Qt::ArrowCursor);
  return QCursor(RenderSquare(renderer, kViewCursorSize), hotSpot.X, hotSpot.Y);
}

}  // namespace

QIcon CommandIcon(int index)
{
  if (index < 0 || index >= kCommandIconCount)
    return {};
  return IconFromSvg(QString::fromLatin1(kCommandIconFiles[static_cast<size_t>(index)]),
                     kCommandIconSizes);
}

QIcon WindowIcon(TWindowIconKind kind)
{
  const char* path = ":/icons/ravlen.svg";
  switch (kind) {
    case TWindowIconKind::Program: path = ":/icons/ravlen.svg"; break;
    case TWindowIconKind::Environment: path = ":/icons/environment.svg"; break;
    case TWindowIconKind::WarpBridle: path = ":/icons/warp-bridle.svg"; break;
    case TWindowIconKind::ValuePrompt: path = ":/icons/value-prompt.svg"; break;
    case TWindowIconKind::Graph: path = ":/icons/graph.svg"; break;
  }
  return IconFromSvg(QString::fromLatin1(path), kWindowIconSizes);
}

QCursor ViewCursor(int number)
{
  switch (number) {
    case kOrbitCursor: return CursorFromSvg(QStringLiteral(":/cursors/orbit.svg"), kOrbitHotSpot);
    case kRollCursor: return CursorFromSvg(QStringLiteral(":/cursors/roll.svg"), kRollHotSpot);
    case kZoomCursor: return CursorFromSvg(QStringLiteral(":/cursors/zoom.svg"), kZoomHotSpot);
    default: return QCursor(Qt::ArrowCursor);
  }
}
