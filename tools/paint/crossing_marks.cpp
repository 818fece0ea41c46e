#include "tools/paint/crossing_marks.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "tools/common/plane_geometry.h"
#include "tools/paint/symbols.h"

namespace marventa {

namespace {

const QColor kCrossingInk(60, 46, 34);

enum class Way { Bridge, Ford, Ferry };

Way wayOf(std::string_view name) {
    if (name.ends_with(" Ford")) {
        return Way::Ford;
    }
    if (name.ends_with(" Ferry")) {
        return Way::Ferry;
    }
    return Way::Bridge;
}

// Where a road crosses a brook within `reach` of `at`, nearest first: a ford's brook may be too
// small for a bridge, and so for the crossings bridges are found at.
std::optional<Crossing> brookCrossing(QPointF at, const ProvinceScene& s, double reach) {
    std::optional<Crossing> best;
    const auto near = [&](QPointF q) { return length(q - at) < reach + 20; };
    for (const RiverLine& b : s.water.brooks) {
        for (std::size_t i = 0; i + 1 < b.points.size(); ++i) {
            const QPointF p0 = b.points[i];
            const QPointF p1 = b.points[i + 1];
            if (!near(p0) && !near(p1)) {
                continue;
            }
            for (const RoadLine& r : s.roads) {
                for (std::size_t j = 0; j + 1 < r.points.size(); ++j) {
                    const QPointF q0 = r.points[j];
                    const QPointF q1 = r.points[j + 1];
                    const auto crossing = segmentCrossing(p0, p1, q0, q1);
                    if (!crossing) {
                        continue;
                    }
                    const QPointF on = *crossing;
                    const QPointF e = q1 - q0;
                    if (length(on - at) <= reach &&
                        (!best || length(on - at) < length(best->at - at))) {
                        best = Crossing{on, e / std::max(1e-9, length(e)), b.widths[i], r.kind};
                    }
                }
            }
        }
    }
    return best;
}

}  // namespace

QPointF symbolSpot(const ProvincePlace& place, const Waterways& water) {
    const QPointF at(place.at.x, place.at.y);
    if (place.kind == PlaceKind::City || place.kind == PlaceKind::Town) {
        return at;
    }
    for (const auto* lines : {&water.rivers, &water.brooks}) {
        for (const RiverLine& r : *lines) {
            if (r.points.size() < 2) {
                continue;
            }
            const Nearest n = nearestOnPolyline(at, r.points);
            const double bank = r.widths[n.segment] / 2;
            // Clear of the water by the symbol's half height and a little air.
            const double clear = bank + symbolRadius(place.kind) + 1.5;
            if (n.distance >= clear) {
                continue;
            }
            const QPointF a = r.points[n.segment];
            const QPointF d = r.points[n.segment + 1] - a;
            const QPointF on = a + d * n.along;
            QPointF out(-d.y(), d.x());
            out /= std::max(1e-9, length(out));
            if (n.distance > 1e-6 && QPointF::dotProduct(at - on, out) < 0) {
                out = -out;
            }
            return on + out * clear;
        }
    }
    return at;
}

void drawLanding(QPainter& p, QPointF symbol, QPointF point) {
    const QPointF d = point - symbol;
    const double len = length(d);
    // A point still on dry ground only has its mark nudged up the bank.
    if (len < symbolRadius(PlaceKind::Settlement) + 1.5) {
        return;
    }
    const QPointF u = d / len;
    const QPointF side(-u.y() * 1.3, u.x() * 1.3);
    const QPointF from = symbol + u * (symbolRadius(PlaceKind::Settlement) * 0.8);
    const QPointF to = point + u * 1.5;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kCrossingInk, 0.7, Qt::SolidLine, Qt::RoundCap));
    for (const double k : {-1.0, 1.0}) {
        p.drawLine(from + side * k, to + side * k);
    }
    p.drawLine(to - side * 1.4, to + side * 1.4);
    p.restore();
}

void drawFord(QPainter& p, const Crossing& x) {
    const QPointF flow(-x.along.y(), x.along.x());
    // Longer than a narrow brook is wide, so that they read as strokes and not as specks.
    const double half = std::max(x.span / 2 + 0.8, 3.6);
    p.setBrush(Qt::NoBrush);
    // Up- and downstream of the way, the nearer strokes the longer, each a little off the
    // last as a hand sets them.
    constexpr struct {
        double off, reach, shift;
    } kStrokes[] = {{-4.4, 0.6, 0.2}, {-2.3, 0.9, -0.25}, {2.3, 0.85, 0.2}, {4.4, 0.55, -0.15}};
    for (const auto& s : kStrokes) {
        const QPointF mid = x.at + flow * s.off + x.along * (s.shift * half);
        p.setPen(QPen(kCrossingInk, 0.75, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(mid - x.along * (s.reach * half), mid + x.along * (s.reach * half));
    }
}

void drawFerry(QPainter& p, const Crossing& x) {
    const QPointF flow(-x.along.y(), x.along.x());
    const double half = x.span / 2 + 2.0;
    // The ferry's rope, dashed from bank to bank.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kCrossingInk, 0.7, Qt::DashLine, Qt::FlatCap));
    p.drawLine(x.at - x.along * half, x.at + x.along * half);
    // The boat just downstream of the rope, lying along the water: a shallow hull in a wash of
    // its timber, and a post at its middle.
    const QPointF boat = x.at + flow * 6.0 - x.along * (0.15 * half);
    const QPointF bow = flow * 5.2;
    const QPointF beam = x.along * 2.0;
    QPainterPath hull(boat - bow);
    hull.quadTo(boat - bow * 0.2 + beam * 1.6, boat + bow);
    hull.quadTo(boat - bow * 0.2 - beam * 0.2, boat - bow);
    p.setPen(QPen(kCrossingInk, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(176, 146, 104));
    p.drawPath(hull);
    p.drawLine(boat + beam * 0.3, boat - beam * 1.6);
}

std::vector<Crossing> drawFordsAndFerries(QPainter& p, const ProvinceScene& s,
                                          std::vector<Crossing> crossings) {
    for (const ProvincePlace& place : s.places) {
        const Way way = wayOf(place.name);
        if (place.kind != PlaceKind::Settlement || way == Way::Bridge) {
            continue;
        }
        const QPointF at(place.at.x, place.at.y);
        auto nearest = crossings.begin();
        for (auto it = crossings.begin(); it != crossings.end(); ++it) {
            if (length(it->at - at) < length(nearest->at - at)) {
                nearest = it;
            }
        }
        std::optional<Crossing> crossing;
        if (nearest != crossings.end() && length(nearest->at - at) <= kWayReach) {
            crossing = *nearest;
            crossings.erase(nearest);
        } else {
            crossing = brookCrossing(at, s, kWayReach);
        }
        if (!crossing) {
            continue;
        }
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        way == Way::Ford ? drawFord(p, *crossing) : drawFerry(p, *crossing);
        p.restore();
    }
    return crossings;
}

}  // namespace marventa
