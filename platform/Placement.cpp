// The window placement record and its exchange with QWidget geometry and window state.
#include "platform/Placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>

namespace {

constexpr int kFieldCount = kWindowPlacementSize / 4;

std::array<std::int32_t, kFieldCount> Fields(const TWindowPlacement& p)
{
  return {p.Length, p.Flags, p.ShowCmd, p.MinX, p.MinY, p.MaxX, p.MaxY, p.Left, p.Top, p.Right, p.Bottom};
}

// A rectangle that no screen shows any more (a monitor was removed) keeps its size and
// comes back at the top-left corner of the primary screen. One larger than the screen it
// lies on is cut down to that screen's free area: a window of a forged size would ask for
// a backing store nobody can allocate.
QRect OnSomeScreen(const QRect& rect)
{
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.isEmpty())
    return rect;
  QRect placed = rect;
  QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const auto shown = std::find_if(screens.begin(), screens.end(),
                                  [&](const QScreen* screen) { return screen->availableGeometry().intersects(rect); });
  if (shown != screens.end())
    area = (*shown)->availableGeometry();
  else
    placed.moveTopLeft(area.topLeft());
  if (placed.width() > area.width()) {
    placed.setLeft(area.left());
    placed.setWidth(area.width());
  }
  if (placed.height() > area.height()) {
    placed.setTop(area.top());
    placed.setHeight(area.height());
  }
  return placed;
}

}  // namespace

QByteArray EncodePlacement(const TWindowPlacement& placement)
{
  QByteArray data(kWindowPlacementSize, '\0');
  const auto fields = Fields(placement);
  for (int f = 0; f < kFieldCount; ++f) {
    const auto bits = static_cast<std::uint32_t>(fields[f]);
    for (int b = 0; b < 4; ++b)
      data[4 * f + b] = static_cast<char>((bits >> (8 * b)) & 0xFF);
  }
  return data;
}

std::optional<TWindowPlacement> DecodePlacement(const QByteArray& data)
{
  if (data.size() != kWindowPlacementSize)
    return std::nullopt;
  std::array<std::int32_t, kFieldCount> fields{};
  for (int f = 0; f < kFieldCount; ++f) {
    std::uint32_t bits = 0;
    for (int b = 0; b < 4; ++b)
      bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[4 * f + b])) << (8 * b);
    fields[f] = static_cast<std::int32_t>(bits);
  }
  TWindowPlacement p;
  p.Length = fields[0];
  p.Flags = fields[1];
  p.ShowCmd = fields[2];
  p.MinX = fields[3];
  p.MinY = fields[4];
  p.MaxX = fields[5];
  p.MaxY = fields[6];
  p.Left = fields[7];
  p.Top = fields[8];
  p.Right = fields[9];
  p.Bottom = fields[10];
  return p;
}

std::optional<TWindowPlacement> GetWindowPlacement(const QWidget* window)
{
  if (!window)
    return std::nullopt;
  const Qt::WindowStates state = window->windowState();
  // A maximised or minimised window remembers the geometry it is restored to.
  QRect normal = window->geometry();
  if (state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) {
    const QRect remembered = window->normalGeometry();
    if (remembered.isValid())
      normal = remembered;
  }
  TWindowPlacement p;
  p.Length = kWindowPlacementSize;
  if (state & Qt::WindowMinimized) {
    p.ShowCmd = ShowCommand::ShowMinimized;
    if (state & Qt::WindowMaximized)
      p.Flags |= PlacementFlag::RestoreToMaximized;
  } else if (state & Qt::WindowMaximized) {
    p.ShowCmd = ShowCommand::ShowMaximized;
  } else {
    p.ShowCmd = ShowCommand::ShowNormal;
  }
  p.Left = normal.left();
  p.Top = normal.top();
  p.Right = normal.left() + normal.width();
  p.Bottom = normal.top() + normal.height();
  return p;
}

bool SetWindowPlacement(QWidget* window, const TWindowPlacement& placement)
{
  if (!window || placement.Left >= placement.Right || placement.Top >= placement.Bottom)
    return false;
  // Right - Left can exceed the int range only for a forged record.
  const qint64 width = qint64(placement.Right) - placement.Left;
  const qint64 height = qint64(placement.Bottom) - placement.Top;
  if (width > QWIDGETSIZE_MAX || height > QWIDGETSIZE_MAX)
    return false;
  const QRect normal = OnSomeScreen(QRect(placement.Left, placement.Top, int(width), int(height)));

  // The normal geometry is given in the normal state, so that a maximised window keeps
  // it as the geometry it is restored to.
  const Qt::WindowStates kept = window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
  if (window->windowState() != kept)
    window->setWindowState(kept);
  window->setGeometry(normal);

  switch (placement.ShowCmd) {
  case ShowCommand::Hide:
    window->hide();
    break;
  case ShowCommand::ShowMinimized:
  case ShowCommand::Minimize:
  case ShowCommand::ShowMinNoActive:
    window->setWindowState(kept | Qt::WindowMinimized |
                           ((placement.Flags & PlacementFlag::RestoreToMaximized) ? Qt::WindowMaximized : Qt::WindowNoState));
    window->show();
    break;
  case ShowCommand::ShowMaximized:
    window->setWindowState(kept | Qt::WindowMaximized);
    window->show();
    break;
  case ShowCommand::ShowNormal:
  case ShowCommand::ShowNoActivate:
  case ShowCommand::Show:
  case ShowCommand::ShowNA:
  case ShowCommand::Restore:
  case ShowCommand::ShowDefault:
    window->show();
    break;
  default:  // an unknown command changes the geometry only
    break;
  }
  return true;
}
