#pragma once

#include <QPointF>
#include <vector>

#include "terrain.h"
#include "tools/common/grid.h"
#include "waterways.h"

namespace marventa {

// A brook: where enough ground drains through one line to feed running water.
struct Stream {
    std::vector<QPointF> points;  // picture pixels, downstream order
    std::vector<float> widths;    // pixels, one per point
};

// Follows the water downhill from every piece of land to the sea, a lake or a river; the lines
// that gather enough of it become brooks. A brook is kept only if it runs downhill all the way
// (through no hollow) and passes no place closer than a small margin.
std::vector<Stream> findStreams(const Terrain& terrain, const Waterways& water,
                                const std::vector<ProvincePlace>& places);

}  // namespace marventa
