#pragma once

#include "grid.h"

namespace marventa {

// Exact Euclidean distance, in pixels, from every cell to the nearest cell where `inside` is
// non-zero (0 on such cells); cells beyond `cap` read as `cap`.
Grid<float> distanceTo(const Grid<unsigned char>& inside, float cap);

}  // namespace marventa
