#include "tools/paint/province_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "tools/common/labels.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/compass_rose.h"
#include "tools/paint/hot_springs.h"
#include "tools/paint/keep_out.h"
#include "tools/paint/landmark_features.h"
#include "tools/paint/legend.h"
#include "tools/paint/map_names.h"
#include "tools/paint/mountain_glyphs.h"
#include "tools/paint/relief_raster.h"
#include "tools/paint/symbols.h"
#include "tools/roads/bridges.h"

namespace marventa {

namespace {

const QColor kRiverBank(50, 90, 140);
// The shallow water's colour of the sea and the lakes: one water where a river runs into them.
const QColor kRiver(168, 210, 224);
const QColor kHighway(150, 52, 34);
const QColor kLane(150, 70, 44);
const QColor kTrack(120, 82, 52);
const QColor kPaperHalo(255, 250, 236, 225);
const QColor kInk(44, 32, 22);

bool isWet(const Terrain& t, int x, int y) {
    return t.height(x, y) < 0.0f || t.lake(x, y) > 127;
}

// Rivers and brooks on a layer of their own, cut away where they run on into open water.
void drawWaterways(QPainter& p, const ProvinceScene& s, QSize size) {
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter lp(&layer);
    lp.setRenderHint(QPainter::Antialiasing);
    for (const RiverLine& st : s.water.brooks) {
        strokeVarying(lp, st.points, st.widths, kRiverBank, 0.0f);
    }
    // A brook as wide as a river shows water between its banks, not one dark band.
    for (const RiverLine& st : s.water.brooks) {
        std::vector<float> inner = st.widths;
        for (float& v : inner) {
            v = std::max(0.01f, v - 1.6f);
        }
        strokeVarying(lp, st.points, inner, kRiver, 0.0f);
    }
    for (const RiverLine& r : s.water.rivers) {
        strokeVarying(lp, r.points, r.widths, kRiverBank, 1.6f);
    }
    for (const RiverLine& r : s.water.rivers) {
        strokeVarying(lp, r.points, r.widths, kRiver, 0.0f);
    }
    lp.end();
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            if (row[x] != 0 && isWet(s.terrain, x, y)) {
                row[x] = 0;
            }
        }
    }
    p.drawImage(0, 0, layer);
}

void roadCasing(QPainter& p, const std::vector<QPointF>& points, RoadClass kind) {
    const double casing = kind == RoadClass::Highway ? 5.2 : kind == RoadClass::Lane ? 4.0 : 3.0;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 248, 230, 160), casing, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(linePath(points));
}

