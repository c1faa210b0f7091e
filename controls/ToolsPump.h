// Keeping a window live during a long computation: the balance run and the animation
// call this between iterations so that repaints, commands and link requests get through.
#pragma once

class QWidget;

// Handles the pending events and returns at once when there are none. Events of every
// window are handled, not only the given one's, so any handler may run inside the caller.
void PumpWindowMessages(QWidget* window);
// Handles the pending events or, when there are none, sleeps until the next one arrives
// and handles it: for a loop that has nothing to do until something changes.
void WaitWindowMessages(QWidget* window);
