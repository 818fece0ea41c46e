#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
#include <map>
#include <numbers>
#include <numeric>
#include <set>

#include "tests/tools/flat_terrain.h"
#include "tests/tools/province_world.h"
#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/grid.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/common/world_places.h"
#include "tools/land/land.h"
#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"
#include "tools/paint/crest_rank.h"
#include "tools/paint/field_marks.h"
#include "tools/paint/ground_marks.h"
#include "tools/paint/hill_marks.h"
#include "tools/paint/ink_knockout.h"
#include "tools/paint/keep_out.h"
#include "tools/paint/landmark_features.h"
#include "tools/paint/lowland_marks.h"
#include "tools/paint/map_names.h"
#include "tools/paint/moor_marks.h"
#include "tools/paint/mountain_glyphs.h"
#include "tools/paint/named_ground.h"
#include "tools/paint/province_painter.h"
#include "tools/paint/relief_raster.h"
#include "tools/paint/tree_glyphs.h"
#include "tools/roads/roads.h"
#include "tools/water/waterways.h"

using namespace marventa;
using marventa::world_test::World;
using marventa::world_test::world;

namespace {

// Each point's cluster, points nearer than `reach` joined: the index of the cluster's root.
std::vector<std::size_t> clustersWithin(const std::vector<QPointF>& points, double reach) {
    std::vector<std::size_t> up(points.size());
    std::iota(up.begin(), up.end(), std::size_t{0});
    const auto root = [&](std::size_t i) {
        while (up[i] != i) {
            i = up[i] = up[up[i]];
        }
        return i;
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            if (length(points[i] - points[j]) < reach) {
                up[root(j)] = root(i);
            }
        }
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        up[i] = root(i);
    }
    return up;
}

// The roads and running water exactly as wide as they are drawn, every symbol's room and every
// name's box.
bool namesAWood(const World& w, const QString& text) {
    return std::any_of(w.layout.woods.begin(), w.layout.woods.end(), [&](const Wood& wood) {
        return wood.name.compare(text, Qt::CaseInsensitive) == 0;
    });
}

// Where the map shows something; a wood's name, lettered over its trees, by its letters alone
// when `woodLetters` is set.
QImage drawnMarks(const World& w, bool woodLetters = false) {
    QImage mask(w.sheet, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const RoadLine& r : w.roads) {
        p.drawPath(linePath(r.points));
    }
    for (const auto* lines : {&w.water.rivers, &w.water.brooks}) {
        for (const RiverLine& r : *lines) {
            strokeVarying(p, r.points, r.widths, Qt::white, 0.0f);
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const QRectF& r : w.names.symbols) {
        p.drawRect(r);
    }
    for (const PlacedName& n : w.names.names) {
        if (woodLetters && namesAWood(w, n.text)) {
            p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(n.glyphs);
            p.setPen(Qt::NoPen);
        } else {
            p.drawPolygon(n.box);
        }
    }
    return mask;
}

// The standard deviation of `values`.
double deviation(const std::vector<double>& values) {
    double mean = 0;
    for (double v : values) {
        mean += v / static_cast<double>(values.size());
    }
    double spread = 0;
    for (double v : values) {
        spread += (v - mean) * (v - mean) / static_cast<double>(values.size());
    }
    return std::sqrt(spread);
}

// How many pixels that `draw` inks lie on water, a road, a river, a symbol or a name.
template <class Draw>
std::size_t hitsOnWhatTheMapShows(const World& w, Draw draw) {
    QImage drawn(w.sheet, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter p(&drawn);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    }
    const QImage shown = drawnMarks(w);
    std::size_t hits = 0;
    for (int y = 0; y < w.sheet.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        for (int x = 0; x < w.sheet.width(); ++x) {
            if (qAlpha(row[x]) > 0 && (w.terrain.height(x, y) < 0.0f || w.terrain.lake(x, y) > 0 ||
                                       qGray(shown.pixel(x, y)) > 0)) {
                ++hits;
            }
        }
    }
    return hits;
}

const std::vector<Peak>& peaks() {
    static const std::vector<Peak> placed =
        placePeaks(world().terrain, world().layout.ridges,
                   reliefKeepOut(world().scene, world().names, world().sheet, false),
                   world().names.symbols, gorgeSidePeaks(world().scene));
    return placed;
}

// The ground painted round the peaks as the map places them.
const QImage& relief() {
    static const QImage ranges = rangeCover(peaks(), world().sheet);
    static const QImage painted = paintRelief(world().terrain, nullptr, &ranges);
    return painted;
}

QPointF ridgePoint(const Peak& k) {
    return k.foot - QPointF(0, 0.3 * k.height);
}

// The box round what two glyphs' outlines share: enough to tell a sliver from an overlap.
double sharedBox(const Peak& a, const Peak& b) {
    QPainterPath pa;
    pa.addPolygon(peakOutline(a));
    QPainterPath pb;
    pb.addPolygon(peakOutline(b));
    const QRectF r = pa.intersected(pb).boundingRect();
    return r.width() * r.height();
}

}  // namespace

// Every peak and hill stands on the heights, and no pixel of its outline lies on water, a road,
// a river, a symbol or a name; the higher the ground, the more of it the peaks cover.
TEST(MapDrawing, PeaksStandOnHighGroundClearOfWhatTheMapMustShow) {
    const World& w = world();
    ASSERT_GT(peaks().size(), 500u);
    const QImage marks = drawnMarks(w);
    std::array<double, 3> count{};
    std::size_t hits = 0;
    for (const Peak& k : peaks()) {
        const QPointF ridge = ridgePoint(k);
        const float hv = w.terrain.height(static_cast<int>(ridge.x()), static_cast<int>(ridge.y()));
        EXPECT_GE(hv, kHeightsHeight)
            << "a peak on low ground at " << ridge.x() << ", " << ridge.y();
        const QPolygonF outline = peakOutline(k);
        if (!k.hill) {
            count[hv < 0.5f ? 0 : hv < 0.65f ? 1 : 2] += k.width * k.height / 2;
        }
        const QRect box = outline.boundingRect().toAlignedRect().intersected(QRect({}, w.sheet));
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const QPointF q(x + 0.5, y + 0.5);
                if (!outline.containsPoint(q, Qt::OddEvenFill)) {
                    continue;
                }
                hits += w.terrain.height(x, y) < 0.0f || w.terrain.lake(x, y) > 127 ||
                                qGray(marks.pixel(x, y)) > 0
                            ? 1
                            : 0;
            }
        }
    }
    EXPECT_EQ(hits, 0u) << "pixels of peaks over water, roads, symbols or names";
    // The share of each band of height that peaks cover (as triangles of their width and height).
    std::array<double, 3> ground{};
    for (int y = 0; y < w.sheet.height(); y += 4) {
        for (int x = 0; x < w.sheet.width(); x += 4) {
            const float hv = w.terrain.height(x, y);
            if (hv >= kHillHeight) {
                ground[hv < 0.5f ? 0 : hv < 0.65f ? 1 : 2] += 16;
            }
        }
    }
    for (std::size_t i = 0; i < 3; ++i) {
        count[i] /= std::max(1.0, ground[i]);
    }
    std::cout << "peaks cover " << count[0] << ", " << count[1] << ", " << count[2] << "\n";
    EXPECT_LT(count[0], count[1]);
    EXPECT_LT(count[1], count[2]);
}

// A range reads as a ridge: its largest glyphs on its highest ground and the smallest, hills
// with paper between them, at its edges; the high ranges' crests under snow; the fells rounded
// throughout.
TEST(MapDrawing, EachRangeIsDrawnAsARidge) {
    const World& w = world();
    std::vector<std::vector<const Peak*>> byRange(w.layout.ridges.size());
    for (const Peak& k : peaks()) {
        double best = 1.2;
        const Ridge* range = nullptr;
        for (const Ridge& r : w.layout.ridges) {
            const double reach = distanceToPolyline(ridgePoint(k), r.crest) / r.halfWidth;
            if (reach < best) {
                best = reach;
                range = &r;
            }
        }
        if (range != nullptr) {
            byRange[static_cast<std::size_t>(range - w.layout.ridges.data())].push_back(&k);
        }
    }
    // The range's ground round a glyph, over about a peak's breadth: a glyph on a spur high
    // over a valley stands on the flank, not on the crest.
    static const Grid<float> broad = boxBlur(w.terrain.height, 30);
    const auto ground = [&](const Peak* k) {
        const QPointF q = ridgePoint(*k);
        return broad(static_cast<int>(q.x()), static_cast<int>(q.y()));
    };
    for (std::size_t i = 0; i < byRange.size(); ++i) {
        const Ridge& r = w.layout.ridges[i];
        std::vector<const Peak*>& glyphs = byRange[i];
        // The volcanic range stands in a few dozen broad tors rather than many peaks.
        ASSERT_GT(glyphs.size(), 25u) << r.name.toStdString();
        std::stable_sort(glyphs.begin(), glyphs.end(),
                         [&](const Peak* a, const Peak* b) { return ground(a) > ground(b); });
        const std::size_t fifth = glyphs.size() / 5;
        double top = 0;
        double foot = 0;
        int snowy = 0;
        int sharp = 0;
        int tiny = 0;
        for (std::size_t j = 0; j < fifth; ++j) {
            top += glyphs[j]->width / fifth;
            foot += glyphs[glyphs.size() - 1 - j]->width / fifth;
            snowy += glyphs[j]->snow ? 1 : 0;
        }
        for (const Peak* k : glyphs) {
            sharp += k->hill ? 0 : 1;
            tiny += !k->hill && k->width < 22 ? 1 : 0;
        }
        std::cout << r.name.toStdString() << ": " << glyphs.size() << " glyphs, " << sharp
                  << " peaks, widths " << top << " on the top fifth, " << foot << " at the foot, "
                  << snowy << " of " << fifth << " on top snowy, " << tiny << " tiny peaks\n";
        // The volcanic range's highest ground is its cones, kept clear for the craters' rims, with
        // small peaks round them; elsewhere the mass is the crest and a few big shoulders, not a
        // speckle of tiny peaks.
        if (!r.volcanic) {
            EXPECT_LE(tiny, sharp / 3) << r.name.toStdString() << " is speckled with tiny peaks";
            EXPECT_GT(top, 1.3 * foot)
                << r.name.toStdString() << "'s glyphs do not grow toward its crest";
        }
        if (r.jagged < 0.45) {
            EXPECT_EQ(sharp, 0) << r.name.toStdString() << " are fells, not crags";
            EXPECT_EQ(snowy, 0) << r.name.toStdString();
            // The fells stand in groups with paper between them, not as an even carpet of humps:
            // some of their high ground lies well away from every hump.
            int high = 0;
            int bare = 0;
            for (int y = 0; y < w.sheet.height(); y += 8) {
                for (int x = 0; x < w.sheet.width(); x += 8) {
                    const QPointF q(x, y);
                    if (w.terrain.height(x, y) < kHeightsHeight ||
                        distanceToPolyline(q, r.crest) > 0.6 * r.halfWidth) {
                        continue;
                    }
                    ++high;
                    bool near = false;
                    for (const Peak* k : glyphs) {
                        near = near || length(ridgePoint(*k) - q) < 0.5 * k->width + 14;
                    }
                    bare += near ? 0 : 1;
                }
            }
            std::cout << "  " << bare << " of " << high << " samples of its high ground bare\n";
            EXPECT_GT(bare, high / 6) << r.name.toStdString() << " are an even carpet of humps";
            EXPECT_LT(bare, high * 2 / 3) << r.name.toStdString() << " are too few to read";
        }
        // The summits are drawn each its own, not one glyph repeated: sizes and builds spread.
        if (!r.volcanic && r.jagged >= 0.45) {
            const auto spread = [&](auto value) {
                double sum = 0;
                double squares = 0;
                for (std::size_t j = 0; j < fifth; ++j) {
                    const double v = value(*glyphs[j]);
                    sum += v;
                    squares += v * v;
                }
                const double mean = sum / fifth;
                return std::sqrt(std::max(0.0, squares / fifth - mean * mean)) / mean;
            };
            EXPECT_GT(spread([](const Peak& k) { return k.width; }), 0.2)
                << r.name.toStdString() << "'s summits are one size";
            EXPECT_GT(spread([](const Peak& k) { return k.height / k.width; }), 0.1)
                << r.name.toStdString() << "'s summits are one shape";
        }
        if (r.height >= 0.8) {
            EXPECT_GT(snowy, 0.5 * fifth) << r.name.toStdString() << "'s crest lacks its snow";
            EXPECT_LT(snowy, fifth) << r.name.toStdString() << "'s every summit is snowed";
            EXPECT_GT(top, 30.0) << r.name.toStdString() << "'s summits are too small to lead";
        }
    }
    // One mass, not a lone mountain over small ones: no peak stands far larger than the peaks
    // about it (a broad core's massifs rising over the peaks stepping down from them at most
    // twice their size).
    for (const Peak& k : peaks()) {
        double sum = 0;
        int count = 0;
        for (const Peak& o : peaks()) {
            if (&o != &k && !k.hill && !o.hill && length(o.foot - k.foot) < 0.9 * k.width + 40) {
                sum += o.width;
                ++count;
            }
        }
        EXPECT_TRUE(count < 2 || k.width <= 1.95 * sum / count)
            << "a peak " << k.width << " px wide at " << k.foot.x() << ", " << k.foot.y()
            << " towers over its neighbours of " << sum / std::max(count, 1) << " px";
    }
    // The foothills' small hills stand apart, paper between them: what two of them share is at
    // most a sliver where their feet meet (the fells' humps may run together on their tops).
    std::vector<const Peak*> hills;
    for (const Peak& k : peaks()) {
        if (k.hill && k.width < 20) {
            hills.push_back(&k);
        }
    }
    ASSERT_GT(hills.size(), 80u);
    std::size_t touching = 0;
    for (std::size_t a = 0; a < hills.size(); ++a) {
        for (std::size_t b = a + 1; b < hills.size(); ++b) {
            const Peak& p = *hills[a];
            const Peak& q = *hills[b];
            if (std::fabs(p.foot.x() - q.foot.x()) < (p.width + q.width) / 2 &&
                std::fabs(p.foot.y() - q.foot.y()) < (p.height + q.height) / 2 &&
                sharedBox(p, q) > 0.1 * std::min(p.width * p.height, q.width * q.height)) {
                ++touching;
            }
        }
    }
    EXPECT_LT(touching, hills.size() / 50) << "hills run together into a carpet";
}