void roadLine(QPainter& p, const std::vector<QPointF>& points, RoadClass kind) {
    QPen pen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (kind) {
        case RoadClass::Highway:
            pen.setColor(kHighway);
            pen.setWidthF(2.4);
            break;
        case RoadClass::Lane:
            pen.setColor(kLane);
            pen.setWidthF(1.7);
            break;
        case RoadClass::Track:
            pen.setColor(kTrack);
            pen.setWidthF(1.3);
            pen.setCapStyle(Qt::FlatCap);
            pen.setDashPattern({4.0, 2.5});
            break;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(pen);
    p.drawPath(linePath(points));
}

// All casings first, so that junctions join cleanly.
void drawRoads(QPainter& p, const std::vector<RoadLine>& roads) {
    for (const RoadLine& r : roads) {
        roadCasing(p, r.points, r.kind);
    }
    for (const RoadLine& r : roads) {
        roadLine(p, r.points, r.kind);
    }
}

bool isTownLike(PlaceKind k) {
    return k == PlaceKind::City || k == PlaceKind::Town;
}

// Where trees may not stand: on water, rivers and roads, and in a small clearing round every
// place.
QImage treeObstacles(const ProvinceScene& s, QSize size) {
    QImage mask(size, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    markWays(p, s, 8.0f, 6.0f, 9.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const ProvincePlace& place : s.places) {
        const double r = symbolRadius(place.kind) + (isTownLike(place.kind) ? 10.0 : 5.0);
        p.drawEllipse(QPointF(place.at.x, place.at.y), r, r);
    }
    return mask;
}

struct Tree {
    QPointF at;
    bool conifer;
    double size;    // 1 is an average tree
    int shade;      // small change of green, -12 .. 12
    int shape = 0;  // broadleaves: 0 round, 1 two lobes, 2 three lobes
};

std::vector<Tree> plantTrees(const ProvinceScene& s, const QImage& obstacles) {
    constexpr int kSpacing = 8;
    const Grid<float>& h = s.terrain.height;
    Rng rng(0x7EE5'0001);
    std::vector<Tree> trees;
    for (int gy = 0; gy * kSpacing < h.height(); ++gy) {
        for (int gx = 0; gx * kSpacing < h.width(); ++gx) {
            // Anywhere in its cell, so no rows show; the edge of a wood thins out over a band
            // rather than stopping on a line.
            const QPointF at(gx * kSpacing + rng.range(0.0, kSpacing),
                             gy * kSpacing + rng.range(0.0, kSpacing));
            const double threshold = 0.46 + rng.range(0.0, 0.2);
            const bool coniferous = rng.chance(0.5);
            const int x = std::clamp(static_cast<int>(at.x()), 0, h.width() - 1);
            const int y = std::clamp(static_cast<int>(at.y()), 0, h.height() - 1);
            const float hv = h(x, y);
            if (s.terrain.woods(x, y) < threshold || hv <= 0.01f || hv > 0.62f ||
                s.terrain.lake(x, y) > 0 || qGray(obstacles.pixel(x, y)) != 0) {
                continue;
            }
            // Pines take over from broadleaves as the ground rises.
            trees.push_back({at, coniferous ? hv > 0.22f : hv > 0.38f, rng.range(0.75, 1.3),
                             rng.below(25) - 12, rng.below(3)});
        }
    }
    // Farther trees (higher on the sheet) first, so nearer crowns overlap them.
    std::stable_sort(trees.begin(), trees.end(),
                     [](const Tree& a, const Tree& b) { return a.at.y() < b.at.y(); });
    return trees;
}

void drawTree(QPainter& p, const Tree& t) {
    const QColor edge(30, 62, 34);
    const double k = t.size;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 50, 20, 70));
    p.drawEllipse(t.at + QPointF(1.6 * k, 2.6 * k), 3.6 * k, 2.2 * k);
    p.setPen(QPen(edge, 0.9));
    if (t.conifer) {
        p.setBrush(QColor(50 + t.shade / 2, 96 + t.shade, 66));
        p.drawPolygon(QPolygonF({t.at + QPointF(0, -6.4 * k), t.at + QPointF(3.3 * k, 2.8 * k),
                                 t.at + QPointF(-3.3 * k, 2.8 * k)}));
        return;
    }
    p.setBrush(QColor(80 + t.shade, 126 + t.shade, 64));
    if (t.shape == 0) {
        p.drawEllipse(t.at, 3.9 * k, 3.7 * k);
    } else {
        // A spreading crown of two or three lobes.
        QPainterPath crown;
        crown.setFillRule(Qt::WindingFill);
        crown.addEllipse(t.at + QPointF(-1.8 * k, 0.4 * k), 2.8 * k, 2.6 * k);
        crown.addEllipse(t.at + QPointF(1.8 * k, 0.2 * k), 2.9 * k, 2.7 * k);
        if (t.shape == 2) {
            crown.addEllipse(t.at + QPointF(0, -1.9 * k), 2.6 * k, 2.4 * k);
        }
        p.drawPath(crown.simplified());
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 220, 60));
    p.drawEllipse(t.at + QPointF(-1.2 * k, -1.3 * k), 1.5 * k, 1.3 * k);
}

void drawTrees(QPainter& p, const std::vector<Tree>& trees) {
    for (const Tree& t : trees) {
        drawTree(p, t);
    }
}

// A tuft of reeds: a few short strokes fanning up from a point.
void drawReeds(QPainter& p, QPointF at) {
    p.setPen(QPen(QColor(70, 96, 70), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (const double dx : {-2.6, -0.8, 1.0, 2.8}) {
        p.drawLine(at + QPointF(dx * 0.4, 0), at + QPointF(dx, -4.5 + std::fabs(dx) * 0.6));
    }
    p.drawLine(at + QPointF(-3.5, 0.3), at + QPointF(3.5, 0.3));
}

// Reed tufts scattered over the marsh, thicker where it is wetter.
void drawMarsh(QPainter& p, const ProvinceScene& s, const QImage& obstacles) {
    constexpr int kStep = 13;
    Rng rng(0x7EE5'0002);
    const Grid<unsigned char>& marsh = s.terrain.marsh;
    for (int gy = 0; gy * kStep < marsh.height(); ++gy) {
        for (int gx = 0; gx * kStep < marsh.width(); ++gx) {
            const QPointF at(gx * kStep + rng.range(0.0, kStep),
                             gy * kStep + rng.range(0.0, kStep));
            const int x = std::clamp(static_cast<int>(at.x()), 0, marsh.width() - 1);
            const int y = std::clamp(static_cast<int>(at.y()), 0, marsh.height() - 1);
            const double wet = marsh(x, y) / 255.0;
            if (rng.uniform() < wet * 0.9 && !isWet(s.terrain, x, y) &&
                qGray(obstacles.pixel(x, y)) == 0) {
                drawReeds(p, at);
            }
        }
    }
}

void drawSymbols(QPainter& p, const ProvinceScene& s) {
    std::vector<const ProvincePlace*> order;
    for (const ProvincePlace& place : s.places) {
        order.push_back(&place);
    }
    // Towns and cities last, so that they stay on top where symbols crowd.
    std::stable_sort(order.begin(), order.end(),
                     [](const ProvincePlace* a, const ProvincePlace* b) {
                         return !isTownLike(a->kind) && isTownLike(b->kind);
                     });
    for (const ProvincePlace* place : order) {
        drawPlaceSymbol(p, place->kind, QPointF(place->at.x, place->at.y));
    }
}

// A double neat line round the whole sheet.
void drawFrame(QPainter& p, QSize size) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 4.0));
    p.drawRect(QRectF(3, 3, size.width() - 6, size.height() - 6));
    p.setPen(QPen(kInk, 1.2));
    p.drawRect(QRectF(10.5, 10.5, size.width() - 21, size.height() - 21));
}

