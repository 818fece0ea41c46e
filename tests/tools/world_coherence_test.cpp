#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QSizeF>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <iostream>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <set>
#include <stdexcept>

#include "catalogue/city_directory.h"
#include "tests/tools/province_world.h"
#include "tools/city/city_layout.h"
#include "tools/common/distance_transform.h"
#include "tools/common/flow_routing.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/world_places.h"
#include "tools/land/erosion.h"
#include "tools/land/land.h"
#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"
#include "tools/paint/hot_springs.h"
#include "tools/paint/landmark_features.h"
#include "tools/paint/legend.h"
#include "tools/paint/map_names.h"
#include "tools/paint/province_painter.h"
#include "tools/paint/sea_names.h"
#include "tools/paint/snow_cover.h"
#include "tools/paint/symbols.h"
#include "tools/roads/bridges.h"
#include "tools/roads/roads.h"
#include "tools/sites/crossing_rules.h"
#include "tools/sites/site_rules.h"
#include "tools/water/waterways.h"

using namespace marventa;
using marventa::world_test::World;
using marventa::world_test::world;

namespace {

bool nearRoad(QPointF p, const std::vector<RoadLine>& roads, double within) {
    return std::any_of(roads.begin(), roads.end(),
                       [&](const RoadLine& r) { return distanceToPolyline(p, r.points) < within; });
}

// By a plain string: a temporary QString argument makes g++ 14 doubt the returned reference.
const Ridge& ridge(const World& w, const char* name) {
    for (const Ridge& r : w.layout.ridges) {
        if (r.name == QLatin1String(name)) {
            return r;
        }
    }
    throw std::logic_error(std::string("no such range: ") + name);
}

// The crest's height on the sheet at `x`, between the two crest points either side of it.
double crestY(const Ridge& r, double x) {
    for (std::size_t i = 0; i + 1 < r.crest.size(); ++i) {
        const QPointF a = r.crest[i];
        const QPointF b = r.crest[i + 1];
        if (x >= a.x() && x <= b.x()) {
            return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
        }
    }
    return std::numeric_limits<double>::quiet_NaN();
}

MapPoint cellPoint(QPointF p) {
    return {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
}

}  // namespace

// Running water follows the filled ground downhill all the way, and ends where water can go: a
// named river in the sea, a lake or the river it feeds; a brook also at the sheet's edge.
TEST(WorldWater, EveryRiverRunsDownhillToTheSeaALakeOrAnotherRiver) {
    const World& w = world();
    const Grid<float>& g = w.water.ground;
    auto groundAt = [&](QPointF p) {
        return sampleBilinear(g, static_cast<float>(p.x() / w.water.cell),
                              static_cast<float>(p.y() / w.water.cell));
    };
    auto endsWell = [&](const RiverLine& r, bool brook) {
        const QPointF end = r.points.back();
        if (r.toSea || w.water.lakeAt(end) >= 0) {
            return true;
        }
        for (const auto* lines : {&w.water.rivers, &w.water.brooks}) {
            for (const RiverLine& other : *lines) {
                if (&other != &r && distanceToPolyline(end, other.points) < 8.0) {
                    return true;
                }
            }
        }
        return brook && (end.x() < 8 || end.y() < 8 || end.x() > kProvinceWidth - 8 ||
                         end.y() > kProvinceHeight - 8);
    };
    ASSERT_GE(w.water.rivers.size(), 5u);
    for (const auto* lines : {&w.water.rivers, &w.water.brooks}) {
        for (const RiverLine& r : *lines) {
            const std::string name = r.name.isEmpty() ? "a brook" : r.name.toStdString();
            EXPECT_TRUE(endsWell(r, lines == &w.water.brooks))
                << name << " ends at (" << r.points.back().x() << ", " << r.points.back().y()
                << ")";
            // Smoothing rounds corners, so allow a small rise between neighbouring points.
            float lowest = groundAt(r.points.front());
            for (const QPointF& p : r.points) {
                EXPECT_LE(groundAt(p), lowest + 0.01f)
                    << name << " climbs at (" << p.x() << ", " << p.y() << ")";
                lowest = std::min(lowest, groundAt(p));
            }
        }
    }
}

// Each named river runs along its course through the land (GEOGRAPHY.md): near every point of
// it, one stretch of that name rising where the course does; the Tarnbeck out of Coldtarn.
TEST(WorldWater, NamedRiversRunWhereTheLayoutPutsThem) {
    const World& w = world();
    for (const RiverCourse& course : w.layout.rivers) {
        if (course.name == QStringLiteral("Cinderbrook")) {
            continue;  // its course is steered by the Ashen Tors' land, checked with them
        }
        const RiverLine* line = nullptr;
        double worst = 1e9;
        for (const RiverLine& r : w.water.rivers) {
            double far = 0;
            for (const QPointF& p : course.course) {
                far = std::max(far, distanceToPolyline(p, r.points));
            }
            if (r.name == course.name && far < worst) {
                worst = far;
                line = &r;
            }
        }
        ASSERT_NE(line, nullptr) << course.name.toStdString() << " is missing";
        EXPECT_LE(worst, 120.0) << course.name.toStdString() << " strays from its course";
        EXPECT_LE(length(line->points.front() - course.course.front()), 150.0)
            << course.name.toStdString() << " rises far from its source";
    }
    const RiverLine& tarnbeck =
        *std::find_if(w.water.rivers.begin(), w.water.rivers.end(),
                      [](const RiverLine& r) { return r.name == QStringLiteral("Tarnbeck"); });
    const int tarn = w.water.lakeAt(tarnbeck.points.front());
    ASSERT_GE(tarn, 0) << "the Tarnbeck rises outside any lake";
    EXPECT_EQ(w.water.lakes[static_cast<std::size_t>(tarn)].name, QStringLiteral("Coldtarn"));
}

// Running waters that come within a few pixels of each other join there; none runs beside
// another for a long stretch (a lattice artefact: two channels cut side by side on a plain), and
// no brook keeps a field's width from a river for long, as a second stream down its valley.
TEST(WorldWater, RunningWatersJoinRatherThanRunSideBySide) {
    const World& w = world();
    struct Line {
        const RiverLine* river;
        std::vector<QPointF> points;  // every 4 px
        std::vector<float> widths;
        QRectF box;
    };
    std::vector<Line> lines;
    for (const auto* set : {&w.water.rivers, &w.water.brooks}) {
        for (const RiverLine& r : *set) {
            Line l{&r, resample(r.points, 4.0), {}, {}};
            QPolygonF outline;
            for (const QPointF& p : l.points) {
                l.widths.push_back(r.widths[nearestOnPolyline(p, r.points).segment]);
                outline << p;
            }
            l.box = outline.boundingRect().adjusted(-40, -40, 40, 40);
            lines.push_back(std::move(l));
        }
    }
    // Banks less than `gap` apart for longer than `run`, stretches near either's end aside; the
    // second for a brook beside a river.
    struct Beside {
        double gap;
        double run;
    };
    constexpr std::array<Beside, 2> kBeside{{{16.0, 60.0}, {40.0, 100.0}}};
    for (const Line& a : lines) {
        for (const Line& b : lines) {
            if (&a == &b || !a.box.intersects(b.box)) {
                continue;
            }
            const bool brookByRiver = a.river->name.isEmpty() && !b.river->name.isEmpty();
            std::array<double, 2> run{};
            std::array<double, 2> longest{};
            std::array<QPointF, 2> where;
            for (std::size_t i = 0; i < a.points.size(); ++i) {
                const QPointF p = a.points[i];
                double gap = 1e9;
                for (std::size_t k = 0; k < b.points.size(); ++k) {
                    gap =
                        std::min(gap, length(p - b.points[k]) - 0.5 * (a.widths[i] + b.widths[k]));
                }
                const bool clear = length(p - a.river->points.back()) > 28.0 &&
                                   length(p - b.river->points.back()) > 28.0;
                for (std::size_t m = 0; m < (brookByRiver ? 2u : 1u); ++m) {
                    run[m] = clear && gap < kBeside[m].gap ? run[m] + 4.0 : 0.0;
                    if (run[m] > longest[m]) {
                        longest[m] = run[m];
                        where[m] = p;
                    }
                }
            }
            for (std::size_t m = 0; m < kBeside.size(); ++m) {
                EXPECT_LE(longest[m], kBeside[m].run)
                    << "two running waters within " << kBeside[m].gap << " px for " << longest[m]
                    << " px up to (" << where[m].x() << ", " << where[m].y() << ")";
            }
        }
    }
}

// Watercourses are drawn as curves through their flow, not along the lattice they were routed on:
// no 40 px stretch of any river or brook (ten lattice cells) on land lies ruler-straight, and every
// one that runs into another meets it at an acute angle pointing downstream, never square on.
TEST(WorldWater, RunningWaterIsSmoothOffTheLatticeAndJoinsDownstream) {
    const World& w = world();
    constexpr double kStretch = 72.0;
    for (const auto* lines : {&w.water.rivers, &w.water.brooks}) {
        for (const RiverLine& r : *lines) {
            const std::vector<QPointF> p = resample(r.points, 2.0);
            const auto n = static_cast<std::size_t>(kStretch / 2.0);
            std::size_t straight = 0;
            QPointF where;
            for (std::size_t i = 0; i + n < p.size(); i += 2) {
                const QPointF a = p[i];
                const QPointF b = p[i + n];
                const auto wet = [&](QPointF q) {
                    const MapPoint c = cellPoint(q);
                    return !w.terrain.height.contains(c.x, c.y) ||
                           w.terrain.height(c.x, c.y) < 0.0f || w.terrain.lake(c.x, c.y) > 127;
                };
                if (wet(a) || wet(b)) {
                    continue;  // an estuary or a lake's water, drawn as the sea or the lake
                }
                double off = 0;
                for (std::size_t k = i + 1; k < i + n; ++k) {
                    off = std::max(off, distanceToPolyline(p[k], {a, b}));
                }
                if (off < 0.25) {
                    ++straight;
                    where = a;
                }
            }
            EXPECT_EQ(straight, 0u)
                << (r.name.isEmpty() ? "a brook" : r.name.toStdString())
                << " runs ruler-straight near (" << where.x() << ", " << where.y() << ")";
            if (r.toSea || w.water.lakeAt(r.points.back()) >= 0 || p.size() < 8) {
                continue;
            }
            // The line it feeds, and the angle between the two where they meet.
            for (const auto* others : {&w.water.rivers, &w.water.brooks}) {
                for (const RiverLine& o : *others) {
                    const Nearest at = nearestOnPolyline(r.points.back(), o.points);
                    if (&o == &r || at.distance > 2.0 || at.segment + 1 >= o.points.size()) {
                        continue;
                    }
                    const QPointF in = p.back() - p[p.size() - 6];
                    const QPointF flow = o.points[at.segment + 1] - o.points[at.segment];
                    const double cosine =
                        QPointF::dotProduct(in, flow) / (length(in) * length(flow));
                    EXPECT_GT(cosine, std::cos(50.0 * std::numbers::pi / 180.0))
                        << "a stream joins "
                        << (o.name.isEmpty() ? "a brook" : o.name.toStdString()) << " at "
                        << std::acos(cosine) * 180.0 / std::numbers::pi << " degrees at ("
                        << r.points.back().x() << ", " << r.points.back().y() << ")";
                }
            }
        }
    }
}

// An estuary runs out to the sea, straight or flaring: over its last 100 px no stretch of its
// course heads away from the mouth, or its funnel, as wide as a bay there, is drawn as a hook.
TEST(WorldWater, EstuariesRunOutToTheSeaWithoutAHook) {
    const World& w = world();
    for (const RiverLine& r : w.water.rivers) {
        if (!r.toSea || r.name.isEmpty()) {
            continue;
        }
        const QPointF mouth = r.points.back();
        double s = 0.0;
        for (std::size_t i = r.points.size() - 1; i > 0 && s < 100.0; --i) {
            const QPointF step = r.points[i] - r.points[i - 1];
            s += length(step);
            const QPointF ahead = mouth - r.points[i - 1];
            if (length(step) < 1e-6 || length(ahead) < 8.0) {
                continue;
            }
            const double cosine = QPointF::dotProduct(step, ahead) / (length(step) * length(ahead));
            EXPECT_GT(cosine, 0.0) << r.name.toStdString() << " hooks at (" << r.points[i].x()
                                   << ", " << r.points[i].y() << ")";
            if (cosine <= 0.0) {
                break;
            }
        }
    }
}

// A river reaching the sea opens into an estuary at province scale: several times as wide at
// the mouth as a little way upstream. Tolvane's harbour is the Lower Oll's.
TEST(WorldWater, RiversWidenIntoEstuariesAtTheSea) {
    const World& w = world();
    // The water joined to the sheet's southern edge.
    const Grid<float>& h = w.terrain.height;
    Grid<unsigned char> open(h.width(), h.height(), 0);
    std::vector<MapPoint> front;
    for (int x = 0; x < h.width(); ++x) {
        if (h(x, h.height() - 1) < 0.0f) {
            open(x, h.height() - 1) = 1;
            front.push_back({x, h.height() - 1});
        }
    }
    while (!front.empty()) {
        const MapPoint c = front.back();
        front.pop_back();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int x = c.x + dx;
            const int y = c.y + dy;
            if (h.contains(x, y) && !open(x, y) && h(x, y) < 0.0f) {
                open(x, y) = 1;
                front.push_back({x, y});
            }
        }
    }
    int estuaries = 0;
    for (const RiverLine& r : w.water.rivers) {
        if (!r.toSea) {
            continue;
        }
        ++estuaries;
        double s = 0;
        float upstream = 0;
        for (std::size_t i = r.points.size() - 1; i > 0 && upstream == 0; --i) {
            s += length(r.points[i] - r.points[i - 1]);
            if (s > 200.0) {
                upstream = r.widths[i - 1];
            }
        }
        const float mouth = r.widths.back();
        EXPECT_GE(mouth, 3.0f * upstream) << r.name.toStdString() << " has no estuary";
        EXPECT_GE(mouth, 18.0f) << r.name.toStdString() << "'s mouth is narrow";
        // Open to the sea: its water joins the open sea, no strip of beach across the mouth.
        const MapPoint end = cellPoint(r.points.back());
        EXPECT_TRUE(open(end.x, end.y))
            << r.name.toStdString() << "'s mouth is closed at " << end.x << ", " << end.y;
    }
    EXPECT_GE(estuaries, 3);
    const QPointF tolvane(w.place("Tolvane").at.x, w.place("Tolvane").at.y);
    const auto oll = std::find_if(
        w.water.rivers.begin(), w.water.rivers.end(),
        [&](const RiverLine& r) { return r.name == QStringLiteral("Oll") && r.toSea; });
    ASSERT_NE(oll, w.water.rivers.end());
    const Nearest n = nearestOnPolyline(tolvane, oll->points);
    EXPECT_LE(n.distance, 60.0);
    EXPECT_GT(oll->points[n.segment].y(), tolvane.y()) << "the estuary is not south of Tolvane";
    EXPECT_GE(oll->widths[n.segment], 16.0f) << "the Oll is no estuary at Tolvane";
}

