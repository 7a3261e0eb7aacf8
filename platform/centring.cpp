#include "platform/centring.h"

#include <QGuiApplication>
#include <QScreen>

namespace zephyra {

QPoint centredIn(const QRect& area, const QSize& outerSize)
{
    // Halved toward zero, as integer division in C++ does.
    return {area.left() + (area.width() - outerSize.width()) / 2,
            area.top() + (area.height() - outerSize.height()) / 2};
}

QPoint centredOnPrimaryScreen(const QSize& outerSize)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    return centredIn(area, outerSize);
}

}  // namespace zephyra
