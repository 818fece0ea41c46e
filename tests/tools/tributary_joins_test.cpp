#include <gtest/gtest.h>

#include "tools/common/plane_geometry.h"
#include "tools/water/tributary_joins.h"

using namespace marventa;

namespace {

// A straight line of running water from `a` to `b`, a point every 4 px, `width` wide.
RiverLine straight(QPointF a, QPointF b, float width, QString name = {}) {
    RiverLine r{std::move(name), {}, {}, false};
    const int n = static_cast<int>(length(b - a) / 4.0);
    for (int i = 0; i <= n; ++i) {
        r.points.push_back(a + (b - a) * (double(i) / n));
        r.widths.push_back(width);
    }
    return r;
}

const auto kFlat = [](QPointF) { return 0.1f; };

}  // namespace

// A brook running 20 px beside a river for 300 px turns into it where it first came near, well
// before its old end; one only passing near, or leaving a feeder of its own stranded, keeps its
// course; and none is turned over a rise between them.
TEST(TributaryJoins, ABrookBesideALineJoinsItWhereItFirstCameNear) {
    const std::vector<RiverLine> rivers{straight({0, 0}, {0, 600}, 6.0f, QStringLiteral("Main"))};
    {
        // Comes in slantwise to 24 px off the river at y = 100, then runs beside it to y = 400.
        std::vector<RiverLine> brooks{straight({120, 0}, {24, 100}, 1.5f)};
        const RiverLine beside = straight({24, 100}, {24, 400}, 1.5f);
        brooks[0].points.insert(brooks[0].points.end(), beside.points.begin() + 1,
                                beside.points.end());
        brooks[0].widths.insert(brooks[0].widths.end(), beside.widths.begin() + 1,
                                beside.widths.end());
        joinWhereAlongside(brooks, rivers, kFlat);
        const QPointF end = brooks[0].points.back();
        EXPECT_LT(std::abs(end.x()), 4.0) << "ends off the river";
        EXPECT_LT(end.y(), 180.0) << "joins late, at " << end.y();
        for (const QPointF& p : brooks[0].points) {
            EXPECT_LE(p.y(), end.y() + 1e-6) << "turns back upstream";
        }
    }
    {
        // Near for only 60 px: left as it is.
        std::vector<RiverLine> brooks{straight({24, 100}, {24, 160}, 1.5f)};
        brooks[0].points.push_back({200, 400});
        brooks[0].widths.push_back(1.5f);
        const std::vector<QPointF> before = brooks[0].points;
        joinWhereAlongside(brooks, rivers, kFlat);
        EXPECT_EQ(brooks[0].points, before);
    }
    {
        // Hard by the river, 6 px between their banks, for only 60 px: twin channels, joined.
        std::vector<RiverLine> brooks{straight({10, 100}, {10, 160}, 1.5f)};
        brooks[0].points.push_back({200, 400});
        brooks[0].widths.push_back(1.5f);
        joinWhereAlongside(brooks, rivers, kFlat);
        EXPECT_LT(std::abs(brooks[0].points.back().x()), 4.0) << "twin channels left apart";
        EXPECT_LT(brooks[0].points.back().y(), 200.0);
    }
    {
        // A feeder runs into its lower stretch: turned away, that would end on dry land.
        std::vector<RiverLine> brooks{straight({24, 100}, {24, 400}, 1.5f),
                                      straight({200, 300}, {26, 350}, 1.0f)};
        const std::vector<QPointF> before = brooks[0].points;
        joinWhereAlongside(brooks, rivers, kFlat);
        EXPECT_EQ(brooks[0].points, before);
    }
    {
        // A ridge between them.
        std::vector<RiverLine> brooks{straight({24, 100}, {24, 400}, 1.5f)};
        const std::vector<QPointF> before = brooks[0].points;
        joinWhereAlongside(brooks, rivers,
                           [](QPointF p) { return p.x() > 5 && p.x() < 20 ? 0.2f : 0.1f; });
        EXPECT_EQ(brooks[0].points, before);
    }
}

// A place by the brook's lower stretch, out of the river's reach, keeps its water: the brook
// joins past it rather than where it first came near; one the river waters too lets it join early.
TEST(TributaryJoins, APlaceByTheWaterKeepsItsWater) {
    const std::vector<RiverLine> rivers{straight({0, 0}, {0, 600}, 6.0f, QStringLiteral("Main"))};
    const std::vector<RiverLine> alongside{straight({24, 100}, {24, 460}, 1.5f)};
    {
        const Settled village{{44, 220}, 30.0};
        std::vector<RiverLine> brooks = alongside;
        joinWhereAlongside(brooks, rivers, kFlat, {village});
        EXPECT_LT(distanceToPolyline(village.at, brooks[0].points), village.room) << "left dry";
        const QPointF end = brooks[0].points.back();
        EXPECT_LT(std::abs(end.x()), 4.0) << "ends off the river";
        EXPECT_GT(end.y(), village.at.y()) << "joins above the place";
        EXPECT_LT(end.y(), 400.0) << "never joins";
    }
    {
        // Between the two, the river keeps it watered however early the brook joins; but where
        // a way was laid round the water, the bend waits until it is clear of the place.
        for (const Settled& place : {Settled{{10, 250}, 30.0}, Settled{{10, 250}, 30.0, 300.0}}) {
            std::vector<RiverLine> brooks = alongside;
            joinWhereAlongside(brooks, rivers, kFlat, {place});
            const double end = brooks[0].points.back().y();
            if (place.laidRound > 0) {
                EXPECT_GT(end, place.at.y() + place.room) << "a laid way's water moved";
            } else {
                EXPECT_LT(end, place.at.y()) << "held back needlessly";
            }
        }
    }
}