// Every place keeps the rules of its category and of its name (dry ground; caves and mines in
// the hills; forts on heights; elven ruins in a wood, on the heights or by a lake; a sea, river or
// water name by it; a mine near the village it is named after).
TEST(WorldSites, EveryPlaceKeepsTheRulesOfItsCategoryAndName) {
    const World& w = world();
    for (const ProvincePlace& p : w.places) {
        for (const std::string& fault : siteFaults(p, w.ground, w.places)) {
            ADD_FAILURE() << fault;
        }
    }
}

// No wood holds more than a few places of one category, nor one range's rough ground more than
// its share of caves or mines, and the elven ruins stand in many woods and on other ground too.
TEST(WorldSites, OneCategoryDoesNotCrowdOneWoodOrRange) {
    const World& w = world();
    std::map<std::pair<PlaceKind, int>, int> inWood;
    std::map<std::pair<PlaceKind, int>, int> inRange;
    std::set<int> ruinWoods;
    int ruinsOutOfWoods = 0;
    for (const ProvincePlace& p : w.places) {
        if (p.kind == PlaceKind::City || p.kind == PlaceKind::Town) {
            continue;
        }
        const int wood = w.ground.woodId(p.at.x / kSiteCell, p.at.y / kSiteCell);
        const int range = w.ground.rangeId(p.at.x / kSiteCell, p.at.y / kSiteCell);
        if (wood >= 0) {
            const int n = ++inWood[{p.kind, wood}];
            EXPECT_LE(n, kPerWood) << p.name << " crowds its wood";
        }
        if (range >= 0) {
            const int n = ++inRange[{p.kind, range}];
            EXPECT_LE(n, perRange(p.kind, w.layout.ridges[static_cast<std::size_t>(range)]))
                << p.name << " crowds its range";
        }
        if (p.kind == PlaceKind::ElvenRuin) {
            if (wood >= 0) {
                ruinWoods.insert(wood);
            } else {
                ++ruinsOutOfWoods;
            }
        }
    }
    EXPECT_GE(ruinWoods.size(), 6u);
    EXPECT_GT(ruinsOutOfWoods, 0);
    // Caves and mines on every range, not packed into one.
    for (std::size_t r = 0; r < w.layout.ridges.size(); ++r) {
        const int n = inRange[{PlaceKind::Cave, static_cast<int>(r)}] +
                      inRange[{PlaceKind::Mine, static_cast<int>(r)}];
        EXPECT_GE(n, 6) << w.layout.ridges[r].name.toStdString();
    }
}

// The rules themselves: a spot breaking each one is caught.
// Nothing crowds a city or a town: every other place keeps 72 px from it, and the towns 150 px
// from one another (less one siting cell for the lattice the spots are chosen on).
TEST(WorldSites, PlacesKeepTheirRoomRoundCitiesAndTowns) {
    const World& w = world();
    const auto town = [](PlaceKind k) { return k == PlaceKind::City || k == PlaceKind::Town; };
    for (const ProvincePlace& a : w.places) {
        if (!town(a.kind)) {
            continue;
        }
        for (const ProvincePlace& b : w.places) {
            if (&a == &b || b.kind == PlaceKind::City) {
                continue;
            }
            const double d = std::hypot(a.at.x - b.at.x, a.at.y - b.at.y);
            const double room = a.kind == PlaceKind::Town && b.kind == PlaceKind::Town ? 150 : 72;
            EXPECT_GE(d, room - kSiteCell) << b.name << " crowds " << a.name;
        }
    }
}

TEST(WorldSites, TheRulesCatchABadSite) {
    const World& w = world();
    auto faults = [&](std::string name, PlaceKind kind, MapPoint at) {
        return siteFaults({std::move(name), at, kind}, w.ground, w.places);
    };
    const ProvincePlace& port = w.place("Saltreach");
    EXPECT_FALSE(faults("Plain Cave", PlaceKind::Cave, port.at).empty());
    EXPECT_FALSE(faults("Sea Grotto", PlaceKind::Cave, {port.at.x, port.at.y + 200}).empty());
    // In the hills a cave opens only by a steep face: the even slopes between are left bare.
    int even = 0;
    int faces = 0;
    for (int x = 40; x < kProvinceWidth - 40; x += 32) {
        for (int y = 40; y < kProvinceHeight - 40; y += 32) {
            const QPointF q(x, y);
            if (w.ground.at(w.ground.height, q) < kHillHeight ||
                w.ground.at(w.ground.toSea, q) < 60.0f) {
                continue;
            }
            if (w.ground.at(w.ground.toFace, q) > 3.0f * kCaveFaceReach) {
                ++even;
                EXPECT_FALSE(faults("Plain Cave", PlaceKind::Cave, {x, y}).empty())
                    << "a cave on an even slope at " << x << ", " << y;
            }
        }
    }
    for (const ProvincePlace& p : w.places) {
        faces += p.kind == PlaceKind::Cave &&
                 w.ground.at(w.ground.toFace, QPointF(p.at.x, p.at.y)) <= kCaveFaceReach;
    }
    EXPECT_GT(even, 20) << "the hills are steep all over: the faces pick out nothing";
    EXPECT_GT(faces, 40) << "few caves open by a steep face";
    // A sea cave by a low shore breaks its rule; by a cliff it keeps it.
    auto cliffFault = [&](MapPoint at) {
        const std::vector<std::string> f = faults("Sealrock Grotto", PlaceKind::Cave, at);
        return std::any_of(f.begin(), f.end(), [](const std::string& s) {
            return s.find("cliff") != std::string::npos;
        });
    };
    int beaches = 0;
    int cliffs = 0;
    for (int x = 40; x < kProvinceWidth - 40; x += 16) {
        for (int y = 1100; y < kProvinceHeight - 40; y += 16) {
            const float toSea = w.ground.at(w.ground.toSea, QPointF(x, y));
            const float cliff = w.ground.at(w.ground.cliff, QPointF(x, y));
            if (w.isSea(QPointF(x, y)) || toSea < 8 || toSea > 16) {
                continue;
            }
            if (cliff < 0.03f) {
                ++beaches;
                EXPECT_TRUE(cliffFault({x, y})) << "a sea cave on the beach at " << x << ", " << y;
            } else if (cliff > 0.12f) {
                ++cliffs;
                EXPECT_FALSE(cliffFault({x, y})) << "a sea cave in the cliff at " << x << ", " << y;
            }
        }
    }
    EXPECT_GT(beaches, 20);
    EXPECT_GT(cliffs, 20);
    EXPECT_FALSE(faults("Highwatch", PlaceKind::FortRuin, port.at).empty());
    const MapPoint inland{1600, 1200};
    EXPECT_FALSE(faults("Driftwood Haven", PlaceKind::Settlement, inland).empty());
    EXPECT_FALSE(faults("Quiet Ruin", PlaceKind::ElvenRuin, inland).empty());
    // Tarnmouth anywhere but at the Tarnbeck's mouth.
    const std::vector<std::string> offMouth = faults("Tarnmouth", PlaceKind::Town, inland);
    EXPECT_TRUE(std::any_of(offMouth.begin(), offMouth.end(), [](const std::string& f) {
        return f.find("Tarnbeck's mouth") != std::string::npos;
    }));
    EXPECT_EQ(promiseOf("Fellmouth Cave", PlaceKind::Cave), Promise::Height);
    EXPECT_EQ(promiseOf("Tarnmouth", PlaceKind::Town), Promise::Water);
}

