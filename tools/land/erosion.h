#pragma once

#include <vector>

#include "tools/common/grid.h"

namespace marventa {

struct ErosionSteps {
    int rounds = 40;
    float incision = 0.005f;  // stream power: how fast water cuts, per round
    float creep = 0.08f;      // hillslope smoothing, per round
};

// Stream-power erosion, solved implicitly from the outlets upstream so that any rate stays
// stable: each round fills the hollows, routes the water, lowers each cell toward the one it
// drains to in proportion to the square root of the area draining through it, lets the slopes
// creep, and raises the ground again by `uplift`. Cells below zero are sea and stay as they are.
// Where the water leaves the land: the sea, and the sheet's edges (rivers run on beyond them).
std::vector<char> outlets(const Grid<float>& h);

void erode(Grid<float>& h, const Grid<float>& uplift, const ErosionSteps& steps);

}  // namespace marventa
