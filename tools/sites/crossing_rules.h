#pragma once

#include <string>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/roads/roads.h"
#include "tools/water/waterways.h"

namespace marventa {

// What a village's or town's name promises of the roads, which are laid after the places: a ford
// where a road or track crosses running water near it, a bridge where a road is bridged near it.
std::vector<std::string> crossingFaults(const ProvincePlace& place,
                                        const std::vector<RoadLine>& roads, const Waterways& water);

}  // namespace marventa
