#include "city_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <optional>

#include "city_buildings.h"
#include "city_fillers.h"
#include "city_ground.h"
#include "distance_transform.h"
#include "label_placer.h"
#include "labels.h"
#include "noise.h"
#include "plane_geometry.h"
#include "rng.h"

namespace marventa {

namespace {

const QColor kInk(52, 38, 28);
const QColor kHalo(255, 250, 238, 230);
const QColor kStreetEdge(120, 100, 78);
const QColor kStreet(240, 230, 206);
const QColor kWallStone(112, 104, 96);
const QColor kWater(108, 156, 204);

struct Rgb {
    float r, g, b;
};

Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float smoothstep(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

Grid<unsigned char> maskOf(QSize size, const std::vector<QPolygonF>& polygons) {
    QImage mask(size, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const QPolygonF& poly : polygons) {
        p.drawPolygon(poly);
    }
    p.end();
    Grid<unsigned char> g(size.width(), size.height());
    for (int y = 0; y < size.height(); ++y) {
        const uchar* row = mask.constScanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            g(x, y) = row[x] > 127 ? 1 : 0;
        }
    }
    return g;
}

QPolygonF toPolygon(const std::vector<QPointF>& pts) {
    return QPolygonF(QList<QPointF>(pts.begin(), pts.end()));
}

// Seeded cells for fields and quarters: the nearest of a jittered lattice of seeds.
struct Cells {
    double spacing;
    std::uint64_t seed;

    QPointF seedOf(int i, int j) const {
        Rng r(mix64(seed ^ (static_cast<std::uint64_t>(i + 1000) << 20) ^
                    static_cast<std::uint64_t>(j + 1000)));
        return QPointF((i + r.range(0.15, 0.85)) * spacing, (j + r.range(0.15, 0.85)) * spacing);
    }

