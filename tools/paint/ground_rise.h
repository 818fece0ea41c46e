#pragma once

#include "tools/common/grid.h"

namespace marventa {

// How far the ground at each pixel stands above the country round it (a few hundred pixels
// across), both smoothed as a reader sees the lie of the land: positive on rises and swells,
// negative in the valleys' bottoms, about zero on an even plain; the country round a pixel is
// its land alone, so that no coast reads as a rise above the sea.
Grid<float> groundRise(const Grid<float>& height);

}  // namespace marventa
