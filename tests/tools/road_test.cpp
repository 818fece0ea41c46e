#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "tools/common/plane_geometry.h"
#include "tools/roads/bridges.h"
#include "tools/roads/cost_lattice.h"
#include "tools/roads/fords.h"
#include "tools/roads/road_bends.h"
#include "tools/roads/road_network.h"

using namespace marventa;

namespace {

constexpr float kNone = std::numeric_limits<float>::infinity();

// Bare open ground of `w` × `h` pixels whose height `rise` gives.
template <class Rise>
Terrain ground(int w, int h, Rise rise) {
    Terrain t{Grid<float>(w, h),
              Grid<float>(w, h),
              Grid<unsigned char>(w, h),
              Grid<unsigned char>(w, h),
              Grid<unsigned char>(w, h),
              Grid<unsigned char>(w, h),
              {}};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            t.height(x, y) = rise(x, y);
        }
    }
    return t;
}

std::vector<QPointF> cheapestLine(const CostLattice& l, QPointF from, QPointF to) {
    const int goal = l.cellOf(to);
    const CostLattice::Sweep s = l.sweep(l.cellOf(from), kNone, [&](int c) { return c == goal; });
    std::vector<QPointF> line;
    for (int c : s.pathTo(s.reached)) {
        line.push_back(l.centre(c));
    }
    return line;
}

}  // namespace

// A slope too steep to climb head on is climbed slantwise: the way up is far longer than the
// rise and no step of it is steep; on level ground the way stays straight.
TEST(CostLattice, ClimbsASteepSlopeSlantwiseAndCrossesTheLevelStraight) {
    const Terrain slope = ground(480, 400, [](int, int y) { return 0.1f + 0.004f * (400 - y); });
    const Waterways dry;
    const CostLattice steep(slope, dry);
    const std::vector<QPointF> up = cheapestLine(steep, {240, 380}, {240, 20});
    ASSERT_FALSE(up.empty());
    double run = 0;
    for (std::size_t i = 1; i < up.size(); ++i) {
        const double step = length(up[i] - up[i - 1]);
        run += step;
        const int c0 = steep.cellOf(up[i - 1]);
        const int c1 = steep.cellOf(up[i]);
        EXPECT_LT(std::abs(steep.height(c1) - steep.height(c0)) / step, 0.002)
            << "steep step at (" << up[i].x() << ", " << up[i].y() << ")";
    }
    EXPECT_GT(run, 2 * 360.0);

    const CostLattice level(ground(480, 400, [](int, int) { return 0.1f; }), dry);
    const std::vector<QPointF> across = cheapestLine(level, {20, 200}, {460, 200});
    ASSERT_FALSE(across.empty());
    for (const QPointF& p : across) {
        EXPECT_NEAR(p.y(), 200, 8);
    }
}

// A lake one cell wide, laid as a diagonal staircase, cannot be slipped through by a diagonal
// or knight's step; a river can be crossed, but only once, and is not followed along its bank.
TEST(CostLattice, NoStepSlipsThroughALakeAndARiverIsCrossedOnce) {
    constexpr int kCell = CostLattice::kCell;
    Terrain t = ground(320, 320, [](int, int) { return 0.1f; });
    for (int i = 0; i < 40; ++i) {
        for (int y = i * kCell; y < (i + 1) * kCell; ++y) {
            for (int x = i * kCell; x < (i + 1) * kCell; ++x) {
                t.lake(x, y) = 255;
            }
        }
    }
    const Waterways dry;
    const CostLattice walled(t, dry);
    const int across = walled.cellOf({300, 20});
    const CostLattice::Sweep s = walled.sweep(walled.cellOf({20, 300}), kNone, {});
    EXPECT_TRUE(std::isinf(s.cost[std::size_t(across)]));

    Waterways river;
    river.rivers.push_back({QStringLiteral("Test Water"), {{160, 0}, {160, 320}}, {4, 4}, false});
    const CostLattice wet(ground(320, 320, [](int, int) { return 0.1f; }), river);
    const std::vector<QPointF> line = cheapestLine(wet, {20, 40}, {300, 280});
    ASSERT_FALSE(line.empty());
    int crossings = 0;
    for (std::size_t i = 1; i < line.size(); ++i) {
        crossings += (line[i - 1].x() < 160) != (line[i].x() < 160);
    }
    EXPECT_EQ(crossings, 1);

    // Along the river a road keeps a little off the bank rather than hugging it, though it
    // starts and ends beside the water.
    const std::vector<QPointF> along = cheapestLine(wet, {172, 20}, {172, 300});
    ASSERT_FALSE(along.empty());
    const auto onBank = std::count_if(along.begin(), along.end(),
                                      [](QPointF p) { return std::abs(p.x() - 160) < 16; });
    EXPECT_LT(onBank * 4, static_cast<long>(along.size()))
        << onBank << " of " << along.size() << " points on the riverbank";
}

