#include <QFontMetricsF>
#include <algorithm>
#include <iterator>

#include "city_layers.h"
#include "tools/common/labels.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

// Where a building's name may go: inside it when the name fits, else beside it on each side in
// turn, then at its corners.
std::vector<QRectF> nameSpots(const QRectF& body, QSizeF size) {
    constexpr double kGap = 4.0;
    const double w = size.width();
    const double h = size.height();
    const QPointF c = body.center();
    std::vector<QRectF> spots;
    if (w <= body.width() - 6 && h <= body.height() - 6) {
        spots.emplace_back(c - QPointF(w / 2, h / 2), size);
    }
    spots.emplace_back(QPointF(body.right() + kGap, c.y() - h / 2), size);
    spots.emplace_back(QPointF(body.left() - kGap - w, c.y() - h / 2), size);
    spots.emplace_back(QPointF(c.x() - w / 2, body.top() - kGap - h), size);
    spots.emplace_back(QPointF(c.x() - w / 2, body.bottom() + kGap), size);
    spots.emplace_back(QPointF(body.right() + kGap, body.top() - h), size);
    spots.emplace_back(QPointF(body.left() - kGap - w, body.top() - h), size);
    spots.emplace_back(QPointF(body.right() + kGap, body.bottom()), size);
    spots.emplace_back(QPointF(body.left() - kGap - w, body.bottom()), size);
    return spots;
}

}  // namespace

// Each name on or beside its own building, never over another building, a door or another
// name; a number on the building where no such spot is free.
void drawBuildingNames(QPainter& p, const std::vector<Footprint>& footprints, LabelPlacer& placer) {
    const TextStyle name{mapFont(TypeFace::SansBold, 14), kCityInk, kCityHalo, 2.5};
    const QFontMetricsF m(name.font);
    for (const Footprint& f : footprints) {
        for (const Door& d : f.doors) {
            placer.reserve(QRectF(d.at - QPointF(6, 6), QSizeF(12, 12)));
        }
    }
    for (const Footprint& f : footprints) {
        const QRectF body = f.body.boundingRect();
        const QSizeF size(m.horizontalAdvance(f.name) + 4, m.ascent() + m.descent());
        std::vector<QRectF> spots = nameSpots(body, size);
        std::erase_if(spots, [&](const QRectF& r) {
            return std::any_of(footprints.begin(), footprints.end(), [&](const Footprint& other) {
                return &other != &f && other.body.boundingRect().intersects(r);
            });
        });
        if (const auto box = placer.place(spots)) {
            drawHaloText(p, f.name, QPointF(box->left() + 2, box->top() + m.ascent()), name);
            continue;
        }
        const QString number = QString::number(f.number);
        drawHaloTextCentred(p, number, body.center(), name);
    }
}

void drawStreetNames(QPainter& p, const CityGround& ground, LabelPlacer& placer) {
    const TextStyle style{mapFont(TypeFace::SerifItalic, 15), QColor(90, 70, 50),
                          QColor(240, 230, 206, 230), 2.0};
    const QFontMetricsF m(style.font);
    for (const Street& s : ground.layout().streets) {
        const std::vector<QPointF> pts = resample(s.line, 8.0);
        const double w = m.horizontalAdvance(s.name) + 8;
        for (double f : {0.5, 0.35, 0.65, 0.2, 0.8}) {
            const std::size_t i = static_cast<std::size_t>(f * static_cast<double>(pts.size() - 1));
            const QPointF dir = pts[std::min(pts.size() - 1, i + 3)] - pts[i >= 3 ? i - 3 : 0];
            const double angle = uprightAngle(dir);
            QTransform t;
            t.translate(pts[i].x(), pts[i].y());
            t.rotate(angle);
            const QPolygonF box = t.map(QPolygonF(QRectF(-w / 2, -8, w, 16)));
            if (placer.isFree(box)) {
                placer.reserve(box);
                p.save();
                p.translate(pts[i]);
                p.rotate(angle);
                drawHaloTextCentred(p, s.name, QPointF(0, 0), style);
                p.restore();
                break;
            }
        }
    }
}

std::optional<QRectF> drawTitle(QPainter& p, const QString& title, QSize size,
                                const QPolygonF& wall, LabelPlacer& placer) {
    const TextStyle style{mapFont(TypeFace::SerifBold, 46, 6), kCityInk, QColor(250, 243, 222),
                          1.0};
    const QFontMetricsF m(style.font);
    const QSizeF box(m.horizontalAdvance(title) + 48, 76);
    const std::vector<QRectF> corners{
        QRectF(QPointF(18, 18), box), QRectF(QPointF(size.width() - 18 - box.width(), 18), box),
        QRectF(QPointF(18, size.height() - 18 - box.height()), box),
        QRectF(QPointF(size.width() - 18 - box.width(), size.height() - 18 - box.height()), box)};
    // Out in the country if a corner has room, else wherever nothing is named.
    std::vector<QRectF> outside;
    std::copy_if(corners.begin(), corners.end(), std::back_inserter(outside),
                 [&](const QRectF& c) { return !QPolygonF(c).intersects(wall); });
    std::vector<QRectF> candidates = outside;
    candidates.insert(candidates.end(), corners.begin(), corners.end());
    const auto r = placer.place(candidates);
    if (r) {
        drawPanel(p, *r, kCityInk, 8, 5);
        drawHaloTextCentred(p, title, r->center(), style);
    }
    return r;
}
}  // namespace marventa
