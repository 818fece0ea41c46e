#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace marventa {

// Top-left corner that centres a window of the given outer size on the whole virtual desktop:
// (desktop extent - window extent) div 2 on each axis, never left of or above the desktop.
QPoint centredTopLeft(const QRect& virtualDesktop, const QSize& window);

}  // namespace marventa
