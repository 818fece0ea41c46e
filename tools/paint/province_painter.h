#pragma once

#include <QImage>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"
#include "tools/roads/roads.h"
#include "tools/water/waterways.h"

namespace marventa {

struct ProvinceScene {
    const ProvinceLayout& layout;
    const Terrain& terrain;
    const Waterways& water;
    const std::vector<RoadLine>& roads;
    const std::vector<ProvincePlace>& places;
};

// The finished province map: relief, rivers, woods, roads, a symbol on every place, the names of
// the towns and cities, of the ranges, woods and waters, a title, a compass rose and a frame.
QImage paintProvince(const ProvinceScene& scene);

}  // namespace marventa