// Title, scale and compass rose, out at sea in the south-west.
void drawCartouche(QPainter& p) {
    const QRectF panel = kTitlePanel;
    drawPanel(p, panel, kInk, 10, 7);
    const QPointF mid(panel.center().x(), panel.top());
    drawHaloTextCentred(p, QStringLiteral("MARVENTA"), mid + QPointF(0, 62),
                        {mapFont(TypeFace::SerifBold, 62, 10), kInk, QColor(250, 243, 222), 1.0});
    drawHaloTextCentred(
        p, QStringLiteral("Province and Cities"), mid + QPointF(0, 112),
        {mapFont(TypeFace::SerifItalic, 24, 2), QColor(90, 62, 40), QColor(250, 243, 222), 1.0});
    // Scale: ten leagues of forty pixels, in alternating blocks.
    constexpr double kLeague = 40.0;
    const QPointF origin(mid.x() - 5 * kLeague, panel.top() + 170);
    for (int i = 0; i < 10; ++i) {
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(i % 2 == 0 ? kInk : QColor(250, 243, 222));
        p.drawRect(QRectF(origin.x() + i * kLeague, origin.y(), kLeague, 8));
    }
    const TextStyle small{mapFont(TypeFace::Serif, 17), kInk, QColor(250, 243, 222), 1.0};
    for (int i = 0; i <= 10; i += 5) {
        drawHaloTextCentred(p, QString::number(i), origin + QPointF(i * kLeague, 24), small);
    }
    drawHaloTextCentred(p, QStringLiteral("leagues"), origin + QPointF(5 * kLeague, 46), small);

    const QPointF rose(kRoseBox.center().x(), kRoseBox.top() + 120);
    drawCompassRose(p, rose, 6.0, true);
    drawHaloTextCentred(p, QStringLiteral("N"), rose - QPointF(0, 100),
                        {mapFont(TypeFace::SerifBold, 26), kInk, kPaperHalo, 4.0});
}

}  // namespace

void strokeVarying(QPainter& p, const std::vector<QPointF>& pts, const std::vector<float>& widths,
                   const QColor& colour, float extra) {
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        p.setPen(QPen(colour, widths[i] + extra, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(pts[i], pts[i + 1]);
    }
}

QImage paintProvince(const ProvinceScene& s) {
    QImage image = paintRelief(s.terrain);
    const NamePlan names = planNames(s, image.size());
    std::vector<Peak> peaks = placePeaks(s.terrain, reliefKeepOut(s, names, image.size()));
    QImage clearings = treeObstacles(s, image.size());
    {
        QPainter cp(&clearings);
        cp.setPen(Qt::NoPen);
        cp.setBrush(Qt::white);
        for (Peak& k : peaks) {
            k.ground = image.pixelColor(
                image.rect()
                    .intersected(QRect(k.foot.toPoint() - QPoint(0, 3), QSize(1, 1)))
                    .topLeft());
            cp.drawPolygon(peakOutline(k));
        }
    }
    const std::vector<Tree> trees = plantTrees(s, clearings);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const std::vector<QPointF> springs = hotSprings(s);
    drawSpringStains(p, springs);
    drawWaterways(p, s, image.size());
    drawMarsh(p, s, clearings);
    for (const Peak& k : peaks) {
        drawPeak(p, k);
    }
    drawTrees(p, trees);
    drawRoads(p, s.roads);
    drawBridges(p, findCrossings(s.roads, s.water));
    drawLandmarkFeatures(p, s);
    drawFrame(p, image.size());
    drawSymbols(p, s);
    for (const QPointF& at : springs) {
        drawHotSpring(p, at);
    }
    drawCartouche(p);
    const MapMarks marks{
        [](QPainter& q, const std::vector<QPointF>& line, RoadClass kind) {
            roadCasing(q, line, kind);
            roadLine(q, line, kind);
        },
        [](QPainter& q, const std::vector<QPointF>& line, float width) {
            const std::vector<float> widths(line.size(), width);
            strokeVarying(q, line, widths, kRiverBank, 1.6f);
            strokeVarying(q, line, widths, kRiver, 0.0f);
        },
        [](QPainter& q, QPointF at, bool conifer) {
            drawTree(q, {at, conifer, 1.0, 0, 1});
        },
        drawReeds,
    };
    drawLegend(p, marks);
    drawNames(p, names);
    p.end();
    return image;
}

}  // namespace marventa