// Mid-size peaks take crowns of several builds, each inside the box its placing checks: some
// with three summits, some with a crest running off the summit nearly level.
TEST(MapDrawing, MidSizePeaksTakeCrownsOfSeveralBuilds) {
    int triple = 0;
    int crested = 0;
    constexpr int kPeaks = 400;
    for (int i = 0; i < kPeaks; ++i) {
        Peak k;
        k.foot = QPointF(100, 100);
        k.width = 36 + i % 20;
        k.height = 0.9 * k.width;
        k.seed = mix64(static_cast<std::uint64_t>(i) + 0x9EA1ull);
        const QPolygonF outline = peakOutline(k);
        const QRectF box = outline.boundingRect();
        ASSERT_GE(box.left(), k.foot.x() - k.width / 2 - 0.5) << "seed " << i;
        ASSERT_LE(box.right(), k.foot.x() + k.width / 2 + 0.5) << "seed " << i;
        ASSERT_GE(box.top(), k.foot.y() - k.height - 0.5) << "seed " << i;
        ASSERT_LE(box.bottom(), k.foot.y() + 0.5) << "seed " << i;
        int summits = 0;
        for (int j = 1; j + 1 < outline.size(); ++j) {
            const double y = outline[j].y();
            summits +=
                y < outline[j - 1].y() - 0.02 * k.height && y < outline[j + 1].y() - 0.02 * k.height
                    ? 1
                    : 0;
        }
        triple += summits >= 3 ? 1 : 0;
        // The top's run: the points next to the highest that stand within a little of it.
        const auto top = std::min_element(outline.begin(), outline.end(),
                                          [](QPointF a, QPointF b) { return a.y() < b.y(); });
        const auto near = [&](QPointF q) { return q.y() < top->y() + 0.06 * k.height; };
        auto from = top;
        auto to = top;
        while (from != outline.begin() && near(*(from - 1))) {
            --from;
        }
        while (to + 1 != outline.end() && near(*(to + 1))) {
            ++to;
        }
        crested += to->x() - from->x() > 0.16 * k.width ? 1 : 0;
    }
    EXPECT_GT(triple, kPeaks / 25) << "no mid-size peak carries three summits";
    EXPECT_GT(crested, kPeaks / 25) << "no mid-size peak runs off in a level crest";
}

// Every peak the map places stands as a peak, not a tower: no taller than about one and a half
// times its base, neither flank falling as a wall from the summit to the ground, and no stretch
// of its outline cut sheer down it.
TEST(MapDrawing, NoPeakStandsAsATower) {
    std::size_t towers = 0;
    std::size_t walls = 0;
    std::size_t sheer = 0;
    for (const Peak& k : peaks()) {
        const QPolygonF outline = peakOutline(k);
        const QRectF box = outline.boundingRect();
        for (int i = 0; i + 1 < outline.size(); ++i) {
            const QPointF d = outline[i + 1] - outline[i];
            if (std::fabs(d.y()) >= 3.0 && std::fabs(d.y()) > 5.0 * std::fabs(d.x()) &&
                ++sheer < 5) {
                ADD_FAILURE() << "a sheer stretch of outline at " << outline[i].x() << ", "
                              << outline[i].y() << ": " << d.y() << " down over " << d.x();
            }
        }
        const auto top = std::min_element(outline.begin(), outline.end(),
                                          [](QPointF a, QPointF b) { return a.y() < b.y(); });
        const double rise = box.bottom() - top->y();
        if (rise > 1.6 * box.width() && ++towers < 5) {
            ADD_FAILURE() << "a tower at " << k.foot.x() << ", " << k.foot.y() << ": " << rise
                          << " tall on " << box.width();
        }
        if (k.hill) {
            continue;
        }
        // Each flank runs out at least a third of the rise from under the summit.
        const double run = std::min(top->x() - box.left(), box.right() - top->x());
        if (run < rise / 3.0 && ++walls < 5) {
            ADD_FAILURE() << "a wall of a flank at " << k.foot.x() << ", " << k.foot.y() << ": "
                          << run << " out under " << rise;
        }
    }
    EXPECT_EQ(towers + walls + sheer, 0u);
}

// A peak standing in front of another on the crest meets it in a saddle: the leg that runs down
// over the peak behind is left uninked below where their flanks cross, the other leg and a peak
// with nothing behind it inked to the ground. On the map, many crest peaks meet so.
TEST(MapDrawing, PeaksInFrontMeetThoseBehindInASaddle) {
    const auto peak = [](double x, double y, std::uint64_t seed) {
        Peak k;
        k.foot = QPointF(x, y);
        k.width = 60;
        k.height = 50;
        k.seed = seed;
        return k;
    };
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        std::vector<Peak> row{peak(100, 100, seed), peak(132, 104, seed * 7), peak(400, 104, seed)};
        joinAlongRidges(row);
        EXPECT_EQ(row[0].leftLift + row[0].rightLift, 0.0) << "nothing stands behind the first";
        EXPECT_EQ(row[2].leftLift + row[2].rightLift, 0.0) << "the lone peak stands clear";
        EXPECT_EQ(row[1].rightLift, 0.0) << "the leg away from the peak behind is lifted";
        // The saddle: where the front peak's left flank leaves the outline behind it.
        const QPolygonF front = peakOutline(row[1]);
        const QPolygonF back = peakOutline(row[0]);
        double run = 0;
        double clear = 0;
        bool inside = false;
        for (int i = 0; i + 1 < front.size() && clear == 0; ++i) {
            const QPointF a = front[i];
            const QPointF b = front[i + 1];
            for (double t = 0; t < 1.0; t += 0.02) {
                const bool in = back.containsPoint(a + (b - a) * t, Qt::OddEvenFill);
                if (inside && !in) {
                    clear = run + t * length(b - a);
                    break;
                }
                inside = inside || in;
            }
            run += length(b - a);
        }
        ASSERT_GT(clear, 0.0) << "seed " << seed << ": the flanks never cross";
        EXPECT_GT(row[1].leftLift, 0.5 * clear) << "seed " << seed;
        EXPECT_LE(row[1].leftLift, clear + 1.5)
            << "seed " << seed << ": ink lifted above the saddle";
    }
    int lifted = 0;
    int peaked = 0;
    for (const Peak& k : peaks()) {
        peaked += k.hill ? 0 : 1;
        lifted += k.leftLift + k.rightLift > 0 ? 1 : 0;
    }
    std::cout << lifted << " of " << peaked << " peaks meet one behind in a saddle\n";
    EXPECT_GT(lifted, peaked / 8) << "the crests' peaks stand as separate tents";
}

// A peak's shade is hatched down its fall, not across it: every stroke runs downhill from near
// its outline and stays above its foot, and a big peak takes more strokes than a small one.
TEST(MapDrawing, PeakShadeIsHatchedDownTheFall) {
    std::array<double, 2> strokes{};
    std::array<double, 2> count{};
    for (const Peak& k : peaks()) {
        if (k.hill) {
            EXPECT_TRUE(peakShadeStrokes(k).empty());
            continue;
        }
        const std::vector<QLineF> shade = peakShadeStrokes(k);
        for (const QLineF& s : shade) {
            ASSERT_GT(s.dy(), 0.4 * s.length())
                << "a stroke runs across the slope at " << s.p1().x() << "," << s.p1().y();
            ASSERT_LE(s.p2().y(), k.foot.y() + 0.5) << "a stroke runs below its peak's foot";
            ASSERT_GE(s.p1().y(), k.foot.y() - k.height - 1.0);
        }
        if (k.width >= 48 || k.width < 28) {
            const std::size_t big = k.width >= 48 ? 1 : 0;
            strokes[big] += static_cast<double>(shade.size());
            count[big] += 1;
        }
    }
    ASSERT_GT(std::min(count[0], count[1]), 10.0);
    EXPECT_GT(strokes[1] / count[1], 2.0 * strokes[0] / count[0])
        << "big peaks are hatched no closer than small ones";
}

// A symbol on a crest sits in a saddle of the ridge, not pasted over its rock (the test above
// holds every peak off its room): the crest's large peaks stand on close beside it.
TEST(MapDrawing, SymbolsOnACrestSitInASaddleOfTheRidge) {
    const World& w = world();
    const CrestRank ranks(w.terrain.height, w.layout.ridges);
    int onCrest = 0;
    int flanked = 0;
    for (const Crest& crest : ranks.crests()) {
        if (crest.ridge->volcanic || crest.ridge->jagged < 0.45) {
            continue;
        }
        for (const ProvincePlace& place : w.places) {
            const QPointF at(place.at.x, place.at.y);
            const Nearest n = nearestOnPolyline(at, crest.points);
            if (place.kind == PlaceKind::Town || place.kind == PlaceKind::City ||
                n.distance > 0.25 * crest.ridge->halfWidth) {
                continue;
            }
            ++onCrest;
            for (const Peak& k : peaks()) {
                const double gap = std::fabs(k.foot.x() - at.x()) - k.width / 2;
                const double level = std::fabs(ridgePoint(k).y() - at.y());
                if (!k.hill && k.width >= 24 && gap < 24 && level < 0.5 * k.height + 12) {
                    ++flanked;
                    break;
                }
            }
        }
    }
    std::cout << flanked << " of " << onCrest << " symbols on a crest have its peaks beside them\n";
    ASSERT_GT(onCrest, 5);
    EXPECT_GT(flanked, onCrest * 2 / 3) << "the crests break round their symbols";
}

