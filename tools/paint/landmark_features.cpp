#include "tools/paint/landmark_features.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa {

namespace {

const QColor kRockInk(58, 46, 36);
const QColor kRock(150, 138, 124);
const QColor kWaterEdge(50, 90, 140);

// A ring of `count` points of radius `r` round `c`, starting at `phase` radians.
std::vector<QPointF> ring(QPointF c, double r, int count, double phase = 0.0) {
    std::vector<QPointF> out;
    for (int i = 0; i < count; ++i) {
        const double a = phase + 2 * std::numbers::pi * i / count;
        out.push_back(c + r * QPointF(std::cos(a), std::sin(a)));
    }
    return out;
}

// An irregular boulder: a ring whose radius swings by a fixed pattern.
QPolygonF boulder(QPointF c, double r, int seed) {
    QPolygonF out;
    for (int i = 0; i < 9; ++i) {
        const double a = 2 * std::numbers::pi * i / 9;
        const double k = 0.8 + 0.2 * std::sin(3.1 * i + seed);
        out << c + r * k * QPointF(std::cos(a), std::sin(a));
    }
    return out;
}

// A long low mound seen from the side, a few hachures down its shadowed flank, on a short
// stretch of ground line; no wider than the name beside its symbol leaves paper for.
void barrow(QPainter& p, QPointF at, const Waterways&) {
    const QColor ink(58, 40, 26);
    // Its foot lies left of the point, where the name beside the symbol does not reach.
    const QPointF foot = at + QPointF(-3.5, 5.5);
    QPainterPath mound;
    mound.moveTo(foot + QPointF(-12.0, 0.0));
    mound.cubicTo(foot + QPointF(-8.0, -6.5), foot + QPointF(6.0, -6.5), foot + QPointF(11.0, 0.0));
    // Filled as closed along its foot, inked along its crown only.
    p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(150, 150, 100, 120));
    p.drawPath(mound);
    p.setPen(QPen(ink, 0.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot + QPointF(-15.0, 0.3), foot + QPointF(-13.0, 0.3));
    // Its flank away from the light from the north-west.
    p.setPen(QPen(ink, 0.6, Qt::SolidLine, Qt::RoundCap));
    for (const double x : {3.0, 5.5, 8.0}) {
        const double t = (x + 12.0) / 23.0;
        const double top = -4.9 * 4.0 * t * (1.0 - t);
        p.drawLine(foot + QPointF(x, top + 0.9), foot + QPointF(x - 0.5, -0.6));
    }
}

// Salt pans along the shore: low-walled beds of uneven size, some brimming, some dried white,
// their banks leaning with the lie of the flats.
void saltPans(QPainter& p, QPointF at, const Waterways&) {
    Rng rng(0x5A17'0001);
    p.setPen(QPen(QColor(120, 140, 150), 1.0));
    for (int i = 0; i < 9; ++i) {
        const QPointF c = at + QPointF(-70 + (i % 4) * 15 + rng.range(-3, 3) + (i / 4) * 6,
                                       -18 + (i / 4) * 11 + rng.range(-2, 2));
        const double w = rng.range(7, 14);
        const double h = rng.range(5, 8);
        const double lean = rng.range(-2.5, 2.5);
        p.setBrush(rng.chance(0.4) ? QColor(180, 208, 220) : QColor(238, 238, 232));
        p.drawPolygon(
            QPolygonF({c + QPointF(-w / 2 + lean, -h / 2), c + QPointF(w / 2 + lean, -h / 2),
                       c + QPointF(w / 2 - lean, h / 2), c + QPointF(-w / 2 - lean, h / 2)}));
    }
}

void lanternRock(QPainter& p, QPointF at, const Waterways&) {
    const QPointF rock = at + QPointF(0, 18);
    p.setPen(QPen(kRockInk, 1.2));
    p.setBrush(QColor(120, 110, 100));
    p.drawPolygon(boulder(rock, 7, 2));
    p.setPen(QPen(QColor(240, 190, 60), 1.2));
    for (const QPointF& q : ring(rock, 12, 8)) {
        p.drawLine(rock + (q - rock) * 0.7, q);  // the beacon's rays
    }
}

// The old bridge across the nearest river, fallen in at mid-stream, and its causeway from the
// landmark to the bank.
void brokenSpan(QPainter& p, QPointF at, const Waterways& water) {
    const RiverLine* river = nullptr;
    Nearest best;
    for (const RiverLine& r : water.rivers) {
        const Nearest n = nearestOnPolyline(at, r.points);
        if (n.distance < best.distance) {
            best = n;
            river = &r;
        }
    }
    if (river == nullptr) {
        return;
    }
    const QPointF a = river->points[best.segment];
    const QPointF b = river->points[best.segment + 1];
    const QPointF on = a + (b - a) * best.along;
    const QPointF flow = (b - a) / length(b - a);
    const QPointF across(-flow.y(), flow.x());
    const double half = river->widths[best.segment] / 2 + 5;
    p.setPen(QPen(kRockInk, 1.0, Qt::DotLine));
    p.drawLine(at, on + (at - on) * (half / length(at - on)));
    p.setPen(QPen(kRockInk, 1.0));
    p.setBrush(QColor(196, 184, 160));
    for (const double side : {-1.0, 1.0}) {
        const QPointF from = on + across * (side * half);
        const QPointF to = on + across * (side * 2.0);
        p.drawPolygon(
            QPolygonF({from + flow * 3.0, to + flow * 3.0, to - flow * 3.0, from - flow * 3.0}));
    }
}

void gorge(QPainter& p, QPointF at, const Waterways&) {
    const QPointF dir(0.8, 0.6);
    const QPointF across(-dir.y(), dir.x());
    std::vector<QPointF> cleft;
    for (int i = -6; i <= 6; ++i) {
        cleft.push_back(at + dir * (i * 10.0) + across * (3.0 * std::sin(i * 1.7)));
    }
    for (const double side : {-1.0, 1.0}) {
        p.setPen(QPen(kRockInk, 1.0));
        for (std::size_t i = 0; i < cleft.size(); ++i) {
            const QPointF rim = cleft[i] + across * (side * 7.0);
            p.drawLine(rim, rim + across * (side * 6.0));  // cliff ticks
        }
    }
    p.setPen(QPen(QColor(40, 32, 26), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF(QList<QPointF>(cleft.begin(), cleft.end())));
}

void nineShards(QPainter& p, QPointF at, const Waterways&) {
    p.setPen(QPen(kRockInk, 1.0));
    p.setBrush(QColor(90, 84, 92));
    for (const QPointF& q : ring(at, 24, 9)) {
        p.drawPolygon(
            QPolygonF({q + QPointF(0, -7), q + QPointF(2.5, 2.5), q + QPointF(-2.5, 2.5)}));
    }
}

// Two rock spires side on, split by a cleft the symbol stands in; drawn as the peaks are, the
// flank away from the north-western light washed dark and hatched.
void splitCrag(QPainter& p, QPointF at, const Waterways&) {
    const QPointF base = at + QPointF(0, 12);
    const auto spire = [&](double dx, double w, double h, double lean) {
        const QPointF left = base + QPointF(dx - w, 0);
        const QPointF right = base + QPointF(dx + w, 0);
        const QPointF top = base + QPointF(dx + lean, -h);
        const QPointF shoulder = base + QPointF(dx + lean + 0.45 * w, -0.62 * h);
        const QPolygonF outline(
            {left, base + QPointF(dx - 0.7 * w, -0.5 * h), top, shoulder, right});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(196, 180, 156));
        p.drawPolygon(outline);
        // The shaded face: from the summit down to the base's middle, then round the right.
        const QPointF foot = base + QPointF(dx + 0.15 * w, 0);
        p.setBrush(QColor(110, 92, 74));
        p.drawPolygon(QPolygonF({top, shoulder, right, foot}));
        p.setPen(QPen(kRockInk, 0.7));
        for (double t = 0.2; t < 0.95; t += 0.18) {
            const QPointF a = top + (foot - top) * t;
            const QPointF b = top + (right - top) * t;
            p.drawLine(a, a + (b - a) * 0.7);
        }
        p.setPen(QPen(kRockInk, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(outline);
    };
    spire(-11, 12, 30, 2);
    spire(12, 11, 24, -1);
}

void sunkenBelfry(QPainter& p, QPointF at, const Waterways& water) {
    const QPointF pool = at + QPointF(22, 12);
    // By a lake the tower stands out of the lake's own water; a pool of its own there would
    // read as a second water lying on the first.
    if (water.lakeAt(pool) < 0) {
        p.setPen(QPen(kWaterEdge, 1.2));
        p.setBrush(QColor(120, 168, 206));
        p.drawEllipse(pool, 20, 13);
    }
    p.setPen(QPen(kRockInk, 1.0));
    p.setBrush(QColor(176, 164, 150));
    p.drawRect(QRectF(pool.x() - 3.5, pool.y() - 8, 7, 8));
    p.drawPolygon(
        QPolygonF({pool + QPointF(-5, -8), pool + QPointF(5, -8), pool + QPointF(0, -15)}));
}

void tor(QPainter& p, QPointF at, const Waterways&) {
    p.setPen(QPen(kRockInk, 1.2));
    p.setBrush(kRock);
    int seed = 0;
    for (const QPointF& q : ring(at, 15, 5, 0.6)) {
        p.drawPolygon(boulder(q, 7, ++seed));
    }
}

}  // namespace

void drawLandmarkFeature(QPainter& p, std::string_view name, QPointF at, const Waterways& water) {
    using Feature = void (*)(QPainter&, QPointF, const Waterways&);
    static constexpr std::pair<std::string_view, Feature> kFeatures[] = {
        {"Barrow of the First Crown", barrow},
        {"Greywhite Salt Pans", saltPans},
        {"Lantern Rock", lanternRock},
        {"The Broken Span", brokenSpan},
        {"The Hollering Gorge", gorge},
        {"The Nine Shards", nineShards},
        {"The Split Crag", splitCrag},
        {"The Sunken Belfry", sunkenBelfry},
        {"The Thimble Tor", tor},
    };
    for (const auto& [known, draw] : kFeatures) {
        if (known == name) {
            draw(p, at, water);
        }
    }
}

void drawLandmarkFeatures(QPainter& p, const ProvinceScene& scene) {
    for (const ProvincePlace& place : scene.places) {
        if (place.kind == PlaceKind::Landmark) {
            drawLandmarkFeature(p, place.name, QPointF(place.at.x, place.at.y), scene.water);
        }
    }
}

}  // namespace marventa
