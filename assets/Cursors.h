// The three cursors of the 3D view: their numbers, their image size and their hot spots.
// The hot spot is the pixel of the 32 by 32 image that stands on the mouse position; each
// cursor's SVG drawing names the same point in its opening comment.
#pragma once

// A hot spot in pixels of the cursor image, from its top-left corner.
struct TCursorHotSpot {
  int X = 0;
  int Y = 0;
};

// Width and height of every view cursor image, pixels.
inline constexpr int kViewCursorSize = 32;

// Cursor numbers the 3D view asks for while the mouse drags it.
inline constexpr int kOrbitCursor = 1;  // orbiting the camera round its target
inline constexpr int kRollCursor = 2;   // rolling the view in the screen plane
inline constexpr int kZoomCursor = 3;   // moving the camera to and from its target

// Hot spots: the centre of the orbit globe, of the roll arrows, and of the zoom lens.
inline constexpr TCursorHotSpot kOrbitHotSpot{16, 16};
inline constexpr TCursorHotSpot kRollHotSpot{16, 16};
inline constexpr TCursorHotSpot kZoomHotSpot{13, 13};
