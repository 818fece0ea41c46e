#include "tools/paint/province_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/labels.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/cartouche.h"
#include "tools/paint/compass_rose.h"
#include "tools/paint/crater_glyphs.h"
#include "tools/paint/crossing_marks.h"
#include "tools/paint/drawn_coast.h"
#include "tools/paint/field_marks.h"
#include "tools/paint/ground_marks.h"
#include "tools/paint/hand_line.h"
#include "tools/paint/hill_marks.h"
#include "tools/paint/hot_springs.h"
#include "tools/paint/ink.h"
#include "tools/paint/keep_out.h"
#include "tools/paint/landmark_features.h"
#include "tools/paint/legend.h"
#include "tools/paint/lowland_marks.h"
#include "tools/paint/map_names.h"
#include "tools/paint/moor_marks.h"
#include "tools/paint/mountain_glyphs.h"
#include "tools/paint/named_ground.h"
#include "tools/paint/paper_grain.h"
#include "tools/paint/relief_raster.h"
#include "tools/paint/river_banks.h"
#include "tools/paint/river_weights.h"
#include "tools/paint/road_strokes.h"
#include "tools/paint/shore_marks.h"
#include "tools/paint/symbols.h"
#include "tools/paint/tree_glyphs.h"
#include "tools/roads/bridges.h"

namespace marventa {

namespace {

// Roads in one pen of muted red-brown ink that rivers, symbols and names read over: a highway a
// bolder line, a lane a thinner one, a track a broken one.
const QColor kHighway(104, 58, 40);
const QColor kLane(128, 80, 58);
const QColor kTrack(138, 104, 76);

// The hand's pens: each line strays by under a pixel, swells and thins by a quarter to a third
// along its course and presses out round its bends; a highway is drawn through unbroken, a thread
// of a brook now and then lifted off.
constexpr HandPen kHighwayPen{.drift = 1.0, .pressure = 0.3, .bend = 0.4};
constexpr HandPen kLanePen{.drift = 0.9, .pressure = 0.25, .bend = 0.35};
constexpr HandPen kTrackPen{.drift = 0.8, .pressure = 0.2, .dash = 4.4, .gap = 2.75};
constexpr HandPen kBrookPen{
    .drift = 0.8, .pressure = 0.35, .liftEvery = 150.0, .liftWidth = 2.4, .bend = 0.4};
constexpr float kSpringWidth = 0.4f;  // px: a brook's thread where it rises
constexpr double kJoinBend = 48.0;    // px: the most a brook's last bend into another runs

bool isWet(const Terrain& t, int x, int y) {
    return t.height(x, y) < 0.0f || t.lake(x, y) > 127;
}

// A brook's ink, or with `water` the water a brook as wide as a river shows between its banks
// (drawn over every brook's ink, so that where two meet no dark band crosses the water).
void brookInk(QPainter& p, const std::vector<InkRun>& runs, bool water) {
    for (const InkRun& run : runs) {
        if (!water) {
            inkLine(p, run.points, run.widths, kRiverBank);
            continue;
        }
        // A brook reads as one line swelling downstream until it is broad: its water opens
        // between two banks only past 2.6 px, or every middling brook reads as a pair of rules.
        std::vector<float> inner = run.widths;
        for (float& v : inner) {
            v = std::max(0.01f, std::min(v - 1.6f, 1.6f * (v - 2.6f)));
        }
        inkLine(p, run.points, inner, kRiverWater);
    }
}

// Rivers and brooks on a layer of their own, cut away where they run on into open water.
void drawWaterways(QPainter& p, const ProvinceScene& s, QSize size) {
    const auto fromLake = [&](const RiverLine& r) {
        const Grid<unsigned char>& lake = s.terrain.lake;
        return lake.clamped(static_cast<int>(r.points.front().x()),
                            static_cast<int>(r.points.front().y())) > 0;
    };
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter lp(&layer);
    lp.setRenderHint(QPainter::Antialiasing);
    std::vector<std::vector<InkRun>> brooks;
    for (RiverLine st : s.water.brooks) {
        if (!st.toSea) {
            st.widths = ownWidthToTheEnd(st, kJoinBend);
        }
        const double floor = kSpringWidth / std::max(kSpringWidth, st.widths.front());
        brooks.push_back(handDrawn(
            st.points, taperedFromSource(st, fromLake(st), {300.0, floor, true, 0.25f, 30.0}),
            kBrookPen));
        brookInk(lp, brooks.back(), false);
    }
    for (const std::vector<InkRun>& runs : brooks) {
        brookInk(lp, runs, true);
    }
    // A river's upper course is drawn as a brook's single swelling line, its water opening
    // inside it as it broadens; two banks with water between take over once it is broad, or a
    // thin river reads as a pair of hairlines all the way down.
    constexpr float kBanked = 4.5f;
    constexpr HandPen kUpperPen{.pressure = 0.3};
    for (const RiverLine& r : s.water.rivers) {
        const std::vector<float> widths = taperedFromSource(r, fromLake(r), {520.0, 0.2, true});
        const auto broad = static_cast<std::size_t>(
            std::find_if(widths.begin(), widths.end(), [](float w) { return w >= kBanked; }) -
            widths.begin());
        if (broad > 0) {
            const std::size_t upTo = std::min(broad + 1, widths.size());
            const std::vector<InkRun> upper = handDrawn(
                {r.points.begin(), r.points.begin() + static_cast<std::ptrdiff_t>(upTo)},
                {widths.begin(), widths.begin() + static_cast<std::ptrdiff_t>(upTo)}, kUpperPen);
            brookInk(lp, upper, false);
            brookInk(lp, upper, true);
        }
        if (broad + 1 < widths.size()) {
            const auto from = static_cast<std::ptrdiff_t>(broad);
            drawRiver(lp, {r.points.begin() + from, r.points.end()},
                      {widths.begin() + from, widths.end()}, r.toSea);
        }
    }
    lp.end();
    // Inside a river's funnel its own banks and water stand over the carved sea, so that they
    // open on into the coast's line unbroken, and fade where the funnel meets open water.
    const Grid<float> toOpen = distanceToOpenWater(s.terrain);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            if (row[x] == 0 || !isWet(s.terrain, x, y)) {
                continue;
            }
            const float keep =
                smoothstep(kInletHalfWidth - 0.5f, kInletHalfWidth + 1.0f, toOpen(x, y));
            const QRgb c = row[x];
            row[x] = keep <= 0.0f ? 0
                                  : qRgba(qRound(qRed(c) * keep), qRound(qGreen(c) * keep),
                                          qRound(qBlue(c) * keep), qRound(qAlpha(c) * keep));
        }
    }
    p.drawImage(0, 0, layer);
}

