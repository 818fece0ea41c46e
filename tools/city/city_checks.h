#pragma once

#include <string>
#include <vector>

#include "city_buildings.h"
#include "city_ground.h"

namespace marventa {

// Checks a city's footprints: every door on its building's outline, no building over another,
// over water or off the map. One line per fault.
std::vector<std::string> checkCity(const CityGround& ground,
                                   const std::vector<Footprint>& footprints);

}  // namespace marventa
