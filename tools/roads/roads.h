#pragma once

#include <QPointF>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"
#include "tools/water/waterways.h"

namespace marventa {

enum class RoadClass { Highway, Lane, Track };

struct RoadLine {
    std::vector<QPointF> points;  // picture pixels
    RoadClass kind;
};

// Highways between the cities the layout's roads join, lanes from every town to the nearest
// road, short tracks to the inns beside them and to the villages and mines near the network.
// Every road is a cheapest path over the ground: round steep slopes, never over the sea or a
// lake, over rivers rarely, along roads already laid (so roads share their common stretches),
// and clear of other places.
std::vector<RoadLine> planRoads(const ProvinceLayout& layout,
                                const std::vector<ProvincePlace>& places, const Terrain& terrain,
                                const Waterways& water);

}  // namespace marventa
