#include "map_image.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include "application.h"

namespace marventa {

MapImage::MapImage(QWidget* parent) : PictureControl(parent) {
    // Every exposed pixel is painted from the picture: no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(0, 0);
}

void MapImage::putPicture(const PictureHolder& holder) {
    pixels_ = Picture();  // hands the old pixels back before the next decode needs them
    holder_ = &holder;
    decodeFailed_ = false;
    update();
}

Size MapImage::pictureSize() const {
    return holder_ != nullptr ? Size{holder_->width(), holder_->height()} : Size{0, 0};
}

void MapImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    if (holder_ == nullptr || decodeFailed_) {
        painter.fillRect(exposed, palette().color(QPalette::Window));
        return;
    }
    if (pixels_.empty()) {
        runOperation([&] { pixels_ = decode(*holder_); });
    }
    if (pixels_.empty()) {
        // Reported once, after this paint; later paints must not raise it again.
        decodeFailed_ = true;
        painter.fillRect(exposed, palette().color(QPalette::Window));
        return;
    }
    // Wraps the decoded rows without copying them.
    const QImage image(pixels_.rgb().data(), pixels_.width(), pixels_.height(), pixels_.stride(),
                       QImage::Format_RGB888);
    const QRect drawn = exposed & image.rect();
    if (!drawn.isEmpty()) {
        painter.drawImage(drawn.topLeft(), image, drawn);
    }
    const QRegion past = QRegion(exposed) - drawn;
    for (const QRect& rect : past) {
        painter.fillRect(rect, palette().color(QPalette::Window));
    }
    painter.end();
    emit painted();
}

}  // namespace marventa
