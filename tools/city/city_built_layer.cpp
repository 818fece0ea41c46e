#include <QPainterPath>
#include <algorithm>

#include "city_layers.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

const QColor kStreetEdge(176, 160, 136);
const QColor kStreet(240, 230, 206);

QColor roofOf(const QString& name) {
    auto has = [&](const char* w) { return name.contains(QLatin1String(w)); };
    if (has("Temple") || has("Chapel") || has("Circle") || has("Scriptorium")) {
        return QColor(180, 152, 204);
    }
    if (name.startsWith(QLatin1String("The "))) {
        return QColor(232, 178, 76);  // inns and taverns
    }
    if (has("Gate") || has("Tower") || has("Keep") || has("Castle") || has("Citadel") ||
        has("Barracks") || has("Watch") || has("Jail") || has("Armoury") || has("Lighthouse")) {
        return QColor(176, 172, 166);
    }
    if (has("Market") || has("Hall") || has("Guild") || has("Exchange") || has("House of") ||
        has("Moot") || has("Coin") || has("Customs") || has("Office")) {
        return QColor(214, 120, 92);
    }
    return QColor(222, 150, 110);
}

}  // namespace

void drawStreets(QPainter& p, const CityGround& ground, const TownFabric& fabric) {
    p.setBrush(Qt::NoBrush);
    for (const auto& road : fabric.roadsOut) {
        p.setPen(QPen(QColor(150, 120, 84), 13, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.drawPath(linePath(road));
        p.setPen(QPen(QColor(222, 200, 160), 10, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.drawPath(linePath(road));
    }
    for (const QLineF& b : fabric.bridges) {
        p.setPen(QPen(kStreetEdge, kStreetWidth + 6, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(b);
    }
    for (const Street& s : ground.layout().streets) {
        p.setPen(
            QPen(kStreetEdge, kStreetWidth + 2.5, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
        p.drawPath(linePath(s.line));
    }
    for (const QPolygonF& sq : fabric.squares) {
        p.setPen(QPen(kStreetEdge, 1.4));
        p.setBrush(QColor(236, 224, 196));
        p.drawPolygon(sq);
    }
    for (const QLineF& b : fabric.bridges) {
        p.setPen(QPen(QColor(214, 204, 184), kStreetWidth + 2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(b);
    }
    for (const Street& s : ground.layout().streets) {
        p.setPen(QPen(kStreet, kStreetWidth, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
        p.drawPath(linePath(s.line));
    }
    // A well in the middle of each square.
    for (const QPolygonF& sq : fabric.squares) {
        const QPointF c = sq.boundingRect().center();
        p.setPen(QPen(kCityInk, 1.2));
        p.setBrush(QColor(150, 190, 220));
        p.drawEllipse(c, 6, 6);
    }
}

// Houses that touch merge into one terrace: the houses are stamped into a mask and every
// stamped pixel roofed in one flat tone, so a terrace reads as one block without inked seams
// (which would also cost the picture much of its size budget).
void drawHouses(QImage& image, const std::vector<QPolygonF>& houses) {
    QImage mask(image.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter m(&mask);
    m.setPen(QPen(Qt::white, 1.0));
    m.setBrush(Qt::white);
    for (const QPolygonF& h : houses) {
        m.drawPolygon(h);
    }
    m.end();
    const QRgb roof = qRgb(226, 212, 190);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* built = mask.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (built[x] != 0) {
                row[x] = roof;
            }
        }
    }
}

namespace {

// A gate wherever a street passes the wall and no gatehouse of the table stands: the passage
// opened in the wall between two small flanking towers.
void drawStreetGates(QPainter& p, const CityGround& ground,
                     const std::vector<Footprint>& footprints) {
    const QPolygonF& wall = ground.wall();
    for (const Street& street : ground.layout().streets) {
        // A street that ends at the wall passes it too: its ends are reached a little further.
        std::vector<QPointF> line = street.line;
        for (const bool atEnd : {false, true}) {
            const QPointF end = atEnd ? line.back() : line.front();
            const QPointF next = atEnd ? line[line.size() - 2] : line[1];
            (atEnd ? line.back() : line.front()) = end + (end - next) * (20.0 / length(end - next));
        }
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            const QLineF road(line[i], line[i + 1]);
            for (int k = 0; k < wall.size(); ++k) {
                const QLineF side(wall[k], wall[(k + 1) % wall.size()]);
                QPointF at;
                if (road.intersects(side, &at) != QLineF::BoundedIntersection) {
                    continue;
                }
                const bool gatehouse =
                    std::any_of(footprints.begin(), footprints.end(), [&](const Footprint& f) {
                        return f.shape == BuildingShape::Gatehouse &&
                               f.body.boundingRect().adjusted(-30, -30, 30, 30).contains(at);
                    });
                if (gatehouse) {
                    continue;
                }
                const QPointF along = (side.p2() - side.p1()) / side.length();
                const QPointF across(-along.y(), along.x());
                const double half = kStreetWidth / 2 + 1;
                p.setPen(Qt::NoPen);
                p.setBrush(kStreet);
                p.drawPolygon(QPolygonF(
                    {at + along * half + across * 7.0, at - along * half + across * 7.0,
                     at - along * half - across * 7.0, at + along * half - across * 7.0}));
                p.setPen(QPen(QColor(60, 54, 48), 1.6));
                p.setBrush(QColor(160, 152, 142));
                for (const double k2 : {1.0, -1.0}) {
                    const QPointF c = at + along * (k2 * (half + 8));
                    p.drawRect(QRectF(c - QPointF(8, 8), QSizeF(16, 16)));
                }
            }
        }
    }
}

}  // namespace

void drawWall(QPainter& p, const CityGround& ground, const std::vector<Footprint>& footprints) {
    const QPolygonF wall = ground.wall();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 54, 48), 11, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolygon(wall);
    p.setPen(QPen(QColor(150, 142, 132), 7, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolygon(wall);
    // Towers at the corners and every couple of hundred pixels between, none on a gatehouse.
    std::vector<QPointF> towers;
    for (int i = 0; i < wall.size(); ++i) {
        const QPointF a = wall[i];
        const QPointF b = wall[(i + 1) % wall.size()];
        const int n = std::max(1, static_cast<int>(length(b - a) / 210.0));
        for (int k = 0; k < n; ++k) {
            towers.push_back(a + (b - a) * (static_cast<double>(k) / n));
        }
    }
    drawStreetGates(p, ground, footprints);
    for (const QPointF& t : towers) {
        const bool atGate =
            std::any_of(footprints.begin(), footprints.end(), [&](const Footprint& f) {
                return f.shape == BuildingShape::Gatehouse &&
                       f.body.boundingRect().adjusted(-14, -14, 14, 14).contains(t);
            });
        const bool onStreet = ground.streetDistance(t) < 16.0;
        if (atGate || onStreet || ground.isWater(t)) {
            continue;
        }
        p.setPen(QPen(QColor(60, 54, 48), 1.6));
        p.setBrush(QColor(160, 152, 142));
        p.drawEllipse(t, 11, 11);
        p.setBrush(QColor(120, 112, 104));
        p.drawEllipse(t, 5, 5);
    }
}

void drawFootprints(QPainter& p, const std::vector<Footprint>& footprints) {
    for (const Footprint& f : footprints) {
        p.setPen(QPen(kCityInk, 1.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(roofOf(f.name));
        const QRectF box = f.body.boundingRect();
        if (f.name.contains(QLatin1String("Arena"))) {
            // An oval of tiered seats round a sand floor; its doors stay on the straight sides.
            const double r = std::min(box.width(), box.height()) * 0.45;
            p.drawRoundedRect(box, r, r);
            p.setBrush(QColor(236, 214, 160));
            p.drawRoundedRect(box.adjusted(r * 0.5, r * 0.5, -r * 0.5, -r * 0.5), r * 0.5, r * 0.5);
        } else {
            p.drawPolygon(f.body);
        }
        if (f.shape == BuildingShape::Tower) {
            p.setBrush(QColor(120, 116, 110));
            p.drawEllipse(box.center(), 5, 5);
        } else if (f.shape == BuildingShape::Gatehouse) {
            // The gate passage through the house.
            p.setPen(QPen(kCityInk, 1.0, Qt::DashLine));
            p.drawLine(QLineF((f.body[0] + f.body[1]) / 2, (f.body[2] + f.body[3]) / 2));
        } else if (f.name.contains(QLatin1String("Palace")) && box.width() > 100) {
            // Ranges of rooms round a courtyard garden.
            p.setBrush(QColor(176, 198, 140));
            p.drawRect(box.adjusted(box.width() * 0.28, box.height() * 0.28, -box.width() * 0.28,
                                    -box.height() * 0.28));
        } else if (f.name.contains(QLatin1String("Keep")) ||
                   f.name.contains(QLatin1String("Castle")) ||
                   f.name.contains(QLatin1String("Citadel"))) {
            // A tower at every corner and a courtyard within.
            p.setBrush(QColor(204, 196, 180));
            p.drawRect(box.adjusted(box.width() * 0.3, box.height() * 0.3, -box.width() * 0.3,
                                    -box.height() * 0.3));
            p.setBrush(QColor(160, 152, 142));
            for (const QPointF& corner : f.body) {
                p.drawEllipse(corner, 8, 8);
            }
        }
        for (const Door& d : f.doors) {
            const QPointF along(-d.outward.y(), d.outward.x());
            QPolygonF mark(
                {d.at + along * 5.0 - d.outward * 2.5, d.at - along * 5.0 - d.outward * 2.5,
                 d.at - along * 5.0 + d.outward * 2.5, d.at + along * 5.0 + d.outward * 2.5});
            p.setPen(QPen(QColor(255, 248, 228), 1.0));
            p.setBrush(QColor(120, 30, 24));
            p.drawPolygon(mark);
        }
    }
}
}  // namespace marventa
