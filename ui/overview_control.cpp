#include "overview_control.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

namespace marventa {

OverviewControl::OverviewControl(QWidget* parent) : PictureControl(parent) {
    setFixedHeight(164);
}

void OverviewControl::showBitmap(const OverviewBitmap& bitmap) {
    bitmap_ = &bitmap;
    update();
}

void OverviewControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    if (bitmap_ == nullptr) {
        return;
    }
    const QImage image(bitmap_->rgb.data(), OverviewBitmap::kWidth, OverviewBitmap::kHeight,
                       OverviewBitmap::kStride, QImage::Format_RGB888);
    painter.drawImage(QPoint(0, 0), image);
}

}  // namespace marventa
