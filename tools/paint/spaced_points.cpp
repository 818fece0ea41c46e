#include "tools/paint/spaced_points.h"

#include <algorithm>
#include <cmath>

namespace marventa {

SpacedPoints::SpacedPoints(QSize sheet, double room)
    : room_(room),
      columns_(static_cast<int>(sheet.width() / room) + 1),
      rows_(static_cast<int>(sheet.height() / room) + 1),
      cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {}

std::size_t SpacedPoints::cellOf(int cx, int cy) const {
    return static_cast<std::size_t>(std::clamp(cy, 0, rows_ - 1)) *
               static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(std::clamp(cx, 0, columns_ - 1));
}

bool SpacedPoints::roomAt(QPointF p) const {
    const int cx = static_cast<int>(std::floor(p.x() / room_));
    const int cy = static_cast<int>(std::floor(p.y() / room_));
    for (int y = std::max(cy - 1, 0); y <= std::min(cy + 1, rows_ - 1); ++y) {
        for (int x = std::max(cx - 1, 0); x <= std::min(cx + 1, columns_ - 1); ++x) {
            for (const QPointF& q : cells_[cellOf(x, y)]) {
                if (std::hypot(q.x() - p.x(), q.y() - p.y()) < room_) {
                    return false;
                }
            }
        }
    }
    return true;
}

void SpacedPoints::take(QPointF p) {
    cells_[cellOf(static_cast<int>(std::floor(p.x() / room_)),
                  static_cast<int>(std::floor(p.y() / room_)))]
        .push_back(p);
}

}  // namespace marventa