// A crag, wood or valley word in a name asks for that ground near it; "mouth" for a river's mouth
// at the sea. Each word is read wherever it stands in a name, and each rule catches a spot that
// breaks it and passes one that keeps it.
TEST(WorldSites, GroundWordsAgreeWithTheGround) {
    const World& w = world();
    EXPECT_EQ(groundWordsOf("Ulverscar"), kCragWord);
    EXPECT_EQ(groundWordsOf("Gallowcrag Tower"), kCragWord);
    EXPECT_EQ(groundWordsOf("Skarholt"), kCragWord | kWoodWord);
    EXPECT_EQ(groundWordsOf("Sallowcombe"), kValleyWord);
    EXPECT_EQ(groundWordsOf("Hawkscombe Hollow"), kValleyWord);
    EXPECT_EQ(groundWordsOf("Beachcombers' Camp"), 0u) << "a beachcomber is no combe";
    EXPECT_EQ(groundWordsOf("Larkmoor"), kMoorWord);
    EXPECT_EQ(groundWordsOf("Ambleton"), 0u);
    EXPECT_EQ(groundWordsOf("The Broken Spur"), kCragWord);
    EXPECT_EQ(groundWordsOf("Fellward Tower"), kCragWord);
    EXPECT_EQ(groundWordsOf("Tarnmouth"), kTarnWord);
    EXPECT_EQ(groundWordsOf("The Hollering Gorge"), kGorgeWord);
    EXPECT_EQ(groundWordsOf("Gannetsey"), kIslandWord);
    EXPECT_EQ(groundWordsOf("Tern Hey"), kIslandWord);
    EXPECT_EQ(groundWordsOf("Bat Chimney"), 0u) << "a chimney is no island";
    EXPECT_EQ(groundWordsOf("Ashley Keep"), 0u) << "a ley is a meadow";
    EXPECT_EQ(groundWordsOf("Orrin's Ford"), kFordWord);
    EXPECT_EQ(groundWordsOf("Old Bridge Tower"), kBridgeWord);
    EXPECT_EQ(groundWordsOf("Shellhaven"), kHavenWord);
    EXPECT_EQ(groundWordsOf("Lowenhythe"), kHavenWord);
    auto breaks = [&](const char* name, int x, int y, const char* word) {
        const std::vector<std::string> f =
            siteFaults({name, {x, y}, PlaceKind::Settlement}, w.ground, w.places);
        return std::any_of(f.begin(), f.end(),
                           [&](const std::string& s) { return s.find(word) != std::string::npos; });
    };
    struct Count {
        int kept = 0;
        int broken = 0;
    };
    Count crag, wood, valley;
    for (int x = 64; x < kProvinceWidth - 64; x += 24) {
        for (int y = 64; y < kProvinceHeight - 64; y += 24) {
            const QPointF p(x, y);
            if (w.isSea(p) || w.ground.at(w.ground.toSea, p) < 40) {
                continue;
            }
            const float toCrag = w.ground.at(w.ground.toCrag, p);
            if (toCrag > kCragReach + 24) {
                ++crag.broken;
                EXPECT_TRUE(breaks("Gannetscar", x, y, "crag")) << x << ", " << y;
            } else if (w.ground.at(w.ground.height, p) >= kHillHeight) {
                ++crag.kept;
                EXPECT_FALSE(breaks("Gannetscar", x, y, "crag")) << x << ", " << y;
            }
            const float toWood = w.ground.at(w.ground.toWood, p);
            if (toWood > kWoodReach + 24) {
                ++wood.broken;
                EXPECT_TRUE(breaks("Gannetholt", x, y, "wood")) << x << ", " << y;
            } else if (w.ground.at(w.ground.woods, p) > 0.6f) {
                ++wood.kept;
                EXPECT_FALSE(breaks("Gannetholt", x, y, "wood")) << x << ", " << y;
            }
            const float toValley = w.ground.at(w.ground.toValley, p);
            if (toValley > kValleyReach + 24) {
                ++valley.broken;
                EXPECT_TRUE(breaks("Gannetcombe", x, y, "valley")) << x << ", " << y;
            } else if (toValley < 1.0f) {
                ++valley.kept;
                EXPECT_FALSE(breaks("Gannetcombe", x, y, "valley")) << x << ", " << y;
            }
        }
    }
    for (const Count& c : {crag, wood, valley}) {
        EXPECT_GT(c.kept, 50);
        EXPECT_GT(c.broken, 50);
    }
    // A gorge on a dry mountainside, one by a brook below the range, and one where running water
    // cuts through the mountains.
    Count gorge;
    int belowRange = 0;
    for (int x = 64; x < kProvinceWidth - 64; x += 8) {
        for (int y = 64; y < kProvinceHeight - 64; y += 8) {
            const QPointF p(x, y);
            if (w.isSea(p)) {
                continue;
            }
            const float water =
                std::min(w.ground.at(w.ground.toRiver, p), w.ground.at(w.ground.toBrook, p));
            const float wall = w.ground.at(w.ground.cliff, p);
            if (wall < kGorgeWall - 0.05f) {
                if (water < kGorgeWater - 4 && wall > kHillHeight - 0.1f) {
                    ++belowRange;
                    EXPECT_TRUE(breaks("Gannet Gorge", x, y, "gorge")) << x << ", " << y;
                }
                continue;
            }
            if (wall < kGorgeWall + 0.05f) {
                continue;
            }
            if (water > kGorgeWater + 16) {
                ++gorge.broken;
                EXPECT_TRUE(breaks("Gannet Gorge", x, y, "gorge")) << x << ", " << y;
            } else if (water < kGorgeWater - 4 &&
                       w.ground.at(w.ground.height, p) > kHillHeight + 0.02f) {
                ++gorge.kept;
                EXPECT_FALSE(breaks("Gannet Gorge", x, y, "gorge")) << x << ", " << y;
                EXPECT_FALSE(breaks("Gannet Gorge", x, y, "in a river")) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(gorge.kept, 20);
    EXPECT_GT(gorge.broken, 50);
    EXPECT_GT(belowRange, 20);
    // A tarn lies among the heights: Coldtarn is one, so a name by it keeps its word and one on
    // the lowland far from it does not; a town at a river's mouth may be named for the tarn the
    // river rises in, and only for such a river.
    ASSERT_NE(std::find(w.ground.tarns.begin(), w.ground.tarns.end(), QStringLiteral("Coldtarn")),
              w.ground.tarns.end());
    EXPECT_EQ(std::find(w.ground.tarns.begin(), w.ground.tarns.end(), QStringLiteral("Orl Water")),
              w.ground.tarns.end())
        << "Orl Water lies on the lowland";
    const ProvincePlace& tarnmouth = w.place("Tarnmouth");
    const auto tarnFault = [&](const char* name, PlaceKind kind, MapPoint at) {
        const std::vector<std::string> f = siteFaults({name, at, kind}, w.ground, w.places);
        return std::any_of(f.begin(), f.end(), [](const std::string& s) {
            return s.find("tarn") != std::string::npos;
        });
    };
    EXPECT_FALSE(tarnFault("Tarnmouth", PlaceKind::Town, tarnmouth.at));
    EXPECT_TRUE(tarnFault("Tarnwick", PlaceKind::Settlement, {1600, 1200}));
    const auto coldtarn =
        std::find_if(w.ground.features.begin(), w.ground.features.end(),
                     [](const NamedFeature& f) { return f.name == QStringLiteral("Coldtarn"); });
    ASSERT_NE(coldtarn, w.ground.features.end());
    int byTarn = 0;
    for (int x = 2400; x < 3100; x += 16) {
        for (int y = 1000; y < 1600; y += 16) {
            const float d = w.ground.at(coldtarn->away, QPointF(x, y));
            if (d > 24 && d < kTarnReach - 24) {
                ++byTarn;
                EXPECT_FALSE(tarnFault("Tarnwick", PlaceKind::Settlement, {x, y}))
                    << x << ", " << y;
            }
        }
    }
    EXPECT_GT(byTarn, 20);
    // No tarn lies by the Cinderbrook's mouth.
    const auto cinder =
        std::find_if(w.ground.mouths.begin(), w.ground.mouths.end(),
                     [](const RiverMouth& m) { return m.river == QStringLiteral("Cinderbrook"); });
    ASSERT_NE(cinder, w.ground.mouths.end());
    EXPECT_TRUE(
        tarnFault("Tarnhythe", PlaceKind::Settlement,
                  {static_cast<int>(cinder->at.x()), static_cast<int>(cinder->at.y()) - 20}));
    // Where a river leaves a lake is no mouth.
    const auto oll = std::find_if(w.water.rivers.begin(), w.water.rivers.end(), [&](const auto& r) {
        return r.name == QStringLiteral("Oll") && w.water.lakeAt(r.points.front()) >= 0;
    });
    ASSERT_NE(oll, w.water.rivers.end());
    const QPointF outlet = oll->points.front();
    const std::vector<std::string> f =
        siteFaults({"Orlmouth",
                    {static_cast<int>(outlet.x()), static_cast<int>(outlet.y()) + 30},
                    PlaceKind::Town},
                   w.ground, w.places);
    EXPECT_TRUE(std::any_of(f.begin(), f.end(), [](const std::string& s) {
        return s.find("mouth at the sea") != std::string::npos;
    }));
}

// A ford or a bridge in a village's name stands by a road's crossing of running water, and a
// haven on the coast by a bay or a river's mouth: every place keeps them, and each rule catches a
// spot far from what it asks for and passes one at it.
TEST(WorldSites, FordsBridgesAndHavensStandByTheirWater) {
    const World& w = world();
    for (const ProvincePlace& p : w.places) {
        for (const std::string& fault : crossingFaults(p, w.roads, w.water)) {
            ADD_FAILURE() << fault;
        }
    }
    const std::vector<Crossing> crossings = findCrossings(w.roads, w.water);
    ASSERT_FALSE(crossings.empty());
    // At each ford a way crosses right beside the place and runs on over both banks.
    int fords = 0;
    for (const ProvincePlace& p : w.places) {
        if (!(groundWordsOf(p.name) & kFordWord)) {
            continue;
        }
        ++fords;
        const QPointF at(p.at.x, p.at.y);
        const bool waded = std::any_of(crossings.begin(), crossings.end(), [&](const Crossing& c) {
            const double bank = c.span / 2 + 8;
            return length(c.at - at) < 10 && nearRoad(c.at - c.along * bank, w.roads, 1.0) &&
                   nearRoad(c.at + c.along * bank, w.roads, 1.0);
        });
        EXPECT_TRUE(waded) << p.name << ": no way wades the water there";
    }
    EXPECT_GT(fords, 0);
    const auto at = [](QPointF q) {
        return MapPoint{static_cast<int>(std::lround(q.x())), static_cast<int>(std::lround(q.y()))};
    };
    for (const char* name : {"Gannetford", "Gannetbridge"}) {
        EXPECT_TRUE(crossingFaults({name, at(crossings.front().at), PlaceKind::Settlement}, w.roads,
                                   w.water)
                        .empty())
            << name;
        // Open sea lies far from any road.
        EXPECT_FALSE(
            crossingFaults({name, {200, 2500}, PlaceKind::Settlement}, w.roads, w.water).empty())
            << name;
    }
    const auto havenFault = [&](MapPoint p) {
        const std::vector<std::string> f =
            siteFaults({"Gannethaven", p, PlaceKind::Settlement}, w.ground, w.places);
        return std::any_of(f.begin(), f.end(), [](const std::string& s) {
            return s.find("promises a haven") != std::string::npos;
        });
    };
    for (const RiverMouth& m : w.ground.mouths) {
        EXPECT_FALSE(havenFault(at(m.at))) << m.river.toStdString();
    }
    int straight = 0;
    for (int x = 64; x < kProvinceWidth - 64; x += 16) {
        for (int y = 64; y < kProvinceHeight - 64; y += 16) {
            const QPointF p(x, y);
            const bool nearMouth =
                std::any_of(w.ground.mouths.begin(), w.ground.mouths.end(),
                            [&](const RiverMouth& m) { return length(m.at - p) < 120.0; });
            if (!w.isSea(p) && w.ground.at(w.ground.toSea, p) < 12.0f && !nearMouth &&
                w.ground.at(w.ground.bayWrap, p) < kBayWrap - 0.02f) {
                ++straight;
                EXPECT_TRUE(havenFault({x, y})) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(straight, 20);
}

// A bay's name on a straight shore, a headland's in a bay, an island's with none in sight: each
// is caught, and each keeps its rule on the shore that fits it.
TEST(WorldSites, TheCoastsShapeHoldsItsNames) {
    const World& w = world();
    EXPECT_EQ(promiseOf("Gannet Bay", PlaceKind::Town), Promise::Bay);
    EXPECT_EQ(promiseOf("Tarrow Ness", PlaceKind::Settlement), Promise::Headland);
    EXPECT_EQ(promiseOf("Gannetsey", PlaceKind::Town), Promise::Island);
    EXPECT_EQ(promiseOf("Gannet Isle", PlaceKind::Town), Promise::Island);
    auto breaks = [&](const char* name, MapPoint at, const char* word) {
        const std::vector<std::string> f =
            siteFaults({name, at, PlaceKind::Settlement}, w.ground, w.places);
        return std::any_of(f.begin(), f.end(),
                           [&](const std::string& s) { return s.find(word) != std::string::npos; });
    };
    int bays = 0;
    int straights = 0;
    int headlands = 0;
    int lonely = 0;
    int facing = 0;
    for (int x = 40; x < kProvinceWidth - 40; x += 8) {
        for (int y = 900; y < kProvinceHeight - 40; y += 8) {
            const QPointF p(x, y);
            if (w.isSea(p) || w.ground.at(w.ground.toSea, p) > 12) {
                continue;
            }
            // A bay as a reader sees it: the coast wraps round the water off the spot.
            const float share = w.ground.at(w.ground.seaShare, p);
            const float wrap = w.ground.at(w.ground.bayWrap, p);
            if (wrap > kBayWrap + 0.05) {
                ++bays;
                EXPECT_FALSE(breaks("Gannet Bay", {x, y}, "bay")) << x << ", " << y;
            } else if (wrap < kBayWrap - 0.05) {
                ++straights;
                EXPECT_TRUE(breaks("Gannet Bay", {x, y}, "bay")) << x << ", " << y;
            }
            if (share < kBayShare - 0.03f) {
                EXPECT_TRUE(breaks("Gannet Ness", {x, y}, "headland")) << x << ", " << y;
            } else if (share > kHeadlandShare + 0.03f) {
                ++headlands;
                EXPECT_FALSE(breaks("Gannet Ness", {x, y}, "headland")) << x << ", " << y;
            }
            // On a shore far from any island, and on one that looks out to one; an island's own
            // name ("-sey") never on the mainland.
            const float island = w.ground.at(w.ground.toIsland, p);
            if (island > kIslandReach + 40) {
                ++lonely;
                EXPECT_TRUE(breaks("Gannet Isle", {x, y}, "island")) << x << ", " << y;
            } else if (island < kIslandReach - 40) {
                ++facing;
                EXPECT_FALSE(breaks("Gannet Isle", {x, y}, "island")) << x << ", " << y;
            }
            if (w.ground.mainland(static_cast<int>(std::lround(x / double(kSiteCell))),
                                  static_cast<int>(std::lround(y / double(kSiteCell))))) {
                EXPECT_TRUE(breaks("Gannetsey", {x, y}, "mainland")) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(bays, 20);
    EXPECT_GT(straights, 20);
    EXPECT_GT(headlands, 20);
    EXPECT_GT(lonely, 20);
    EXPECT_GT(facing, 5);
}

// The sea's names promise only the coast the map shows: a bay's or a gulf's lies on water the
// land wraps round, never off a straight shore; the larger islands are named, each beside its
// own island, out on the water.
TEST(WorldLabels, SeaAndIslandNamesAgreeWithTheCoast) {
    const World& w = world();
    const Terrain& t = w.terrain;
    EXPECT_EQ(promiseOf("Gulf of Ammerlay", PlaceKind::Landmark), Promise::Bay);
    // The measure itself: off the straight western shore and in the open south-west, a half or
    // less of the compass meets land.
    EXPECT_LT(landAround(t, {95, 1700}, 600), 0.5);
    EXPECT_LT(landAround(t, {300, 2500}, 600), 0.5);
    auto placed = [&](const QString& text) -> const PlacedName* {
        for (const PlacedName& n : w.names.names) {
            if (n.text == text) {
                return &n;
            }
        }
        return nullptr;
    };
    for (const AreaName& n : w.layout.seaNames) {
        const PlacedName* at = placed(n.text);
        ASSERT_NE(at, nullptr) << n.text.toStdString();
        const QPointF c = at->box.boundingRect().center();
        EXPECT_LT(t.height(int(c.x()), int(c.y())), 0.0f) << n.text.toStdString() << " on land";
        if (promiseOf(n.text.toStdString(), PlaceKind::Landmark) == Promise::Bay) {
            EXPECT_GT(landAround(t, c, 600), 0.5) << n.text.toStdString() << " on open sea";
        }
    }
    const std::vector<Island> islands =
        namedIslands(t, [](const QString&) { return QSizeF(60, 16); });
    ASSERT_GE(islands.size(), 2u);
    for (const Island& i : islands) {
        const PlacedName* at = placed(i.name);
        ASSERT_NE(at, nullptr) << i.name.toStdString();
        EXPECT_GE(t.height(int(i.centre.x()), int(i.centre.y())), 0.0f)
            << i.name.toStdString() << " names no land";
        const QRectF box = at->box.boundingRect();
        EXPECT_LT(length(box.center() - i.centre), i.radius + box.width() / 2 + 60)
            << i.name.toStdString() << " is set far from its island";
        int dry = 0;
        int samples = 0;
        for (double y = box.top(); y < box.bottom(); y += 2) {
            for (double x = box.left(); x < box.right(); x += 2) {
                ++samples;
                dry += t.height.contains(int(x), int(y)) && t.height(int(x), int(y)) >= 0.0f;
            }
        }
        EXPECT_LT(dry, samples / 5) << i.name.toStdString() << " is set over land";
    }
}

// The sea has worn the coast into bays and left headlands between them and islands off them,
// and the sea deepens away from the shore.
TEST(WorldCoast, TheSeaWoreBaysAndLeftHeadlandsAndIslands) {
    const World& w = world();
    const Ground& g = w.ground;
    // Shore cells by the shape of the coast round them.
    int bay = 0;
    int headland = 0;
    for (int j = 0; j < g.h; ++j) {
        for (int i = 0; i < g.w; ++i) {
            if (g.height(i, j) > 0.0f && g.toSea(i, j) <= kSiteCell) {
                bay += g.seaShare(i, j) < kBayShare;
                headland += g.seaShare(i, j) > kHeadlandShare;
            }
        }
    }
    EXPECT_GT(bay, 60);
    EXPECT_GT(headland, 60);
    // Islands, each counted once: land the mainland does not reach.
    Grid<unsigned char> seen(g.w, g.h, 0);
    std::vector<int> sizes;
    for (int j = 0; j < g.h; ++j) {
        for (int i = 0; i < g.w; ++i) {
            if (g.height(i, j) <= 0.0f || g.mainland(i, j) || seen(i, j)) {
                continue;
            }
            int size = 0;
            std::vector<std::pair<int, int>> open{{i, j}};
            seen(i, j) = 1;
            while (!open.empty()) {
                const auto [x, y] = open.back();
                open.pop_back();
                ++size;
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    if (g.height.contains(x + dx, y + dy) && !seen(x + dx, y + dy) &&
                        g.height(x + dx, y + dy) > 0.0f && !g.mainland(x + dx, y + dy)) {
                        seen(x + dx, y + dy) = 1;
                        open.emplace_back(x + dx, y + dy);
                    }
                }
            }
            sizes.push_back(size);
        }
    }
    EXPECT_GE(sizes.size(), 4u) << "islands and skerries";
    EXPECT_GE(std::count_if(sizes.begin(), sizes.end(), [](int s) { return s >= 40; }), 1)
        << "one island large enough to name";
    // Deeper offshore: the mean depth by the shore against that well out.
    Grid<unsigned char> land(g.w, g.h, 0);
    for (std::size_t k = 0; k < land.cells().size(); ++k) {
        land.cells()[k] = g.height.cells()[k] > 0.0f;
    }
    const Grid<float> out = distanceTo(land, 100.0f);
    double depth[2] = {0, 0};
    int count[2] = {0, 0};
    for (int j = 0; j < g.h; ++j) {
        for (int i = 0; i < g.w; ++i) {
            const float cells = out(i, j);
            const int band = cells >= 2 && cells <= 4 ? 0 : cells >= 30 && cells <= 40 ? 1 : -1;
            if (band >= 0) {
                depth[band] -= g.height(i, j);
                ++count[band];
            }
        }
    }
    ASSERT_GT(count[0], 0);
    ASSERT_GT(count[1], 0);
    EXPECT_GT(depth[1] / count[1], 4.0 * depth[0] / count[0]);
}

namespace {

// How far a blob of pixels falls short of its convex hull, as a share of its own area: nothing
// for a smooth oval or capsule, more for a shore with coves and points.
double hullShortfall(std::vector<QPointF> px) {
    std::sort(px.begin(), px.end(),
              [](QPointF a, QPointF b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); });
    const auto cross = [](QPointF o, QPointF a, QPointF b) {
        return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
    };
    std::vector<QPointF> hull(2 * px.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < px.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], px[i]) <= 0) {
            --k;
        }
        hull[k++] = px[i];
    }
    for (std::size_t i = px.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], px[i]) <= 0) {
            --k;
        }
        hull[k++] = px[i];
    }
    double area = 0.0;
    for (std::size_t i = 0; i + 1 < k; ++i) {
        area += hull[i].x() * hull[i + 1].y() - hull[i + 1].x() * hull[i].y();
    }
    // The hull runs through the pixels' centres: half a pixel round it belongs to the blob too.
    double perimeter = 0.0;
    for (std::size_t i = 0; i + 1 < k; ++i) {
        perimeter += length(hull[i + 1] - hull[i]);
    }
    const auto n = static_cast<double>(px.size());
    return (0.5 * std::fabs(area) + 0.5 * perimeter + 1.0 - n) / n;
}

}  // namespace

// The islands and the lakes have shores with coves and points, not the smooth outline of an
// oval or a capsule, in the ground every test reads (the drawn water follows it).
TEST(WorldCoast, IslandsAndLakesHaveRaggedShores) {
    const World& w = world();
    const Terrain& t = w.terrain;
    const int W = t.height.width();
    const int H = t.height.height();
    Grid<unsigned char> seen(W, H, 0);
    auto blob = [&](int i, int j, auto inside) {
        std::vector<QPointF> px;
        std::vector<std::pair<int, int>> open{{i, j}};
        seen(i, j) = 1;
        while (!open.empty()) {
            const auto [x, y] = open.back();
            open.pop_back();
            px.emplace_back(x, y);
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                if (t.height.contains(x + dx, y + dy) && !seen(x + dx, y + dy) &&
                    inside(x + dx, y + dy)) {
                    seen(x + dx, y + dy) = 1;
                    open.emplace_back(x + dx, y + dy);
                }
            }
        }
        return px;
    };
    const auto lake = [&](int x, int y) { return t.lake(x, y) > 127; };
    const auto island = [&](int x, int y) {
        return t.height(x, y) > 0.0f && t.lake(x, y) <= 127 &&
               !w.ground.mainland(std::min(w.ground.w - 1, x / kSiteCell),
                                  std::min(w.ground.h - 1, y / kSiteCell));
    };
    int lakes = 0;
    int islands = 0;
    for (int j = 0; j < H; ++j) {
        for (int i = 0; i < W; ++i) {
            if (seen(i, j) || !(lake(i, j) || island(i, j))) {
                continue;
            }
            const bool isLake = lake(i, j);
            const std::vector<QPointF> px = isLake ? blob(i, j, lake) : blob(i, j, island);
            if (px.size() < 1500) {
                continue;
            }
            (isLake ? lakes : islands) += 1;
            EXPECT_GT(hullShortfall(px), 0.025)
                << (isLake ? "lake" : "island") << " at " << px.front().x() << ", "
                << px.front().y() << " has a smooth oval shore";
        }
    }
    EXPECT_GE(lakes, 3);
    EXPECT_GE(islands, 2);
}

