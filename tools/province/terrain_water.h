#pragma once

#include <vector>

#include "tools/common/grid.h"
#include "waterways.h"

namespace marventa {

// The water side of the terrain: lakes levelled into the ground, and river valleys cut so that
// every river runs downhill to whatever it flows into.

// Cover of each pixel by lake water, 0 .. 255.
Grid<unsigned char> lakeCover(const Waterways& water, int width, int height);

// Each lake lies level, a little below the lowest point of its shore.
std::vector<float> lakeLevels(const Waterways& water, const Grid<float>& h);

void fillLakes(const Waterways& water, const std::vector<float>& levels,
               const Grid<unsigned char>& cover, Grid<float>& h);

// The height the river's water runs at, point by point: never rising toward the mouth, below
// its banks, and no lower than whatever it flows into.
std::vector<float> riverBed(const RiverLine& river, const Grid<float>& h, const Waterways& water,
                            const std::vector<float>& levels,
                            const std::vector<std::vector<float>>& earlierBeds);

// Cuts a valley round the river: the ground falls toward its bed within `reach` pixels.
void cutValley(const RiverLine& river, const std::vector<float>& bed, float reach, Grid<float>& h);

// Keeps the channel itself at the bed after the ground round the places has been reshaped.
void recutChannel(const RiverLine& river, const std::vector<float>& bed, Grid<float>& h);

}  // namespace marventa
