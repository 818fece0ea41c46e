#pragma once

#include "craters.h"
#include "province_layout.h"
#include "tools/common/grid.h"

namespace marventa {

// The province's ground before anything stands on it, on a coarse lattice: below zero is sea
// (minus its depth), land runs from just above zero at the shore to about 1 on the highest peaks.
struct Land {
    int cell = 4;        // picture pixels per lattice cell
    Grid<float> height;  // cell (i, j) is the ground at picture pixel (i * cell, j * cell)
    std::vector<Crater> craters;
    std::vector<int> lakeSeeds;  // a cell under each of the layout's lakes, -1 where none holds
};

// Raises the land: a continent whose coast wanders at several scales round the layout's line and
// is then worn by the sea, uplift along the ranges' crests and gentle troughs along the named
// rivers' courses, then erosion by running water so valleys branch and ridges sharpen between
// them; last, the volcanic craters, and the named lakes held in the ground.
Land raiseLand(const ProvinceLayout& layout, int width, int height);

}  // namespace marventa
