#include "city_checks.h"

#include <cstdio>

#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

std::string describe(const std::string& name, double x, double y) {
    char at[48];
    std::snprintf(at, sizeof at, " (%.0f, %.0f)", x, y);
    return name + at;
}

double distanceToOutline(QPointF p, const QPolygonF& polygon) {
    std::vector<QPointF> ring(polygon.begin(), polygon.end());
    ring.push_back(polygon.front());
    return distanceToPolyline(p, ring);
}

}  // namespace

std::vector<std::string> checkCity(const CityGround& ground,
                                   const std::vector<Footprint>& footprints) {
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < footprints.size(); ++i) {
        const Footprint& f = footprints[i];
        const std::string who = f.name.toStdString();
        for (const Door& d : f.doors) {
            if (distanceToOutline(d.at, f.body) > 1.5) {
                faults.push_back(describe(who, d.at.x(), d.at.y()) + ": door off the outline");
            }
            if (ground.isWater(d.at)) {
                faults.push_back(describe(who, d.at.x(), d.at.y()) + ": door in water");
            }
        }
        for (const QPointF& v : f.body) {
            if (!ground.inMap(v)) {
                faults.push_back(who + " reaches off the map");
                break;
            }
        }
        for (std::size_t j = i + 1; j < footprints.size(); ++j) {
            if (f.body.intersected(footprints[j].body).boundingRect().width() > 2.0) {
                faults.push_back(who + " overlaps " + footprints[j].name.toStdString());
            }
        }
    }
    return faults;
}

}  // namespace marventa
