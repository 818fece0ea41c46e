#include "tools/paint/crater_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

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
    const auto open = [&](double a) {
        const double d = std::remainder(a - spill, 2.0 * std::numbers::pi);
        return c.breached && std::fabs(d) < 0.45;
    };
    const QPointF mid = c.centre;
    const int cx = std::clamp(static_cast<int>(mid.x()), 0, t.height.width() - 1);
    const int cy = std::clamp(static_cast<int>(mid.y()), 0, t.height.height() - 1);
    const bool tarn = t.lake(cx, cy) > 127;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (!tarn) {
        // The hollow's far (north-western) inner wall faces away from the light.
        QPainterPath hollow;
        hollow.addEllipse(mid, c.radius * 0.92, c.radius * 0.92 * kFlatten);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 120, 100, 120));
        p.drawPath(hollow);
        QPainterPath shade;
        shade.moveTo(onRim(c, 0.75 * std::numbers::pi, 0.92));
        for (double a = 0.75 * std::numbers::pi; a <= 1.75 * std::numbers::pi + 1e-9; a += kTurn) {
            shade.lineTo(onRim(c, a, 0.92));
        }
        for (double a = 1.75 * std::numbers::pi; a >= 0.75 * std::numbers::pi - 1e-9; a -= kTurn) {
            shade.lineTo(mid + (onRim(c, a, 0.92) - mid) * 0.45 + QPointF(0.2, 0.25) * c.radius);
        }
        shade.closeSubpath();
        p.setBrush(QColor(84, 64, 54, 170));
        p.drawPath(shade);
    }
    // Hachures down the outer slope, longer on the near (southern) side.
    Rng rng(static_cast<std::uint64_t>(mid.x() * 4096 + mid.y()));
    p.setPen(QPen(kReliefInk, 0.75, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < kSteps; ++i) {
        const double a = (i + rng.range(-0.25, 0.25)) * kTurn;
        if (open(a)) {
            continue;
        }
        const double reach = (std::sin(a) > 0 ? 0.42 : 0.22) * rng.range(0.8, 1.2);
        p.drawLine(onRim(c, a, 1.04), onRim(c, a, 1.04 + reach));
    }
    // The rim, heavier on its shaded south-eastern arc.
    for (int i = 0; i < kSteps; ++i) {
        const double a = i * kTurn;
        if (open(a) || open(a + kTurn)) {
            continue;
        }
        const double dark = 0.5 + 0.5 * std::cos(a - std::numbers::pi / 4);
        p.setPen(QPen(kReliefInk, 0.9 + 0.9 * dark, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(onRim(c, a), onRim(c, a + kTurn));
    }
    p.restore();
}

}  // namespace marventa