// Each named lake fills its hollow to where it spills, so its shore follows the ground into
// bays and inlets rather than round an oval; Coldtarn lies high in the Ironbacks.
TEST(WorldWater, LakesFillTheirGroundAndColdtarnLiesHigh) {
    const World& w = world();
    const Waterways& water = w.water;
    for (std::size_t l = 0; l < water.lakes.size(); ++l) {
        QPolygonF cells;
        int count = 0;
        for (int j = 0; j < water.lakeId.height(); ++j) {
            for (int i = 0; i < water.lakeId.width(); ++i) {
                if (water.lakeId(i, j) == static_cast<int>(l)) {
                    ++count;
                    cells << QPointF(i, j) << QPointF(i + 1, j) << QPointF(i, j + 1)
                          << QPointF(i + 1, j + 1);
                }
            }
        }
        const std::string name = water.lakes[l].name.toStdString();
        ASSERT_GT(count, 30) << name;
        // The hull's area against the water's: an oval fills its hull, a lake of arms does not.
        std::vector<QPointF> pts(cells.begin(), cells.end());
        std::sort(pts.begin(), pts.end(), [](QPointF a, QPointF b) {
            return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y();
        });
        std::vector<QPointF> hull;
        const auto cross = [](QPointF o, QPointF a, QPointF b) {
            return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
        };
        for (int pass = 0; pass < 2; ++pass) {
            const std::size_t base = hull.size();
            for (const QPointF& p : pts) {
                while (hull.size() >= base + 2 &&
                       cross(hull[hull.size() - 2], hull.back(), p) <= 0) {
                    hull.pop_back();
                }
                hull.push_back(p);
            }
            hull.pop_back();
            std::reverse(pts.begin(), pts.end());
        }
        double area = 0;
        for (std::size_t k = 0; k < hull.size(); ++k) {
            const QPointF a = hull[k];
            const QPointF b = hull[(k + 1) % hull.size()];
            area += (a.x() * b.y() - b.x() * a.y()) / 2;
        }
        EXPECT_LT(count / std::abs(area), 0.8) << name << " is an oval";
    }
    const auto tarn = std::find_if(water.lakes.begin(), water.lakes.end(), [](const LakeShape& l) {
        return l.name == QStringLiteral("Coldtarn");
    });
    ASSERT_NE(tarn, water.lakes.end());
    EXPECT_GT(tarn->level, kHeightsHeight) << "Coldtarn lies low";
    EXPECT_LT(distanceToPolyline(tarn->centre, ridge(w, "Ironbacks").crest),
              ridge(w, "Ironbacks").halfWidth)
        << "Coldtarn lies off the Ironbacks";
    // Every lake spills: a river or brook rises at its shore and runs away from it, whether or
    // not the layout names one.
    for (std::size_t l = 0; l < water.lakes.size(); ++l) {
        const auto byShore = [&](QPointF p) {
            for (int dy = -12; dy <= 12; dy += 4) {
                for (int dx = -12; dx <= 12; dx += 4) {
                    if (water.lakeAt(p + QPointF(dx, dy)) == static_cast<int>(l)) {
                        return true;
                    }
                }
            }
            return false;
        };
        bool spills = false;
        for (const auto* lines : {&water.rivers, &water.brooks}) {
            for (const RiverLine& r : *lines) {
                spills = spills || (byShore(r.points.front()) && !byShore(r.points.back()));
            }
        }
        EXPECT_TRUE(spills) << water.lakes[l].name.toStdString() << " has no outlet";
    }
}