// The gorge is cut by its brook: its walls stand either side of the water and none of their ink
// lies on it, so the brook runs on through rather than ending at a line.
TEST(MapDrawing, TheGorgeLetsItsBrookThrough) {
    const World& w = world();
    const auto place = std::find_if(w.places.begin(), w.places.end(), [](const ProvincePlace& p) {
        return p.name == "The Hollering Gorge";
    });
    ASSERT_NE(place, w.places.end());
    const QPointF at(place->at.x, place->at.y);
    QImage water(w.sheet, QImage::Format_Grayscale8);
    water.fill(0);
    {
        QPainter p(&water);
        for (const auto* lines : {&w.water.rivers, &w.water.brooks}) {
            for (const RiverLine& r : *lines) {
                strokeVarying(p, r.points, r.widths, Qt::white, 0.0f);
            }
        }
    }
    QImage drawn(w.sheet, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter p(&drawn);
        p.setRenderHint(QPainter::Antialiasing);
        drawLandmarkFeature(p, place->name, at, w.water);
    }
    int inked = 0;
    int onWater = 0;
    int wet = 0;
    const QRect near =
        QRect(at.toPoint() - QPoint(90, 90), QSize(180, 180)).intersected(drawn.rect());
    for (int y = near.top(); y <= near.bottom(); ++y) {
        for (int x = near.left(); x <= near.right(); ++x) {
            const bool ink = qAlpha(drawn.pixel(x, y)) > 60;
            const bool brook = qGray(water.pixel(x, y)) > 127;
            inked += ink ? 1 : 0;
            onWater += ink && brook ? 1 : 0;
            wet += brook ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 150) << "the gorge is not drawn";
    EXPECT_GT(wet, 40) << "no water runs by the gorge";
    EXPECT_EQ(onWater, 0) << "the gorge's walls cross its brook";
}

// The gorge reads as a cleft between mountains: peaks stand on either side of its brook near its
// point, none of them in the clear ground along the water.
TEST(MapDrawing, TheGorgeIsCutBetweenPeaks) {
    const World& w = world();
    const QPointF at(w.place("The Hollering Gorge").at.x, w.place("The Hollering Gorge").at.y);
    const RiverLine* brook = nullptr;
    double best = 30;
    for (const auto* lines : {&w.water.brooks, &w.water.rivers}) {
        for (const RiverLine& r : *lines) {
            const double d = distanceToPolyline(at, r.points);
            if (d < best) {
                best = d;
                brook = &r;
            }
        }
    }
    ASSERT_NE(brook, nullptr) << "no water runs by the gorge";
    int above = 0;
    int below = 0;
    for (const Peak& k : peaks()) {
        if (k.hill || std::fabs(ridgePoint(k).x() - at.x()) > 60 ||
            distanceToPolyline(ridgePoint(k), brook->points) > 45) {
            continue;
        }
        double nearest = 1e9;
        for (const QPointF& q : peakOutline(k)) {
            nearest = std::min(nearest, distanceToPolyline(q, brook->points));
        }
        EXPECT_GT(nearest, 12.0) << "a peak at " << k.foot.x() << ", " << k.foot.y()
                                 << " stands in the gorge's cleft";
        const QPointF top = ridgePoint(k);
        const Nearest n = nearestOnPolyline(top, brook->points);
        const QPointF on = brook->points[n.segment] +
                           (brook->points[n.segment + 1] - brook->points[n.segment]) * n.along;
        (top.y() < on.y() ? above : below) += 1;
    }
    EXPECT_GT(above, 0) << "no peak stands on the gorge's far side";
    EXPECT_GT(below, 0) << "no peak stands on the gorge's near side";
}

// The broad core of a high range rises to a few big massifs with lesser peaks stepping down from
// them: its peaks differ widely in size, the biggest standing well over the run of them.
TEST(MapDrawing, ABroadCoreRisesToAFewBigMassifs) {
    const QRectF core(2750, 950, 260, 400);
    std::vector<double> widths;
    for (const Peak& k : peaks()) {
        if (!k.hill && core.contains(ridgePoint(k))) {
            widths.push_back(k.width);
        }
    }
    ASSERT_GT(widths.size(), 20u) << "the core is bare";
    std::sort(widths.begin(), widths.end());
    const double median = widths[widths.size() / 2];
    const double big = widths[widths.size() - 3];
    std::cout << widths.size() << " peaks in the Ironbacks' core, median " << median
              << " px, third largest " << big << " px\n";
    EXPECT_GT(big, 1.6 * median) << "the core is a tangle of alike peaks";
}

// Landmarks drawn on a plain ground, at the middle of 160 px.
QImage landmarkAlone(const char* name, const QColor& ground) {
    QImage image(160, 160, QImage::Format_RGB32);
    image.fill(ground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawLandmarkFeature(p, name, QPointF(80, 80), Waterways{});
    return image;
}

// The crag and the salt pans are drawn in ink over the wash, not as blots or cut paper: the crag
// with paper on its lit side and no solid block of black, the pans' beds never brighter than a
// thin wash over the ground and their banks inked.
TEST(MapDrawing, TheCragAndThePansAreInkedOverTheWash) {
    const QColor ground(214, 204, 166);
    const int plain = qGray(ground.rgb());
    const QImage crag = landmarkAlone("The Split Crag", ground);
    int lit = 0;
    int dark = 0;
    int drawn = 0;
    for (int y = 2; y + 2 < crag.height(); ++y) {
        for (int x = 2; x + 2 < crag.width(); ++x) {
            const int g = qGray(crag.pixel(x, y));
            drawn += g != plain ? 1 : 0;
            lit += g > plain + 12 ? 1 : 0;
            dark += g < 90 ? 1 : 0;
            int block = 0;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    block += qGray(crag.pixel(x + dx, y + dy)) < 80 ? 1 : 0;
                }
            }
            ASSERT_LT(block, 25) << "a blot of ink at (" << x << ", " << y << ")";
        }
    }
    EXPECT_GT(drawn, 600) << "the crag is not drawn";
    EXPECT_GT(lit, drawn / 6) << "the crag's lit side is not paper";
    EXPECT_LT(dark, drawn / 3) << "the crag reads as a dark mass";

    const QImage pans = landmarkAlone("Greywhite Salt Pans", ground);
    int bright = 0;
    int bank = 0;
    int bed = 0;
    for (int y = 0; y < pans.height(); ++y) {
        for (int x = 0; x < pans.width(); ++x) {
            const int g = qGray(pans.pixel(x, y));
            bed += g != plain ? 1 : 0;
            bright += g > 236 ? 1 : 0;
            bank += g < plain - 60 ? 1 : 0;
        }
    }
    EXPECT_GT(bed, 300) << "the pans are not drawn";
    EXPECT_EQ(bright, 0) << "a pan reads as a white card on the wash";
    EXPECT_GT(bank, bed / 8) << "the pans' banks are not inked";
}

// Rough and rising ground below the heights is hachured: a few short strokes, each falling
// downhill, none on water, a road, a river, a symbol or a name.
TEST(MapDrawing, HachuresFallDownTheRoughGroundClearOfWhatTheMapMustShow) {
    const World& w = world();
    const std::vector<HillMark> marks =
        placeHillMarks(w.terrain, reliefKeepOut(w.scene, w.names, w.sheet));
    // A few score stretches of them, not a sprinkle over every slope.
    ASSERT_GT(marks.size(), 40u);
    const std::size_t hits = hitsOnWhatTheMapShows(w, [&](QPainter& p) {
        for (const HillMark& m : marks) {
            drawHillMark(p, m);
        }
    });
    EXPECT_EQ(hits, 0u) << "pixels of hachures over water, roads, symbols or names";
    // Downhill over a stroke's length and a little beyond, on the ground smoothed as a reader
    // sees its slope.
    static const Grid<float> ground = boxBlur(w.terrain.height, 6);
    std::size_t downhill = 0;
    for (const HillMark& m : marks) {
        const QPointF a = m.at - m.down * 4.0;
        const QPointF b = m.at + m.down * (m.length + 4.0);
        EXPECT_LT(w.terrain.height(static_cast<int>(m.at.x()), static_cast<int>(m.at.y())),
                  kHeightsHeight)
            << "a hachure among the ranges' glyphs";
        downhill += ground.clamped(static_cast<int>(b.x()), static_cast<int>(b.y())) <
                            ground.clamped(static_cast<int>(a.x()), static_cast<int>(a.y()))
                        ? 1
                        : 0;
    }
    EXPECT_GT(downhill, marks.size() * 9 / 10) << "hachures running across or up the slope";
    // They follow the ground in runs of a few along a slope, with bare ground between the runs:
    // strung close they form runs, and strung a little wider the runs stay apart.
    std::vector<QPointF> at;
    for (const HillMark& m : marks) {
        at.push_back(m.at);
    }
    const std::vector<std::size_t> run = clustersWithin(at, 20.0);
    const std::vector<std::size_t> spread = clustersWithin(at, 30.0);
    std::map<std::size_t, int> sizes;
    for (const std::size_t r : run) {
        ++sizes[r];
    }
    const auto lone =
        std::count_if(sizes.begin(), sizes.end(), [](auto e) { return e.second < 2; });
    EXPECT_LT(lone, static_cast<long>(sizes.size() / 10)) << "hachures standing alone, not in runs";
    EXPECT_LT(sizes.size(), marks.size() / 2) << "hachures spread one by one like a fill";
    EXPECT_EQ(std::set<std::size_t>(spread.begin(), spread.end()).size(), sizes.size())
        << "runs of hachures with no bare ground between them";
    std::cout << marks.size() << " hachures in " << sizes.size() << " runs\n";
}

// The lowland's own faint marks stand on its rises, above the country round them, and never
// on a valley's floor, the heights, or anything the map must show; spread, not in knots; and
// the plain between the Venn and the Ironbacks has its share.
TEST(MapDrawing, LowlandMarksStandOnItsRisesClearOfWhatTheMapMustShow) {
    const World& w = world();
    const std::vector<LowlandMark> marks =
        placeLowlandMarks(w.terrain, reliefKeepOut(w.scene, w.names, w.sheet));
    std::cout << marks.size() << " lowland marks\n";
    ASSERT_GT(marks.size(), 120u);
    const std::size_t hits = hitsOnWhatTheMapShows(w, [&](QPainter& p) {
        for (const LowlandMark& m : marks) {
            drawLowlandMark(p, m);
        }
    });
    EXPECT_EQ(hits, 0u) << "pixels of lowland marks over water, roads, symbols or names";
    static const Grid<float> ground = boxBlur(boxBlur(w.terrain.height, 5), 5);
    const auto groundAt = [&](QPointF p) {
        return ground.clamped(static_cast<int>(p.x()), static_cast<int>(p.y()));
    };
    std::size_t inCapitalCountry = 0;
    std::size_t falls = 0;
    std::size_t fallingDown = 0;
    std::ptrdiff_t crowded = 0;
    for (const LowlandMark& m : marks) {
        const float here = groundAt(m.at);
        EXPECT_LT(w.terrain.height(static_cast<int>(m.at.x()), static_cast<int>(m.at.y())),
                  kHeightsHeight)
            << "a lowland mark on the heights at " << m.at.x() << ", " << m.at.y();
        // The country round it: a ring of land 90 px out.
        double round = 0;
        float lowest = here;
        int count = 0;
        for (int i = 0; i < 24; ++i) {
            const double a = i * 2.0 * M_PI / 24.0;
            const QPointF q = m.at + 90.0 * QPointF(std::cos(a), std::sin(a));
            if (groundAt(q) > 0.0f) {
                round += groundAt(q);
                lowest = std::min(lowest, groundAt(q));
                ++count;
            }
        }
        // A swell above the country round it; a fall on a slope that rises above the lowest
        // ground round it, not on a valley's floor.
        EXPECT_GT(here,
                  m.kind == LowlandMarkKind::Swell ? round / std::max(count, 1) : lowest + 0.003f)
            << "a lowland mark down in a hollow at " << m.at.x() << ", " << m.at.y();
        if (m.kind == LowlandMarkKind::Fall) {
            ++falls;
            fallingDown += groundAt(m.at + m.down * (m.size + 5.0)) < groundAt(m.at - m.down * 5.0);
        }
        inCapitalCountry += QRectF(2200, 1000, 600, 500).contains(m.at) ? 1 : 0;
        crowded += std::count_if(marks.begin(), marks.end(), [&](const LowlandMark& o) {
            return &o != &m && length(o.at - m.at) < 20.0;
        });
    }
    EXPECT_EQ(crowded, 0) << "lowland marks in knots";
    // Gathered in runs with open country between, not spread at one even density.
    const std::size_t inRuns = std::count_if(marks.begin(), marks.end(), [&](const LowlandMark& m) {
        return std::any_of(marks.begin(), marks.end(), [&](const LowlandMark& o) {
            return &o != &m && length(o.at - m.at) < 40.0;
        });
    });
    EXPECT_GT(inRuns, marks.size() * 19 / 20) << "lowland marks strewn singly";
    // The groups (marks within 40 px of one another) stand apart, with bare country between
    // most of them rather than an even field of marks a little farther apart than in a run.
    std::vector<QPointF> at;
    for (const LowlandMark& m : marks) {
        at.push_back(m.at);
    }
    const std::vector<std::size_t> group = clustersWithin(at, 40.0);
    const auto root = [&](std::size_t i) { return group[i]; };
    std::map<std::size_t, double> nearestOther;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        double& near = nearestOther.try_emplace(root(i), 1e9).first->second;
        for (std::size_t j = 0; j < marks.size(); ++j) {
            if (root(j) != root(i)) {
                near = std::min(near, length(marks[i].at - marks[j].at));
            }
        }
    }
    const auto apart = std::count_if(nearestOther.begin(), nearestOther.end(),
                                     [](const auto& g) { return g.second > 90.0; });
    std::cout << nearestOther.size() << " groups of lowland marks, " << apart
              << " with bare country round them\n";
    EXPECT_GT(apart * 5, static_cast<std::ptrdiff_t>(nearestOther.size()) * 3)
        << "lowland marks spread as one even field";
    std::cout << inCapitalCountry << " of them in the capital's country\n";
    EXPECT_GE(inCapitalCountry, 6u) << "the plain east of the Venn drawn flat";
    EXPECT_GT(falls, 0u);
    EXPECT_GT(fallingDown, falls * 9 / 10) << "lowland strokes running across or up the slope";
    const std::vector<HillMark> hachures =
        placeHillMarks(w.terrain, reliefKeepOut(w.scene, w.names, w.sheet));
    // Each hachure keeps its room too: a steep patch takes a spread of them.
    std::size_t knots = 0;
    for (const HillMark& a : hachures) {
        for (const HillMark& b : hachures) {
            knots += &a != &b && length(a.at - b.at) < 12.0 ? 1 : 0;
        }
    }
    EXPECT_EQ(knots, 0u) << "hachures bunched into knots";
}

