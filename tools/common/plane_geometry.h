#pragma once

#include <QPointF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace marventa {

inline double length(QPointF v) {
    return std::hypot(v.x(), v.y());
}

// Where segments ab and cd cross, if they do.
inline std::optional<QPointF> segmentCrossing(QPointF a, QPointF b, QPointF c, QPointF d) {
    const QPointF r = b - a;
    const QPointF s = d - c;
    const double denominator = r.x() * s.y() - r.y() * s.x();
    if (std::abs(denominator) < 1e-9) {
        return std::nullopt;
    }
    const QPointF ac = c - a;
    const double t = (ac.x() * s.y() - ac.y() * s.x()) / denominator;
    const double u = (ac.x() * r.y() - ac.y() * r.x()) / denominator;
    if (t < 0 || t > 1 || u < 0 || u > 1) {
        return std::nullopt;
    }
    return a + r * t;
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

inline double polylineLength(const std::vector<QPointF>& line) {
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        sum += length(line[i + 1] - line[i]);
    }
    return sum;
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

// How far along `dir`, in lengths of `dir`, a ray from `from` last crosses a ring's edges (each
// point joined to the next; a closed ring repeats its first point); -1 where it never does. The
// last crossing is where the ray leaves the shape for good.
inline double lastRayCrossing(std::span<const QPointF> ring, QPointF from, QPointF dir) {
    double last = -1;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        const QPointF a = ring[i];
        const QPointF e = ring[i + 1] - a;
        const double den = dir.x() * e.y() - dir.y() * e.x();
        if (std::abs(den) < 1e-9) {
            continue;
        }
        const QPointF w = a - from;
        const double t = (w.x() * e.y() - w.y() * e.x()) / den;
        const double u = (w.x() * dir.y() - w.y() * dir.x()) / den;
        if (t > 0 && u >= 0 && u <= 1 && t > last) {
            last = t;
        }
    }
    return last;
}

}  // namespace marventa