// The tree joins every place that can be reached, cheapest links first; a loop is added only
// where going round by the tree is long, and never past a place lying between its ends.
TEST(RoadNetwork, ATreeJoinsEveryPlaceAndLoopsCloseOnlyLongDetours) {
    // Six places on a ring round a lake: neighbours cost 1, across the lake nothing; a seventh
    // place cannot be reached at all.
    constexpr std::size_t n = 7;
    std::vector<std::vector<float>> cost(n, std::vector<float>(n, kNone));
    for (std::size_t i = 0; i < 6; ++i) {
        cost[i][i] = 0;
        cost[i][(i + 1) % 6] = cost[(i + 1) % 6][i] = 1.0f + 0.01f * float(i);
        cost[i][(i + 2) % 6] = cost[(i + 2) % 6][i] = 2.0f;
    }
    cost[6][6] = 0;
    const std::vector<NetworkLink> links = chooseLinks(cost, 1.02);
    std::size_t trunk = 0;
    for (const NetworkLink& l : links) {
        EXPECT_NE(l.a, 6u);
        EXPECT_NE(l.b, 6u);
        trunk += l.trunk;
        // A place two along the ring has the one between as a nearer neighbour of both.
        EXPECT_NE(cost[l.a][l.b], 2.0f) << l.a << "-" << l.b;
    }
    EXPECT_EQ(trunk, 5u);
    ASSERT_EQ(links.size(), 6u);
    // The dearest ring link is the one left out of the tree and closes the loop.
    EXPECT_FALSE(links.back().trunk);
    EXPECT_FLOAT_EQ(cost[links.back().a][links.back().b], 1.05f);

    // With no long way round there is no loop.
    for (const NetworkLink& l : chooseLinks(cost, 6.0)) {
        EXPECT_TRUE(l.trunk);
    }
}

// A track that ends by a ford's place just past the water runs on to the far bank, wherever that
// bank is dry; a bridge's place and a ford's far from any crossing are left as they are.
TEST(Fords, TheWayAtAFordRunsOnPastTheWater) {
    Waterways river;
    river.rivers.push_back({QStringLiteral("Test Water"), {{100, 0}, {100, 200}}, {4, 4}, false});
    const auto everywhere = [](QPointF) { return true; };
    const RoadLine track{{{97, 100}, {160, 100}, {200, 140}}, RoadClass::Track};
    const auto laid = [&](const char* name, MapPoint at, const auto& dry) {
        std::vector<RoadLine> roads{track};
        runThroughFords(roads, {{name, at, PlaceKind::Settlement}}, river, dry);
        return roads.front().points;
    };
    // The track stops 3 px past the water: it is run on over the other bank, 24 px out.
    const std::vector<QPointF> forded = laid("Testford", {96, 102}, everywhere);
    ASSERT_EQ(forded.size(), track.points.size() + 1);
    EXPECT_NEAR(forded.front().x(), 100 - 24, 0.5);
    EXPECT_NEAR(forded.front().y(), 100, 0.5);
    EXPECT_EQ(findCrossings({{forded, RoadClass::Track}}, river).size(), 1u);
    EXPECT_EQ(laid("Testbridge", {96, 102}, everywhere), track.points);
    EXPECT_EQ(laid("Testford", {150, 40}, everywhere), track.points);
    EXPECT_EQ(laid("Testford", {96, 102}, [](QPointF q) { return q.x() > 100; }), track.points);
}

