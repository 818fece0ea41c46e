#include "city_ground.h"

#include <cmath>
#include <limits>

#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

QPolygonF toPolygon(const std::vector<QPointF>& points) {
    return QPolygonF(QList<QPointF>(points.begin(), points.end()));
}

std::vector<QPointF> closed(const QPolygonF& polygon) {
    std::vector<QPointF> ring(polygon.begin(), polygon.end());
    ring.push_back(polygon.front());
    return ring;
}

QPointF pointOf(const std::vector<QPointF>& line, const Nearest& n) {
    return line[n.segment] + (line[n.segment + 1] - line[n.segment]) * n.along;
}

QPointF directionOf(const std::vector<QPointF>& line, const Nearest& n) {
    const QPointF d = line[n.segment + 1] - line[n.segment];
    return d / length(d);
}

}  // namespace

CityGround::CityGround(const CityLayout& layout, QSizeF size)
    : layout_(layout), size_(size), wall_(toPolygon(layout.wall)) {
    for (const auto& w : layout.waters) {
        waters_.push_back(toPolygon(w));
    }
    for (const auto& m : layout.marshes) {
        waters_.push_back(toPolygon(m));
    }
}

bool CityGround::inMap(QPointF p) const {
    return p.x() >= 0 && p.y() >= 0 && p.x() < size_.width() && p.y() < size_.height();
}

bool CityGround::isWater(QPointF p) const {
    for (const QPolygonF& w : waters_) {
        if (w.containsPoint(p, Qt::OddEvenFill)) {
            return true;
        }
    }
    return false;
}

double CityGround::streetDistance(QPointF p) const {
    double best = std::numeric_limits<double>::max();
    for (const Street& s : layout_.streets) {
        best = std::min(best, distanceToPolyline(p, s.line));
    }
    return best;
}

QPointF CityGround::nearestStreetPoint(QPointF p, QPointF* direction) const {
    Nearest best;
    const Street* street = nullptr;
    for (const Street& s : layout_.streets) {
        const Nearest n = nearestOnPolyline(p, s.line);
        if (n.distance < best.distance) {
            best = n;
            street = &s;
        }
    }
    if (direction) {
        *direction = directionOf(street->line, best);
    }
    return pointOf(street->line, best);
}

double CityGround::wallDistance(QPointF p) const {
    return distanceToPolyline(p, closed(wall_));
}

QPointF CityGround::nearestWallPoint(QPointF p, QPointF* direction) const {
    const std::vector<QPointF> ring = closed(wall_);
    const Nearest n = nearestOnPolyline(p, ring);
    if (direction) {
        *direction = directionOf(ring, n);
    }
    return pointOf(ring, n);
}

double CityGround::crowding(const QPolygonF& area, const std::vector<QPolygonF>& taken) const {
    const QRectF box = area.boundingRect();
    double penalty = 0.0;
    int samples = 0;
    for (double y = box.top() + 2.5; y < box.bottom(); y += 5.0) {
        for (double x = box.left() + 2.5; x < box.right(); x += 5.0) {
            const QPointF p(x, y);
            if (!area.containsPoint(p, Qt::OddEvenFill)) {
                continue;
            }
            ++samples;
            if (!inMap(p) || isWater(p)) {
                penalty += 5.0;
            } else if (streetDistance(p) < kStreetWidth / 2 + 1) {
                penalty += 3.0;
            } else if (wallDistance(p) < 4.0) {
                penalty += 1.0;
            }
            for (const QPolygonF& t : taken) {
                if (t.containsPoint(p, Qt::OddEvenFill)) {
                    penalty += 3.0;
                    break;
                }
            }
        }
    }
    return samples > 0 ? penalty / samples : 0.0;
}

}  // namespace marventa
