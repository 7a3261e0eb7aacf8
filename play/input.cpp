#include "play/input.h"

#include "platform/pointer.h"

#include <QKeyEvent>
#include <QWidget>

namespace zephyra {

QPoint waspTarget(const QWidget* field)
{
    // The pointer is mapped into the window, so the wasp sits under it on
    // any monitor, not only on one whose corner is the desktop's.
    return field->mapFromGlobal(pointerScreenPos());
}

int keyCharacter(const QKeyEvent* event)
{
    // By its character, so Ctrl+[, which types Esc too, also leaves.
    return event->key() == Qt::Key_Escape ? kEscChar
           : event->text().isEmpty()      ? 0
                                          : event->text().at(0).unicode();
}

}  // namespace zephyra
