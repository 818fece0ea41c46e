#include "tools/paint/compass_rose.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace marventa {

// An eight-pointed rose: broad cardinal points over slimmer diagonals, each split into a light and
// a dark half, north in red. Outlines only where there are pixels enough to carry them.
void drawCompassRose(QPainter& p, QPointF c, double u, bool outlined) {
    const QPen outline =
        outlined ? QPen(QColor(40, 30, 20), 0.45 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                 : QPen(Qt::NoPen);
    p.setPen(QPen(QColor(58, 46, 36), std::max(1.0, 0.8 * u)));
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
            p.setBrush(i == 0 ? QColor(226, 62, 44) : QColor(252, 246, 228));
            p.drawPolygon(QPolygonF({c, tip, c + w * side}));
            p.setBrush(i == 0 ? QColor(140, 22, 16) : QColor(58, 46, 36));
            p.drawPolygon(QPolygonF({c, tip, c - w * side}));
        }
    }
    p.setPen(outline);
    p.setBrush(QColor(222, 170, 44));
    p.drawEllipse(c, 1.8 * u, 1.8 * u);
}

}  // namespace marventa
