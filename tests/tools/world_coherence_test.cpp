#include <gtest/gtest.h>

#include <QPolygonF>
#include <cmath>
#include <numbers>
#include <optional>
#include <stdexcept>

#include "catalogue/city_directory.h"
#include "tools/city/city_layout.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/world_places.h"
#include "tools/province/province_layout.h"
#include "tools/province/terrain.h"
#include "tools/province/waterways.h"

using namespace marventa;

namespace {

// The province's ground as the generator builds it; built once, it takes a few seconds.
struct Province {
    std::vector<ProvincePlace> places = provincePlaces();
    Waterways water = layWaterways(provinceLayout());
    Terrain terrain =
        buildTerrain(provinceLayout(), water, places, kProvinceWidth, kProvinceHeight);

    const ProvincePlace& place(std::string_view name) const {
        for (const ProvincePlace& p : places) {
            if (p.name == name) {
                return p;
            }
        }
        throw std::logic_error("no such place: " + std::string(name));
    }

    bool isSea(int x, int y) const {
        const Grid<float>& h = terrain.height;
        return h.contains(x, y) && h(x, y) < 0.0f;
    }

    bool isLake(int x, int y) const {
        return terrain.lake.contains(x, y) && terrain.lake(x, y) > 127;
    }

    // The offset from `at` to the nearest sea or lake pixel within `radius`, or to the nearest
    // bank of a river; nothing when there is none.
    std::optional<QPointF> nearestWater(MapPoint at, int radius) const {
        std::optional<QPointF> best;
        auto consider = [&](QPointF offset) {
            if (!best || length(offset) < length(*best)) {
                best = offset;
            }
        };
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                if (isSea(at.x + dx, at.y + dy) || isLake(at.x + dx, at.y + dy)) {
                    consider(QPointF(dx, dy));
                }
            }
        }
        const QPointF p(at.x, at.y);
        for (const RiverLine& r : water.rivers) {
            const Nearest n = nearestOnPolyline(p, r.points);
            const QPointF a = r.points[n.segment];
            const QPointF b = r.points[std::min(n.segment + 1, r.points.size() - 1)];
            const QPointF centre = a + (b - a) * n.along;
            const double toBank = std::max(0.0, n.distance - r.widths[n.segment] / 2);
            if (n.distance > 0 && toBank < radius) {
                consider((centre - p) * (toBank / n.distance));
            }
        }
        return best;
    }
};

const Province& province() {
    static const Province built;
    return built;
}

// Area-weighted centre of a city map's water, and whether any of it runs off the map's edge.
struct MapWater {
    QPointF centre;
    bool reachesEdge = false;
};

MapWater waterOf(const CityLayout& layout, QSizeF size) {
    double area = 0;
    QPointF moment;
    MapWater w;
    for (const std::vector<QPointF>& poly : layout.waters) {
        for (std::size_t i = 0; i < poly.size(); ++i) {
            const QPointF a = poly[i];
            const QPointF b = poly[(i + 1) % poly.size()];
            const double cross = a.x() * b.y() - b.x() * a.y();
            area += cross / 2;
            moment += (a + b) * (cross / 6);
            w.reachesEdge = w.reachesEdge || a.x() <= 0 || a.y() <= 0 || a.x() >= size.width() ||
                            a.y() >= size.height();
        }
    }
    w.centre = moment / area;
    return w;
}

double degreesBetween(QPointF a, QPointF b) {
    const double cosine = QPointF::dotProduct(a, b) / (length(a) * length(b));
    return std::acos(std::clamp(cosine, -1.0, 1.0)) * 180 / std::numbers::pi;
}

}  // namespace

// Harbours, shore villages, sea caves, shore camps and coastal landmarks have the sea within a
// few pixels of their point, while the point itself stays on dry ground.
TEST(WorldCoherence, HarbourAndShorePlacesLieAtTheSea) {
    const Province& world = province();
    for (const char* name :
         {"Tolvane", "Saltreach", "Cinderhaven", "Shellhaven", "Tarnmouth", "Brinemoor",
          "Marram Bay", "Gull Cave", "Seal Hollow", "Smugglers' Grotto", "Tidewash Cavern",
          "Wreckers' Den", "Kelp Gatherers' Camp", "Beachcombers' Camp", "Salters' Camp",
          "Greywhite Salt Pans", "Lantern Rock"}) {
        const MapPoint at = world.place(name).at;
        double nearest = 41;  // farther than the search reaches
        for (int dy = -40; dy <= 40; ++dy) {
            for (int dx = -40; dx <= 40; ++dx) {
                if (world.isSea(at.x + dx, at.y + dy)) {
                    nearest = std::min(nearest, std::hypot(dx, dy));
                }
            }
        }
        EXPECT_LE(nearest, 16.0) << name << " has no sea within " << nearest << " px";
        EXPECT_GE(nearest, 3.0) << name << " stands in the sea";
    }
}

// Each city map shows its water on the side where the province has the nearest water to the
// city's point (a pond inside the town, reaching no edge, says nothing about the country).
TEST(WorldCoherence, EachCityMapShowsWaterWhereTheProvinceHasIt) {
    const Province& world = province();
    for (const CityEntry& city : kCityDirectory) {
        const auto& layouts = cityLayouts();
        const auto layout = std::find_if(layouts.begin(), layouts.end(), [&](const CityLayout& l) {
            return l.table == city.table;
        });
        ASSERT_NE(layout, layouts.end());
        const QSizeF size(city.mapWidth, city.mapHeight);
        const MapWater onMap = waterOf(*layout, size);
        if (!onMap.reachesEdge) {
            continue;
        }
        const std::optional<QPointF> onProvince =
            world.nearestWater(world.place(city.caption).at, 200);
        ASSERT_TRUE(onProvince) << city.caption << " has no water within 200 px";
        const QPointF mapSide = onMap.centre - QPointF(size.width() / 2, size.height() / 2);
        EXPECT_LE(degreesBetween(mapSide, *onProvince), 60.0)
            << city.caption << ": the map's water lies toward (" << mapSide.x() << ", "
            << mapSide.y() << "), the province's toward (" << onProvince->x() << ", "
            << onProvince->y() << ")";
    }
}
