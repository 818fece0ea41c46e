#pragma once

#include <QPointF>
#include <vector>

#include "province_layout.h"
#include "streams.h"
#include "terrain.h"
#include "tools/common/world_places.h"
#include "waterways.h"

namespace marventa {

enum class RoadClass { Highway, Lane, Track };

struct RoadLine {
    std::vector<QPointF> points;  // picture pixels
    RoadClass kind;
};

// The highways of the layout linking the cities; lanes from every town off them; short tracks to
// the inns beside them and to the villages and mines near the network. Lanes and tracks are
// routed over the ground: round steep slopes and water, over rivers rarely, along roads already
// laid, and clear of other places.
std::vector<RoadLine> planRoads(const ProvinceLayout& layout,
                                const std::vector<ProvincePlace>& places, const Terrain& terrain,
                                const Waterways& water);

}  // namespace marventa