// The ground under a range is the land's own wash, with no area tint of its own: across any
// line of height the wash steps no more than it does across the lines round it, so that nowhere
// does a plateau's edge show round the heights.
TEST(MapDrawing, NoTintEdgeLiesRoundTheHeights) {
    const World& w = world();
    const QImage& relief = ::relief();
    const int width = w.sheet.width();
    const int height = w.sheet.height();
    // The mean colour of open dry land within a few pixels either side of the line at `level`.
    const auto stepAcross = [&](float level) {
        Grid<unsigned char> below(width, height, 0);
        Grid<unsigned char> above(width, height, 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool under = w.terrain.height(x, y) < level;
                below(x, y) = under ? 1 : 0;
                above(x, y) = under ? 0 : 1;
            }
        }
        const Grid<float> toBelow = distanceTo(below, 5.0f);
        const Grid<float> toAbove = distanceTo(above, 5.0f);
        std::array<std::array<double, 3>, 2> mean{};
        std::array<double, 2> count{};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (w.terrain.lake(x, y) > 0 || w.terrain.woods(x, y) > 0.5f) {
                    continue;
                }
                const float in = std::max(toBelow(x, y), toAbove(x, y));
                if (in < 1.0f || in > 4.0f) {
                    continue;
                }
                const std::size_t side = toBelow(x, y) > 0.0f ? 1 : 0;
                const QRgb c = relief.pixel(x, y);
                mean[side][0] += qRed(c);
                mean[side][1] += qGreen(c);
                mean[side][2] += qBlue(c);
                count[side] += 1;
            }
        }
        EXPECT_GT(std::min(count[0], count[1]), 1000.0) << "too little ground at " << level;
        double sum = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const double d =
                mean[1][i] / std::max(count[1], 1.0) - mean[0][i] / std::max(count[0], 1.0);
            sum += d * d;
        }
        return std::sqrt(sum);
    };
    std::array<double, 5> steps{};
    const std::array<float, 5> levels{0.35f, 0.4f, 0.45f, 0.5f, 0.55f};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        steps[i] = stepAcross(levels[i]);
        std::cout << "the wash steps " << steps[i] << " across the line at " << levels[i] << "\n";
    }
    std::array<double, 5> sorted = steps;
    std::sort(sorted.begin(), sorted.end());
    const double typical = sorted[2];
    for (std::size_t i = 0; i < levels.size(); ++i) {
        // A few shades at most, what a wash grading with height moves over a few pixels, and
        // no line standing out from the rest. The crests' darker stroke begins about where the
        // peaks crowd, so the highest level steps a little more than the pale foothills' wash.
        EXPECT_LT(steps[i], 4.0) << "the wash has an edge at the height " << levels[i];
        EXPECT_LT(steps[i], 3.0 * typical + 2.0) << "a tint begins at the height " << levels[i];
    }
}

// The heights' tan is one wash laid round the drawn peaks: close by them the ground is drier
// than the lowland, and on high ground a way past their reach it is the lowland's own green,
// with no glow grading out from the ranges.
TEST(MapDrawing, TheHeightsTanLiesCloseRoundThePeaks) {
    const World& w = world();
    const QImage& painted = relief();
    const QImage ranges = rangeCover(peaks(), w.sheet);
    Grid<unsigned char> peaked(w.sheet.width(), w.sheet.height(), 0);
    for (int y = 0; y < w.sheet.height(); ++y) {
        for (int x = 0; x < w.sheet.width(); ++x) {
            peaked(x, y) = ranges.constScanLine(y)[x] != 0 ? 1 : 0;
        }
    }
    const Grid<float> toPeaks = distanceTo(peaked, 90.0f);
    // Red over green, close by the peaks, on high ground far from them, on the plain.
    std::array<double, 3> warmth{};
    std::array<double, 3> count{};
    for (int y = 0; y < w.sheet.height(); y += 2) {
        for (int x = 0; x < w.sheet.width(); x += 2) {
            const float h = w.terrain.height(x, y);
            const float d = toPeaks(x, y);
            if (h <= 0.02f || w.terrain.lake(x, y) > 0 || w.terrain.woods(x, y) > 0.2f ||
                w.terrain.marsh(x, y) > 0 || w.terrain.moor(x, y) > 0 || d <= 0.0f) {
                continue;
            }
            const int k = d >= 2.0f && d < 7.0f                   ? 0
                          : h >= kHeightsHeight && d >= 50.0f     ? 1
                          : h >= 0.05f && h < 0.12f && d >= 90.0f ? 2
                                                                  : -1;
            if (k >= 0) {
                const QRgb c = painted.pixel(x, y);
                warmth[std::size_t(k)] += qRed(c) - qGreen(c);
                count[std::size_t(k)] += 1;
            }
        }
    }
    for (std::size_t k = 0; k < warmth.size(); ++k) {
        ASSERT_GT(count[k], 2000.0) << "too little ground of kind " << k;
        warmth[k] /= count[k];
    }
    std::cout << "warmth " << warmth[0] << " by the peaks, " << warmth[1]
              << " on high ground away from them, " << warmth[2] << " on the plain\n";
    EXPECT_GT(warmth[0], warmth[2] + 6.0) << "no tan round the peaks";
    EXPECT_LT(std::fabs(warmth[1] - warmth[2]), 3.0) << "the tan glows out from the ranges";
}

// The lowland's wash follows its lie: a shade warmer on the ground that stands above the
// country round it than down in the valleys' bottoms; and the drier tints of higher ground do
// not spread round a gently rising range as a pale band below its drawn heights.
TEST(MapDrawing, TheLowlandsWashFollowsItsLie) {
    const World& w = world();
    const QImage& painted = relief();
    const Grid<float> ground = boxBlur(boxBlur(w.terrain.height, 5), 5);
    const Grid<float> round = boxBlur(boxBlur(w.terrain.height, 70), 70);
    // Red over green: a warm wash is drier, a cool one greener.
    std::array<double, 5> warmth{};
    std::array<double, 5> count{};
    for (int y = 0; y < w.sheet.height(); y += 3) {
        for (int x = 0; x < w.sheet.width(); x += 3) {
            const float h = w.terrain.height(x, y);
            if (h <= 0.02f || h >= 0.45f || w.terrain.lake(x, y) > 0 ||
                w.terrain.woods(x, y) > 0.2f || w.terrain.marsh(x, y) > 0) {
                continue;
            }
            const float rise = ground(x, y) - round(x, y);
            const float slope = std::hypot(ground.clamped(x + 4, y) - ground.clamped(x - 4, y),
                                           ground.clamped(x, y + 4) - ground.clamped(x, y - 4)) /
                                8.0f;
            const QRgb c = painted.pixel(x, y);
            const double warm = qRed(c) - qGreen(c);
            // 0 a rise and 1 a hollow of the plain, 2 the ground just under the heights, 3 the
            // plain below it, 4 the heights' broad gentle shoulders.
            const bool lowland = h < kHeightsHeight;
            const std::array<bool, 5> in{
                lowland && h < 0.2f && rise > 0.008f, lowland && h < 0.2f && rise < -0.008f,
                lowland && h >= 0.16f, h >= 0.05f && h < 0.12f, h >= 0.3f && slope < 0.001f};
            for (std::size_t k = 0; k < in.size(); ++k) {
                warmth[k] += in[k] ? warm : 0.0;
                count[k] += in[k] ? 1.0 : 0.0;
            }
        }
    }
    for (std::size_t k = 0; k < warmth.size(); ++k) {
        ASSERT_GT(count[k], 2000.0) << "too little ground of kind " << k;
        warmth[k] /= count[k];
    }
    std::cout << "warmth " << warmth[0] << " on the rises, " << warmth[1] << " in the hollows, "
              << warmth[2] << " just under the heights, " << warmth[3] << " on the plain, "
              << warmth[4] << " on the heights' shoulders\n";
    EXPECT_GT(warmth[0], warmth[1] + 1.5) << "the wash lies the same on rise and hollow";
    EXPECT_LT(std::fabs(warmth[2] - warmth[3]), 4.0) << "a pale band lies round the heights";
    EXPECT_LT(std::fabs(warmth[4] - warmth[3]), 4.0) << "a tint lies over the heights' shoulders";
}

// A lake is one wash inside one inked shore line, not a glow or a double outline: a little way
// in from its shore the wash is no paler than farther in, no firm second ring runs just inside
// the shore, and the land just outside it is no paler than the land beyond.
TEST(MapDrawing, ALakeIsOneWashInsideOneShoreLine) {
    const World& w = world();
    const QImage& painted = relief();
    Grid<unsigned char> dry(w.sheet.width(), w.sheet.height(), 0);
    Grid<unsigned char> wet(w.sheet.width(), w.sheet.height(), 0);
    for (int y = 0; y < w.sheet.height(); ++y) {
        for (int x = 0; x < w.sheet.width(); ++x) {
            dry(x, y) = w.terrain.lake(x, y) > 127 ? 0 : 1;
            wet(x, y) = 1 - dry(x, y);
        }
    }
    const Grid<float> in = distanceTo(dry, 60.0f);
    const Grid<float> out = distanceTo(wet, 20.0f);
    // Inside: just within the shore line, past the ripple lines, and farther in; outside: just
    // beyond the shore line and a way off (open land only, clear of woods and the sea).
    std::array<double, 5> sum{};
    std::array<double, 5> count{};
    std::size_t inner = 0;
    std::size_t innerDark = 0;
    for (int y = 0; y < w.sheet.height(); ++y) {
        for (int x = 0; x < w.sheet.width(); ++x) {
            const int g = qGray(painted.pixel(x, y));
            const float d = in(x, y);
            int band = d >= 14.0f && d < 22.0f ? 0 : d >= 32.0f && d < 50.0f ? 1 : -1;
            if (d >= 3.0f && d < 6.0f) {
                band = 2;
            }
            const float o = out(x, y);
            if (o > 0.0f && w.terrain.woods(x, y) < 0.2f && w.terrain.height(x, y) > 0.0f) {
                band = o >= 2.0f && o < 4.0f ? 3 : o >= 10.0f && o < 16.0f ? 4 : band;
            }
            if (band >= 0 && w.terrain.height(x, y) >= 0.0f) {
                sum[std::size_t(band)] += g;
                count[std::size_t(band)] += 1;
            }
        }
    }
    ASSERT_GT(*std::min_element(count.begin(), count.end()), 1000.0);
    const auto mean = [&](std::size_t k) { return sum[k] / count[k]; };
    const double middle = mean(1);
    for (int y = 0; y < w.sheet.height(); ++y) {
        for (int x = 0; x < w.sheet.width(); ++x) {
            if (in(x, y) >= 3.0f && in(x, y) < 6.0f) {
                ++inner;
                innerDark += qGray(painted.pixel(x, y)) < middle - 45.0 ? 1 : 0;
            }
        }
    }
    // A wash darkening gently inward is a few shades paler there; a shallow step is a band.
    EXPECT_LE(mean(0), middle + 10.0) << "a pale ring inside the lakes' shores";
    EXPECT_LE(mean(2), middle + 10.0) << "a pale band just inside the lakes' shore line";
    EXPECT_LT(static_cast<double>(innerDark), 0.08 * static_cast<double>(inner))
        << "a firm ring just inside the lakes' shore line, as a second outline";
    EXPECT_LE(mean(3), mean(4) + 3.0) << "a pale glow round the lakes on the land";
}

