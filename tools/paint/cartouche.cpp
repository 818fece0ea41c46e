#include "tools/paint/cartouche.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/common/noise.h"

namespace marventa {

namespace {

const QColor kPanelPaper(247, 240, 218, 242);

// A ruled rectangle in a hand's pen: the line wanders a fraction of a pixel off true and its
// weight swells and eases along it, so no two sides read as one machine stroke.
void handRule(QPainter& p, const QRectF& r, double weight, const Noise& hand, float seed) {
    const std::vector<QPointF> corners{r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft(),
                                       r.topLeft()};
    std::vector<QPointF> pts;
    for (std::size_t c = 0; c + 1 < corners.size(); ++c) {
        const QPointF a = corners[c];
        const QPointF b = corners[c + 1];
        const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
        const int steps = std::max(1, static_cast<int>(len / 5.0));
        for (int i = 0; i < steps; ++i) {
            pts.push_back(a + (b - a) * (static_cast<double>(i) / steps));
        }
    }
    pts.push_back(corners.back());
    for (QPointF& q : pts) {
        const auto fx = static_cast<float>(q.x() / 70.0);
        const auto fy = static_cast<float>(q.y() / 70.0);
        q += QPointF(0.45 * hand.fbm(fx + seed, fy, 2), 0.45 * hand.fbm(fx, fy + seed, 2));
    }
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        const auto fx = static_cast<float>(pts[i].x() / 120.0);
        const auto fy = static_cast<float>(pts[i].y() / 120.0);
        const double w = weight * (1.0 + 0.35 * hand.fbm(fx + 3.0f * seed, fy + seed, 2));
        p.setPen(
            QPen(p.pen().color(), std::max(0.3, w), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(pts[i], pts[i + 1]);
    }
}

// A small scroll turned into the panel at a corner: a curl winding in from the corner's diagonal
// to a dot, with a leaf either side along the rules.
void cornerScroll(QPainter& p, QPointF corner, QPointF inward, double size, const QColor& ink) {
    const QPointF centre = corner + inward * (0.55 * size);
    const double start = std::atan2(-inward.y(), -inward.x());
    QPainterPath curl;
    constexpr int kSteps = 40;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps;
        const double a = start + t * 1.6 * 2.0 * std::numbers::pi;
        const double r = 0.5 * size * (1.0 - 0.8 * t);
        const QPointF q = centre + QPointF(std::cos(a), std::sin(a)) * r;
        if (i == 0) {
            curl.moveTo(q);
        } else {
            curl.lineTo(q);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curl);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(centre, 0.12 * size + 0.5, 0.12 * size + 0.5);
    for (const QPointF along : {QPointF(inward.x(), 0), QPointF(0, inward.y())}) {
        const QPointF base = corner + along * (1.05 * size);
        const QPointF tip = base + along * (0.9 * size);
        const QPointF side = QPointF(-along.y(), along.x()) * (0.2 * size);
        QPainterPath leaf(base);
        leaf.quadTo((base + tip) / 2 + side, tip);
        leaf.quadTo((base + tip) / 2 - side, base);
        p.drawPath(leaf);
    }
}

void frame(QPainter& p, const QRectF& outer, const QRectF& inner, double heavy, double fine,
           const QColor& ink, float seed, double ornament) {
    const Noise hand(0xCA27'0001);
    p.setBrush(Qt::NoBrush);
    p.setPen(ink);
    handRule(p, outer, heavy, hand, seed);
    p.setPen(ink);
    handRule(p, inner, fine, hand, seed + 29.0f);
    const std::vector<std::pair<QPointF, QPointF>> corners{{inner.topLeft(), {1, 1}},
                                                           {inner.topRight(), {-1, 1}},
                                                           {inner.bottomRight(), {-1, -1}},
                                                           {inner.bottomLeft(), {1, -1}}};
    for (const auto& [at, inward] : corners) {
        cornerScroll(p, at + inward * 2.0, inward, ornament, ink);
    }
}

}  // namespace

void drawCartouche(QPainter& p, const QRectF& panel, const QColor& ink, double inset) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kPanelPaper);
    p.drawRect(panel);
    const QRectF inner = panel.adjusted(inset, inset, -inset, -inset);
    frame(p, panel.adjusted(1.5, 1.5, -1.5, -1.5), inner, 2.0, 0.8, ink,
          static_cast<float>(panel.left() / 50.0), 0.9 * inset + 2.0);
    p.restore();
}

void drawBorder(QPainter& p, QSize sheet, const QColor& ink) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(3.0, 3.0, sheet.width() - 6.0, sheet.height() - 6.0);
    const QRectF inner(10.5, 10.5, sheet.width() - 21.0, sheet.height() - 21.0);
    frame(p, outer, inner, 3.0, 1.0, ink, 71.0f, 12.0);
    p.restore();
}

}  // namespace marventa
