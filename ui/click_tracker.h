#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

class QMouseEvent;

namespace marventa {

// A click as the platform's controls count it: the left button pressed on a widget and
// released over the same widget. The click happens at the release point.
class ClickTracker {
  public:
    void press(const QMouseEvent& event);
    std::optional<QPoint> release(const QMouseEvent& event, const QRect& area);

  private:
    bool pressed_ = false;
};

}  // namespace marventa