// The lowland is a wash on grained paper, not one flat tint: its tone moves from pixel to pixel
// and from one stretch of country to the next, and it dries darker along the shore.
TEST(MapDrawing, TheGroundIsAWashOnGrainedPaperDarkerAtTheShore) {
    const World& w = world();
    const QImage& painted = relief();
    Grid<unsigned char> wet(w.sheet.width(), w.sheet.height(), 0);
    for (int y = 0; y < w.sheet.height(); ++y) {
        for (int x = 0; x < w.sheet.width(); ++x) {
            wet(x, y) = w.terrain.height(x, y) < 0.0f || w.terrain.lake(x, y) > 127 ? 1 : 0;
        }
    }
    const Grid<float> toWater = distanceTo(wet, 40.0f);
    const auto plain = [&](int x, int y) {
        const float h = w.terrain.height(x, y);
        return h > 0.0f && h < 0.15f && w.terrain.woods(x, y) < 0.3f && w.terrain.marsh(x, y) == 0;
    };
    // Neighbour to neighbour, and block to block (32 px) across the open plain.
    double step = 0;
    double steps = 0;
    std::vector<double> blocks;
    for (int by = 0; by + 32 <= w.sheet.height(); by += 96) {
        for (int bx = 0; bx + 32 <= w.sheet.width(); bx += 96) {
            double sum = 0;
            int n = 0;
            for (int y = by; y < by + 32; ++y) {
                for (int x = bx; x < bx + 31; ++x) {
                    if (plain(x, y) && plain(x + 1, y) && toWater(x, y) >= 40.0f) {
                        step +=
                            std::abs(qGray(painted.pixel(x, y)) - qGray(painted.pixel(x + 1, y)));
                        steps += 1;
                        sum += qGray(painted.pixel(x, y));
                        ++n;
                    }
                }
            }
            if (n == 32 * 31) {
                blocks.push_back(sum / n);
            }
        }
    }
    ASSERT_GT(blocks.size(), 20u);
    // The shore's rim against the plain a little inland.
    std::array<double, 2> rim{};
    std::array<double, 2> rimCount{};
    for (int y = 0; y < w.sheet.height(); y += 2) {
        for (int x = 0; x < w.sheet.width(); x += 2) {
            const float d = toWater(x, y);
            const int k = d >= 2.0f && d < 3.5f ? 0 : d >= 12.0f && d < 16.0f ? 1 : -1;
            if (k >= 0 && plain(x, y)) {
                rim[static_cast<std::size_t>(k)] += qGray(painted.pixel(x, y));
                rimCount[static_cast<std::size_t>(k)] += 1;
            }
        }
    }
    std::cout << "grain " << step / steps << " per pixel, tone spread " << deviation(blocks)
              << " between blocks, the shore's rim " << rim[0] / rimCount[0] << " against "
              << rim[1] / rimCount[1] << " inland\n";
    // The tooth moves the tone from pixel to pixel even under the green, the pigment that
    // settles in it least; a flat tint moves it by its rounding alone.
    EXPECT_GT(step / steps, 0.6) << "the paper shows no grain";
    EXPECT_GT(deviation(blocks), 3.0) << "the wash is one flat tint";
    EXPECT_LT(rim[0] / rimCount[0], rim[1] / rimCount[1] - 2.0)
        << "the wash does not pool at the shore";
}

// The sea is one light wash laid heavier out from the coast: out at sea plainly deeper than a
// way off the coast, but not dark, still plainly blue, and even from one stretch to the next,
// with no blotches.
TEST(MapDrawing, TheSeaDeepensOffTheCoastInOneLightWash) {
    const World& w = world();
    const QImage& painted = relief();
    Grid<unsigned char> dry(w.sheet.width(), w.sheet.height(), 0);
    for (int y = 0; y < w.sheet.height(); ++y) {
        for (int x = 0; x < w.sheet.width(); ++x) {
            dry(x, y) = w.terrain.height(x, y) < 0.0f && w.terrain.lake(x, y) == 0 ? 0 : 1;
        }
    }
    const Grid<float> toLand = distanceTo(dry, 400.0f);
    std::array<double, 2> grey{};
    std::array<double, 2> count{};
    double blueOverRed = 0;
    std::vector<double> blocks;
    for (int by = 0; by + 48 <= w.sheet.height(); by += 48) {
        for (int bx = 0; bx + 48 <= w.sheet.width(); bx += 48) {
            double sum = 0;
            int n = 0;
            for (int y = by; y < by + 48; ++y) {
                for (int x = bx; x < bx + 48; ++x) {
                    const float d = toLand(x, y);
                    const QRgb c = painted.pixel(x, y);
                    const int k = d >= 60.0f && d < 100.0f ? 0 : d >= 300.0f ? 1 : -1;
                    if (k >= 0) {
                        grey[std::size_t(k)] += qGray(c);
                        count[std::size_t(k)] += 1;
                    }
                    if (k == 1) {
                        blueOverRed += qBlue(c) - qRed(c);
                    }
                    if (d >= 160.0f) {
                        sum += qGray(c);
                        ++n;
                    }
                }
            }
            if (n == 48 * 48) {
                blocks.push_back(sum / n);
            }
        }
    }
    ASSERT_GT(std::min(count[0], count[1]), 10000.0);
    ASSERT_GT(blocks.size(), 20u);
    const double offCoast = grey[0] / count[0];
    const double open = grey[1] / count[1];
    std::cout << "sea off the coast " << offCoast << ", open " << open << ", blue over red "
              << blueOverRed / count[1] << ", spread " << deviation(blocks) << " between blocks\n";
    EXPECT_GT(offCoast - open, 6.0) << "the sea is one flat tone out from the coast";
    EXPECT_LT(offCoast - open, 28.0) << "the sea darkens outward as a screen's gradient";
    EXPECT_GT(open, 150.0) << "the open sea is dark";
    EXPECT_GT(blueOverRed / count[1], 12.0) << "the open sea does not read as water";
    EXPECT_LT(deviation(blocks), 2.5) << "the open sea is blotched";
}

// A coast facing away from the light (its water to the south-east) is inked heavier than one
// facing into it; the sea's ripples end at a narrow inlet's mouth, neither bridging it nor running
// up into it, while a broad bay stays open water with its ripples round its shore.
TEST(MapDrawing, TheCoastIsShadedAndItsRipplesEndAtNarrowInlets) {
    const World& w = world();
    const QImage& painted = relief();
    const Grid<float>& h = w.terrain.height;
    const auto sea = [&](int x, int y) { return h(x, y) < 0.0f && w.terrain.lake(x, y) == 0; };
    // Ink along each diagonal through a shore point whose water lies on one side only.
    std::array<double, 2> ink{};
    std::array<double, 2> points{};
    for (int y = 4; y + 4 < w.sheet.height(); ++y) {
        for (int x = 4; x + 4 < w.sheet.width(); ++x) {
            if (sea(x, y) || !sea(x + 1, y + 1) == !sea(x - 1, y - 1)) {
                continue;
            }
            const bool shadowed = sea(x + 3, y + 3) && !sea(x - 3, y - 3) && h(x - 3, y - 3) > 0.0f;
            const bool lit = sea(x - 3, y - 3) && !sea(x + 3, y + 3) && h(x + 3, y + 3) > 0.0f;
            if (shadowed == lit) {
                continue;
            }
            const int side = shadowed ? 1 : -1;
            int dark = 0;
            for (int k = -3; k <= 3; ++k) {
                dark += qGray(painted.pixel(x + side * k, y + side * k)) < 100 ? 1 : 0;
            }
            ink[shadowed ? 1 : 0] += dark;
            points[shadowed ? 1 : 0] += 1;
        }
    }
    ASSERT_GT(points[0], 500.0);
    ASSERT_GT(points[1], 500.0);
    std::cout << "coast ink " << ink[1] / points[1] << " px in the shadow, " << ink[0] / points[0]
              << " facing the light\n";
    EXPECT_GT(ink[1] / points[1], 1.25 * (ink[0] / points[0]))
        << "the coast's line is one weight all round";

    // A shore with a creek 16 px wide and a bay 120 px wide, both opening south onto the sea.
    const int width = 320;
    const int height = 220;
    Terrain t = test::flatTerrain(width, height, 0.05f);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool creek = x >= 60 && x < 76 && y >= 40;
            const bool bay = x >= 160 && x < 280 && y >= 60;
            if (y >= 140 || creek || bay) {
                t.height(x, y) = -0.05f;
            }
        }
    }
    const Grid<float> open = distanceToOpenWater(t);
    EXPECT_GT(open(68, 80), kInletHalfWidth) << "the creek reads as open water";
    EXPECT_EQ(open(220, 110), 0.0f) << "the bay reads as sheltered water";
    EXPECT_EQ(open(68, 200), 0.0f) << "the sea reads as sheltered water";
    const QImage small = paintRelief(t);
    // The spread of grey over a block of the painted shore.
    const auto toneRange = [&](int x0, int x1, int y0, int y1) {
        int lightest = 0;
        int darkest = 255;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                lightest = std::max(lightest, qGray(small.pixel(x, y)));
                darkest = std::min(darkest, qGray(small.pixel(x, y)));
            }
        }
        return lightest - darkest;
    };
    // Across the creek, away from its banks' ink, no ripple line: the paper's tooth alone (a
    // line there spreads the tone by 50 and more). The lines by the shore fade out at its mouth
    // rather than cross it as they run along the open coast.
    const int creek = toneRange(64, 72, 60, 120);
    const int mouth = toneRange(64, 72, 142, 150);
    const int shore = toneRange(100, 140, 142, 150);
    std::cout << "tone spread " << creek << " up the creek, " << mouth << " in its mouth, " << shore
              << " off the open shore\n";
    EXPECT_LT(creek, 30) << "ripples follow the creek inland";
    EXPECT_GT(shore, 50) << "no ripples along the open shore";
    EXPECT_LT(mouth, 0.75 * shore) << "the ripples bridge the creek's mouth";
}

