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

// What is drawn along the sea's shore: cliffs hachured where the ground stands up steeply from
// the water, and along the coast by a shore place named for a scar, a crag or a cliff, in short
// strokes a few pixels apart inland of the shore's line and falling to it, in runs with plain
// shore between, and none where `keepOut` (non-zero) lies under it.
struct ShoreMarks {
    std::vector<CliffTick> cliffs;
};
ShoreMarks placeShoreMarks(const Terrain& terrain, const std::vector<ProvincePlace>& places,
                           const QImage& keepOut);

void drawShoreMarks(QPainter& painter, const ShoreMarks& marks);

}  // namespace marventa
