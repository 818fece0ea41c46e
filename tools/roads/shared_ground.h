#pragma once

#include <vector>

#include "tools/roads/roads.h"

namespace marventa {

// One drawn road where roads share their ground. Taken highways first, then lanes, then tracks
// (each in the order laid), a road's stretch that leaves a road already kept and comes back onto
// it without ever straying more than a few pixels from it (two strands side by side, a closed
// loop beside it) or that runs on it is dropped, so the higher rank alone is drawn there; what is
// left of the road is kept in pieces that end on the other. Highways come first in the result.
std::vector<RoadLine> mergeSharedGround(std::vector<RoadLine> roads);

// How far from its first point `line` runs beside `roads` (of `kind`) before it leaves their
// ground for good, when it does so as a strand of its own rather than on them: 0 where it
// leaves them at once or only runs on them.
double strandFromStart(const std::vector<QPointF>& line, const std::vector<RoadLine>& roads,
                       RoadClass kind);

}  // namespace marventa