// The track through a ford's place is drawn as a lane over both banks, run on up the far bank
// where it is dry; a track crossing nowhere near a ford's place stays a track.
TEST(Fords, AFordsTrackBecomesALaneOverBothBanks) {
    Waterways river;
    river.rivers.push_back({QStringLiteral("Test Water"), {{100, 0}, {100, 200}}, {4, 4}, false});
    const RoadLine track{{{76, 100}, {160, 100}, {200, 140}}, RoadClass::Track};
    const auto laid = [&](const char* name, const auto& dry) {
        std::vector<RoadLine> roads{track};
        laneThroughFords(roads, {{name, {96, 102}, PlaceKind::Settlement}}, river, dry);
        return roads.front();
    };
    const RoadLine lane = laid("Testford", [](QPointF) { return true; });
    EXPECT_EQ(lane.kind, RoadClass::Lane);
    ASSERT_EQ(lane.points.size(), track.points.size() + 1);
    EXPECT_NEAR(lane.points.front().x(), 62, 0.5);
    EXPECT_EQ(findCrossings({lane}, river).size(), 1u);
    const RoadLine wet = laid("Testford", [](QPointF q) { return q.x() > 70; });
    EXPECT_EQ(wet.kind, RoadClass::Lane);
    EXPECT_EQ(wet.points, track.points) << "runs on into ground a way may not stand on";
    EXPECT_EQ(laid("Testbridge", [](QPointF) { return true; }).kind, RoadClass::Track);
}

// A road's sharp corner on open ground is drawn round into a wide curve, its ends where they
// were; by an anchor (a symbol, a road joining) it keeps its corner, and no point of a curve
// leaves clear ground (water in the bend), so there the corner is rounded less or not at all.
TEST(RoadBends, CornersRoundOnOpenGroundOnly) {
    const std::vector<QPointF> corner{{0, 0}, {100, 0}, {100, 100}};
    const auto everywhere = [](QPointF) { return true; };
    // The sharpest turn over any 4 px along the line, as the radius of that turn.
    const auto tightest = [](const std::vector<QPointF>& line) {
        const std::vector<QPointF> pts = resample(line, 4.0);
        double radius = std::numeric_limits<double>::max();
        for (std::size_t i = 1; i + 1 < pts.size(); ++i) {
            const QPointF a = pts[i] - pts[i - 1];
            const QPointF b = pts[i + 1] - pts[i];
            const double turn =
                std::abs(std::atan2(a.x() * b.y() - a.y() * b.x(), QPointF::dotProduct(a, b)));
            if (turn > 1e-9) {
                radius = std::min(radius, length(b) / turn);
            }
        }
        return radius;
    };
    const std::vector<QPointF> open = roundCorners(corner, everywhere, {});
    EXPECT_EQ(open.front(), corner.front());
    EXPECT_EQ(open.back(), corner.back());
    EXPECT_GE(tightest(open), 18.0);  // a right angle, round some 20 px
    EXPECT_GT(distanceToPolyline(corner[1], open), 4.0);
    EXPECT_LT(distanceToPolyline(corner[1], open), 15.0);

    const std::vector<QPointF> held = roundCorners(corner, everywhere, {{100, 0}});
    EXPECT_LT(distanceToPolyline(corner[1], held), 0.5);

    const auto dryBend = [](QPointF q) { return length(q - QPointF(92, 8)) > 4.0; };
    for (const QPointF& q : roundCorners(corner, dryBend, {})) {
        EXPECT_TRUE(dryBend(q)) << q.x() << ", " << q.y();
    }
    const std::vector<QPointF> straight{{0, 0}, {200, 10}};
    EXPECT_EQ(roundCorners(straight, everywhere, {}), straight);
}
