#pragma once

#include <QImage>
#include <vector>

#include "province_layout.h"
#include "roads.h"
#include "streams.h"
#include "terrain.h"
#include "tools/common/world_places.h"
#include "waterways.h"

namespace marventa {

struct ProvinceScene {
    const ProvinceLayout& layout;
    const Terrain& terrain;
    const Waterways& water;
    const std::vector<Stream>& streams;
    const std::vector<RoadLine>& roads;
    const std::vector<ProvincePlace>& places;
};

// The finished province map: relief, rivers, woods, roads, a symbol on every place, the names of
// the towns and cities, of the ranges, woods and waters, a title, a compass rose and a frame.
QImage paintProvince(const ProvinceScene& scene);

}  // namespace marventa
