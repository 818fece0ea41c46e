#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <cmath>

namespace marventa {

// The colour of a logical pixel in a grab made at any device pixel ratio. Every device pixel it
// covers must show the same colour (pictures are drawn crisp, never smoothed); an invalid colour
// where they differ. Device pixel d shows logical pixel floor(d / ratio).
inline QColor logicalPixel(const QImage& grabbed, QPoint at) {
    const qreal ratio = grabbed.devicePixelRatio();
    const auto first = [ratio](int logical) {
        return static_cast<int>(std::ceil(logical * ratio));
    };
    QColor colour;
    for (int y = first(at.y()); y < first(at.y() + 1); ++y) {
        for (int x = first(at.x()); x < first(at.x() + 1); ++x) {
            const QColor device = grabbed.pixelColor(x, y);
            if (colour.isValid() && device != colour) {
                return {};
            }
            colour = device;
        }
    }
    return colour;
}

}  // namespace marventa
