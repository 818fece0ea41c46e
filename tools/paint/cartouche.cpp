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

namespace {

const QColor kRollPaper(236, 224, 194);

// A roll of the scroll lying across from `left` to `right` (the middles of its ends), `radius`
// thick: the paper's cylinder shaded by a few strokes along its underside, each end a curl.
void scrollRoll(QPainter& p, double left, double right, double y, double radius,
                const QColor& ink) {
    const QRectF body(left, y - radius, right - left, 2 * radius);
    p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kRollPaper);
    p.drawRoundedRect(body, radius, radius);
    QColor shade = ink;
    shade.setAlpha(150);
    const Noise hand(0xCA27'0002);
    for (const double at : {0.35, 0.6, 0.82}) {
        const double yy = y + at * radius;
        const double inset = radius * (1.0 + 0.4 * at);
        std::vector<QPointF> pts;
        for (double x = left + inset; x <= right - inset; x += 6.0) {
            pts.emplace_back(
                x, yy + 0.35 * hand.fbm(static_cast<float>(x / 40.0), static_cast<float>(yy), 2));
        }
        p.setPen(QPen(shade, 0.5 + 0.5 * at, Qt::SolidLine, Qt::RoundCap));
        p.drawPolyline(pts.data(), static_cast<int>(pts.size()));
    }
    // The rolled ends seen end on: the paper's turns winding in to the roll's core.
    for (const double cx : {left + radius, right - radius}) {
        const QPointF centre(cx, y);
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(kPanelPaper);
        p.drawEllipse(centre, radius * 0.92, radius * 0.92);
        QPainterPath curl;
        constexpr int kSteps = 36;
        for (int i = 0; i <= kSteps; ++i) {
            const double t = static_cast<double>(i) / kSteps;
            const double a = (cx < (left + right) / 2 ? 0.5 : -0.5) * std::numbers::pi +
                             t * 2.2 * std::numbers::pi;
            const QPointF q =
                centre + QPointF(std::cos(a), std::sin(a)) * (radius * 0.8 * (1 - 0.8 * t));
            if (i == 0) {
                curl.moveTo(q);
            } else {
                curl.lineTo(q);
            }
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 0.8, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(curl);
    }
}

}  // namespace

void drawTitleScroll(QPainter& p, const QRectF& panel, const QColor& ink) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    constexpr double kRoll = 9.0;
    const QRectF sheet = panel.adjusted(12, kRoll + 1, -12, -kRoll - 1);
    p.setPen(Qt::NoPen);
    p.setBrush(kPanelPaper);
    p.drawRect(sheet);
    const Noise hand(0xCA27'0001);
    p.setBrush(Qt::NoBrush);
    p.setPen(ink);
    handRule(p, sheet.adjusted(0.8, 0, -0.8, 0), 1.8, hand, 13.0f);
    p.setPen(ink);
    handRule(p, sheet.adjusted(7, 9, -7, -9), 0.8, hand, 41.0f);
    scrollRoll(p, panel.left() + 2, panel.right() - 2, panel.top() + kRoll + 1, kRoll, ink);
    scrollRoll(p, panel.left() + 2, panel.right() - 2, panel.bottom() - kRoll - 1, kRoll, ink);
    p.restore();
}

void drawBanner(QPainter& p, QPointF centre, QSizeF size, double tail, const QColor& ink) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double l = centre.x() - size.width() / 2;
    const double r = centre.x() + size.width() / 2;
    const double t = centre.y() - size.height() / 2;
    const double b = centre.y() + size.height() / 2;
    const double bow = 5.0;    // the band's middle sags below its ends
    const double drop = 14.0;  // the tails hang this much lower than the band
    const double fold = 14.0;  // how far a tail runs in behind the band
    const QPen outline(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (const double side : {-1.0, 1.0}) {
        const double end = side < 0 ? l : r;
        const double in = end - side * fold;
        const double outer = end + side * tail;
        QPainterPath piece;
        piece.moveTo(in, t + drop);
        piece.lineTo(outer, t + drop);
        piece.lineTo(outer - side * 0.45 * tail, (t + b) / 2 + drop);
        piece.lineTo(outer, b + drop);
        piece.lineTo(in, b + drop);
        piece.closeSubpath();
        p.setPen(outline);
        p.setBrush(kRollPaper);
        p.drawPath(piece);
        // The fold, in the shade of the ribbon's back, from the band's lower corner to the tail.
        QPainterPath turn;
        turn.moveTo(end, b);
        turn.lineTo(in, b + drop);
        turn.lineTo(end, b + drop);
        turn.closeSubpath();
        QColor back = ink;
        back.setAlpha(200);
        p.setBrush(back);
        p.drawPath(turn);
        // A few strokes of shade along the tail's inner end, where the band overhangs it.
        QColor shade = ink;
        shade.setAlpha(140);
        p.setPen(QPen(shade, 0.7, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i) {
            const double x = end + side * (4.0 + 4.0 * i);
            p.drawLine(QPointF(x, t + drop + 3),
                       QPointF(x, b + drop - 3 - 0.4 * size.height() * i / 4));
        }
    }
    QPainterPath band;
    band.moveTo(l, t);
    band.quadTo(centre.x(), t + 2 * bow, r, t);
    band.lineTo(r, b);
    band.quadTo(centre.x(), b + 2 * bow, l, b);
    band.closeSubpath();
    p.setPen(outline);
    p.setBrush(kPanelPaper);
    p.drawPath(band);
    // The ribbon's own border, a fine line within each long edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 0.7, Qt::SolidLine, Qt::RoundCap));
    QPainterPath border;
    border.moveTo(l + 6, t + 5);
    border.quadTo(centre.x(), t + 5 + 2 * bow, r - 6, t + 5);
    border.moveTo(l + 6, b - 5);
    border.quadTo(centre.x(), b - 5 + 2 * bow, r - 6, b - 5);
    p.drawPath(border);
    p.restore();
}

void drawStrap(QPainter& p, QPointF top, QPointF bottom, const QColor& ink) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF strap(top.x() - 6, top.y(), 12, bottom.y() - top.y());
    p.setPen(QPen(ink, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kRollPaper);
    p.drawRect(strap);
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    // A rivet where it is fixed to either panel.
    p.drawEllipse(QPointF(top.x(), top.y() + 3.5), 1.4, 1.4);
    p.drawEllipse(QPointF(bottom.x(), bottom.y() - 3.5), 1.4, 1.4);
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