    // The nearest seed's id, and how far the point is from the border with the next nearest.
    std::pair<std::uint64_t, double> at(QPointF p) const {
        const int ci = static_cast<int>(std::floor(p.x() / spacing));
        const int cj = static_cast<int>(std::floor(p.y() / spacing));
        double d1 = 1e18, d2 = 1e18;
        std::uint64_t id = 0;
        for (int j = cj - 1; j <= cj + 1; ++j) {
            for (int i = ci - 1; i <= ci + 1; ++i) {
                const double d = length(p - seedOf(i, j));
                if (d < d1) {
                    d2 = d1;
                    d1 = d;
                    id = mix64(seed + static_cast<std::uint64_t>((i + 1000) * 4096 + (j + 1000)));
                } else if (d < d2) {
                    d2 = d;
                }
            }
        }
        return {id, (d2 - d1) / 2};
    }
};

// Ground pixel by pixel: fields with hedges outside the wall, paved quarters inside, water with
// shallows and ripples along its banks; all on grained paper.
QImage paintGround(const CityGround& ground, QSize size) {
    std::vector<QPolygonF> waters;
    for (const auto& w : ground.layout().waters) {
        waters.push_back(toPolygon(w));
    }
    const Grid<unsigned char> wet = maskOf(size, waters);
    std::vector<QPolygonF> marshes;
    for (const auto& m : ground.layout().marshes) {
        marshes.push_back(toPolygon(m));
    }
    const Grid<unsigned char> marsh = maskOf(size, marshes);
    const Grid<unsigned char> town = maskOf(size, {ground.wall()});
    Grid<unsigned char> dry(size.width(), size.height());
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            dry(x, y) = wet(x, y) ? 0 : 1;
        }
    }
    const Grid<float> toBank = distanceTo(dry, 120.0f);
    const Cells fields{130.0, 0xF1E1'D000 + static_cast<std::uint64_t>(size.width())};
    const Cells quarters{420.0, 0x9A47'E000 + static_cast<std::uint64_t>(size.height())};
    static constexpr Rgb kCrops[] = {{196, 212, 150}, {214, 208, 148}, {176, 200, 134},
                                     {226, 214, 160}, {186, 206, 146}, {204, 196, 140}};
    static constexpr Rgb kQuarters[] = {
        {232, 220, 196}, {228, 214, 200}, {222, 218, 196}, {234, 216, 188}};
    const Noise paper(0xC17E'0001);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const QPointF p(x, y);
            Rgb c;
            if (wet(x, y)) {
                const float d = toBank(x, y);
                c = mix({170, 208, 226}, {92, 140, 190}, smoothstep(0.0f, 90.0f, d));
                for (const auto& [at, strength] :
                     {std::pair{5.0f, 0.3f}, {11.0f, 0.2f}, {19.0f, 0.12f}}) {
                    c = mix(c, {60, 100, 150},
                            strength * (1.0f - smoothstep(0.25f, 1.0f, std::fabs(d - at))));
                }
            } else if (marsh(x, y)) {
                // Reed beds with pools showing between them.
                const float pool = paper.fbm(x / 26.0f, y / 26.0f + 40.0f, 3);
                c = pool > 0.15f ? Rgb{132, 170, 186} : Rgb{164, 186, 140};
            } else if (town(x, y)) {
                const auto [id, edge] = quarters.at(p);
                c = kQuarters[id % 4];
                (void)edge;
            } else {
                const auto [id, edge] = fields.at(p);
                c = kCrops[id % 6];
                // Hedges along the fields' borders.
                c = mix(c, {110, 140, 84},
                        0.7f * (1.0f - smoothstep(0.6f, 2.0f, static_cast<float>(edge))));
            }
            const float grain = 1.0f + 0.03f * paper.fbm(x / 300.0f, y / 300.0f, 3);
            auto ch = [&](float v) {
                return static_cast<int>(std::clamp(v * grain + 0.5f, 0.0f, 255.0f));
            };
            row[x] = qRgb(ch(c.r), ch(c.g), ch(c.b));
        }
    }
    return image;
}

QPainterPath linePath(const std::vector<QPointF>& pts) {
    QPainterPath path(pts.front());
    for (std::size_t i = 1; i < pts.size(); ++i) {
        path.lineTo(pts[i]);
    }
    return path;
}

// Stone quays where water meets the town, a plain inked bank elsewhere; reeds in the marsh.
void drawBanks(QPainter& p, const CityGround& ground) {
    p.setBrush(Qt::NoBrush);
    // One outline round all the water, so that where two waters meet no bank is drawn.
    QPainterPath water;
    water.setFillRule(Qt::WindingFill);
    for (const auto& w : ground.layout().waters) {
        water.addPolygon(toPolygon(w));
        water.closeSubpath();
    }
    water = water.simplified();
    p.setPen(QPen(QColor(48, 80, 112), 1.4));
    p.drawPath(water);
    p.save();
    QPainterPath town;
    town.addPolygon(ground.wall());
    p.setClipPath(town);
    p.setPen(QPen(QColor(96, 88, 78), 7.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(water);
    p.setPen(QPen(QColor(176, 166, 150), 4.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(water);
    p.restore();
    Rng rng(0x4EED'0001);
    for (const auto& m : ground.layout().marshes) {
        const QPolygonF marsh = toPolygon(m);
        const QRectF box = marsh.boundingRect();
        p.setPen(QPen(QColor(70, 100, 56), 1.1, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < static_cast<int>(box.width() * box.height() / 260); ++i) {
            const QPointF at(rng.range(box.left(), box.right()),
                             rng.range(box.top(), box.bottom()));
            if (!marsh.containsPoint(at, Qt::OddEvenFill)) {
                continue;
            }
            for (int k = -1; k <= 1; ++k) {
                p.drawLine(at, at + QPointF(2.5 * k, -6.0 + std::abs(k) * 1.5));
            }
        }
    }
}

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
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(150, 190, 220));
        p.drawEllipse(c, 6, 6);
    }
}

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

// Houses that touch merge into one terrace: the houses are stamped into a mask, then every
// stamped pixel is roofed and those on the mask's edge inked, so only a terrace's outline shows.
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
    const QRgb roof = qRgb(222, 206, 186);
    const QRgb edge = qRgb(172, 150, 128);
    auto built = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < mask.width() && y < mask.height() &&
               mask.constScanLine(y)[x] != 0;
    };
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (built(x, y)) {
                const bool rim =
                    !built(x - 1, y) || !built(x + 1, y) || !built(x, y - 1) || !built(x, y + 1);
                row[x] = rim ? edge : roof;
            }
        }
    }
}