// A pen's weight along a line: `base` swelling and easing by a fifth or so every hundred and more
// pixels, the same wherever the line is drawn from, so that a road drawn in two pieces agrees.
std::vector<float> penWeights(const std::vector<QPointF>& points, double base, double swing,
                              double period) {
    const Noise hand(0x1A4E'0001);
    std::vector<float> out;
    out.reserve(points.size());
    for (const QPointF& q : points) {
        const float n = hand.fbm(static_cast<float>(q.x() / period),
                                 static_cast<float>(q.y() / period) + 11.0f, 2);
        out.push_back(static_cast<float>(base * (1.0 + swing * n)));
    }
    return out;
}

// The pen's weight of each rank, before its swell.
double roadWeight(RoadClass kind) {
    switch (kind) {
        case RoadClass::Highway:
            return 2.1;
        case RoadClass::Lane:
            return 1.1;
        case RoadClass::Track:
            break;
    }
    return 0.85;
}

// Each rank one line of the same pen, read by its weight: the highway's swells and eases more,
// as a hand pressing on for the main road does.
void roadLine(QPainter& p, const std::vector<QPointF>& path, RoadClass kind) {
    // Laid in strokes rather than one sweep, each pressed a little differently.
    const StrokedLine stroked = inStrokes(resample(path, 3.0), 1.3);
    const std::vector<QPointF>& points = stroked.points;
    const auto ink = [&](std::vector<float> widths, const HandPen& pen, const QColor& c) {
        for (std::size_t i = 0; i < widths.size(); ++i) {
            widths[i] *= stroked.press[i];
        }
        for (const InkRun& run : handDrawn(points, widths, pen)) {
            inkLine(p, run.points, run.widths, c);
        }
    };
    switch (kind) {
        case RoadClass::Highway:
            ink(penWeights(points, roadWeight(kind), 0.4, 140.0), kHighwayPen, kHighway);
            return;
        case RoadClass::Lane:
            ink(penWeights(points, roadWeight(kind), 0.35, 150.0), kLanePen, kLane);
            return;
        case RoadClass::Track: {
            // Each track its own weight, a little lighter or heavier than the next.
            const auto weight = static_cast<float>(
                penWeights({points.front()}, roadWeight(kind), 0.15, 300.0).front());
            ink(std::vector<float>(points.size(), weight), kTrackPen, kTrack);
            return;
        }
    }
}

// How far short of a road it runs into a drawn-through road's pen now and then lifts: the other
// road's half weight and a pixel or two of paper. Only where it meets that road's middle, not
// where it runs on as it; 0 for no lift.
double liftAtJoin(QPointF end, const RoadLine& self, const std::vector<RoadLine>& roads) {
    constexpr double kOnRoad = 1.5;     // px: an end this near a road meets it
    constexpr double kFromEnds = 12.0;  // px: nearer the other's end, the two run on as one
    if (self.kind == RoadClass::Track) {
        return 0.0;
    }
    for (const RoadLine& o : roads) {
        if (&o == &self || o.points.size() < 2 || distanceToPolyline(end, o.points) > kOnRoad ||
            length(end - o.points.front()) < kFromEnds ||
            length(end - o.points.back()) < kFromEnds) {
            continue;
        }
        Rng rng(mix64((static_cast<std::uint64_t>(std::lround(end.x())) << 20) ^
                      static_cast<std::uint64_t>(std::lround(end.y())) ^ 0x1A4E'0011ull));
        return rng.chance(0.4) ? 0.5 * roadWeight(o.kind) + rng.range(1.2, 2.2) : 0.0;
    }
    return 0.0;
}

// From the least rank up, so that where roads meet the higher is drawn over the lower.
void drawRoads(QPainter& p, const std::vector<RoadLine>& roads) {
    for (RoadClass kind : {RoadClass::Track, RoadClass::Lane, RoadClass::Highway}) {
        for (const RoadLine& r : roads) {
            if (r.kind == kind && r.points.size() >= 2) {
                roadLine(p,
                         stoppedShort(r.points, liftAtJoin(r.points.front(), r, roads),
                                      liftAtJoin(r.points.back(), r, roads)),
                         r.kind);
            }
        }
    }
}

bool isTownLike(PlaceKind k) {
    return k == PlaceKind::City || k == PlaceKind::Town;
}

void drawTrees(QPainter& p, const std::vector<Tree>& trees) {
    for (const Tree& t : trees) {
        drawTree(p, t);
    }
}

// A clump of reeds: one to four tufts close together, each a fan of strokes of its own height,
// count and lean, some over a short stroke of standing water.
void drawReeds(QPainter& p, QPointF at, Rng& rng) {
    p.setPen(QPen(QColor(70, 96, 70), 0.9, Qt::SolidLine, Qt::RoundCap));
    const int tufts = 1 + rng.below(4);
    for (int i = 0; i < tufts; ++i) {
        const QPointF base =
            at + (i == 0 ? QPointF() : QPointF(rng.range(-5.0, 5.0), rng.range(-2.0, 2.0)));
        const double height = rng.range(2.6, 5.0);
        const double lean = rng.range(-0.2, 0.2);
        const int blades = 3 + rng.below(3);
        for (int b = 0; b < blades; ++b) {
            const double fan = -0.55 + 1.1 * b / (blades - 1);
            const double a = lean + fan + rng.range(-0.1, 0.1);
            const double len = height * (1.0 - 0.4 * std::fabs(fan)) * rng.range(0.85, 1.1);
            p.drawLine(base + QPointF(std::sin(a) * 0.6, 0),
                       base + QPointF(std::sin(a) * len, -std::cos(a) * len));
        }
        if (rng.chance(0.5)) {
            p.drawLine(base + QPointF(-rng.range(2.0, 3.5), 0.3),
                       base + QPointF(rng.range(2.0, 3.5), 0.3));
        }
    }
}

// Reed beds over the marsh: clumps of every size with open mire between, thicker where it is
// wetter. A bed set evenly, one clump to a step, reads as a printed pattern.
void drawMarsh(QPainter& p, const ProvinceScene& s, const QImage& obstacles) {
    constexpr int kStep = 13;
    Rng rng(0x7EE5'0002);
    const Noise beds(0x7EE5'0006);
    const Grid<unsigned char>& marsh = s.terrain.marsh;
    const auto clear = [&](QPointF q) {
        const int x = static_cast<int>(q.x());
        const int y = static_cast<int>(q.y());
        return obstacles.valid(x, y) && qGray(obstacles.pixel(x, y)) == 0 &&
               !isWet(s.terrain, x, y);
    };
    for (int gy = 0; gy * kStep < marsh.height(); ++gy) {
        for (int gx = 0; gx * kStep < marsh.width(); ++gx) {
            const QPointF at(gx * kStep + rng.range(0.0, kStep),
                             gy * kStep + rng.range(0.0, kStep));
            const int x = std::clamp(static_cast<int>(at.x()), 0, marsh.width() - 1);
            const int y = std::clamp(static_cast<int>(at.y()), 0, marsh.height() - 1);
            const double wet = marsh(x, y) / 255.0;
            const float fx = static_cast<float>(at.x());
            const float fy = static_cast<float>(at.y());
            const float bed = beds.fbm(fx / 48.0f, fy / 48.0f, 2) +
                              0.4f * beds.fbm(fx / 12.0f + 71.0f, fy / 12.0f + 13.0f, 2);
            Rng shape(mix64((static_cast<std::uint64_t>(gy) << 24) ^
                            static_cast<std::uint64_t>(gx) ^ 0x7EE5'0007ull));
            if (rng.uniform() < wet * 0.85 * smoothstep(-0.2f, 0.22f, bed) && clear(at) &&
                clear(at + QPointF(-8, 0)) && clear(at + QPointF(8, 0)) &&
                clear(at + QPointF(0, -6)) && clear(at + QPointF(0, 3))) {
                drawReeds(p, at, shape);
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
        const QPointF at(place->at.x, place->at.y);
        if (isCapital(*place)) {
            drawCapitalSymbol(p, at);
        } else {
            const QPointF spot = symbolSpot(*place, s.water);
            drawLanding(p, spot, at);
            drawPlaceSymbol(p, place->kind, spot);
        }
    }
}

// Title, scale and compass rose, out at sea in the south-west: the name on a ribbon across an
// unrolled scroll, the scale beneath it ruled in the same pen.
void drawTitle(QPainter& p) {
    const QRectF panel = kTitlePanel;
    drawTitleScroll(p, panel, kLetterInk);
    const QPointF mid(panel.center().x(), panel.top());
    drawBanner(p, mid + QPointF(0, 70), QSizeF(352, 62), 44, kLetterInk);
    drawHaloTextCentred(p, QStringLiteral("MARVENTA"), mid + QPointF(0, 73),
                        {mapFont(TypeFace::SerifBold, 46, 7), kLetterInk, kCartouchePaper, 1.0});
    drawHaloTextCentred(
        p, QStringLiteral("Province and Cities"), mid + QPointF(0, 136),
        {mapFont(TypeFace::SerifItalic, 22, 2), QColor(90, 62, 40), kCartouchePaper, 1.0});
    // Scale: ten leagues of forty pixels, in alternating blocks, each filled and ruled by hand.
    constexpr double kLeague = 40.0;
    const QPointF origin(mid.x() - 5 * kLeague, panel.top() + 166);
    const Noise hand(0x7171'0001);
    for (int i = 0; i < 10; ++i) {
        const auto wobble = [&](double k) {
            return 0.5 * hand.fbm(static_cast<float>(i) * 1.7f + static_cast<float>(k), 0.5f, 2);
        };
        const QPolygonF block{
            {origin.x() + i * kLeague + wobble(0), origin.y() + wobble(1)},
            {origin.x() + (i + 1) * kLeague + wobble(2), origin.y() + wobble(3)},
            {origin.x() + (i + 1) * kLeague + wobble(4), origin.y() + 8 + wobble(5)},
            {origin.x() + i * kLeague + wobble(6), origin.y() + 8 + wobble(7)}};
        p.setPen(QPen(kLetterInk, 0.9 + 0.3 * (wobble(8) + 0.5), Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setBrush(i % 2 == 0 ? kLetterInk : kCartouchePaper);
        p.drawPolygon(block);
    }
    const TextStyle small{mapFont(TypeFace::SerifItalic, 17, 0.4), kLetterInk, kCartouchePaper,
                          1.0};
    for (int i = 0; i <= 10; i += 5) {
        drawHaloTextCentred(p, QString::number(i), origin + QPointF(i * kLeague, 22), small);
    }
    drawHaloTextCentred(p, QStringLiteral("leagues"), origin + QPointF(5 * kLeague, 41), small);

    const QPointF rose(kRoseBox.center().x(), kRoseBox.top() + 120);
    drawCompassRose(p, rose, 6.0, true, true);
    drawHaloTextCentred(p, QStringLiteral("N"), rose - QPointF(0, 100),
                        {mapFont(TypeFace::SerifBold, 28, 2), kLetterInk, kPaperHalo, 1.6});
}

}  // namespace

void strokeVarying(QPainter& p, const std::vector<QPointF>& pts, const std::vector<float>& widths,
                   const QColor& colour, float extra) {
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        p.setPen(QPen(colour, widths[i] + extra, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(pts[i], pts[i + 1]);
    }
}

QImage paintProvince(const ProvinceScene& scene) {
    // Every layer reads the sea's edge from the coast as drawn, so that the wash, its ink and
    // what keeps off the water agree.
    const Terrain coast = drawnCoast(scene.terrain, scene.water, scene.places);
    const ProvinceScene s{scene.layout, coast,        scene.water,
                          scene.roads,  scene.places, scene.craters};
    const QSize sheet(s.terrain.height.width(), s.terrain.height.height());
    const NamePlan names = planNames(s, sheet);
    std::vector<Peak> peaks =
        placePeaks(s.terrain, s.layout.ridges, reliefKeepOut(s, names, sheet, false), names.symbols,
                   gorgeSidePeaks(s));
    QImage clearings = treeKeepOut(s, names, sheet);
    {
        QPainter cp(&clearings);
        cp.setPen(Qt::NoPen);
        cp.setBrush(Qt::white);
        for (const Peak& k : peaks) {
            cp.drawPolygon(peakOutline(k));
        }
    }
    const std::vector<Tree> trees = plantTrees(s.terrain, clearings);
    const QImage cover = treeCover(trees, sheet);
    const QImage ranges = rangeCover(peaks, sheet);
    // The shore's line stops short of a mark standing on it.
    QImage inkGaps(sheet, QImage::Format_Grayscale8);
    inkGaps.fill(0);
    {
        QPainter gp(&inkGaps);
        gp.setRenderHint(QPainter::Antialiasing);
        gp.setPen(Qt::NoPen);
        gp.setBrush(Qt::white);
        for (const InkGap& g : harbourGaps(s.terrain, s.places)) {
            gp.drawEllipse(g.at, g.radius, g.radius);
        }
    }
    QImage image = paintRelief(s.terrain, &cover, &ranges, &inkGaps);
    washNamedGround(image, s);
    const QImage washes = image;
    for (Peak& k : peaks) {
        k.ground =
            image.pixelColor(image.rect()
                                 .intersected(QRect(k.foot.toPoint() - QPoint(0, 3), QSize(1, 1)))
                                 .topLeft());
    }
    // The fields keep off the trees as well as everything the trees keep off.
    std::vector<FieldMark> fields;
    std::vector<HillMark> hachures;
    std::vector<LowlandMark> swells;
    std::vector<MoorMark> heath;
    std::vector<GroundMark> grounds;
    {
        QImage open = clearings;
        QPainter fp(&open);
        fp.setPen(Qt::NoPen);
        fp.setBrush(Qt::white);
        for (const Tree& t : trees) {
            fp.drawRect(treeBox(t).adjusted(-2, -2, 2, 2));
        }
        // A landmark's drawing spreads round its symbol.
        for (const ProvincePlace& place : s.places) {
            if (place.kind == PlaceKind::Landmark) {
                fp.drawEllipse(QPointF(place.at.x, place.at.y), 64.0, 64.0);
            }
        }
        fp.end();
        fields = placeFieldMarks(s.terrain, open, farmedLand(s, image.size()));
        // The hachures keep off the fields as well.
        fp.begin(&open);
        fp.setPen(Qt::NoPen);
        fp.setBrush(Qt::white);
        for (const FieldMark& m : fields) {
            fp.drawRect(fieldMarkBox(m).adjusted(-2, -2, 2, 2));
        }
        fp.end();
        hachures = placeHillMarks(s.terrain, open);
        // The lowland's faint marks keep off the hachures too.
        fp.begin(&open);
        for (const HillMark& m : hachures) {
            fp.fillRect(hillMarkBox(m).toAlignedRect(), Qt::white);
        }
        fp.end();
        // A moor's ground takes its own marks, heather and rough grass, not the lowland's swells.
        heath = placeMoorMarks(s, open, {});
        fp.begin(&open);
        for (const MoorMark& m : heath) {
            fp.fillRect(moorMarkBox(m).toAlignedRect().adjusted(-1, -1, 1, 1), Qt::white);
        }
        fp.end();
        // Sand, reeds and the fells' rocks where the names promise them.
        grounds = placeGroundMarks(s, open);
        fp.begin(&open);
        for (const GroundMark& m : grounds) {
            fp.fillRect(groundMarkBox(m).toAlignedRect().adjusted(-1, -1, 1, 1), Qt::white);
        }
        fp.end();
        swells = placeLowlandMarks(s.terrain, open);
        std::erase_if(swells, [&](const LowlandMark& m) { return onMoor(s, m.at); });
    }

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const std::vector<QPointF> springs = hotSprings(s);
    drawSpringStains(p, springs);
    drawWaterways(p, s, image.size());
    drawMarsh(p, s, clearings);
    for (const FieldMark& m : fields) {
        drawFieldMark(p, m);
    }
    for (const HillMark& m : hachures) {
        drawHillMark(p, m);
    }
    for (const LowlandMark& m : swells) {
        drawLowlandMark(p, m);
    }
    drawMoorMarks(p, heath);
    drawGroundMarks(p, grounds);
    drawShoreMarks(p, placeShoreMarks(s.terrain, s.places, reliefKeepOut(s, names, sheet)));
    for (const Peak& k : peaks) {
        drawPeak(p, k);
    }
    for (const Crater& c : s.craters) {
        drawCrater(p, c, s.terrain);
    }
    p.drawImage(0, 0, woodEdgeLayer(s.terrain, clearings, &cover));
    drawTrees(p, trees);
    drawRoads(p, s.roads);
    drawBridges(p, drawFordsAndFerries(p, s, findCrossings(s.roads, s.water)));
    drawLandmarkFeatures(p, s);
    drawBorder(p, image.size(), kLetterInk);
    drawSymbols(p, s);
    for (const QPointF& at : springs) {
        drawHotSpring(p, at);
    }
    drawTitle(p);
    const MapMarks marks{
        [](QPainter& q, const std::vector<QPointF>& line, RoadClass kind) {
            roadLine(q, line, kind);
        },
        [](QPainter& q, const std::vector<QPointF>& line, float width) {
            drawRiver(q, line, std::vector<float>(line.size(), width));
        },
        [](QPainter& q, const std::vector<QPointF>& line, float width) {
            const std::vector<InkRun> runs =
                handDrawn(line, std::vector<float>(line.size(), width), kBrookPen);
            brookInk(q, runs, false);
            brookInk(q, runs, true);
        },
        [](QPainter& q, QPointF at, bool conifer) {
            // The key's trees stand a little lower than its other samples' middles.
            drawTree(q, {at + QPointF(0, 4.5), conifer ? TreeShape::Conifer : TreeShape::Broadleaf,
                         1.1, 0.0, 0, conifer ? 5u : 11u});
        },
        [](QPainter& q, QPointF at) {
            // A clump such as the marsh shows.
            Rng shape(0x7EE5'0008);
            drawReeds(q, at, shape);
        },
    };
    drawLegend(p, marks);
    // The key hangs from the title's scroll, one set of furniture.
    const QRectF key = provinceLegend().panel;
    for (const double x : {key.left() + 80, kTitlePanel.right() - 80}) {
        drawStrap(p, QPointF(x, kTitlePanel.bottom() - 12), QPointF(x, key.top() + 14), kLetterInk);
    }
    drawNames(p, names, image);
    p.end();
    inkOnTooth(image, washes, paperGrain(sheet.width(), sheet.height()));
    ageSheet(image);
    return image;
}

}  // namespace marventa