// Roads never run over the sea or a lake, and every road over a river or brook has its bridge.
TEST(WorldRoads, RoadsKeepOffOpenWaterAndBridgeEveryRiver) {
    const World& w = world();
    for (const RoadLine& r : w.roads) {
        for (const QPointF& p : resample(r.points, 2.0)) {
            const MapPoint c = cellPoint(p);
            ASSERT_TRUE(w.terrain.height.contains(c.x, c.y));
            EXPECT_FALSE(w.terrain.height(c.x, c.y) < -0.002f || w.terrain.lake(c.x, c.y) > 200)
                << "a road runs through water at (" << p.x() << ", " << p.y() << ")";
        }
    }
    // Every road pixel on running water has a bridge close by.
    Grid<unsigned char> wet(kProvinceWidth, kProvinceHeight, 0);
    for (const auto* lines : {&w.water.rivers, &w.water.brooks}) {
        for (const RiverLine& river : *lines) {
            for (const QPointF& p : resample(river.points, 0.5)) {
                const MapPoint c = cellPoint(p);
                if (wet.contains(c.x, c.y)) {
                    wet(c.x, c.y) = 1;
                }
            }
        }
    }
    const std::vector<Crossing> bridges = findCrossings(w.roads, w.water);
    for (const RoadLine& r : w.roads) {
        for (const QPointF& p : resample(r.points, 0.5)) {
            const MapPoint c = cellPoint(p);
            if (!wet.contains(c.x, c.y) || !wet(c.x, c.y)) {
                continue;
            }
            // A road ending in a town on the water's edge meets the water there without
            // crossing it.
            const bool inTown = std::any_of(w.places.begin(), w.places.end(), [&](const auto& t) {
                return (t.kind == PlaceKind::City || t.kind == PlaceKind::Town) &&
                       length(QPointF(t.at.x, t.at.y) - p) < 6.0;
            });
            const bool bridged =
                inTown || std::any_of(bridges.begin(), bridges.end(),
                                      [&](const Crossing& b) { return length(b.at - p) < 24.0; });
            EXPECT_TRUE(bridged) << "no bridge at (" << p.x() << ", " << p.y() << ")";
        }
    }
}

// The highways alone join every city and town into one network, each inn stands beside a highway
// or lane (or has a road of its own where its name asks for what they do not pass), and no highway
// or lane runs ruler-straight across the country for long: its course bends with the ground.
TEST(WorldRoads, HighwaysJoinEveryTownAndBendWithTheGround) {
    const World& w = world();
    std::vector<const RoadLine*> network;
    std::vector<const RoadLine*> highways;
    for (const RoadLine& r : w.roads) {
        if (r.kind != RoadClass::Track) {
            network.push_back(&r);
        }
        if (r.kind == RoadClass::Highway) {
            highways.push_back(&r);
        }
    }
    // Highways meet where one ends on another (or both end at one town).
    const std::size_t n = highways.size();
    std::vector<std::size_t> group(n);
    for (std::size_t i = 0; i < n; ++i) {
        group[i] = i;
    }
    const auto root = [&](std::size_t i) {
        while (group[i] != i) {
            i = group[i];
        }
        return i;
    };
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            for (const QPointF& end : {highways[i]->points.front(), highways[i]->points.back()}) {
                if (i != j && distanceToPolyline(end, highways[j]->points) < 4.0) {
                    group[root(i)] = root(j);
                }
            }
        }
    }
    std::optional<std::size_t> joined;
    for (const ProvincePlace& p : w.places) {
        const QPointF at(p.at.x, p.at.y);
        if (p.kind == PlaceKind::City || p.kind == PlaceKind::Town) {
            const auto on = std::find_if(highways.begin(), highways.end(), [&](const RoadLine* r) {
                return distanceToPolyline(at, r->points) < 4.0;
            });
            if (on == highways.end()) {
                ADD_FAILURE() << p.name << " has no highway";
                continue;
            }
            const std::size_t g = root(std::size_t(on - highways.begin()));
            EXPECT_EQ(joined.value_or(g), g) << p.name << " is cut off from the other towns";
            joined = g;
        } else if (p.kind == PlaceKind::Inn) {
            // An inn whose name asks for nothing stands by a highway or lane; every inn has a
            // road to its door.
            const bool free = promiseOf(p.name, PlaceKind::Inn) == Promise::None;
            const auto reaches = [&](const RoadLine& r) {
                const bool beside = (r.kind != RoadClass::Track || !free) &&
                                    distanceToPolyline(at, r.points) < 32.0;
                return beside || (!free && length(r.points.front() - at) < 1.0);
            };
            EXPECT_TRUE(std::any_of(w.roads.begin(), w.roads.end(), reaches))
                << p.name << " stands off the roads";
        }
    }
    // Straight: every point of a 240 px stretch within 3 px of the line between its ends.
    constexpr double kStep = 4.0;
    constexpr std::size_t kSpan = 60;
    for (const RoadLine* r : network) {
        const std::vector<QPointF> line = resample(r->points, kStep);
        for (std::size_t i = 0; i + kSpan < line.size(); i += 5) {
            double off = 0;
            for (std::size_t k = i + 1; k < i + kSpan; ++k) {
                off = std::max(off, distanceToPolyline(line[k], {line[i], line[i + kSpan]}));
            }
            if (off < 3.0) {
                ADD_FAILURE() << "a road runs straight from (" << line[i].x() << ", " << line[i].y()
                              << ") to (" << line[i + kSpan].x() << ", " << line[i + kSpan].y()
                              << ")";
                break;
            }
        }
    }
}

