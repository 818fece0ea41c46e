#include "crossing_rules.h"

#include <algorithm>

#include "tools/common/plane_geometry.h"
#include "tools/roads/bridges.h"
#include "tools/sites/site_rules.h"

namespace marventa {

namespace {

// Whether a road passes over a brook within `reach` of `p`: a road point on the brook's water.
bool crossesBrookNear(QPointF p, const std::vector<RoadLine>& roads,
                      const std::vector<RiverLine>& brooks, double reach) {
    for (const RoadLine& road : roads) {
        for (const QPointF& q : road.points) {
            if (length(q - p) > reach) {
                continue;
            }
            for (const RiverLine& b : brooks) {
                for (std::size_t i = 0; i < b.points.size(); ++i) {
                    if (length(b.points[i] - q) <= b.widths[i] * 0.5 + 2.0) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> crossingFaults(const ProvincePlace& place,
                                        const std::vector<RoadLine>& roads,
                                        const Waterways& water) {
    std::vector<std::string> faults;
    if (place.kind != PlaceKind::Settlement && place.kind != PlaceKind::Town &&
        place.kind != PlaceKind::City) {
        return faults;
    }
    const unsigned words = groundWordsOf(place.name);
    if (!(words & (kFordWord | kBridgeWord))) {
        return faults;
    }
    const QPointF p(place.at.x, place.at.y);
    const std::vector<Crossing> crossings = findCrossings(roads, water);
    const bool bridged = std::any_of(crossings.begin(), crossings.end(), [&](const Crossing& c) {
        return length(c.at - p) <= kCrossingReach;
    });
    if ((words & kBridgeWord) && !bridged) {
        faults.push_back(place.name + ": its name promises a bridge, but none is near");
    }
    if ((words & kFordWord) && !bridged &&
        !crossesBrookNear(p, roads, water.brooks, kCrossingReach)) {
        faults.push_back(place.name +
                         ": its name promises a ford, but no road crosses running water near it");
    }
    return faults;
}

}  // namespace marventa
