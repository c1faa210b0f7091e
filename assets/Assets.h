// The program's embedded pictures: the command icons by their index in the icon list, the
// window icons of the main window and the dialogs, and the three cursors of the 3D view.
// The drawings are SVG files in the resources; each call renders a fresh icon or cursor.
#pragma once

#include <QCursor>
#include <QIcon>

// Number of entries in the command icon list (indices 0 to 22).
inline constexpr int kCommandIconCount = 23;

// The windows that carry an icon of their own.
enum class TWindowIconKind {
  Program,      // the main window and the program: the door emblem
  Environment,  // the environment dialog: water
  WarpBridle,   // the warp and bridle angle dialog
  ValuePrompt,  // the value prompt
  Graph,        // the coefficient graph window
};

// Resource path of the help text, a copy of the "rvn.hlp" file shipped beside the program.
inline constexpr const char* kHelpResource = ":/rvn.hlp";

// Icon number index of the command table (0..22), drawn for 16 to 64 pixels; an empty
// icon for -1 (a command without an icon) and for any index outside the list.
QIcon CommandIcon(int index);
// The icon of a window, drawn for 16 to 256 pixels.
QIcon WindowIcon(TWindowIconKind kind);
// View cursor number 1 (orbit), 2 (roll) or 3 (zoom) with its hot spot (Cursors.h);
// the ordinary arrow for any other number.
QCursor ViewCursor(int number);