// No drawn pixel of a tree lies on water, a road, a river, a symbol, a name or a crater; inside a
// wood and along its edge nearly every patch of open ground holds a tree.
TEST(MapDrawing, TreesFillTheirWoodsClearOfWhatTheMapMustShow) {
    const World& w = world();
    const QImage keepOut = treeKeepOut(w.scene, w.names, w.sheet);
    const std::vector<Tree> trees = plantTrees(w.terrain, keepOut);
    ASSERT_GT(trees.size(), 5000u);
    QImage drawn(w.sheet, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter p(&drawn);
        p.setRenderHint(QPainter::Antialiasing);
        for (const Tree& t : trees) {
            drawTree(p, t);
        }
    }
    const QImage marks = drawnMarks(w, true);
    std::size_t hits = 0;
    for (int y = 0; y < w.sheet.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        for (int x = 0; x < w.sheet.width(); ++x) {
            if (qAlpha(row[x]) > 0 &&
                (w.terrain.height(x, y) < 0.0f || w.terrain.lake(x, y) > 127 ||
                 qGray(marks.pixel(x, y)) > 0)) {
                ++hits;
            }
        }
    }
    EXPECT_EQ(hits, 0u) << "pixels of trees over water, roads, symbols or names";
    // A wood's name stands among its trees, which reach in between and round its letters rather
    // than stopping at a box cut round it.
    for (const PlacedName& n : w.names.names) {
        if (!namesAWood(w, n.text)) {
            continue;
        }
        const QRect box = n.box.boundingRect().toAlignedRect();
        std::size_t inked = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                inked += drawn.rect().contains(x, y) && qAlpha(drawn.pixel(x, y)) > 0 ? 1 : 0;
            }
        }
        EXPECT_GT(inked * 50, static_cast<std::size_t>(box.width() * box.height()))
            << n.text.toStdString() << " sits in a clearing cut to its box";
    }
    std::size_t onRims = 0;
    for (const Crater& c : w.scene.craters) {
        const double rx = c.radius * 1.3;
        const double ry = c.radius;
        for (int y = int(c.centre.y() - ry); y <= int(c.centre.y() + ry); ++y) {
            for (int x = int(c.centre.x() - rx); x <= int(c.centre.x() + rx); ++x) {
                const double dx = (x - c.centre.x()) / rx;
                const double dy = (y - c.centre.y()) / ry;
                if (dx * dx + dy * dy <= 1.0 && drawn.rect().contains(x, y) &&
                    qAlpha(drawn.pixel(x, y)) > 0) {
                    ++onRims;
                }
            }
        }
    }
    EXPECT_EQ(onRims, 0u) << "pixels of trees on a crater's bowl or rim";

    // Cells of 12 px with room for a tree's box, by how far inside the wood's edge they lie:
    // how many hold a tree's foot. The rim stands full; the body thinner, though never bare.
    constexpr int kCell = 12;
    const Grid<float> into = intoWoods(w.terrain);
    const int cols = w.sheet.width() / kCell;
    std::vector<int> planted(static_cast<std::size_t>(cols * (w.sheet.height() / kCell)), 0);
    for (const Tree& t : trees) {
        ++planted[static_cast<std::size_t>(static_cast<int>(t.at.y()) / kCell * cols +
                                           static_cast<int>(t.at.x()) / kCell)];
    }
    std::array<int, 2> cells{};
    std::array<int, 2> full{};
    std::array<int, 2> feet{};
    for (int cy = 2; cy + 2 < w.sheet.height() / kCell; ++cy) {
        for (int cx = 1; cx + 1 < cols; ++cx) {
            bool open = true;
            for (int y = (cy - 2) * kCell; y < (cy + 2) * kCell && open; ++y) {
                for (int x = (cx - 1) * kCell; x < (cx + 2) * kCell; ++x) {
                    open =
                        open && keepOut.constScanLine(y)[x] == 0 && w.terrain.height(x, y) < 0.58f;
                }
            }
            const float mid = into(cx * kCell + kCell / 2, cy * kCell + kCell / 2);
            const int band = mid >= 20.0f ? 0 : mid >= 4.0f && mid <= 13.0f ? 1 : -1;
            if (open && band >= 0) {
                const int n = planted[static_cast<std::size_t>(cy * cols + cx)];
                ++cells[band];
                full[band] += n > 0 ? 1 : 0;
                feet[band] += n;
            }
        }
    }
    std::cout << "trees in " << full[0] << " of " << cells[0] << " cells inside woods, " << full[1]
              << " of " << cells[1] << " on their edges; " << feet[0] << " and " << feet[1]
              << " trees\n";
    ASSERT_GT(cells[0], 300);
    ASSERT_GT(cells[1], 100);
    EXPECT_GT(full[1], 0.95 * cells[1]) << "of the cells on their edges";
    EXPECT_GT(full[0], 0.6 * cells[0]) << "of the cells inside the woods";
    EXPECT_LT(static_cast<double>(feet[0]) / cells[0], 0.85 * feet[1] / cells[1])
        << "the woods' bodies are no lighter than their rims";

    // Beyond the woods, trees stand in copses: a lone tree with none within a crown's reach,
    // sprinkled over the fields, reads as noise. Bucketed in 16 px cells to find neighbours.
    constexpr int kNear = 16;
    const int nearCols = w.sheet.width() / kNear + 1;
    std::vector<std::vector<QPointF>> near(
        static_cast<std::size_t>(nearCols * (w.sheet.height() / kNear + 1)));
    for (const Tree& t : trees) {
        near[static_cast<std::size_t>(static_cast<int>(t.at.y()) / kNear * nearCols +
                                      static_cast<int>(t.at.x()) / kNear)]
            .push_back(t.at);
    }
    std::size_t outside = 0;
    std::size_t lone = 0;
    for (const Tree& t : trees) {
        if (into(static_cast<int>(t.at.x()), static_cast<int>(t.at.y())) > 0.0f) {
            continue;
        }
        ++outside;
        const int cx = static_cast<int>(t.at.x()) / kNear;
        const int cy = static_cast<int>(t.at.y()) / kNear;
        bool alone = true;
        for (int j = std::max(0, cy - 1); j <= cy + 1 && alone; ++j) {
            for (int i = std::max(0, cx - 1); i <= std::min(nearCols - 1, cx + 1) && alone; ++i) {
                const auto k = static_cast<std::size_t>(j * nearCols + i);
                if (k >= near.size()) {
                    continue;
                }
                alone = std::none_of(near[k].begin(), near[k].end(), [&](QPointF q) {
                    return q != t.at && length(q - t.at) < kNear;
                });
            }
        }
        lone += alone ? 1 : 0;
    }
    std::cout << lone << " lone trees of " << outside << " outside the woods\n";
    EXPECT_LT(lone * 10, outside) << lone << " of " << outside
                                  << " trees outside the woods stand alone";

    // The edge is inked along most of its length, as a line just outside the body, though the pen
    // lifts off it for stretches: none of its ink deep inside a wood, over water, a way, a place
    // or a name.
    // A copse too small to be a wood stands with no ring round it.
    const QImage edge = woodEdgeLayer(w.terrain, keepOut);
    const Grid<int> areas = woodAreas(into);
    Grid<unsigned char> bigWood(w.sheet.width(), w.sheet.height(), 0);
    std::size_t copsePixels = 0;
    for (int y = 0; y < w.sheet.height(); ++y) {
        for (int x = 0; x < w.sheet.width(); ++x) {
            bigWood(x, y) = areas(x, y) >= kWoodEdgeArea ? 1 : 0;
            copsePixels += areas(x, y) > 0 && areas(x, y) < kWoodEdgeArea ? 1 : 0;
        }
    }
    const Grid<float> toBigWood = distanceTo(bigWood, 32.0f);
    std::size_t edgePixels = 0;
    std::size_t inked = 0;
    std::size_t astray = 0;
    std::size_t ringed = 0;
    for (int y = 3; y + 3 < w.sheet.height(); ++y) {
        for (int x = 3; x + 3 < w.sheet.width(); ++x) {
            const int a = qAlpha(edge.pixel(x, y));
            if (a > 0 && (into(x, y) > 2.5f || keepOut.constScanLine(y)[x] != 0)) {
                ++astray;
            }
            if (a > 0 && toBigWood(x, y) >= 32.0f) {
                ++ringed;
            }
            if (areas(x, y) < kWoodEdgeArea) {
                continue;
            }
            if (into(x, y) <= 0.0f || into(x, y) > 1.0f || x < 8 || y < 8 ||
                x + 8 >= w.sheet.width() || y + 8 >= w.sheet.height() ||
                !clearOn(keepOut, QRect(x - 6, y - 6, 13, 13))) {
                continue;
            }
            // Only the edges of woods with a body: a patch a few trees wide goes unringed.
            bool body = false;
            for (int dy = -6; dy <= 6 && !body; ++dy) {
                for (int dx = -6; dx <= 6 && !body; ++dx) {
                    body = into(x + dx, y + dy) >= 8.0f;
                }
            }
            if (!body) {
                continue;
            }
            ++edgePixels;
            bool near = false;
            for (int dy = -5; dy <= 5 && !near; ++dy) {
                for (int dx = -5; dx <= 5 && !near; ++dx) {
                    near = qAlpha(edge.pixel(x + dx, y + dy)) > 60;
                }
            }
            inked += near ? 1 : 0;
        }
    }
    std::cout << inked << " of " << edgePixels << " pixels of the woods' edges inked\n";
    ASSERT_GT(edgePixels, 2000u);
    EXPECT_GT(inked, edgePixels * 2 / 5) << "the woods' edges are not drawn";
    EXPECT_LT(inked, edgePixels * 9 / 10) << "the woods' edges run round them unbroken";
    EXPECT_EQ(astray, 0u) << "pixels of the edge's ink inside a wood or over what the map shows";
    EXPECT_GT(copsePixels, 5000u) << "no copses to leave unringed";
    EXPECT_EQ(ringed, 0u) << "pixels of edge ink round a copse far from any wood";
}

