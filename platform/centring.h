#pragma once
// Placing a window in the middle of a screen.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace zephyra {

// Centre of the primary screen's geometry for a window of the given outer size.
QPoint centredOnPrimaryScreen(const QSize& outerSize);
QPoint centredIn(const QRect& area, const QSize& outerSize);

}  // namespace zephyra
