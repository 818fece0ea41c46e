#pragma once

#include <QPointF>
#include <vector>

#include "tools/roads/roads.h"
#include "tools/water/waterways.h"

class QPainter;

namespace marventa {

// Where a road crosses a river: the crossing point, the road's direction there (a unit vector),
// the river's width and the road's rank, which sets the bridge's width.
struct Crossing {
    QPointF at;
    QPointF along;
    double span;
    RoadClass kind = RoadClass::Lane;
};

// Every place a road crosses a river, once per crossing.
std::vector<Crossing> findCrossings(const std::vector<RoadLine>& roads, const Waterways& water);

// A small ink bridge mark over each crossing: the road runs on across the water between two
// short parapet strokes with splayed ends, set as far apart as the road is wide.
void drawBridges(QPainter& painter, const std::vector<Crossing>& crossings);

}  // namespace marventa
