#pragma once

#include <QImage>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/land/land.h"
#include "tools/land/terrain.h"
#include "tools/roads/roads.h"
#include "tools/water/waterways.h"

namespace marventa {

// Everything the province map is made of, each part made from the ones before it.
struct Province {
    Land land;
    Waterways water;
    Terrain terrain;
    std::vector<ProvincePlace> places;  // every catalogue point, sited on the land
    std::vector<RoadLine> roads;
    QImage map;
};

// Land, water, places, roads, picture: the whole province, in that order.
Province makeProvince();

}  // namespace marventa
