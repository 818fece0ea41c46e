#pragma once

#include <vector>

#include "tools/common/grid.h"
#include "tools/water/waterways.h"

namespace marventa {

// The water side of the picture-sized terrain: lakes levelled into the ground, and river channels
// cut so that every river runs downhill to whatever it flows into.

// Cover of each pixel by lake water, 0 .. 255, the shore where the lake's depth runs out.
Grid<unsigned char> lakeCover(const Waterways& water, int width, int height);

// Lowers the ground under each lake to its level, deeper away from the shore.
void fillLakes(const Waterways& water, const Grid<unsigned char>& cover, Grid<float>& h);

// The height the river's water runs at, point by point: never rising toward the mouth, below
// its banks, and no lower than whatever it flows into.
std::vector<float> riverBed(const RiverLine& river, const Grid<float>& h, const Waterways& water,
                            const std::vector<std::vector<float>>& earlierBeds);

// Cuts a valley round the river: the ground falls toward its bed within `reach` pixels.
void cutValley(const RiverLine& river, const std::vector<float>& bed, float reach, Grid<float>& h);

// Lets the sea into a river's estuary: where the channel has opened to well over its width
// upstream, it is sea down to the mouth, so sea and river are one water with one shore.
void openEstuary(const RiverLine& river, Grid<float>& h);

}  // namespace marventa
