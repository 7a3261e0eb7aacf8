#pragma once
// Where the pointer is, without waiting on the window system.

#include <QPoint>

namespace zephyra {

// The pointer's position in screen coordinates, read without waiting for the
// window system: over the program's own windows it is the one their last
// mouse event gave; elsewhere (another program's window, another monitor) it
// is asked for without waiting, and the answer serves a later call.
QPoint pointerScreenPos();
// Starts following the pointer through the program's mouse events.
void followPointer();
// Asks the window system where the pointer is and waits for the answer: for
// a window about to be shown, before any event has said. Never on a tick.
void takePointerPos();
// Moves the pointer to this screen position (within the program's own
// windows), and counts it there at once, before the window system says so.
void putPointer(QPoint global);

}  // namespace zephyra
