#pragma once

#include <QPointF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace marventa {

inline double length(QPointF v) {
    return std::hypot(v.x(), v.y());
}

struct Nearest {
    double distance = std::numeric_limits<double>::max();
    std::size_t segment = 0;  // index of the segment's first point
    double along = 0.0;       // 0 .. 1 within that segment
    double side = 0.0;        // > 0 when the point lies left of the line, walking forward
};

// The point of a polyline nearest to `p`.
inline Nearest nearestOnPolyline(QPointF p, const std::vector<QPointF>& line) {
    Nearest best;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i];
        const QPointF ab = line[i + 1] - a;
        const double len2 = QPointF::dotProduct(ab, ab);
        const double t =
            len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
        const double d = length(p - (a + t * ab));
        if (d < best.distance) {
            best = {d, i, t, ab.x() * (p - a).y() - ab.y() * (p - a).x()};
        }
    }
    return best;
}

inline double distanceToPolyline(QPointF p, const std::vector<QPointF>& line) {
    return nearestOnPolyline(p, line).distance;
}

// Points along a polyline every `step` pixels (and its last point).
inline std::vector<QPointF> resample(const std::vector<QPointF>& line, double step) {
    std::vector<QPointF> out{line.front()};
    double carried = 0.0;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i];
        const QPointF b = line[i + 1];
        const double len = length(b - a);
        double at = step - carried;
        while (at < len) {
            out.push_back(a + (b - a) * (at / len));
            at += step;
        }
        carried = len - (at - step);
    }
    if (length(out.back() - line.back()) > 1e-6) {
        out.push_back(line.back());
    }
    return out;
}

}  // namespace marventa
