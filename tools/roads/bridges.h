#pragma once

#include <QPointF>
#include <vector>

#include "tools/roads/roads.h"
#include "tools/water/waterways.h"

class QPainter;

namespace marventa {

// Where a road crosses a river: the crossing point, the road's direction there (a unit vector)
// and the river's width.
struct Crossing {
    QPointF at;
    QPointF along;
    double span;
};

// Every place a road crosses a river, once per crossing.
std::vector<Crossing> findCrossings(const std::vector<RoadLine>& roads, const Waterways& water);

// A stone bridge over each crossing: a pale deck with parapets and splayed ends.
void drawBridges(QPainter& painter, const std::vector<Crossing>& crossings);

}  // namespace marventa
