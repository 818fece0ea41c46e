#pragma once

#include <QPointF>
#include <QSize>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/city_directory.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/world_places.h"
#include "tools/land/land.h"
#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"
#include "tools/paint/map_names.h"
#include "tools/paint/province_painter.h"
#include "tools/roads/roads.h"
#include "tools/sites/site_rules.h"
#include "tools/water/waterways.h"

namespace marventa::world_test {

// The province's land, water and roads as the generator makes them, with the committed tables'
// places, and where its names go; not painted. Built once per test program (tens of seconds):
// every test shares world().
struct World {
    const ProvinceLayout& layout = provinceLayout();
    Land land = raiseLand(layout, kProvinceWidth, kProvinceHeight);
    Waterways water = drainLand(land, layout);
    Terrain terrain = buildTerrain(layout, land, water, kProvinceWidth, kProvinceHeight);
    std::vector<ProvincePlace> places = provincePlaces();
    Ground ground = surveyGround(layout, terrain, water);
    std::vector<RoadLine> roads =
        finishRoads(planRoads(places, terrain, water), places, terrain, water);
    ProvinceScene scene{layout, terrain, water, roads, places, land.craters};
    QSize sheet{kProvinceWidth, kProvinceHeight};
    NamePlan names = planNames(scene, sheet);

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

inline const World& world() {
    static const World built;
    return built;
}

}  // namespace marventa::world_test
