#pragma once

#include <QLineF>
#include <QPolygonF>
#include <vector>

#include "city_buildings.h"
#include "city_ground.h"

namespace marventa {

// The ordinary town round the named buildings: rows of houses along the streets, squares where
// the main streets cross, bridges where a street meets a river, and the roads out of the gates.
struct TownFabric {
    std::vector<QPolygonF> houses;
    std::vector<QPolygonF> squares;
    std::vector<QLineF> bridges;
    std::vector<std::vector<QPointF>> roadsOut;
};

TownFabric buildFabric(const CityGround& ground, const std::vector<Footprint>& footprints);

}  // namespace marventa
