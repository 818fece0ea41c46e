#pragma once

#include "grid.h"

namespace marventa {

// A box blur of radius `r` (the mean of a (2r + 1)-square, clamped at the edges), in two passes.
Grid<float> boxBlur(const Grid<float>& g, int r);

}  // namespace marventa