// The highways meet at the cities: each reaches a city's point from a way of its own, rather than
// joining another out in the country, so several leave it in different directions (counted where
// they cross a ring round the point).
TEST(WorldRoads, HighwaysMeetAtTheCities) {
    const World& w = world();
    constexpr double kRing = 36.0;
    for (const ProvincePlace& p : w.places) {
        if (p.kind != PlaceKind::City) {
            continue;
        }
        const QPointF at(p.at.x, p.at.y);
        std::vector<double> ways;  // bearings in degrees where a highway into the city crosses
        for (const RoadLine& r : w.roads) {
            if (r.kind != RoadClass::Highway || distanceToPolyline(at, r.points) > 4.0) {
                continue;
            }
            const std::vector<QPointF> line = resample(r.points, 2.0);
            for (std::size_t i = 0; i + 1 < line.size(); ++i) {
                if ((length(line[i] - at) < kRing) != (length(line[i + 1] - at) < kRing)) {
                    const QPointF off = line[i] - at;
                    ways.push_back(std::atan2(off.y(), off.x()) * 180.0 / std::numbers::pi);
                }
            }
        }
        std::sort(ways.begin(), ways.end());
        int apart = 0;  // crossings at least 25° from the one before (round the ring)
        for (std::size_t i = 0; i < ways.size(); ++i) {
            const double before = i == 0 ? ways.back() - 360.0 : ways[i - 1];
            apart += ways.size() == 1 || ways[i] - before >= 25.0;
        }
        EXPECT_GE(apart, p.name == "Crown City" ? 3 : 2)
            << p.name << " has " << apart << " highway ways in";
    }
}

// A range's name reads without tilting the head, and a town's name lies on its own land, not
// out over the sea or a lake beside it, unless no spot by it is dry.
TEST(WorldLabels, RangeNamesLieNearLevelAndTownNamesOnLand) {
    const World& w = world();
    std::vector<QString> ranges;
    for (const Ridge& r : w.layout.ridges) {
        ranges.push_back(r.name.toUpper());
    }
    for (const PlacedName& n : w.names.names) {
        if (std::find(ranges.begin(), ranges.end(), n.text) != ranges.end()) {
            // The footprint's first edge runs along the baseline; a name bent along its crest
            // (more than a box's corners, its top edge the first half of them) follows it as
            // steep as it runs, read down it from the left or, near the upright, upward: never
            // falling past the upright nor read from the right.
            if (n.box.size() > 5) {
                const QPointF run = n.box[n.box.size() / 2 - 1] - n.box[0];
                const double degrees = std::atan2(run.y(), run.x()) * 180.0 / std::numbers::pi;
                EXPECT_TRUE(degrees > -105.0 && degrees < 82.0)
                    << n.text.toStdString() << " reads at " << degrees << "°";
                continue;
            }
            const QPointF run = n.box[1] - n.box[0];
            const double degrees =
                std::atan2(std::abs(run.y()), std::abs(run.x())) * 180.0 / std::numbers::pi;
            EXPECT_LE(degrees, 60.5) << n.text.toStdString() << " is set at " << degrees << "°";
        }
    }
    for (const ProvincePlace& p : w.places) {
        if (p.kind != PlaceKind::City && p.kind != PlaceKind::Town) {
            continue;
        }
        const auto n =
            std::find_if(w.names.names.begin(), w.names.names.end(),
                         [&](const PlacedName& n) { return n.text.toStdString() == p.name; });
        ASSERT_NE(n, w.names.names.end()) << p.name;
        const QRectF r = n->box.boundingRect();
        int all = 0;
        int wet = 0;
        for (double y = r.top() + 1; y < r.bottom(); y += 2) {
            for (double x = r.left() + 1; x < r.right(); x += 2) {
                if (n->box.containsPoint(QPointF(x, y), Qt::OddEvenFill)) {
                    ++all;
                    wet += w.isSea(QPointF(x, y)) || w.terrain.lake(int(x), int(y)) > 127;
                }
            }
        }
        // Where every spot by it is wet, a port is named over its harbour.
        const bool offshore = std::find(w.names.offshore.begin(), w.names.offshore.end(),
                                        n->text) != w.names.offshore.end();
        EXPECT_TRUE(offshore || wet < all / 10) << p.name << "'s name lies over the water";
    }
}

// Where roads share their ground they are drawn as one: no road leaves another only to come
// back onto it without ever straying far from it (two strands of one way, a closed loop beside
// it), and none runs for long a few pixels beside another away from the towns where roads meet.
TEST(WorldRoads, RoadsThatShareGroundAreOneRoad) {
    const World& w = world();
    constexpr double kStep = 2.0;
    constexpr double kOn = 3.0;
    const auto nearTown = [&](QPointF p) {
        return std::any_of(w.places.begin(), w.places.end(), [&](const ProvincePlace& t) {
            return (t.kind == PlaceKind::City || t.kind == PlaceKind::Town) &&
                   length(QPointF(t.at.x, t.at.y) - p) < 24.0;
        });
    };
    std::vector<QRectF> boxes;
    for (const RoadLine& r : w.roads) {
        boxes.push_back(QPolygonF(QList<QPointF>(r.points.begin(), r.points.end()))
                            .boundingRect()
                            .adjusted(-40, -40, 40, 40));
    }
    for (std::size_t a = 0; a < w.roads.size(); ++a) {
        const std::vector<QPointF> line = resample(w.roads[a].points, kStep);
        for (std::size_t b = 0; b < w.roads.size(); ++b) {
            if (a == b || !boxes[b].intersects(boxes[a])) {
                continue;
            }
            std::size_t beside = 0;  // points in a row a few pixels off the other road
            std::size_t off = 0;     // points in a row off it since the line was last on it
            bool wasOn = false;
            for (const QPointF& p : line) {
                const double d =
                    boxes[b].contains(p) ? distanceToPolyline(p, w.roads[b].points) : 99.0;
                beside = d > 5.0 && d < 20.0 && !nearTown(p) ? beside + 1 : 0;
                if (beside * kStep >= 60.0) {
                    ADD_FAILURE() << "two strands side by side at (" << p.x() << ", " << p.y()
                                  << ")";
                    break;
                }
                if (d < kOn) {
                    if (wasOn && off * kStep >= 24.0) {
                        ADD_FAILURE() << "a road leaves another and comes back beside it at ("
                                      << p.x() << ", " << p.y() << ")";
                        break;
                    }
                    wasOn = true;
                    off = 0;
                } else if (d < 36.0) {
                    ++off;
                } else {
                    wasOn = false;
                }
            }
        }
    }
}

// Two highways out of one city that meet again a short way out are one road that forks there,
// not two running side by side round a lens of open ground.
TEST(WorldRoads, HighwaysOutOfACityForkRatherThanRunSideBySide) {
    const World& w = world();
    constexpr double kStep = 2.0;
    constexpr double kMeet = 3.0;
    for (const ProvincePlace& p : w.places) {
        if (p.kind != PlaceKind::City) {
            continue;
        }
        const QPointF at(p.at.x, p.at.y);
        std::vector<const RoadLine*> out;
        for (const RoadLine& r : w.roads) {
            if (r.kind == RoadClass::Highway && distanceToPolyline(at, r.points) < 4.0) {
                out.push_back(&r);
            }
        }
        for (const RoadLine* a : out) {
            std::vector<QPointF> line = resample(a->points, kStep);
            if (length(line.back() - at) < length(line.front() - at)) {
                std::reverse(line.begin(), line.end());
            }
            for (const RoadLine* b : out) {
                if (a == b) {
                    continue;
                }
                // Along `a` from the city: once it has left `b`, it must not come back onto it
                // within the city's country.
                bool strayed = false;
                for (std::size_t i = 0; i < line.size() && double(i) * kStep < 250.0; ++i) {
                    const double gap = distanceToPolyline(line[i], b->points);
                    strayed = strayed || gap > 12.0;
                    if (strayed && gap < kMeet) {
                        ADD_FAILURE() << "two highways out of " << p.name << " meet again at ("
                                      << line[i].x() << ", " << line[i].y() << ")";
                        break;
                    }
                }
            }
        }
    }
}

// Where the ground is too steep to climb straight, a road takes it slantwise: no 48 px stretch
// of any road climbs faster than a laden cart can, though the tracks into the ranges do climb.
TEST(WorldRoads, RoadsClimbSteepGroundSlantwise) {
    const World& w = world();
    constexpr double kStep = 8.0;
    constexpr std::size_t kSpan = 6;
    constexpr double kSteepest = 0.002;  // height per pixel
    const auto height = [&](QPointF p) {
        return sampleBilinear(w.terrain.height, float(p.x()), float(p.y()));
    };
    double highest = 0;
    for (const RoadLine& r : w.roads) {
        const std::vector<QPointF> line = resample(r.points, kStep);
        for (std::size_t i = 0; i + kSpan < line.size(); ++i) {
            const double grade =
                std::abs(height(line[i + kSpan]) - height(line[i])) / (kStep * kSpan);
            if (grade > kSteepest) {
                ADD_FAILURE() << "a road climbs " << grade << " per px from (" << line[i].x()
                              << ", " << line[i].y() << ")";
                break;
            }
        }
        for (const QPointF& p : line) {
            highest = std::max<double>(highest, height(p));
        }
    }
    EXPECT_GT(highest, kHillHeight + 0.1) << "no road climbs into the hills";
}

