#include "label_placer.h"

#include <algorithm>

namespace marventa {

bool LabelPlacer::isFree(const QRectF& r) const {
    return bounds_.contains(r) && std::none_of(taken_.begin(), taken_.end(),
                                               [&](const QRectF& t) { return t.intersects(r); });
}

bool LabelPlacer::isFree(const QPolygonF& turned) const {
    return bounds_.contains(turned.boundingRect()) &&
           std::none_of(taken_.begin(), taken_.end(),
                        [&](const QRectF& t) { return turned.intersects(QPolygonF(t)); });
}

std::optional<QRectF> LabelPlacer::place(const std::vector<QRectF>& candidates) {
    for (const QRectF& r : candidates) {
        if (isFree(r)) {
            taken_.push_back(r);
            return r;
        }
    }
    return std::nullopt;
}

std::vector<QRectF> LabelPlacer::around(QPointF at, QSizeF size, double gap) {
    const double w = size.width();
    const double h = size.height();
    const double x = at.x();
    const double y = at.y();
    return {
        QRectF(x + gap, y - h / 2, w, h),
        QRectF(x - gap - w, y - h / 2, w, h),
        QRectF(x - w / 2, y - gap - h, w, h),
        QRectF(x - w / 2, y + gap, w, h),
        QRectF(x + gap * 0.7, y - gap * 0.7 - h, w, h),
        QRectF(x + gap * 0.7, y + gap * 0.7, w, h),
        QRectF(x - gap * 0.7 - w, y - gap * 0.7 - h, w, h),
        QRectF(x - gap * 0.7 - w, y + gap * 0.7, w, h),
    };
}

}  // namespace marventa
