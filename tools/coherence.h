#pragma once

#include <string>
#include <vector>

#include "city_buildings.h"
#include "city_ground.h"
#include "province_layout.h"
#include "streams.h"
#include "terrain.h"
#include "waterways.h"
#include "world_places.h"

namespace marventa {

// Checks the province's ground against its places: no place on or at the edge of water (a place
// by the sea keeps a narrower strip of shore), caves and mines in the hills, fort ruins on
// heights. One line per fault.
std::vector<std::string> checkProvince(const ProvinceLayout& layout,
                                       const std::vector<ProvincePlace>& places,
                                       const Terrain& terrain, const Waterways& water,
                                       const std::vector<Stream>& streams);

// Checks a city's footprints: every door on its building's outline, no building over another,
// over water or off the map. One line per fault.
std::vector<std::string> checkCity(const CityGround& ground,
                                   const std::vector<Footprint>& footprints);

}  // namespace marventa
