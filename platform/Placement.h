// The window placement record: a window's show state, its minimised and maximised
// positions and its normal rectangle, as a fixed 44-byte little-endian record that the
// settings store keeps as a binary value. Taken from and applied to a top-level QWidget.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

class QWidget;

// Show commands of the record (the platform's numbers).
namespace ShowCommand {
inline constexpr std::int32_t Hide = 0;
inline constexpr std::int32_t ShowNormal = 1;
inline constexpr std::int32_t ShowMinimized = 2;
inline constexpr std::int32_t ShowMaximized = 3;
inline constexpr std::int32_t ShowNoActivate = 4;
inline constexpr std::int32_t Show = 5;
inline constexpr std::int32_t Minimize = 6;
inline constexpr std::int32_t ShowMinNoActive = 7;
inline constexpr std::int32_t ShowNA = 8;
inline constexpr std::int32_t Restore = 9;
inline constexpr std::int32_t ShowDefault = 10;
}  // namespace ShowCommand

// Flags of the record.
namespace PlacementFlag {
inline constexpr std::int32_t SetMinPosition = 1;
inline constexpr std::int32_t RestoreToMaximized = 2;  // a minimised window comes back maximised
}  // namespace PlacementFlag

// The record; eleven 32-bit fields in this order, little-endian when encoded.
struct TWindowPlacement {
  std::int32_t Length = 44;  // bytes of the record
  std::int32_t Flags = 0;    // PlacementFlag bits
  std::int32_t ShowCmd = ShowCommand::ShowNormal;
  std::int32_t MinX = -1, MinY = -1;  // minimised position, pixels; -1 when unset
  std::int32_t MaxX = -1, MaxY = -1;  // maximised position, pixels; -1 when unset
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // normal rectangle, pixels (right and bottom exclusive)

  friend bool operator==(const TWindowPlacement&, const TWindowPlacement&) = default;
};

// Size of an encoded record, bytes.
inline constexpr int kWindowPlacementSize = 44;

// The 44 bytes of a record.
QByteArray EncodePlacement(const TWindowPlacement& placement);
// The record of exactly 44 bytes; empty for any other size.
std::optional<TWindowPlacement> DecodePlacement(const QByteArray& data);

// The placement of a window: its normal geometry (the client area, frame excluded) and
// whether it is minimised or maximised. Empty when there is no window.
std::optional<TWindowPlacement> GetWindowPlacement(const QWidget* window);
// Gives the window the record's normal geometry and applies its show command: hide, show
// normal, minimised or maximised (a minimised record with RestoreToMaximized comes back
// maximised when restored). A rectangle that lies on no screen any more is moved onto the
// primary one; one wider or taller than its screen's free area is cut down to it. Returns
// false, changing nothing, for no window or an empty rectangle.
bool SetWindowPlacement(QWidget* window, const TWindowPlacement& placement);
