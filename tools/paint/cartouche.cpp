#include "tools/paint/cartouche.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace marventa {

namespace {

const QColor kPanelPaper(247, 240, 218, 242);

void diamond(QPainter& p, QPointF at, double r) {
    p.drawPolygon(QPolygonF(
        {at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r), at + QPointF(-r, 0)}));
}

}  // namespace

void drawCartouche(QPainter& p, const QRectF& panel, const QColor& ink, double inset) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kPanelPaper);
    p.drawRect(panel);
    const QRectF inner = panel.adjusted(inset, inset, -inset, -inset);
    // Oblique strokes across the band between the rules, clipped to it.
    QPainterPath band;
    band.addRect(panel);
    band.addRect(inner);
    p.setClipPath(band);
    p.setPen(QPen(ink, 0.6));
    const double span = panel.width() + panel.height();
    for (double d = 0; d < span; d += 4.0) {
        p.drawLine(QPointF(panel.left() + d, panel.top()),
                   QPointF(panel.left() + d - panel.height(), panel.bottom()));
    }
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.2));
    p.drawRect(panel);
    p.setPen(QPen(ink, 0.9));
    p.drawRect(inner);
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    for (const QPointF& c :
         {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight()}) {
        diamond(p, c, 0.55 * inset + 1.0);
    }
    p.restore();
}

void drawBorder(QPainter& p, QSize sheet, const QColor& ink) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF outer(6.5, 6.5, sheet.width() - 13, sheet.height() - 13);
    const QRectF inner(10.5, 10.5, sheet.width() - 21, sheet.height() - 21);
    // Blocks of a hundred pixels, alternately inked, counted from the top-left corner.
    constexpr int kBlock = 100;
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int x = 0; x * kBlock < sheet.width(); x += 2) {
        const double left = outer.left() + x * kBlock;
        const double w = std::min<double>(kBlock, outer.right() - left);
        p.drawRect(QRectF(left, outer.top(), w, inner.top() - outer.top()));
        p.drawRect(QRectF(left, inner.bottom(), w, outer.bottom() - inner.bottom()));
    }
    for (int y = 1; y * kBlock < sheet.height(); y += 2) {
        const double top = outer.top() + y * kBlock;
        const double h = std::min<double>(kBlock, outer.bottom() - top);
        p.drawRect(QRectF(outer.left(), top, inner.left() - outer.left(), h));
        p.drawRect(QRectF(inner.right(), top, outer.right() - inner.right(), h));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.0));
    p.drawRect(outer);
    p.drawRect(inner);
    p.setPen(QPen(ink, 3.0));
    p.drawRect(QRectF(1.5, 1.5, sheet.width() - 3, sheet.height() - 3));
    p.restore();
}

}  // namespace marventa
