#include "placement.h"

#include <algorithm>

namespace marventa {

QPoint centredTopLeft(const QRect& virtualDesktop, const QSize& window) {
    const int left = std::max(0, (virtualDesktop.width() - window.width()) / 2);
    const int top = std::max(0, (virtualDesktop.height() - window.height()) / 2);
    return virtualDesktop.topLeft() + QPoint(left, top);
}

}  // namespace marventa
