#pragma once

#include "tools/common/grid.h"

namespace marventa {

// How far the ground at each pixel stands above the country round it (a few hundred pixels
// across), both smoothed as a reader sees the lie of the land: positive on rises and swells,
// negative in the valleys' bottoms, about zero on an even plain; the country round a pixel is
// its land alone, so that no coast reads as a rise above the sea.
Grid<float> groundRise(const Grid<float>& height);

// How far the ground stands above the ground round it at a hill's breadth, each smoothed twice
// over a box of radius `near` and `round`: positive on the backs of ridges and the brows where
// an upland breaks, negative down in the valleys, about zero on a level top or an even slope.
Grid<float> groundFolds(const Grid<float>& height, int near, int round);

}  // namespace marventa
