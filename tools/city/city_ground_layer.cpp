#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "city_layers.h"
#include "tools/common/blend.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa {

namespace {

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

}  // namespace

// A hill town's slopes: shaded from the north-west and ringed by a faint contour every eighth of
// the climb, rising to the summit.
Rgb onHill(Rgb c, QPointF p, QPointF summit, float radius) {
    const QPointF off = p - summit;
    const auto d = static_cast<float>(length(off));
    const float height = std::max(0.0f, 1.0f - d / radius);
    const float lit = d > 1.0f ? static_cast<float>((-off.x() - off.y()) / (1.4142 * d)) : 0.0f;
    c = mix(c, lit > 0 ? Rgb{250, 244, 226} : Rgb{150, 130, 104}, 0.12f * std::fabs(lit) * height);
    const float step = radius / 8.0f;
    const float toContour = std::fabs(d / step - std::round(d / step)) * step;
    return height > 0 ? mix(c, {150, 118, 84}, 0.35f * (1.0f - smoothstep(0.4f, 1.4f, toContour)))
                      : c;
}

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
    const Cells fields{240.0, 0xF1E1'D000 + static_cast<std::uint64_t>(size.width())};
    const Cells quarters{420.0, 0x9A47'E000 + static_cast<std::uint64_t>(size.height())};
    static constexpr Rgb kCrops[] = {{196, 212, 150}, {214, 208, 148}, {176, 200, 134},
                                     {226, 214, 160}, {186, 206, 146}, {204, 196, 140}};
    static constexpr Rgb kQuarters[] = {
        {232, 220, 196}, {228, 214, 200}, {222, 218, 196}, {234, 216, 188}};
    const Noise paper(0xC17E'0001);
    const CityLayout& layout = ground.layout();
    const auto hill = static_cast<float>(layout.hillRadius);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const QPointF p(x, y);
            Rgb c;
            if (wet(x, y)) {
                const float d = toBank(x, y);
                c = mix({170, 208, 226}, {92, 140, 190}, smoothstep(0.0f, 90.0f, d));
                for (const auto& [at, strength] : {std::pair{6.0f, 0.25f}, {14.0f, 0.12f}}) {
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
                // Hedged closes, each ploughed in strips running its own way; the strips of a
                // close differ only a little, so the hedges carry the pattern.
                const auto [id, edge] = fields.at(p);
                const double angle = static_cast<double>(id % 180) * std::numbers::pi / 180;
                const double across = -x * std::sin(angle) + y * std::cos(angle);
                const double width = 34.0 + static_cast<double>((id >> 12) % 24);
                const auto strip = static_cast<std::uint64_t>(std::floor(across / width) + 1e4);
                c = mix(kCrops[id % 6], kCrops[mix64(id + strip) % 6], 0.2f);
                c = mix(c, {110, 140, 84},
                        0.4f * (1.0f - smoothstep(0.6f, 2.0f, static_cast<float>(edge))));
            }
            if (hill > 0 && !wet(x, y)) {
                c = onHill(c, p, layout.summit, hill);
            }
            // Flat washes: grain would cost the picture its budget at a quality free of blocks.
            auto ch = [](float v) { return static_cast<int>(std::clamp(v + 0.5f, 0.0f, 255.0f)); };
            row[x] = qRgb(ch(c.r), ch(c.g), ch(c.b));
        }
    }
    return image;
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
        if ((!inTown && orchard.fbm(q.x() / 220.0, q.y() / 220.0, 3) < 0.55) ||
            (inTown && rng.chance(0.97)) || !clear(q)) {
            continue;
        }
        const double r = rng.range(4.0, 6.5);
        p.setPen(QPen(QColor(40, 76, 40), 0.9));
        p.setBrush(QColor(86 + rng.below(20), 134 + rng.below(20), 70));
        p.drawEllipse(q, r, r);
    }
}

}  // namespace marventa
