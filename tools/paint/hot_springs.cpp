#include "tools/paint/hot_springs.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/symbols.h"

namespace marventa {

namespace {

constexpr std::size_t kMost = 5;
constexpr double kApart = 90.0;        // pixels between two springs
constexpr double kClearOfMark = 30.0;  // pixels from a place's symbol to a spring

}  // namespace

std::vector<QPointF> hotSprings(const ProvinceScene& s) {
    const Terrain& t = s.terrain;
    auto onAsh = [&](QPointF p) {
        const int x = static_cast<int>(p.x());
        const int y = static_cast<int>(p.y());
        // Where the ash is thick and the ground still on the range's lower flanks.
        return t.height.contains(x, y) && t.ash(x, y) >= 40 && t.height(x, y) > 0.0f &&
               t.height(x, y) < kHillHeight + 0.1f && t.lake(x, y) == 0;
    };
    std::vector<QPointF> heads;
    for (const RiverLine& r : s.water.rivers) {
        heads.push_back(r.points.front());
    }
    for (const RiverLine& r : s.water.brooks) {
        heads.push_back(r.points.front());
    }
    std::vector<QPointF> springs;
    for (const QPointF& at : heads) {
        const bool clear =
            onAsh(at) &&
            std::all_of(springs.begin(), springs.end(),
                        [&](QPointF o) { return length(o - at) >= kApart; }) &&
            std::all_of(s.places.begin(), s.places.end(), [&](const ProvincePlace& place) {
                return length(QPointF(place.at.x, place.at.y) - at) >=
                       kClearOfMark + symbolRadius(place.kind);
            });
        if (clear) {
            springs.push_back(at);
            if (springs.size() == kMost) {
                break;
            }
        }
    }
    return springs;
}

void drawSpringStains(QPainter& p, const std::vector<QPointF>& springs) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    std::uint64_t seed = 0x5B71'0001;
    for (const QPointF& at : springs) {
        // The pale crust the water leaves round its pool: one flat wash of uneven outline.
        Rng rng(seed++);
        QPolygonF crust;
        constexpr int kPoints = 14;
        for (int i = 0; i < kPoints; ++i) {
            const double a = 2.0 * std::numbers::pi * i / kPoints;
            const double r = rng.range(9.0, 12.5);
            crust << at + QPointF(std::cos(a) * r, std::sin(a) * r * 0.7 + 3.5);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(238, 230, 208, 110));
        p.drawPolygon(crust);
    }
    p.restore();
}

void drawHotSpring(QPainter& p, QPointF at) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(43, 33, 24);
    // The pool: an inked ring with a short ripple inside it.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.1));
    p.drawEllipse(at + QPointF(0, 4.5), 6.5, 3.3);
    p.setPen(QPen(ink, 0.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at + QPointF(-2.2, 4.8), at + QPointF(2.2, 4.8));
    // Three wavy strokes of steam rising from it, the middle one tallest.
    for (const double dx : {-3.2, 0.0, 3.2}) {
        const double top = dx == 0.0 ? -8.5 : -6.5;
        QPainterPath wisp(at + QPointF(dx, 0.8));
        wisp.cubicTo(at + QPointF(dx - 2.2, -1.6), at + QPointF(dx + 2.2, top + 3.4),
                     at + QPointF(dx, top));
        p.setPen(QPen(ink, 0.9, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wisp);
    }
    p.restore();
}

}  // namespace marventa
