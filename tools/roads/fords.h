#pragma once

#include <QPointF>
#include <functional>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/roads/roads.h"
#include "tools/water/waterways.h"

namespace marventa {

// A ford is where a way wades the water: the road or track that crosses beside a ford's place
// and ends there is run on past the crossing to the far bank, so the way is seen to go over.
// `dry` tells ground a way may stand on.
void runThroughFords(std::vector<RoadLine>& roads, const std::vector<ProvincePlace>& places,
                     const Waterways& water, const std::function<bool(QPointF)>& dry);

// Once the inns are sited: a track wading the water at a ford's place is drawn as a lane, so that
// the ford reads as a road's crossing from either bank rather than a faint broken line, and runs a
// little farther up the far bank past the place, where that ground is dry.
void laneThroughFords(std::vector<RoadLine>& roads, const std::vector<ProvincePlace>& places,
                      const Waterways& water, const std::function<bool(QPointF)>& dry);

}  // namespace marventa
