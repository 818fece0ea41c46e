#include "tools/roads/bridges.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

// Rivers and brooks alike: a road over either needs a bridge.
std::vector<RiverLine> allWater(const Waterways& water) {
    std::vector<RiverLine> all = water.rivers;
    all.insert(all.end(), water.brooks.begin(), water.brooks.end());
    return all;
}

}  // namespace

std::vector<Crossing> findCrossings(const std::vector<RoadLine>& roads, const Waterways& water) {
    const std::vector<RiverLine> waters = allWater(water);
    // The rivers' segments in buckets of the sheet, so each road step meets only those nearby.
    constexpr double kBucket = 64.0;
    auto key = [](double x, double y) {
        return std::pair{static_cast<int>(std::floor(x / kBucket)),
                         static_cast<int>(std::floor(y / kBucket))};
    };
    std::map<std::pair<int, int>, std::vector<std::pair<std::size_t, std::size_t>>> buckets;
    for (std::size_t r = 0; r < waters.size(); ++r) {
        for (std::size_t j = 0; j + 1 < waters[r].points.size(); ++j) {
            const QRectF box = QRectF(waters[r].points[j], waters[r].points[j + 1]).normalized();
            const auto [x0, y0] = key(box.left() - 1, box.top() - 1);
            const auto [x1, y1] = key(box.right() + 1, box.bottom() + 1);
            for (int y = y0; y <= y1; ++y) {
                for (int x = x0; x <= x1; ++x) {
                    buckets[{x, y}].emplace_back(r, j);
                }
            }
        }
    }
    std::vector<Crossing> crossings;
    for (const RoadLine& road : roads) {
        for (std::size_t i = 0; i + 1 < road.points.size(); ++i) {
            const QPointF a = road.points[i];
            const QPointF b = road.points[i + 1];
            const QRectF box = QRectF(a, b).normalized().adjusted(-1, -1, 1, 1);
            std::vector<std::pair<std::size_t, std::size_t>> near;
            const auto [x0, y0] = key(box.left(), box.top());
            const auto [x1, y1] = key(box.right(), box.bottom());
            for (int y = y0; y <= y1; ++y) {
                for (int x = x0; x <= x1; ++x) {
                    const auto it = buckets.find({x, y});
                    if (it != buckets.end()) {
                        near.insert(near.end(), it->second.begin(), it->second.end());
                    }
                }
            }
            std::sort(near.begin(), near.end());
            near.erase(std::unique(near.begin(), near.end()), near.end());
            for (const auto& [r, j] : near) {
                const RiverLine& river = waters[r];
                const QPointF c = river.points[j];
                const QPointF d = river.points[j + 1];
                const auto at = segmentCrossing(a, b, c, d);
                // A road wandering along a bank may cross the same river twice in a step.
                const bool seen =
                    at && std::any_of(crossings.begin(), crossings.end(),
                                      [&](const Crossing& x) { return length(x.at - *at) < 20.0; });
                if (at && !seen && length(b - a) > 0) {
                    crossings.push_back({*at, (b - a) / length(b - a), river.widths[j], road.kind});
                }
            }
        }
        // A road that only touches a river, or runs a stretch along its line, crosses it too.
        const std::vector<QPointF> steps = resample(road.points, 1.0);
        for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
            const QPointF p = steps[i];
            const auto it = buckets.find(key(p.x(), p.y()));
            if (it == buckets.end()) {
                continue;
            }
            for (const auto& [r, j] : it->second) {
                const std::vector<QPointF> piece{waters[r].points[j], waters[r].points[j + 1]};
                const bool seen =
                    std::any_of(crossings.begin(), crossings.end(),
                                [&](const Crossing& x) { return length(x.at - p) < 20.0; });
                if (!seen && distanceToPolyline(p, piece) < 0.75) {
                    const QPointF along = steps[i + 1] - p;
                    crossings.push_back(
                        {p, along / std::max(1e-9, length(along)), waters[r].widths[j], road.kind});
                }
            }
        }
    }
    return crossings;
}

void drawBridges(QPainter& p, const std::vector<Crossing>& crossings) {
    const QColor ink(60, 46, 34);
    for (const Crossing& x : crossings) {
        // Half the drawn road's width (a highway with its casing), and a little air each side.
        const double road = x.kind == RoadClass::Highway ? 1.6
                            : x.kind == RoadClass::Lane  ? 0.55
                                                         : 0.45;
        const QPointF side(-x.along.y() * (road + 1.3), x.along.x() * (road + 1.3));
        const double half = x.span / 2 + 1.5;
        const QPointF from = x.at - x.along * half;
        const QPointF to = x.at + x.along * half;
        const double splay = 1.2 + 0.3 * road;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const double k : {1.0, -1.0}) {
            const QPointF unit = side / length(side);
            p.drawPolyline(
                QPolygonF({from + side * k - x.along * splay + unit * (k * splay), from + side * k,
                           to + side * k, to + side * k + x.along * splay + unit * (k * splay)}));
        }
    }
}

}  // namespace marventa