// Trees stand up to a wood's streams, their crowns reaching over the banks, so no pale lane
// runs along the water; beyond the woods each copse keeps to one or two kinds of tree.
TEST(MapDrawing, TreesStandToTheBanksAndCopsesKeepToTheirKinds) {
    const World& w = world();
    const QImage keepOut = treeKeepOut(w.scene, w.names, w.sheet);
    const std::vector<Tree> trees = plantTrees(w.terrain, keepOut);
    QImage drawn(w.sheet, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QImage streams(w.sheet, QImage::Format_Grayscale8);
    streams.fill(0);
    {
        QPainter p(&drawn);
        for (const Tree& t : trees) {
            drawTree(p, t);
        }
        QPainter s(&streams);
        for (const RiverLine& b : w.water.brooks) {
            strokeVarying(s, b.points, b.widths, Qt::white, 0.0f);
        }
    }
    Grid<unsigned char> water(w.sheet.width(), w.sheet.height(), 0);
    for (int y = 0; y < w.sheet.height(); ++y) {
        for (int x = 0; x < w.sheet.width(); ++x) {
            water(x, y) = streams.constScanLine(y)[x] != 0 ? 1 : 0;
        }
    }
    const Grid<float> toWater = distanceTo(water, 30.0f);
    const Grid<float> into = intoWoods(w.terrain);
    // Inked ground deep in the woods: on a stream's banks, and well away from any stream.
    std::array<double, 2> inked{};
    std::array<double, 2> ground{};
    for (int y = 0; y < w.sheet.height(); ++y) {
        for (int x = 0; x < w.sheet.width(); ++x) {
            const float d = toWater(x, y);
            const int band = d > 2.0f && d < 7.0f ? 0 : d > 18.0f && d < 30.0f ? 1 : -1;
            if (band < 0 || into(x, y) < 25.0f || w.terrain.height(x, y) > 0.55f) {
                continue;
            }
            ground[static_cast<std::size_t>(band)] += 1;
            inked[static_cast<std::size_t>(band)] += qAlpha(drawn.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    const double bank = inked[0] / std::max(ground[0], 1.0);
    const double body = inked[1] / std::max(ground[1], 1.0);
    std::cout << "banks " << bank << " inked, the woods' body " << body << "\n";
    ASSERT_GT(ground[0], 2000.0);
    EXPECT_GT(bank, 0.3 * body) << "the trees keep off the streams' banks";

    // Copses: trees beyond the woods linked by standing within 14 px of one another.
    std::vector<const Tree*> open;
    for (const Tree& t : trees) {
        if (into(static_cast<int>(t.at.x()), static_cast<int>(t.at.y())) <= 0.0f) {
            open.push_back(&t);
        }
    }
    std::vector<QPointF> at;
    for (const Tree* t : open) {
        at.push_back(t->at);
    }
    const std::vector<std::size_t> copse = clustersWithin(at, 14.0);
    const auto root = [&](std::size_t i) { return copse[i]; };
    std::map<std::size_t, std::array<int, kTreeShapes>> kinds;
    for (std::size_t i = 0; i < open.size(); ++i) {
        ++kinds[root(i)][static_cast<std::size_t>(open[i]->shape)];
    }
    int inCopses = 0;
    int ofTwoKinds = 0;
    // Far out on the open country a tree stands in a copse, never alone or as a pair strewn
    // over the plain; only by a wood's edge may one stray.
    const QImage woods = [&] {
        QImage m(w.sheet, QImage::Format_Grayscale8);
        m.fill(0);
        for (int y = 0; y < w.sheet.height(); ++y) {
            for (int x = 0; x < w.sheet.width(); ++x) {
                m.scanLine(y)[x] = into(x, y) > 0.0f ? 255 : 0;
            }
        }
        return m;
    }();
    int strewn = 0;
    for (std::size_t i = 0; i < open.size(); ++i) {
        const int n = std::accumulate(kinds[root(i)].begin(), kinds[root(i)].end(), 0);
        const QPoint at = open[i]->at.toPoint();
        strewn += n < 3 && clearOn(woods, QRect(at - QPoint(30, 30), QSize(61, 61))) ? 1 : 0;
    }
    EXPECT_EQ(strewn, 0) << "single trees strewn over the open country";
    for (auto& [id, count] : kinds) {
        const int n = std::accumulate(count.begin(), count.end(), 0);
        if (n < 3) {
            continue;
        }
        std::sort(count.begin(), count.end(), std::greater<>());
        inCopses += n;
        ofTwoKinds += count[0] + count[1];
    }
    std::cout << ofTwoKinds << " of " << inCopses << " trees in copses of their copse's kinds\n";
    ASSERT_GT(inCopses, 100);
    EXPECT_GT(ofTwoKinds, 0.9 * inCopses) << "copses of every kind of tree mixed";
}

// A wood's broadleaves come in every build, no two crowns of one build drawn alike; old trees
// stand together in its body, the young towards its rim; and no lane of bare ground a few crowns
// wide runs through it.
TEST(MapDrawing, WoodsGrowInGroupsOfManyCrowns) {
    // Two trees of one build and size differ in their outlines by their seeds alone.
    const auto crownPixels = [](TreeShape shape, std::uint64_t seed) {
        QImage m(40, 40, QImage::Format_Grayscale8);
        m.fill(0);
        QPainter p(&m);
        Tree t;
        t.at = QPointF(20, 34);
        t.shape = shape;
        t.size = 1.6;
        t.seed = seed;
        drawTree(p, t);
        return m;
    };
    for (int k = 0; k < kTreeShapes; ++k) {
        const auto shape = static_cast<TreeShape>(k);
        if (isConifer(shape)) {
            continue;
        }
        const QImage a = crownPixels(shape, 0x5EED1);
        const QImage b = crownPixels(shape, 0x5EED2);
        int differ = 0;
        int drawn = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                const bool ia = a.constScanLine(y)[x] != 0;
                const bool ib = b.constScanLine(y)[x] != 0;
                differ += ia != ib ? 1 : 0;
                drawn += ia ? 1 : 0;
            }
        }
        EXPECT_GT(differ * 12, drawn) << "build " << k << " drawn as one stamp";
    }

    const World& w = world();
    const QImage keepOut = treeKeepOut(w.scene, w.names, w.sheet);
    const std::vector<Tree> trees = plantTrees(w.terrain, keepOut);
    const Grid<float> into = intoWoods(w.terrain);
    const auto depth = [&](const Tree& t) {
        return into(static_cast<int>(t.at.x()), static_cast<int>(t.at.y()));
    };
    std::array<int, kTreeShapes> kinds{};
    int broadleaves = 0;
    double rim = 0.0;
    double heart = 0.0;
    int rims = 0;
    int hearts = 0;
    std::vector<const Tree*> body;
    for (const Tree& t : trees) {
        const float d = depth(t);
        if (d <= 0.0f || isConifer(t.shape)) {
            continue;
        }
        ++broadleaves;
        ++kinds[static_cast<std::size_t>(t.shape)];
        if (d < 8.0f) {
            rim += t.size;
            ++rims;
        } else if (d >= 30.0f) {
            heart += t.size;
            ++hearts;
            body.push_back(&t);
        }
    }
    ASSERT_GT(rims, 500);
    ASSERT_GT(hearts, 500);
    for (int k = 0; k < kTreeShapes; ++k) {
        if (!isConifer(static_cast<TreeShape>(k))) {
            EXPECT_GT(kinds[static_cast<std::size_t>(k)] * 100, broadleaves)
                << "build " << k << " hardly grows in the woods";
        }
    }
    std::cout << "crowns " << rim / rims << " on the rims, " << heart / hearts
              << " in the hearts\n";
    EXPECT_LT(rim / rims, 0.92 * heart / hearts) << "the rims' trees are no younger";
    // Neighbours in the heart, within 10 px of one another, share their age more than chance.
    std::vector<QPointF> at;
    for (const Tree* t : body) {
        at.push_back(t->at);
    }
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    int pairs = 0;
    constexpr double kNear = 10.0;
    std::map<std::pair<int, int>, std::vector<std::size_t>> cells;
    for (std::size_t i = 0; i < at.size(); ++i) {
        cells[{static_cast<int>(at[i].x() / kNear), static_cast<int>(at[i].y() / kNear)}].push_back(
            i);
    }
    for (std::size_t i = 0; i < at.size(); ++i) {
        const int cx = static_cast<int>(at[i].x() / kNear);
        const int cy = static_cast<int>(at[i].y() / kNear);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const auto it = cells.find({cx + dx, cy + dy});
                if (it == cells.end()) {
                    continue;
                }
                for (const std::size_t j : it->second) {
                    if (j <= i || length(at[j] - at[i]) > kNear) {
                        continue;
                    }
                    const double a = body[i]->size;
                    const double b = body[j]->size;
                    sa += a, sb += b, saa += a * a, sbb += b * b, sab += a * b;
                    ++pairs;
                }
            }
        }
    }
    ASSERT_GT(pairs, 1000);
    const double cov = sab / pairs - sa / pairs * sb / pairs;
    const double corr = cov / std::sqrt((saa / pairs - sa * sa / pairs / pairs) *
                                        (sbb / pairs - sb * sb / pairs / pairs));
    std::cout << "neighbouring crowns' sizes correlate by " << corr << "\n";
    EXPECT_GT(corr, 0.2) << "old and young trees strewn at random";

    // Bare ground with a wood 6 px off on every side: a hole in the cover the trees grow over.
    const Grid<int> areas = woodAreas(into);
    const auto inWood = [&](int x, int y) { return areas(x, y) >= kWoodEdgeArea; };
    std::size_t holes = 0;
    for (int y = 6; y + 6 < w.sheet.height(); ++y) {
        for (int x = 6; x + 6 < w.sheet.width(); ++x) {
            const float hv = w.terrain.height(x, y);
            // Water, a way or a name keeps its own clearing.
            if (into(x, y) > 0.0f || hv <= 0.02f || hv >= 0.58f || w.terrain.lake(x, y) != 0 ||
                !clearOn(keepOut, QRect(x - 4, y - 4, 9, 9))) {
                continue;
            }
            holes += inWood(x - 6, y) && inWood(x + 6, y) && inWood(x, y - 6) && inWood(x, y + 6)
                         ? 1
                         : 0;
        }
    }
    std::cout << holes << " pixels of small holes in the woods\n";
    EXPECT_LT(holes, 20u) << "small holes of bare ground left in the woods";
}

// Every place whose name promises a moor or a heath has heather round it, in patches that leave
// bare ground between; no drawn pixel of a mark lies on water, a road, a river, a symbol or a name.
TEST(MapDrawing, MoorsShowRoundThePlacesNamedForThem) {
    const World& w = world();
    const std::vector<MoorMark> marks =
        placeMoorMarks(w.scene, treeKeepOut(w.scene, w.names, w.sheet), {});
    const std::size_t hits =
        hitsOnWhatTheMapShows(w, [&](QPainter& p) { drawMoorMarks(p, marks); });
    EXPECT_EQ(hits, 0u) << "pixels of moor marks over water, roads, symbols or names";
    EXPECT_TRUE(promisesMoor("Hathmoor") && promisesMoor("Heathby") && !promisesMoor("Tolvane"));
    int moors = 0;
    for (const ProvincePlace& place : w.places) {
        if (!promisesMoor(place.name)) {
            continue;
        }
        ++moors;
        const QPointF home(place.at.x, place.at.y);
        const double reach = moorReach(place.kind);
        std::array<int, 2> kinds{};
        for (const MoorMark& m : marks) {
            if (length(m.at - home) < reach) {
                ++kinds[m.kind == MoorMarkKind::Heather ? 0 : 1];
            }
        }
        // A place by the shore keeps only a strip of land round it, so the count is modest.
        const int near = kinds[0] + kinds[1];
        EXPECT_GE(near, 8) << place.name << " shows nothing of a moor";
        EXPECT_GT(kinds[0], 0) << place.name << " has bristles and no heather";
        EXPECT_GT(kinds[1], 0) << place.name << " has heather and no rough grass";
        // Patches, not an even sprinkle: the marks fill well under half of the reach's cells.
        EXPECT_LT(near * 64.0, 0.45 * std::numbers::pi * reach * reach) << place.name;
    }
    EXPECT_GE(moors, 3);
}

// Sand along the beach of a place named for it, reeds on the banks by a reedy one, loose rocks
// and broken brows over the fells, none of their ink on water, a road, a river, a symbol or a
// name; and under every stretch its own tone, laid over the green, with the country round left
// as it was.
TEST(MapDrawing, TheGroundShowsWhatItsNamesPromise) {
    const World& w = world();
    EXPECT_TRUE(promisesSand("Wendle Sands") && promisesSand("Marramhythe") &&
                !promisesSand("Tolvane"));
    EXPECT_TRUE(promisesReeds("Reedholm") && !promisesReeds("Redcliff"));
    const std::vector<GroundMark> marks =
        placeGroundMarks(w.scene, treeKeepOut(w.scene, w.names, w.sheet));
    const std::size_t hits =
        hitsOnWhatTheMapShows(w, [&](QPainter& p) { drawGroundMarks(p, marks); });
    EXPECT_EQ(hits, 0u) << "pixels of sand, reeds or rocks over water, roads, symbols or names";
    const auto count = [&](QPointF home, double reach, GroundMarkKind kind) {
        return std::count_if(marks.begin(), marks.end(), [&](const GroundMark& m) {
            return m.kind == kind && length(m.at - home) < reach;
        });
    };
    int promised = 0;
    for (const ProvincePlace& place : w.places) {
        const QPointF home(place.at.x, place.at.y);
        if (promisesSand(place.name)) {
            ++promised;
            EXPECT_GE(count(home, 200, GroundMarkKind::Stipple), 12) << place.name;
            EXPECT_GE(count(home, 200, GroundMarkKind::Dune), 2) << place.name;
        }
        if (promisesReeds(place.name)) {
            ++promised;
            EXPECT_GE(count(home, 150, GroundMarkKind::Reeds), 6) << place.name;
        }
    }
    EXPECT_GE(promised, 3);
    std::array<long, 2> fell{};
    for (const NamedGround& g : namedGrounds(w.scene)) {
        if (g.kind == GroundKind::Fell) {
            for (const GroundMark& m : marks) {
                if (distanceToPolyline(m.at, g.core) < g.reach) {
                    fell[0] += m.kind == GroundMarkKind::Rock;
                    fell[1] += m.kind == GroundMarkKind::Brow;
                }
            }
        }
    }
    EXPECT_GE(fell[0], 10) << "rocks on the fells";
    EXPECT_GE(fell[1], 10) << "brows on the fells";

    // The tone over a plain green sheet: browner on a moor, the fells and the ash, lighter on
    // sand.
    const QColor green(188, 198, 160);
    QImage sheet(w.sheet, QImage::Format_RGB32);
    sheet.fill(green);
    washNamedGround(sheet, w.scene);
    const auto mean = [&](QPointF at) {
        double r = 0;
        double g = 0;
        double b = 0;
        int n = 0;
        for (int dy = -12; dy <= 12; dy += 3) {
            for (int dx = -12; dx <= 12; dx += 3) {
                const int x = static_cast<int>(at.x()) + dx;
                const int y = static_cast<int>(at.y()) + dy;
                if (w.terrain.height.contains(x, y) && w.terrain.height(x, y) > 0.0f &&
                    w.terrain.lake(x, y) == 0) {
                    const QColor c = sheet.pixelColor(x, y);
                    r += c.red();
                    g += c.green();
                    b += c.blue();
                    ++n;
                }
            }
        }
        return n == 0 ? QColor(green) : QColor(qRound(r / n), qRound(g / n), qRound(b / n));
    };
    const auto strip = [&](const NamedGround& g) {
        return g.line ? g.core[g.core.size() / 2] : g.core.front();
    };
    std::array<int, 3> toned{};
    for (const NamedGround& g : namedGrounds(w.scene)) {
        const QColor c = mean(strip(g));
        switch (g.kind) {
            case GroundKind::Moor:
                EXPECT_GT(c.red() - c.green(), green.red() - green.green() + 8) << "moor";
                ++toned[0];
                break;
            case GroundKind::Ash:
            case GroundKind::Fell:
                EXPECT_GT(c.red() - c.green(), green.red() - green.green() + 6) << "upland";
                ++toned[1];
                break;
            case GroundKind::Sand:
                EXPECT_GT(c.red(), green.red() + 10) << "sand";
                ++toned[2];
                break;
            case GroundKind::Reed:
                break;
        }
    }
    EXPECT_TRUE(toned[0] >= 3 && toned[1] >= 2 && toned[2] >= 2);
    // Far from every named stretch, out on the plain north-east of Orlheim, nothing changed.
    EXPECT_EQ(sheet.pixelColor(1400, 1150), green);
}

