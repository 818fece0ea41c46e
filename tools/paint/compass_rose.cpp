#include "tools/paint/compass_rose.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/common/rng.h"
#include "tools/paint/mountain_glyphs.h"

namespace marventa {

namespace {

const QColor kRoseInk(58, 46, 36);
const QColor kRosePaper(252, 246, 228);
const QColor kNorthLit(226, 62, 44);
const QColor kNorthDark(140, 22, 16);

// The small rose, where there are too few pixels for a pen's hand: flat halves, outlined at
// most once.
void flatRose(QPainter& p, QPointF c, double u, bool outlined) {
    const QPen outline =
        outlined ? QPen(QColor(40, 30, 20), 0.45 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                 : QPen(Qt::NoPen);
    p.setPen(QPen(kRoseInk, std::max(1.0, 0.8 * u)));
    p.setBrush(QColor(247, 236, 204));
    p.drawEllipse(c, 7.0 * u, 7.0 * u);
    for (int pass = 0; pass < 2; ++pass) {
        const bool major = pass == 1;
        for (int i = major ? 0 : 1; i < 8; i += 2) {
            const double r = major ? 13.0 * u : 8.0 * u;
            const double w = major ? 3.4 * u : 2.4 * u;
            const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 4;
            const QPointF dir(std::cos(a), std::sin(a));
            const QPointF side(-dir.y(), dir.x());
            const QPointF tip = c + r * dir;
            p.setPen(outline);
            p.setBrush(i == 0 ? kNorthLit : kRosePaper);
            p.drawPolygon(QPolygonF({c, tip, c + w * side}));
            p.setBrush(i == 0 ? kNorthDark : kRoseInk);
            p.drawPolygon(QPolygonF({c, tip, c - w * side}));
        }
    }
    p.setPen(outline);
    p.setBrush(QColor(222, 170, 44));
    p.drawEllipse(c, 1.8 * u, 1.8 * u);
}

// The rose as a pen draws it: each point's shaded half hatched along its length rather than
// filled flat, the outlines in the peaks' swelling line, every point a little off true.
void inkedRose(QPainter& p, QPointF c, double u) {
    Rng rng(0x705E'0001);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(247, 236, 204));
    p.drawEllipse(c, 7.0 * u, 7.0 * u);
    QPolygonF ring;
    for (int i = 0; i <= 64; ++i) {
        const double a = 2 * std::numbers::pi * i / 64;
        ring << c + 7.0 * u * QPointF(std::cos(a), std::sin(a));
    }
    inkReliefLine(p, ring, 0.3 * u, 0x705E'0002);
    for (int pass = 0; pass < 2; ++pass) {
        const bool major = pass == 1;
        for (int i = major ? 0 : 1; i < 8; i += 2) {
            const double r = (major ? 13.0 : 8.0) * u * rng.range(0.985, 1.015);
            const double w = (major ? 3.4 : 2.4) * u * rng.range(0.95, 1.05);
            const double a =
                -std::numbers::pi / 2 + i * std::numbers::pi / 4 + rng.range(-0.01, 0.01);
            const QPointF dir(std::cos(a), std::sin(a));
            const QPointF side(-dir.y(), dir.x());
            const QPointF tip = c + r * dir;
            const bool north = i == 0;
            const QPolygonF lit{c, tip, c + w * side};
            const QPolygonF dark{c, tip, c - w * side};
            p.setPen(Qt::NoPen);
            p.setBrush(north ? kNorthLit : kRosePaper);
            p.drawPolygon(lit);
            p.setBrush(north ? QColor(214, 120, 104) : kRosePaper);
            p.drawPolygon(dark);
            // The shade hatched along the point, the strokes closing toward its midline.
            QPainterPath half;
            half.addPolygon(dark);
            half.closeSubpath();
            p.save();
            p.setClipPath(half);
            QColor hatch = north ? kNorthDark : kRoseInk;
            hatch.setAlpha(225);
            p.setBrush(hatch);
            const double gap = 0.42 * u;
            for (double o = 0.25 * gap; o < w; o += gap * rng.range(0.85, 1.15)) {
                const QPointF from = c - side * o;
                inkTaperedStroke(p, QLineF(from, tip - side * (0.05 * o)), 0.2 * u, 0.35);
            }
            p.restore();
            p.setBrush(Qt::NoBrush);
            const std::uint64_t seed = 0x705E'0100 + static_cast<std::uint64_t>(i);
            inkReliefLine(p, QPolygonF({c + w * side, tip, c - w * side}), 0.2 * u, seed);
            inkReliefLine(p, QPolygonF({c, tip}), 0.12 * u, seed ^ 0x55);
        }
    }
    p.setPen(QPen(kRoseInk, 0.18 * u));
    p.setBrush(QColor(222, 170, 44));
    p.drawEllipse(c, 1.8 * u, 1.8 * u);
}

}  // namespace

// An eight-pointed rose: broad cardinal points over slimmer diagonals, each split into a light and
// a dark half, north in red.
void drawCompassRose(QPainter& p, QPointF c, double u, bool outlined, bool inked) {
    if (outlined && inked) {
        inkedRose(p, c, u);
    } else {
        flatRose(p, c, u, outlined);
    }
}

}  // namespace marventa
