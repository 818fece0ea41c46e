#include "tools/paint/crater_glyphs.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/ink.h"

namespace marventa {

namespace {

constexpr double kFlatten = 0.62;  // the rim's height on the sheet over its width

QPointF onRim(const Crater& c, double a, double scale = 1.0) {
    return c.centre +
           QPointF(std::cos(a) * c.radius * scale, std::sin(a) * c.radius * scale * kFlatten);
}

}  // namespace

void drawCraterRim(QPainter& p, const Crater& c, double spill, bool tarn) {
    constexpr int kSteps = 48;
    constexpr double kTurn = 2.0 * std::numbers::pi / kSteps;
    const auto open = [&](double a) {
        const double d = std::remainder(a - spill, 2.0 * std::numbers::pi);
        return c.breached && std::fabs(d) < 0.45;
    };
    const QPointF mid = c.centre;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // The lip wavers as a hand draws a ring, each crater its own.
    Rng rng(static_cast<std::uint64_t>(mid.x() * 4096 + mid.y()));
    const double phase[3] = {rng.range(0.0, 6.3), rng.range(0.0, 6.3), rng.range(0.0, 6.3)};
    const auto lip = [&](double a) {
        return 1.0 + 0.05 * std::sin(2 * a + phase[0]) + 0.035 * std::sin(3 * a + phase[1]) +
               0.02 * std::sin(7 * a + phase[2]);
    };
    const QColor ink = kReliefInk;
    const auto inkAt = [&](int alpha) {
        return QColor(ink.red(), ink.green(), ink.blue(), std::clamp(alpha, 0, 255));
    };
    if (!tarn) {
        // The floor as the paper round it with one light, flat wash: the hollow is told by the
        // ink of its walls, not by shading.
        QPainterPath floor;
        floor.moveTo(onRim(c, 0.0, 0.96 * lip(0.0)));
        for (int i = 1; i <= kSteps; ++i) {
            floor.lineTo(onRim(c, i * kTurn, 0.96 * lip(i * kTurn)));
        }
        p.setPen(Qt::NoPen);
        if (const auto* sheet = dynamic_cast<const QImage*>(p.device())) {
            // The ground's tone just outside the rim, its ink left out.
            int r = 0, g = 0, b = 0, n = 0;
            for (int i = 0; i < 16; ++i) {
                const QPoint q = onRim(c, i * std::numbers::pi / 8, 1.5).toPoint();
                if (!sheet->rect().contains(q)) {
                    continue;
                }
                const QColor col = sheet->pixelColor(q);
                if (col.lightness() > 150) {
                    r += col.red();
                    g += col.green();
                    b += col.blue();
                    ++n;
                }
            }
            if (n > 0) {
                p.setBrush(QColor(r / n, g / n, b / n, 235));
                p.drawPath(floor);
            }
        }
        p.setBrush(QColor(150, 118, 84, 34));
        p.drawPath(floor);
        // The far inner wall, seen across the hollow: fine strokes hanging from the lip, longer
        // and closer where the wall faces away from the north-western light.
        const double wall = c.radius * kFlatten;
        for (double a = std::numbers::pi * 1.02; a < std::numbers::pi * 1.98;) {
            const double shade = 0.5 + 0.5 * std::cos(a - 1.25 * std::numbers::pi);
            const QPointF top = onRim(c, a, 0.97 * lip(a));
            const double len = wall * (0.22 + 0.3 * shade) * rng.range(0.7, 1.2);
            const QPointF toMid = mid - top;
            QPointF dir = QPointF(0, 1) * 0.75 + toMid / std::max(1e-6, length(toMid)) * 0.25;
            dir /= std::max(1e-6, length(dir));
            p.setPen(QPen(inkAt(static_cast<int>(120 + 90 * shade)), 0.55 + 0.35 * shade,
                          Qt::SolidLine, Qt::RoundCap));
            p.drawLine(top, top + dir * len);
            a += (1.9 + 1.6 * (1.0 - shade)) / c.radius * rng.range(0.8, 1.25);
        }
        // The near wall's foot: a thin broken line inside the southern lip.
        p.setPen(QPen(inkAt(150), 0.6, Qt::SolidLine, Qt::RoundCap));
        for (double a = 0.15 * std::numbers::pi; a < 0.85 * std::numbers::pi; a += kTurn) {
            if (rng.uniform() < 0.3) {
                continue;
            }
            p.drawLine(onRim(c, a, 0.8 * lip(a)), onRim(c, a + kTurn, 0.8 * lip(a + kTurn)));
        }
        // Most craters keep a vent: a small inked throat with a scatter of ash round it.
        if (c.radius > 6.0 && rng.uniform() < 0.7) {
            const QPointF vent =
                mid + QPointF(rng.range(-0.2, 0.2) * c.radius, rng.range(0.0, 0.15) * wall);
            const double vr = std::clamp(c.radius * 0.13, 1.6, 4.5);
            p.setPen(QPen(inkAt(230), 0.9));
            p.setBrush(QColor(70, 50, 36, 150));
            p.drawEllipse(vent, vr, vr * kFlatten);
            p.setPen(Qt::NoPen);
            p.setBrush(inkAt(150));
            const int dots = 4 + rng.below(5);
            for (int i = 0; i < dots; ++i) {
                const double a = rng.range(0.0, 2.0 * std::numbers::pi);
                const double d = vr * rng.range(1.7, 3.2);
                p.drawEllipse(vent + QPointF(std::cos(a) * d, std::sin(a) * d * kFlatten), 0.45,
                              0.45);
            }
        }
    }
    // Its steep side: mostly the near (southern) one, swung a little crater by
    // crater.
    const double steepest = 0.5 * std::numbers::pi + rng.range(-0.6, 0.6);
    // Hachures falling from the lip down the outer slope as the peaks' shade
    // falls: tapering strokes of uneven spacing and length, close and long on the
    // near, steep side, few and short where the far slope shows over the rim or
    // the light falls, with runs left bare, so that they read as a slope rather
    // than as a cog's teeth or a sun's rays.
    const double circumference = 2.0 * std::numbers::pi * c.radius;
    const double gap = std::clamp(c.radius / 10.0, 1.8, 3.0);
    p.setPen(Qt::NoPen);
    int bare = 0;
    for (double s = rng.range(0.0, gap); s < circumference;) {
        const double a = s / c.radius;
        const double lit = 0.5 + 0.5 * std::cos(a + 0.75 * std::numbers::pi);  // 1 at north-west
        const double steep = 0.5 + 0.5 * std::cos(a - steepest);
        const double near = std::max(0.0, std::sin(a));  // the outer slope the eye sees
        s += gap * rng.range(0.6, 1.5) * (1.0 + 0.9 * lit) * (1.3 - 0.5 * near);
        if (bare > 0) {
            --bare;
            continue;
        }
        if (rng.uniform() < 0.03 + 0.08 * lit) {
            bare = 1 + rng.below(3);
            continue;
        }
        if (open(a) || rng.uniform() < 0.3 * lit + 0.15 * (1.0 - near)) {
            continue;
        }
        const double reach = std::min(
            0.6 * c.radius, (2.5 + 3.0 * near + 5.0 * steep * steep) * rng.range(0.6, 1.2));
        const double start = lip(a) + rng.range(0.0, 0.06);
        const QPointF from = onRim(c, a, start);
        // Down the fall: outward from the rim, bending toward the sheet's foot on
        // the near side as a slope seen obliquely does.
        QPointF out = onRim(c, a + rng.range(-0.1, 0.1), start + 0.1) - onRim(c, a, start);
        out /= std::max(1e-6, length(out));
        QPointF dir = out * (1.0 - 0.45 * near) + QPointF(0, 0.45 * near);
        dir *= reach / std::max(1e-6, length(dir));
        const QPointF n(-dir.y() / reach, dir.x() / reach);
        const double nib = (0.9 + 0.7 * steep) * rng.range(0.75, 1.25);
        p.setBrush(QColor(kReliefInk.red(), kReliefInk.green(), kReliefInk.blue(),
                          static_cast<int>(170 + 80 * (1.0 - lit))));
        p.drawPolygon(QPolygonF({from + n * (0.5 * nib), from + dir + n * (0.1 * nib),
                                 from + dir - n * (0.1 * nib), from - n * (0.5 * nib)}));
    }
    // The lip: one wavering inked line, heavier on its shaded south-eastern arc,
    // broken here and there where the pen lifts.
    const int lift = rng.below(kSteps);
    const int lift2 = (lift + kSteps / 3 + rng.below(kSteps / 3)) % kSteps;
    for (int i = 0; i < kSteps; ++i) {
        const double a = i * kTurn;
        if (open(a) || open(a + kTurn) || i == lift || i == lift2) {
            continue;
        }
        const double dark = 0.5 + 0.5 * std::cos(a - std::numbers::pi / 4);
        const double press = 1.0 + 0.18 * std::sin(3 * a + phase[2]);
        p.setPen(QPen(kReliefInk, (1.1 + 1.0 * dark) * press, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(onRim(c, a, lip(a)), onRim(c, a + kTurn, lip(a + kTurn)));
    }
    p.restore();
}

namespace {

// A tarn's shore on the ground, traced outward from the crater's centre along
// each bearing to the farthest pixel the lake touches.
QPolygonF tarnShore(const Crater& c, const Terrain& t) {
    constexpr int kBearings = 72;
    QPolygonF shore;
    for (int i = 0; i < kBearings; ++i) {
        const double a = 2.0 * std::numbers::pi * i / kBearings;
        const QPointF dir(std::cos(a), std::sin(a));
        double reach = 0.0;
        for (double r = 0.5; r < 1.5 * c.radius; r += 0.5) {
            const QPointF q = c.centre + r * dir;
            const int x = static_cast<int>(q.x());
            const int y = static_cast<int>(q.y());
            if (t.lake.contains(x, y) && t.lake(x, y) > 0) {
                reach = r;
            }
        }
        shore << c.centre + reach * dir;
    }
    return shore;
}

QPolygonF squashed(const QPolygonF& ring, QPointF centre, double grow, double flatten) {
    QPolygonF out;
    for (const QPointF& q : ring) {
        const QPointF d = q - centre;
        const double r = std::hypot(d.x(), d.y());
        const QPointF g = r > 0 ? d * (std::max(0.0, r + grow) / r) : d;
        out << centre + QPointF(g.x(), g.y() * flatten);
    }
    return out;
}

// The tarn laid in the lakes' flat wash, flattened as the rim is so that it
// lies in the hollow, then inked at its shore with a ripple line or two inside,
// as the other lakes are. The raster's round, pale water round it is laid over
// with the ground just beyond it.
void drawTarn(QPainter& p, const QPolygonF& ground, QPointF centre) {
    p.save();
    if (const auto* sheet = dynamic_cast<const QImage*>(p.device())) {
        const QPolygonF outer = squashed(ground, centre, 2.5, 1.0);
        const QPolygonF inner = squashed(ground, centre, 0.0, kFlatten);
        p.setPen(Qt::NoPen);
        for (qsizetype i = 0; i < outer.size(); ++i) {
            const qsizetype j = (i + 1) % outer.size();
            const QPointF d = outer[i] - centre;
            const double r = std::max(1.0, std::hypot(d.x(), d.y()));
            const QPoint beyond = (outer[i] + d * (2.5 / r)).toPoint();
            if (!sheet->rect().contains(beyond)) {
                continue;
            }
            p.setBrush(QColor(sheet->pixel(beyond)));
            p.drawPolygon(QPolygonF({outer[i], outer[j], inner[j], inner[i]}));
        }
    }
    p.setRenderHint(QPainter::Antialiasing);
    const QPolygonF shore = squashed(ground, centre, -1.0, kFlatten);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 174, 178));
    p.drawPolygon(shore);
    p.setBrush(Qt::NoBrush);
    const QColor ripple(56, 86, 104);
    p.setPen(QPen(QColor(ripple.red(), ripple.green(), ripple.blue(), 130), 0.8));
    p.drawPolygon(squashed(ground, centre, -5.5, kFlatten));
    p.setPen(QPen(QColor(ripple.red(), ripple.green(), ripple.blue(), 70), 0.7));
    p.drawPolygon(squashed(ground, centre, -11.0, kFlatten));
    p.setPen(QPen(QColor(50, 62, 74), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(shore);
    p.restore();
}

}  // namespace

void drawCrater(QPainter& p, const Crater& c, const Terrain& t) {
    constexpr int kSteps = 48;
    constexpr double kTurn = 2.0 * std::numbers::pi / kSteps;
    // Where a breached rim spills: its lowest point.
    double spill = 0.0;
    float lowest = 1e9f;
    for (int i = 0; i < kSteps; ++i) {
        const QPointF q = onRim(c, i * kTurn);
        const int x = std::clamp(static_cast<int>(q.x()), 0, t.height.width() - 1);
        const int y = std::clamp(static_cast<int>(q.y()), 0, t.height.height() - 1);
        if (t.height(x, y) < lowest) {
            lowest = t.height(x, y);
            spill = i * kTurn;
        }
    }
    const int cx = std::clamp(static_cast<int>(c.centre.x()), 0, t.height.width() - 1);
    const int cy = std::clamp(static_cast<int>(c.centre.y()), 0, t.height.height() - 1);
    const bool tarn = t.lake(cx, cy) > 127;
    if (tarn) {
        drawTarn(p, tarnShore(c, t), c.centre);
    }
    drawCraterRim(p, c, spill, tarn);
}

}  // namespace marventa
