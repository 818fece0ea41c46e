#include "click_tracker.h"

#include <QMouseEvent>

namespace marventa {

void ClickTracker::press(const QMouseEvent& event) {
    pressed_ = event.button() == Qt::LeftButton;
}

std::optional<QPoint> ClickTracker::release(const QMouseEvent& event, const QRect& area) {
    if (event.button() != Qt::LeftButton || !pressed_) {
        return std::nullopt;
    }
    pressed_ = false;
    const QPoint at = event.position().toPoint();
    if (!area.contains(at)) {
        return std::nullopt;
    }
    return at;
}

}  // namespace marventa
