#include "path_smoothing.h"

#include <algorithm>
#include <cmath>

#include "plane_geometry.h"

namespace marventa {

void cutCorners(std::vector<QPointF>& points, std::vector<float>& widths, int rounds) {
    const bool carry = !widths.empty();
    for (int n = 0; n < rounds && points.size() >= 3; ++n) {
        std::vector<QPointF> p{points.front()};
        std::vector<float> w;
        if (carry) {
            w.push_back(widths.front());
        }
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            p.push_back(0.75 * points[i] + 0.25 * points[i + 1]);
            p.push_back(0.25 * points[i] + 0.75 * points[i + 1]);
            if (carry) {
                w.push_back(0.75f * widths[i] + 0.25f * widths[i + 1]);
                w.push_back(0.25f * widths[i] + 0.75f * widths[i + 1]);
            }
        }
        p.push_back(points.back());
        points = std::move(p);
        if (carry) {
            w.push_back(widths.back());
            widths = std::move(w);
        }
    }
}

}  // namespace marventa

namespace marventa {

std::vector<QPointF> roundBends(const std::vector<QPointF>& line, double maxCut, double step) {
    std::vector<QPointF> out{line.front()};
    auto straightTo = [&](QPointF to) {
        const QPointF from = out.back();
        const int n = std::max(1, static_cast<int>(std::ceil(length(to - from) / step)));
        for (int i = 1; i <= n; ++i) {
            out.push_back(from + (to - from) * (static_cast<double>(i) / n));
        }
    };
    for (std::size_t i = 1; i + 1 < line.size(); ++i) {
        const QPointF v = line[i];
        const QPointF toPrev = line[i - 1] - v;
        const QPointF toNext = line[i + 1] - v;
        const double cut = std::min({maxCut, length(toPrev) / 2.2, length(toNext) / 2.2});
        const QPointF p1 = v + toPrev * (cut / length(toPrev));
        const QPointF p2 = v + toNext * (cut / length(toNext));
        straightTo(p1);
        const int n = std::max(2, static_cast<int>(std::ceil(2 * cut / step)));
        for (int k = 1; k <= n; ++k) {
            const double t = static_cast<double>(k) / n;
            out.push_back((1 - t) * (1 - t) * p1 + 2 * (1 - t) * t * v + t * t * p2);
        }
    }
    straightTo(line.back());
    return out;
}

QPainterPath linePath(const std::vector<QPointF>& points) {
    QPainterPath path(points.front());
    for (std::size_t i = 1; i < points.size(); ++i) {
        path.lineTo(points[i]);
    }
    return path;
}

}  // namespace marventa