// Each city map shows its water on the side where the province has water round the city's point
// (a pond inside the town, reaching no edge, says nothing about the country). A town between the
// sea and a river mouth has water on two sides: the balance of it is what both must agree on.
TEST(WorldCoherence, EachCityMapShowsWaterWhereTheProvinceHasIt) {
    const World& w = world();
    for (const CityEntry& city : kCityDirectory) {
        const auto& layouts = cityLayouts();
        const auto layout = std::find_if(layouts.begin(), layouts.end(), [&](const CityLayout& l) {
            return l.table == city.table;
        });
        ASSERT_NE(layout, layouts.end());
        const QSizeF size(city.mapWidth, city.mapHeight);
        double area = 0;
        QPointF moment;
        bool reachesEdge = false;
        for (const std::vector<QPointF>& poly : layout->waters) {
            for (std::size_t i = 0; i < poly.size(); ++i) {
                const QPointF a = poly[i];
                const QPointF b = poly[(i + 1) % poly.size()];
                const double cross = a.x() * b.y() - b.x() * a.y();
                area += cross / 2;
                moment += (a + b) * (cross / 6);
                reachesEdge = reachesEdge || a.x() <= 0 || a.y() <= 0 || a.x() >= size.width() ||
                              a.y() >= size.height();
            }
        }
        if (!reachesEdge) {
            continue;
        }
        const std::optional<QPointF> onProvince = w.waterSide(w.place(city.caption).at, 150);
        ASSERT_TRUE(onProvince) << city.caption << " has no water within 150 px";
        const QPointF mapSide = moment / area - QPointF(size.width() / 2, size.height() / 2);
        const double cosine =
            QPointF::dotProduct(mapSide, *onProvince) / (length(mapSide) * length(*onProvince));
        EXPECT_LE(std::acos(std::clamp(cosine, -1.0, 1.0)) * 180 / std::numbers::pi, 60.0)
            << city.caption << ": the map's water lies toward (" << mapSide.x() << ", "
            << mapSide.y() << "), the province's toward (" << onProvince->x() << ", "
            << onProvince->y() << ")";
    }
}

// The south coast has bays and headlands of many sizes, not a comb of narrow inlets cut one per
// shore place: few stretches where the sea runs far inland between steep sides.
TEST(WorldCoast, TheSouthCoastIsNoCombOfInlets) {
    const World& w = world();
    const Grid<float>& h = w.terrain.height;
    // Scanning up from the bottom edge: where the land starts, column by column.
    std::vector<int> shore;
    for (int x = 870; x <= 3090; x += 4) {
        int y = h.height() - 1;
        while (y > 1500 && (h(x, y) < 0.0f || w.terrain.lake(x, y) > 127)) {
            --y;
        }
        shore.push_back(y);
    }
    int inlets = 0;
    int run = 0;
    for (std::size_t i = 0; i < shore.size(); ++i) {
        std::vector<int> around;
        for (std::size_t k = i >= 40 ? i - 40 : 0; k < std::min(shore.size(), i + 41); ++k) {
            around.push_back(shore[k]);
        }
        std::nth_element(around.begin(), around.begin() + around.size() / 2, around.end());
        const bool deep = around[around.size() / 2] - shore[i] > 60;
        if (deep) {
            ++run;
        } else {
            inlets += run > 0 && run * 4 < 90;  // narrow and deep: an inlet
            run = 0;
        }
    }
    // The shore's own coves add a few short cuts; a comb would make a dozen.
    EXPECT_LE(inlets, 4);
}

// Every name the map carries finds a spot, and no name covers another name, a place's symbol or
// the title, rose and key.
TEST(WorldLabels, EveryNameIsSetAndNoneCoversAnotherOrASymbol) {
    const World& w = world();
    const NamePlan& plan = w.names;
    for (const QString& name : plan.leftOut) {
        ADD_FAILURE() << name.toStdString() << " is left off the map";
    }
    std::vector<QRectF> furniture = plan.symbols;
    const std::vector<QRectF> sheet = sheetFurniture();
    furniture.insert(furniture.end(), sheet.begin(), sheet.end());
    for (std::size_t i = 0; i < plan.names.size(); ++i) {
        const PlacedName& a = plan.names[i];
        for (std::size_t j = i + 1; j < plan.names.size(); ++j) {
            EXPECT_FALSE(a.box.intersects(plan.names[j].box))
                << a.text.toStdString() << " covers " << plan.names[j].text.toStdString();
        }
        for (const QRectF& r : furniture) {
            EXPECT_FALSE(a.box.intersects(QPolygonF(r)))
                << a.text.toStdString() << " covers a symbol at (" << r.center().x() << ", "
                << r.center().y() << ")";
        }
    }
}

// A place's name reads as its mark's: close beside it (rarely more than two letter heights off,
// where the ground round it is taken), and no two level names run on into one on a line.
TEST(WorldLabels, PlaceNamesStandBesideTheirMarksAndApartFromEachOther) {
    const World& w = world();
    int far = 0;
    int placeNames = 0;
    for (const PlacedName& n : w.names.names) {
        const auto place = std::find_if(w.places.begin(), w.places.end(), [&](const auto& pl) {
            return pl.name == n.text.toStdString();
        });
        if (place == w.places.end()) {
            continue;
        }
        ++placeNames;
        const QRectF b = n.box.boundingRect();
        const QPointF at(place->at.x, place->at.y);
        const double dx = std::max({b.left() - at.x(), at.x() - b.right(), 0.0});
        const double dy = std::max({b.top() - at.y(), at.y() - b.bottom(), 0.0});
        const double letter = 0.7 * b.height();
        const double off = std::hypot(dx, dy) - (std::max(symbolRadius(place->kind), 8.0) + 3);
        EXPECT_LT(off, 3.0 * letter)
            << place->name << "'s name stands " << off << " px off its mark";
        if (off > 2.0 * letter) {
            std::cout << place->name << " stands " << off << " px off its mark\n";
            ++far;
        }
    }
    std::cout << far << " of " << placeNames << " place names stand out from their marks\n";
    ASSERT_GT(placeNames, 60);
    EXPECT_LE(far, placeNames / 12) << "names stand apart from their marks";
    // Set level, that is: a turned name's box reaches past its letters.
    const auto level = [](const QPolygonF& box) {
        const QRectF r = box.boundingRect();
        return std::ranges::all_of(box, [&](QPointF q) {
            return (q.x() == r.left() || q.x() == r.right()) &&
                   (q.y() == r.top() || q.y() == r.bottom());
        });
    };
    for (std::size_t i = 0; i < w.names.names.size(); ++i) {
        const QRectF a = w.names.names[i].box.boundingRect();
        for (std::size_t j = i + 1; j < w.names.names.size(); ++j) {
            if (!level(w.names.names[i].box) || !level(w.names.names[j].box)) {
                continue;
            }
            const QRectF b = w.names.names[j].box.boundingRect();
            const double line = std::min(a.height(), b.height());
            const double shared = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
            const double gap = std::max(a.left() - b.right(), b.left() - a.right());
            EXPECT_FALSE(shared > 0.5 * line && gap >= 0.0 && gap < 1.1 * line)
                << w.names.names[i].text.toStdString() << " and "
                << w.names.names[j].text.toStdString() << " read as one name, " << gap
                << " px apart";
        }
    }
}

// A landmark's name stands close by its mark and hides none of the drawing round it.
TEST(WorldLabels, LandmarkNamesSitByTheirDrawingAndClearOfIt) {
    const World& w = world();
    QImage drawn(kProvinceWidth, kProvinceHeight, QImage::Format_Grayscale8);
    drawn.fill(0);
    {
        QPainter p(&drawn);
        for (const ProvincePlace& place : w.places) {
            if (place.kind == PlaceKind::Landmark) {
                drawLandmarkFeature(p, place.name, QPointF(place.at.x, place.at.y), w.water);
            }
        }
    }
    for (const PlacedName& n : w.names.names) {
        const auto place = std::find_if(w.places.begin(), w.places.end(), [&](const auto& p) {
            return p.kind == PlaceKind::Landmark && n.text.toStdString() == p.name;
        });
        if (place == w.places.end()) {
            continue;
        }
        const QPointF at(place->at.x, place->at.y);
        const QRectF r = n.box.boundingRect();
        const QPointF nearest(std::clamp(at.x(), r.left(), r.right()),
                              std::clamp(at.y(), r.top(), r.bottom()));
        EXPECT_LT(length(nearest - at), 40.0) << place->name << "'s name stands off its mark";
    }
    for (const PlacedName& n : w.names.names) {
        const QRect r = n.box.boundingRect().toAlignedRect().intersected(drawn.rect());
        int hidden = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                // A line's core, not the faint edge of its smoothing.
                hidden += qGray(drawn.pixel(x, y)) >= 24 &&
                          n.box.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill);
            }
        }
        EXPECT_EQ(hidden, 0) << n.text.toStdString() << " hides a landmark's drawing";
    }
}

// The title, the rose and the key stand on open sea, a little off any shore so that the coast's
// ripples run free of them, and hide no place's symbol (the names keep out of them above).
TEST(WorldLabels, TheSheetsFurnitureStandsOnOpenSea) {
    const World& w = world();
    constexpr int kOffshore = 8;
    for (const QRectF& box : sheetFurniture()) {
        const QRect near =
            box.toAlignedRect().adjusted(-kOffshore, -kOffshore, kOffshore, kOffshore);
        int land = 0;
        QPoint first;
        for (int y = std::max(0, near.top()); y <= std::min(kProvinceHeight - 1, near.bottom());
             ++y) {
            for (int x = std::max(0, near.left()); x <= std::min(kProvinceWidth - 1, near.right());
                 ++x) {
                if (w.terrain.height(x, y) >= 0.0f || w.terrain.lake(x, y) > 0) {
                    first = land++ == 0 ? QPoint(x, y) : first;
                }
            }
        }
        EXPECT_EQ(land, 0) << "land under the box at (" << box.x() << ", " << box.y()
                           << "), first at (" << first.x() << ", " << first.y() << ")";
        for (const ProvincePlace& p : w.places) {
            const double r = symbolRadius(p.kind);
            EXPECT_FALSE(box.intersects(QRectF(p.at.x - r, p.at.y - r, 2 * r, 2 * r)))
                << p.name << " is under a box";
        }
    }
}

// The Cinderbrook springs on the Ashen Tors' south flank, not somewhere beyond the range, and
// runs south from there to the sea.
TEST(WorldWater, TheCinderbrookRisesOnTheAshenTorsSouthFlankAndRunsToTheSea) {
    const World& w = world();
    const Ridge& tors = ridge(w, "Ashen Tors");
    const auto brook =
        std::find_if(w.water.rivers.begin(), w.water.rivers.end(),
                     [](const RiverLine& r) { return r.name == QStringLiteral("Cinderbrook"); });
    ASSERT_NE(brook, w.water.rivers.end());
    const QPointF source = brook->points.front();
    const double crest = crestY(tors, source.x());
    ASSERT_FALSE(std::isnan(crest)) << "rises at x " << source.x() << ", beyond the range";
    EXPECT_GT(source.y(), crest) << "rises north of the crest";
    EXPECT_LT(distanceToPolyline(source, tors.crest), 1.5 * tors.halfWidth)
        << "rises off the range, at (" << source.x() << ", " << source.y() << ")";
    EXPECT_TRUE(brook->toSea);
    EXPECT_GT(brook->points.back().y() - source.y(), 250.0);
}

