#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSizeF>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <iostream>
#include <numbers>
#include <optional>
#include <stdexcept>

#include "catalogue/city_directory.h"
#include "tools/city/city_layout.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/world_places.h"
#include "tools/land/land.h"
#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"
#include "tools/paint/legend.h"
#include "tools/paint/map_names.h"
#include "tools/paint/province_painter.h"
#include "tools/roads/bridges.h"
#include "tools/roads/roads.h"
#include "tools/sites/site_rules.h"
#include "tools/water/waterways.h"

using namespace marventa;

namespace {

// The province's land, water and roads as the generator makes them, with the committed tables'
// places; built once (some seconds), not painted.
struct World {
    const ProvinceLayout& layout = provinceLayout();
    Land land = raiseLand(layout, kProvinceWidth, kProvinceHeight);
    Waterways water = drainLand(land, layout);
    Terrain terrain = buildTerrain(layout, land, water, kProvinceWidth, kProvinceHeight);
    std::vector<ProvincePlace> places = provincePlaces();
    Ground ground = surveyGround(layout, terrain, water);
    std::vector<RoadLine> roads = planRoads(layout, places, terrain, water);

    const ProvincePlace& place(std::string_view name) const {
        for (const ProvincePlace& p : places) {
            if (p.name == name) {
                return p;
            }
        }
        throw std::logic_error("no such place: " + std::string(name));
    }

    bool isSea(QPointF p) const { return ground.at(ground.height, p) <= 0.0f; }

    // Where the water round `at` lies: the mean offset of the sea, lake and river pixels within
    // `radius` (a river counts by its width), or nothing where there is none.
    std::optional<QPointF> waterSide(MapPoint at, int radius) const {
        QPointF sum;
        double weight = 0;
        const auto add = [&](QPointF off, double w) {
            if (length(off) <= radius) {
                sum += off * w;
                weight += w;
            }
        };
        for (int dy = -radius; dy <= radius; dy += 2) {
            for (int dx = -radius; dx <= radius; dx += 2) {
                const int x = at.x + dx;
                const int y = at.y + dy;
                if (terrain.height.contains(x, y) &&
                    (terrain.height(x, y) < 0.0f || terrain.lake(x, y) > 127)) {
                    add(QPointF(dx, dy), 4.0);
                }
            }
        }
        for (const RiverLine& r : water.rivers) {
            for (std::size_t i = 0; i < r.points.size(); ++i) {
                add(r.points[i] - QPointF(at.x, at.y), 2.0 * r.widths[i]);
            }
        }
        if (weight == 0) {
            return std::nullopt;
        }
        return sum / weight;
    }
};

const World& world() {
    static const World built;
    return built;
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

// Every place keeps the rules of its category and of its name (dry ground; caves and mines in
// the hills; forts on heights; elven ruins in the old woods; a sea, river or water name by it;
// a mine near the village it is named after).
TEST(WorldSites, EveryPlaceKeepsTheRulesOfItsCategoryAndName) {
    const World& w = world();
    for (const ProvincePlace& p : w.places) {
        for (const std::string& fault : siteFaults(p, w.ground, w.places)) {
            ADD_FAILURE() << fault;
        }
    }
}

// The rules themselves: a spot breaking each one is caught.
TEST(WorldSites, TheRulesCatchABadSite) {
    const World& w = world();
    auto faults = [&](std::string name, PlaceKind kind, MapPoint at) {
        return siteFaults({std::move(name), at, kind}, w.ground, w.places);
    };
    const ProvincePlace& port = w.place("Saltreach");
    EXPECT_FALSE(faults("Plain Cave", PlaceKind::Cave, port.at).empty());
    EXPECT_FALSE(faults("Sea Grotto", PlaceKind::Cave, {port.at.x, port.at.y + 200}).empty());
    EXPECT_FALSE(faults("Highwatch", PlaceKind::FortRuin, port.at).empty());
    const MapPoint inland{1600, 1200};
    EXPECT_FALSE(faults("Driftwood Haven", PlaceKind::Settlement, inland).empty());
    EXPECT_FALSE(faults("Quiet Ruin", PlaceKind::ElvenRuin, inland).empty());
    EXPECT_EQ(promiseOf("Fellmouth Cave", PlaceKind::Cave), Promise::Height);
    EXPECT_EQ(promiseOf("Tarnmouth", PlaceKind::Town), Promise::Water);
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
            const bool bridged =
                std::any_of(bridges.begin(), bridges.end(),
                            [&](const Crossing& b) { return length(b.at - p) < 24.0; });
            EXPECT_TRUE(bridged) << "no bridge at (" << p.x() << ", " << p.y() << ")";
        }
    }
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
    EXPECT_LE(inlets, 3);
}

// Every name the map carries finds a spot, and no name covers another name, a place's symbol or
// the title, rose and key.
TEST(WorldLabels, EveryNameIsSetAndNoneCoversAnotherOrASymbol) {
    const World& w = world();
    const ProvinceScene scene{w.layout, w.terrain, w.water, w.roads, w.places};
    const NamePlan plan = planNames(scene, QSize(kProvinceWidth, kProvinceHeight));
    for (const QString& name : plan.leftOut) {
        ADD_FAILURE() << name.toStdString() << " is left off the map";
    }
    std::vector<QRectF> furniture = plan.symbols;
    furniture.insert(furniture.end(), {kTitlePanel, kRoseBox, provinceLegend().panel});
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

// No name hides running water: no letter of any name, with its halo, covers a pixel of a river or
// brook as drawn (with its bank). A range's name, long and set among the hills' brooks, may cross
// a brook; a name hemmed in by water on every side may cross it, but that is rare.
TEST(WorldLabels, NoNameHidesRunningWater) {
    const World& w = world();
    const ProvinceScene scene{w.layout, w.terrain, w.water, w.roads, w.places};
    const NamePlan plan = planNames(scene, QSize(kProvinceWidth, kProvinceHeight));
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
    EXPECT_LE(plan.hemmedIn.size(), 2u);
    for (const QString& n : plan.hemmedIn) {
        std::cout << "hemmed in by water: " << n.toStdString() << "\n";
    }
    std::vector<QString> ranges;
    for (const Ridge& r : w.layout.ridges) {
        ranges.push_back(r.name.toUpper());
    }
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
        for (int y = 0; y < ink.height() && !wet; ++y) {
            for (int x = 0; x < ink.width() && !wet; ++x) {
                const QPoint at = r.topLeft() + QPoint(x, y);
                if (ink.constScanLine(y)[x] > 64 && rivers.rect().contains(at) &&
                    (rivers.pixel(at) != qRgb(0, 0, 0) ||
                     (!range && brooks.pixel(at) != qRgb(0, 0, 0)))) {
                    wet = at;
                }
            }
        }
        const bool hemmed =
            std::find(plan.hemmedIn.begin(), plan.hemmedIn.end(), n.text) != plan.hemmedIn.end();
        EXPECT_TRUE(!wet || hemmed) << n.text.toStdString() << " hides running water at ("
                                    << wet->x() << ", " << wet->y() << ")";
    }
}
