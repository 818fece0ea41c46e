#pragma once

#include <QPointF>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/land/terrain.h"
#include "tools/water/waterways.h"

namespace marventa {

enum class RoadClass { Highway, Lane, Track };

struct RoadLine {
    std::vector<QPointF> points;  // picture pixels
    RoadClass kind;
};

// Highways join the cities and towns by the cheapest tree between them, and neighbouring cities
// directly; lanes close the loops that tree makes a long way round; short tracks lead to the inns
// beside them and to every village and the mines near the network. Every road is a cheapest path
// over the ground: along valleys, round woods and steep slopes, slantwise up a hill too steep to
// climb straight, never over the sea or a lake, over rivers rarely, along roads already laid (so
// roads share their common stretches), and clear of the places it does not serve.
std::vector<RoadLine> planRoads(const std::vector<ProvincePlace>& places, const Terrain& terrain,
                                const Waterways& water);

// The last touches, once the inns are sited by the roads as planned: a ford's track drawn as a
// lane over both banks, and the laid roads' corners on open ground drawn round as a surveyor's
// curves.
std::vector<RoadLine> finishRoads(std::vector<RoadLine> roads,
                                  const std::vector<ProvincePlace>& places, const Terrain& terrain,
                                  const Waterways& water);

}  // namespace marventa