// Volcanic tors: craters (a hollow with a rim rising round it on nearly every side, one of them
// holding a tarn) and hot springs on their flanks, one where the Cinderbrook rises.
TEST(WorldLand, TheAshenTorsHaveCratersAndHotSprings) {
    const World& w = world();
    const Ridge& tors = ridge(w, "Ashen Tors");
    const Grid<float>& h = w.terrain.height;
    constexpr int kDirections = 24;
    auto rimRises = [&](int cx, int cy, int direction) {
        const double a = 2.0 * std::numbers::pi * direction / kDirections;
        for (int d = 4; d <= 70; ++d) {
            const int x = cx + static_cast<int>(std::lround(d * std::cos(a)));
            const int y = cy + static_cast<int>(std::lround(d * std::sin(a)));
            if (h.contains(x, y) && h(x, y) > h(cx, cy) + 0.008f) {
                return true;
            }
        }
        return false;
    };
    std::vector<QPointF> craters;
    for (int y = 8; y + 8 < h.height(); y += 2) {
        for (int x = 8; x + 8 < h.width(); x += 2) {
            const QPointF at(x, y);
            if (distanceToPolyline(at, tors.crest) > tors.halfWidth ||
                std::any_of(craters.begin(), craters.end(),
                            [&](QPointF c) { return length(c - at) < 60.0; })) {
                continue;
            }
            int rims = 0;
            for (int k = 0; k < kDirections; ++k) {
                rims += rimRises(x, y, k);
            }
            if (rims >= kDirections - 3) {
                craters.push_back(at);
            }
        }
    }
    EXPECT_GE(craters.size(), 2u);
    auto holdsWater = [&](QPointF c) {
        for (int dy = -25; dy <= 25; ++dy) {
            for (int dx = -25; dx <= 25; ++dx) {
                const int x = static_cast<int>(c.x()) + dx;
                const int y = static_cast<int>(c.y()) + dy;
                if (h.contains(x, y) && w.terrain.lake(x, y) > 127) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(std::any_of(craters.begin(), craters.end(), holdsWater)) << "no crater holds water";

    const ProvinceScene& scene = w.scene;
    const std::vector<QPointF> springs = hotSprings(scene);
    EXPECT_GE(springs.size(), 2u);
    for (const QPointF& s : springs) {
        EXPECT_LT(distanceToPolyline(s, tors.crest), 1.6 * tors.halfWidth)
            << "a spring off the range at (" << s.x() << ", " << s.y() << ")";
        EXPECT_LT(h(static_cast<int>(s.x()), static_cast<int>(s.y())), kHillHeight + 0.1f)
            << "a spring high on the tors at (" << s.x() << ", " << s.y() << ")";
    }
    const auto brook =
        std::find_if(w.water.rivers.begin(), w.water.rivers.end(),
                     [](const RiverLine& r) { return r.name == QStringLiteral("Cinderbrook"); });
    ASSERT_NE(brook, w.water.rivers.end());
    EXPECT_TRUE(std::any_of(springs.begin(), springs.end(), [&](QPointF s) {
        return length(s - brook->points.front()) < 4.0;
    })) << "no spring where the Cinderbrook rises";
}

// Valleys branch and wander: in no range does the water run off the flanks in straight
// parallel gullies (which the hill shading shows as stripes). Measured on the drainage lines:
// few of them keep one lattice direction for ten steps on end.
TEST(WorldLand, NoRangeIsScoredWithStraightParallelGullies) {
    const World& w = world();
    const Grid<float>& g = w.water.ground;
    const FlowField flow = routeFlow(g, outlets(g));
    for (const Ridge& r : w.layout.ridges) {
        int lines = 0;
        int straight = 0;
        for (int j = 0; j < g.height(); ++j) {
            for (int i = 0; i < g.width(); ++i) {
                const int c = j * g.width() + i;
                if (flow.area[static_cast<std::size_t>(c)] < 8.0f ||
                    distanceToPolyline(QPointF(i * w.water.cell, j * w.water.cell), r.crest) >
                        r.halfWidth) {
                    continue;
                }
                ++lines;
                const int step = flow.receiver[static_cast<std::size_t>(c)] - c;
                int run = 0;
                for (int k = c; run < 10 && step != 0 &&
                                flow.receiver[static_cast<std::size_t>(k)] - k == step;
                     k = flow.receiver[static_cast<std::size_t>(k)]) {
                    ++run;
                }
                straight += run >= 10;
            }
        }
        ASSERT_GT(lines, 1000) << r.name.toStdString();
        EXPECT_LT(static_cast<double>(straight) / lines, 0.15) << r.name.toStdString();
    }
}

// Snow on the Hollowspine follows the ground rather than a height: at the same height a north
// face holds more than a south one, and the snow's lower limit is ragged, reaching well below
// bare ground elsewhere.
TEST(WorldLand, TheHollowspinesSnowFollowsTheGround) {
    const World& w = world();
    const QRect spine(680, 60, 1100, 560);
    Grid<float> h(spine.width(), spine.height());
    for (int y = 0; y < h.height(); ++y) {
        for (int x = 0; x < h.width(); ++x) {
            h(x, y) = w.terrain.height(spine.left() + x, spine.top() + y);
        }
    }
    const Grid<unsigned char> snow = snowCover(h);
    double northSnow = 0, northCount = 0, southSnow = 0, southCount = 0;
    std::vector<float> snowy;
    std::vector<float> bare;
    for (int y = 2; y + 2 < h.height(); ++y) {
        for (int x = 2; x + 2 < h.width(); ++x) {
            const float v = h(x, y);
            const float dy = h(x, y + 2) - h(x, y - 2);
            if (v > 0.78f && v < 0.86f && std::fabs(dy) > 0.004f) {
                (dy > 0 ? northSnow : southSnow) += snow(x, y) / 255.0;
                (dy > 0 ? northCount : southCount) += 1;
            }
            if (v > 0.6f) {
                (snow(x, y) > 127 ? snowy : bare).push_back(v);
            }
        }
    }
    ASSERT_GT(northCount, 100);
    ASSERT_GT(southCount, 100);
    ASSERT_GT(snowy.size(), 1000u);
    EXPECT_GT(northSnow / northCount, 1.5 * southSnow / southCount + 0.05);
    std::sort(snowy.begin(), snowy.end());
    std::sort(bare.begin(), bare.end());
    const float lowSnow = snowy[snowy.size() / 20];
    const float highBare = bare[bare.size() * 19 / 20];
    EXPECT_GT(highBare - lowSnow, 0.08f) << "snow lies above one height, as a band";
}

// No name hides running water: no letter of any name, with its halo, covers a pixel of a river or
// brook as drawn (with its bank). A range's name, long and set among the hills' brooks, may cross
// a brook; a name hemmed in by water on every side may cross a brook (never a river), but that is
// rare.
TEST(WorldLabels, NoNameHidesRunningWater) {
    const World& w = world();
    const NamePlan& plan = w.names;
    const auto drawn = [&](const std::vector<RiverLine>& lines) {
        QImage mask(kProvinceWidth, kProvinceHeight, QImage::Format_Grayscale8);
        mask.fill(0);
        QPainter p(&mask);
        for (const RiverLine& r : lines) {
            strokeVarying(p, r.points, r.widths, Qt::white, 1.6f);
        }
        return mask;
    };
    const QImage rivers = drawn(w.water.rivers);
    const QImage brooks = drawn(w.water.brooks);
    std::vector<QString> ranges;
    for (const Ridge& r : w.layout.ridges) {
        ranges.push_back(r.name.toUpper());
    }
    int wetHemmed = 0;
    for (const PlacedName& n : plan.names) {
        const bool range = std::find(ranges.begin(), ranges.end(), n.text) != ranges.end();
        // The name's ink and halo, painted alone.
        const QRect r = n.glyphs.boundingRect().toAlignedRect().adjusted(-8, -8, 8, 8);
        QImage ink(r.size(), QImage::Format_Grayscale8);
        ink.fill(0);
        QPainter p(&ink);
        p.translate(-r.topLeft());
        p.setPen(QPen(Qt::white, n.style.haloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPath(n.glyphs);
        p.end();
        std::optional<QPoint> wet;
        bool river = false;
        for (int y = 0; y < ink.height() && !river; ++y) {
            for (int x = 0; x < ink.width() && !river; ++x) {
                const QPoint at = r.topLeft() + QPoint(x, y);
                if (ink.constScanLine(y)[x] > 64 && rivers.rect().contains(at)) {
                    river = rivers.pixel(at) != qRgb(0, 0, 0);
                    if (river || (!range && !wet && brooks.pixel(at) != qRgb(0, 0, 0))) {
                        wet = at;
                    }
                }
            }
        }
        const bool hemmed =
            std::find(plan.hemmedIn.begin(), plan.hemmedIn.end(), n.text) != plan.hemmedIn.end();
        if (hemmed && wet) {
            std::cout << n.text.toStdString() << " (hemmed in) hides water at " << wet->x() << ","
                      << wet->y() << "\n";
            ++wetHemmed;
        }
        // Hemmed in, a name may cover a brook's thin line, never a river.
        EXPECT_TRUE(!wet || (hemmed && !river))
            << n.text.toStdString() << " hides running water at (" << wet->x() << ", " << wet->y()
            << ")";
    }
    // Kept on its symbol's bank, a name hemmed in lies over a brook's line instead of across it.
    EXPECT_LE(wetHemmed, 5) << "names hemmed in by water are rare";
}

// A place's name stands on its symbol's side of the water: no river, sea or lake between the two,
// unless every spot by the symbol that keeps off the water lies across it.
TEST(WorldLabels, PlaceNamesStandOnTheirSymbolsBank) {
    const World& w = world();
    QImage rivers(kProvinceWidth, kProvinceHeight, QImage::Format_Grayscale8);
    rivers.fill(0);
    QPainter p(&rivers);
    for (const RiverLine& r : w.water.rivers) {
        strokeVarying(p, r.points, r.widths, Qt::white, 1.6f);
    }
    p.end();
    const auto wet = [&](QPointF q) {
        const int x = static_cast<int>(q.x());
        const int y = static_cast<int>(q.y());
        return !rivers.valid(x, y) || rivers.pixel(x, y) != qRgb(0, 0, 0) ||
               w.terrain.height(x, y) < 0.0f || w.terrain.lake(x, y) > 0;
    };
    int checked = 0;
    for (const PlacedName& n : w.names.names) {
        const auto place = std::find_if(w.places.begin(), w.places.end(), [&](const auto& pl) {
            return pl.name == n.text.toStdString();
        });
        if (place == w.places.end() || std::find(w.names.hemmedIn.begin(), w.names.hemmedIn.end(),
                                                 n.text) != w.names.hemmedIn.end()) {
            continue;
        }
        const QPointF at(place->at.x, place->at.y);
        const bool offBank = std::ranges::all_of(
            std::array{QPointF(0, 0), QPointF(6, 0), QPointF(-6, 0), QPointF(0, 6), QPointF(0, -6)},
            [&](QPointF off) { return wet(at + off); });
        if (offBank) {
            continue;  // a port whose point lies out on its harbour
        }
        ++checked;
        const QPointF to = n.box.boundingRect().center();
        const double span = length(to - at);
        const double from = std::max(symbolRadius(place->kind), 8.0) + 3;
        std::optional<QPointF> water;
        for (double t = from; t < span; t += 2.0) {
            const QPointF q = at + (to - at) * (t / span);
            if (wet(q)) {
                water = water ? water : q;
            } else if (water) {
                ADD_FAILURE() << place->name << "'s name lies across the water from it, at "
                              << water->x() << ", " << water->y();
                break;
            }
        }
    }
    EXPECT_GT(checked, 40);
}