void drawFootprints(QPainter& p, const std::vector<Footprint>& footprints) {
    for (const Footprint& f : footprints) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 40, 20, 70));
        p.drawPolygon(f.body.translated(3, 3));
        p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(roofOf(f.name));
        p.drawPolygon(f.body);
        if (f.shape == BuildingShape::Tower) {
            p.setBrush(QColor(120, 116, 110));
            p.drawEllipse(f.body.boundingRect().center(), 5, 5);
        } else if (f.shape == BuildingShape::Gatehouse) {
            // The gate passage through the house.
            p.setPen(QPen(kInk, 1.0, Qt::DashLine));
            const QRectF r = f.body.boundingRect();
            p.drawLine(QLineF((f.body[0] + f.body[1]) / 2, (f.body[2] + f.body[3]) / 2));
            (void)r;
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

// Names beside or on their buildings; a number where no name fits.
void drawBuildingNames(QPainter& p, const std::vector<Footprint>& footprints, LabelPlacer& placer) {
    const TextStyle name{mapFont(TypeFace::SansBold, 14), kInk, kHalo, 3.5};
    const QFontMetricsF m(name.font);
    for (const Footprint& f : footprints) {
        for (const Door& d : f.doors) {
            placer.reserve(QRectF(d.at - QPointF(6, 6), QSizeF(12, 12)));
        }
    }
    for (const Footprint& f : footprints) {
        const QRectF body = f.body.boundingRect();
        const QSizeF size(m.horizontalAdvance(f.name) + 4, m.ascent() + m.descent());
        std::vector<QRectF> candidates{
            QRectF(body.center() - QPointF(size.width() / 2, size.height() / 2), size)};
        for (const QRectF& r : LabelPlacer::around(body.center(), size,
                                                   std::max(body.width(), body.height()) / 2 + 2)) {
            candidates.push_back(r);
        }
        if (const auto box = placer.place(candidates)) {
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
            double angle = std::atan2(dir.y(), dir.x()) * 180 / std::numbers::pi;
            if (angle > 90) {
                angle -= 180;
            } else if (angle < -90) {
                angle += 180;
            }
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

void drawTrees(QPainter& p, const CityGround& ground, const TownFabric& fabric,
               const std::vector<Footprint>& footprints, QSize size) {
    Rng rng(0x7EE5'C001 + static_cast<std::uint64_t>(size.width()));
    const Noise orchard(0x7EE5'C002);
    auto clear = [&](QPointF q) {
        if (!ground.inMap(q) || ground.isWater(q) || ground.streetDistance(q) < 14 ||
            ground.wallDistance(q) < 16) {
            return false;
        }
        for (const auto& road : fabric.roadsOut) {
            if (distanceToPolyline(q, road) < 12) {
                return false;
            }
        }
        auto inside = [&](const QPolygonF& poly) {
            return poly.boundingRect().adjusted(-6, -6, 6, 6).contains(q);
        };
        return std::none_of(fabric.houses.begin(), fabric.houses.end(), inside) &&
               std::none_of(fabric.squares.begin(), fabric.squares.end(), inside) &&
               std::none_of(footprints.begin(), footprints.end(),
                            [&](const Footprint& f) { return inside(f.body); });
    };
    for (int i = 0; i < size.width() * size.height() / 700; ++i) {
        const QPointF q(rng.range(0, size.width()), rng.range(0, size.height()));
        const bool inTown = ground.insideWall(q);
        // Groves and orchards outside, gardens within.
        if ((!inTown && orchard.fbm(q.x() / 220.0, q.y() / 220.0, 3) < 0.2) ||
            (inTown && rng.chance(0.95)) || !clear(q)) {
            continue;
        }
        const double r = rng.range(4.0, 6.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 60, 30, 60));
        p.drawEllipse(q + QPointF(2, 2.5), r, r * 0.8);
        p.setPen(QPen(QColor(40, 76, 40), 0.9));
        p.setBrush(QColor(86 + rng.below(20), 134 + rng.below(20), 70));
        p.drawEllipse(q, r, r);
    }
}

std::optional<QRectF> drawTitle(QPainter& p, const QString& title, QSize size,
                                const QPolygonF& wall, LabelPlacer& placer) {
    const TextStyle style{mapFont(TypeFace::SerifBold, 46, 6), kInk, QColor(250, 243, 222), 1.0};
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
        p.setPen(QPen(kInk, 2.0));
        p.setBrush(QColor(250, 243, 222, 235));
        p.drawRoundedRect(*r, 8, 8);
        p.setPen(QPen(kInk, 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r->adjusted(5, 5, -5, -5), 5, 5);
        drawHaloTextCentred(p, title, r->center(), style);
    }
    return r;
}

}  // namespace

QImage paintCity(const CityGround& ground, const QString& title,
                 const std::vector<Footprint>& footprints) {
    const QSize size = ground.size().toSize();
    const TownFabric fabric = buildFabric(ground, footprints);

    QImage image = paintGround(ground, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawBanks(p, ground);
    drawStreets(p, ground, fabric);
    drawTrees(p, ground, fabric, footprints, size);
    p.end();
    drawHouses(image, fabric.houses);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawWall(p, ground, footprints);
    drawFootprints(p, footprints);

    // The title keeps clear of every building; names may lie over buildings but not over doors
    // or one another.
    LabelPlacer clear(QRectF(6, 6, size.width() - 12, size.height() - 12));
    for (const Footprint& f : footprints) {
        clear.reserve(f.body.boundingRect().adjusted(-2, -2, 2, 2));
    }
    LabelPlacer names(QRectF(6, 6, size.width() - 12, size.height() - 12));
    if (const auto box = drawTitle(p, title, size, ground.wall(), clear)) {
        names.reserve(*box);
    }
    drawBuildingNames(p, footprints, names);
    drawStreetNames(p, ground, names);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 3.0));
    p.drawRect(QRectF(1.5, 1.5, size.width() - 3, size.height() - 3));
    p.end();
    return image;
}

}  // namespace marventa
