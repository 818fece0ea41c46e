#pragma once

#include <QImage>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/land/terrain.h"

class QPainter;

namespace marventa {

// A short stroke of a sea cliff's hachuring: from the cliff's brow down its face to the water.
struct CliffTick {
    QPointF brow;
    QPointF foot;
    float weight;
};

// The sea cliffs' hachures along every stretch of coast where the ground stands up steeply from
// the water, and along the coast by a shore place named for a scar, a crag or a cliff: short
// strokes a few pixels apart, inland of the shore's line and falling to it, in runs with plain
// shore between; none where `keepOut` (non-zero) lies under a stroke's brow or middle.
std::vector<CliffTick> placeCliffTicks(const Terrain& terrain,
                                       const std::vector<ProvincePlace>& places,
                                       const QImage& keepOut);

void drawCliffTicks(QPainter& painter, const std::vector<CliffTick>& ticks);

}  // namespace marventa
