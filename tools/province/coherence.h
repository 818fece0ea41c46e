#pragma once

#include <string>
#include <vector>

#include "province_layout.h"
#include "streams.h"
#include "terrain.h"
#include "tools/common/world_places.h"
#include "waterways.h"

namespace marventa {

// Checks the province's ground against its places: no place on or at the edge of water (a place
// by the sea keeps a narrower strip of shore), caves and mines in the hills, fort ruins on
// heights. One line per fault.
std::vector<std::string> checkProvince(const ProvinceLayout& layout,
                                       const std::vector<ProvincePlace>& places,
                                       const Terrain& terrain, const Waterways& water,
                                       const std::vector<Stream>& streams);

}  // namespace marventa
