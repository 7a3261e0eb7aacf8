#pragma once
// Thin layer over the platform services the game uses: random numbers, the
// pointer's position and placing windows on the screen.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

namespace zephyra {

// One random generator for the whole game, seeded once from the clock.
void seedRandomFromClock();
void seedRandom(quint32 seed);
// Uniform in 0 .. n-1; 0 when n <= 0.
int randomInt(int n);

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

// Centre of the primary screen's geometry for a window of the given outer size.
QPoint centredOnPrimaryScreen(const QSize& outerSize);
QPoint centredIn(const QRect& area, const QSize& outerSize);

}  // namespace zephyra
