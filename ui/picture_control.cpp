#include "picture_control.h"

#include <QMouseEvent>

namespace marventa {

void PictureControl::mousePressEvent(QMouseEvent* event) {
    click_.press(*event);
    event->accept();
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event) {
    if (const std::optional<QPoint> at = click_.release(*event, rect())) {
        emit clicked(*at);
    }
    event->accept();
}

}  // namespace marventa