// The lowland's field marks lie on open lowland, and no drawn pixel of one on water, a road, a
// river, a symbol or a name; the fields gather round the towns and villages and along the
// roads, and the country far from both is left nearly bare.
TEST(MapDrawing, FieldsLieOnOpenLowlandRoundTheTownsClearOfWhatTheMapMustShow) {
    const World& w = world();
    const std::vector<FieldMark> marks = placeFieldMarks(
        w.terrain, treeKeepOut(w.scene, w.names, w.sheet), farmedLand(w.scene, w.sheet));
    // The home fields of the villages only, in a few small blocks, not a field on every flat;
    // the heather's tussocks sparse.
    ASSERT_GT(marks.size(), 20u);
    const std::size_t hits = hitsOnWhatTheMapShows(w, [&](QPainter& p) {
        for (const FieldMark& m : marks) {
            drawFieldMark(p, m);
        }
    });
    EXPECT_EQ(hits, 0u) << "pixels of field marks over water, roads, symbols or names";

    // Beside a town or village (within 120 px), and far from every one (400 px) and from the
    // roads (250 px).
    QImage beside(w.sheet, QImage::Format_Grayscale8);
    beside.fill(0);
    QImage notFar = beside;
    {
        QPainter near(&beside);
        QPainter reach(&notFar);
        near.setPen(Qt::NoPen);
        near.setBrush(Qt::white);
        reach.setPen(Qt::NoPen);
        reach.setBrush(Qt::white);
        for (const ProvincePlace& p : w.places) {
            if (p.kind == PlaceKind::City || p.kind == PlaceKind::Town ||
                p.kind == PlaceKind::Settlement) {
                near.drawEllipse(QPointF(p.at.x, p.at.y), 120.0, 120.0);
                reach.drawEllipse(QPointF(p.at.x, p.at.y), 400.0, 400.0);
            }
        }
        reach.setPen(QPen(Qt::white, 500.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const RoadLine& r : w.roads) {
            reach.drawPath(linePath(r.points));
        }
    }
    // 0 beside a town, 1 far from everything, -1 between.
    const auto where = [&](QPointF q) {
        const int x = static_cast<int>(q.x());
        const int y = static_cast<int>(q.y());
        return beside.constScanLine(y)[x] != 0 ? 0 : notFar.constScanLine(y)[x] == 0 ? 1 : -1;
    };
    // Rushes stand on a stream's banks as well as on the rough pasture.
    QImage banks(w.sheet, QImage::Format_Grayscale8);
    banks.fill(0);
    {
        QPainter b(&banks);
        for (const auto* lines : {&w.water.rivers, &w.water.brooks}) {
            for (const RiverLine& r : *lines) {
                strokeVarying(b, r.points, r.widths, Qt::white, 40.0f);
            }
        }
    }
    // Fields per open lowland, beside the towns and far from them and the roads.
    std::array<double, 2> fields{};
    std::array<double, 2> ground{};
    for (const FieldMark& m : marks) {
        const int x = static_cast<int>(m.at.x());
        const int y = static_cast<int>(m.at.y());
        EXPECT_TRUE(w.terrain.height(x, y) > 0.0f && w.terrain.height(x, y) < kHeightsHeight &&
                    w.terrain.woods(x, y) < 0.5f)
            << "a field mark off the open lowland at " << x << ", " << y;
        if (m.kind == FieldMarkKind::Tuft) {
            EXPECT_TRUE(w.terrain.moor(x, y) >= 60 || w.terrain.marsh(x, y) >= 24 ||
                        banks.constScanLine(y)[x] != 0)
                << "a tuft of grass off the heather, marsh and banks at " << x << ", " << y;
            // Tussocks grow in clumps of a few: one alone reads as a speck.
            EXPECT_TRUE(std::any_of(marks.begin(), marks.end(),
                                    [&](const FieldMark& o) {
                                        return &o != &m && o.kind == FieldMarkKind::Tuft &&
                                               length(o.at - m.at) < 20.0;
                                    }))
                << "a lone tussock at " << x << ", " << y;
        } else if (const int k = where(m.at); k >= 0) {
            ++fields[static_cast<std::size_t>(k)];
        }
    }
    // Strips lie in blocks: one with no other field within a couple of strips' reach reads as a
    // stray stroke. A block cut by a road, a name or a wood's edge may leave a few.
    std::size_t strays = 0;
    std::size_t strips = 0;
    for (const FieldMark& m : marks) {
        if (m.kind == FieldMarkKind::Tuft) {
            continue;
        }
        ++strips;
        strays += std::none_of(marks.begin(), marks.end(), [&](const FieldMark& o) {
            return &o != &m && o.kind != FieldMarkKind::Tuft && length(o.at - m.at) < 30.0;
        });
    }
    EXPECT_LT(strays * 2, strips) << strays << " of " << strips << " field marks stand alone";
    // Every 12 px: open lowland far from every town and road is scarce on a well-settled map.
    for (int y = 8; y < w.sheet.height(); y += 12) {
        for (int x = 8; x < w.sheet.width(); x += 12) {
            const float h = w.terrain.height(x, y);
            if (h > 0.02f && h < kHeightsHeight && w.terrain.woods(x, y) < 0.2f &&
                w.terrain.lake(x, y) == 0) {
                if (const int k = where(QPointF(x, y)); k >= 0) {
                    ++ground[static_cast<std::size_t>(k)];
                }
            }
        }
    }
    ASSERT_GT(ground[0], 100);
    ASSERT_GT(ground[1], 50);
    std::cout << fields[0] << " fields on " << ground[0] << " samples near the towns, " << fields[1]
              << " on " << ground[1] << " far from them\n";
    // The home fields lie in a few blocks, so even beside the towns most ground is pasture; the
    // floor still wants a block or two by every town (the names and roads take the rest).
    EXPECT_GT(fields[0] / ground[0], 10 * (fields[1] / ground[1]) + 0.0025);
}

// Each wood's name lies inside its wood and each range's over its heights, not across the plain,
// the sea or another cover beside them.
TEST(MapDrawing, WoodAndRangeNamesLieOnWhatTheyName) {
    const World& w = world();
    // The share of a name's box, sampled every 3 px, whose ground passes `test`.
    const auto share = [&](const QString& text, const auto& test) {
        for (const PlacedName& n : w.names.names) {
            if (n.text != text) {
                continue;
            }
            const QRect r = n.box.boundingRect().toAlignedRect();
            int all = 0;
            int pass = 0;
            for (int y = r.top(); y <= r.bottom(); y += 3) {
                for (int x = r.left(); x <= r.right(); x += 3) {
                    if (n.box.containsPoint(QPointF(x, y), Qt::OddEvenFill)) {
                        ++all;
                        pass += test(x, y) ? 1 : 0;
                    }
                }
            }
            return all == 0 ? 0.0 : static_cast<double>(pass) / all;
        }
        ADD_FAILURE() << text.toStdString() << " is not on the map";
        return 0.0;
    };
    for (const Wood& wood : w.layout.woods) {
        EXPECT_GT(share(wood.name, [&](int x, int y) { return w.terrain.woods(x, y) > 0.5f; }), 0.9)
            << wood.name.toStdString() << " is lettered outside its wood";
    }
    // A range thick with mines and caves may leave its name room only on its flank or at its
    // end: nearly half of it on the heights (a name on the plain below scores a quarter or less).
    for (const Ridge& ridge : w.layout.ridges) {
        const QString name = ridge.name.toUpper();
        EXPECT_GT(share(name,
                        [&](int x, int y) {
                            return w.terrain.height(x, y) >= kHeightsHeight &&
                                   w.terrain.woods(x, y) <= 0.5f;
                        }),
                  0.45)
            << ridge.name.toStdString() << " is lettered off its heights or across a wood";
    }
}

// Under and just round a name the ink is broken off and the wash goes on: a line through the
// name's letters takes the wash's own tone there (not the paper's), the same line away from the
// letters is left, and the wash's grain under the name is left as it was.
TEST(MapDrawing, ANameBreaksTheLinesUnderItAndKeepsTheWash) {
    QImage sheet(300, 120, QImage::Format_RGB32);
    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            const int grain = (x * 7 + y * 13) % 5;  // a tooth of a few levels
            const int tone = 150 + x / 6 + grain;    // a green wash lightening across the sheet
            sheet.setPixel(x, y, qRgb(tone - 40, tone, tone - 60));
        }
    }
    const QImage wash = sheet.copy();
    {
        QPainter p(&sheet);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(58, 40, 26), 1.5));
        p.drawLine(QPointF(0, 60), QPointF(300, 60));
    }
    QPainterPath letters;
    letters.addText(QPointF(60, 70), mapFont(TypeFace::SerifBold, 30), QStringLiteral("HOLM"));
    const QRectF inked = letters.boundingRect();
    QImage drawn = sheet.copy();
    {
        QPainter p(&drawn);
        knockOutInk(p, sheet, letters, 2.5);
    }
    const auto tone = [](const QImage& img, int x, int y) { return QColor(img.pixel(x, y)); };
    int under = 0;
    for (int x = static_cast<int>(inked.left()); x < inked.right(); ++x) {
        if (!letters.contains(QPointF(x + 0.5, 60.5))) {
            continue;
        }
        ++under;
        const QColor before = tone(wash, x, 60);
        const QColor after = tone(drawn, x, 60);
        EXPECT_LT(std::abs(after.green() - before.green()), 14) << "the line left at x " << x;
        EXPECT_GT(after.green() - after.blue(), 40) << "paper, not the wash, at x " << x;
    }
    EXPECT_GT(under, 20);
    EXPECT_LT(tone(drawn, 10, 60).green(), 110) << "the line cut short away from the name";
    EXPECT_LT(tone(drawn, 280, 60).green(), 110);
    for (int x = static_cast<int>(inked.left()); x < inked.right(); ++x) {
        EXPECT_EQ(drawn.pixel(x, 52), sheet.pixel(x, 52)) << "the grain changed at x " << x;
    }

    // A brook's blue line goes on under a place's name and is broken under an area's.
    QImage brook = wash.copy();
    {
        QPainter p(&brook);
        p.setPen(QPen(QColor(50, 90, 160), 1.5));
        p.drawLine(QPointF(0, 60), QPointF(300, 60));
    }
    for (const bool area : {false, true}) {
        QImage lettered = brook.copy();
        {
            QPainter p(&lettered);
            knockOutInk(p, brook, letters, 2.5, area);
        }
        int blue = 0;
        int cut = 0;
        for (int x = static_cast<int>(inked.left()); x < inked.right(); ++x) {
            if (letters.contains(QPointF(x + 0.5, 60.5))) {
                const QColor c = tone(lettered, x, 60);
                ++cut;
                blue += c.blue() - c.red() > 60 ? 1 : 0;
            }
        }
        EXPECT_GT(cut, 20);
        EXPECT_EQ(blue, area ? 0 : cut)
            << (area ? "water left under an area's name" : "water broken under a place's name");
    }
}
