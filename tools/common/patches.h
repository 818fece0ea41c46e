#pragma once

#include "tools/common/grid.h"

namespace marventa {

// For every cell of `mask` (non-zero), the sum of `weight` over the patch it lies in, neighbours
// counted across sides and corners; 0 off the mask.
Grid<float> patchSums(const Grid<unsigned char>& mask, const Grid<float>& weight);

}  // namespace marventa
