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
    std::uint64_t seed = 0x5B71'0001;
    for (const QPointF& at : springs) {
        // A flat sulphur wash of uneven outline, edged in a few dots of ink: a stain, not a glow.
        Rng rng(seed++);
        QPolygonF stain;
        constexpr int kPoints = 14;
        for (int i = 0; i < kPoints; ++i) {
            const double a = 2.0 * std::numbers::pi * i / kPoints;
            const double r = rng.range(12.0, 17.0);
            stain << at + QPointF(std::cos(a) * r, std::sin(a) * r * 0.8 + 3.0);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(226, 206, 98, 80));
        p.drawPolygon(stain);
        p.setBrush(QColor(120, 96, 40, 120));
        for (const QPointF& q : stain) {
            if (rng.chance(0.6)) {
                p.drawEllipse(at + (q - at) * rng.range(0.82, 0.98), 0.7, 0.7);
            }
        }
    }
    p.restore();
}

void drawHotSpring(QPainter& p, QPointF at) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(43, 33, 24);
    // The pool, ringed with sulphur.
    p.setPen(QPen(ink, 1.1));
    p.setBrush(QColor(214, 190, 70));
    p.drawEllipse(at + QPointF(0, 4.0), 7.5, 4.2);
    p.setBrush(QColor(110, 178, 196));
    p.drawEllipse(at + QPointF(0, 4.0), 4.6, 2.4);
    // Three wisps of steam rising from it.
    p.setBrush(Qt::NoBrush);
    for (const double dx : {-3.6, 0.0, 3.6}) {
        QPainterPath wisp(at + QPointF(dx, 0.5));
        wisp.cubicTo(at + QPointF(dx - 2.6, -2.5), at + QPointF(dx + 2.6, -4.5),
                     at + QPointF(dx, -8.5));
        p.setPen(QPen(QColor(255, 252, 240), 2.8, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wisp);
        p.setPen(QPen(ink, 1.1, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wisp);
    }
    p.restore();
}

}  // namespace marventa
