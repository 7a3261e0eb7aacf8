#pragma once
// How a player's hands reach the play field: where the wasp flies and which
// character a key types. The field's tick asks here, so a new way of playing
// (easier aiming, a gamepad, touch) comes in beside the child lock and the
// play clock, not inside the tick.

#include <QPoint>

class QKeyEvent;
class QWidget;

namespace zephyra {

inline constexpr int kEscChar = 27;

// Where the wasp's hotspot goes on the field, in the field's pixels.
QPoint waspTarget(const QWidget* field);
// The character a key press types; 0 for none.
int keyCharacter(const QKeyEvent* event);

}  // namespace zephyra
