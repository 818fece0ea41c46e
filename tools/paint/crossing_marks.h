#pragma once

#include <QPointF>
#include <vector>

#include "tools/paint/province_painter.h"
#include "tools/roads/bridges.h"

class QPainter;

namespace marventa {

// Where a lesser place's symbol is drawn: at its point, or, for one whose mark would lie over a
// river's water (a point at its edge), just up the bank, so that the mark stands on dry ground.
QPointF symbolSpot(const ProvincePlace& place, const Waterways& water);

// A short landing stage from a symbol moved up its bank down to its point on the water; nothing
// for one only nudged.
void drawLanding(QPainter& painter, QPointF symbol, QPointF point);

// A ford: a few short strokes across the water beside the way, the shallows it is waded by.
void drawFord(QPainter& painter, const Crossing& crossing);

// A ferry: a small boat on the water beside the way and the ferry's line across, dashed.
void drawFerry(QPainter& painter, const Crossing& crossing);

// The crossing a village named for its ford or its ferry stands by, if one lies this near it.
inline constexpr double kWayReach = 40.0;

// Draws the crossings by the villages named for a ford or a ferry as such and returns the rest,
// which are bridged.
std::vector<Crossing> drawFordsAndFerries(QPainter& painter, const ProvinceScene& scene,
                                          std::vector<Crossing> crossings);

}  // namespace marventa
