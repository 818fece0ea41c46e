#include "coherence.h"

#include <QPolygonF>
#include <cstdio>

#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr double kWaterMargin = 6.0;  // pixels of dry ground round every place

std::string describe(const std::string& name, double x, double y) {
    char at[48];
    std::snprintf(at, sizeof at, " (%.0f, %.0f)", x, y);
    return name + at;
}

}  // namespace

std::vector<std::string> checkProvince(const ProvinceLayout& layout,
                                       const std::vector<ProvincePlace>& places,
                                       const Terrain& terrain, const Waterways& water,
                                       const std::vector<Stream>& streams) {
    std::vector<std::string> faults;
    const Grid<float>& h = terrain.height;
    for (const ProvincePlace& p : places) {
        const QPointF at(p.at.x, p.at.y);
        const std::string who = describe(p.name, at.x(), at.y());
        const int margin = livesBySea(layout, QString::fromStdString(p.name)) ? 3 : 6;
        bool wet = false;
        for (int dy = -margin; dy <= margin && !wet; ++dy) {
            for (int dx = -margin; dx <= margin && !wet; ++dx) {
                const int x = p.at.x + dx;
                const int y = p.at.y + dy;
                wet = h.contains(x, y) && dx * dx + dy * dy <= margin * margin &&
                      (h(x, y) < 0.0f || terrain.lake(x, y) > 0);
            }
        }
        if (wet) {
            faults.push_back(who + " is at the water's edge");
        }
        for (const RiverLine& r : water.rivers) {
            const Nearest n = nearestOnPolyline(at, r.points);
            if (n.distance < r.widths[n.segment] / 2 + kWaterMargin) {
                faults.push_back(who + " is on the river " + r.name.toStdString());
            }
        }
        for (const Stream& s : streams) {
            const Nearest n = nearestOnPolyline(at, s.points);
            if (n.distance < s.widths[n.segment] / 2 + kWaterMargin) {
                faults.push_back(who + " is on a brook");
            }
        }
        const float ground = h(p.at.x, p.at.y);
        if ((p.kind == PlaceKind::Cave || p.kind == PlaceKind::Mine) && ground < kHillHeight) {
            faults.push_back(who + " lies below the hills");
        }
        if (p.kind == PlaceKind::FortRuin && ground < kHeightsHeight) {
            faults.push_back(who + " lies below the heights");
        }
    }
    return faults;
}

}  // namespace marventa
