#include "bridges.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <optional>

#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

// Where segments ab and cd cross, if they do.
std::optional<QPointF> intersection(QPointF a, QPointF b, QPointF c, QPointF d) {
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

}  // namespace

std::vector<Crossing> findCrossings(const std::vector<RoadLine>& roads, const Waterways& water) {
    std::vector<Crossing> crossings;
    for (const RoadLine& road : roads) {
        for (std::size_t i = 0; i + 1 < road.points.size(); ++i) {
            const QPointF a = road.points[i];
            const QPointF b = road.points[i + 1];
            const QRectF box = QRectF(a, b).normalized().adjusted(-1, -1, 1, 1);
            for (const RiverLine& river : water.rivers) {
                for (std::size_t j = 0; j + 1 < river.points.size(); ++j) {
                    const QPointF c = river.points[j];
                    const QPointF d = river.points[j + 1];
                    if (!box.intersects(QRectF(c, d).normalized().adjusted(-1, -1, 1, 1))) {
                        continue;
                    }
                    const auto at = intersection(a, b, c, d);
                    // A road wandering along a bank may cross the same river twice in a step.
                    const bool seen = at && std::any_of(crossings.begin(), crossings.end(),
                                                        [&](const Crossing& x) {
                                                            return length(x.at - *at) < 20.0;
                                                        });
                    if (at && !seen && length(b - a) > 0) {
                        crossings.push_back({*at, (b - a) / length(b - a), river.widths[j]});
                    }
                }
            }
        }
    }
    return crossings;
}

void drawBridges(QPainter& p, const std::vector<Crossing>& crossings) {
    const QColor ink(60, 46, 34);
    for (const Crossing& x : crossings) {
        const double half = x.span / 2 + 4.0;
        const QPointF side(-x.along.y() * 3.2, x.along.x() * 3.2);
        const QPointF from = x.at - x.along * half;
        const QPointF to = x.at + x.along * half;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(236, 224, 196));
        p.drawPolygon(QPolygonF({from + side, to + side, to - side, from - side}));
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
        for (const double k : {1.0, -1.0}) {
            p.drawLine(from + side * k, to + side * k);
            // The parapets splay out at both ends.
            p.drawLine(from + side * k, from + side * (k * 1.8) - x.along * 3.0);
            p.drawLine(to + side * k, to + side * (k * 1.8) + x.along * 3.0);
        }
    }
}

}  // namespace marventa
