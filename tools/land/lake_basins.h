#pragma once

#include <vector>

#include "province_layout.h"
#include "tools/common/grid.h"

namespace marventa {

// Holds each named lake in the ground round it: the water rises from the lowest ground in the
// layout's outline until it covers the outline's area, so its shore follows the contours into
// every valley that reaches it. Where the rising water would spill down a valley, a low dam (a
// moraine, a sill of rock) holds it; the lowest point of the rim is left as its outlet. Returns
// the cell each lake started from, in the layout's order (-1 for one with no ground to hold it).
std::vector<int> holdLakes(const ProvinceLayout& layout, Grid<float>& height, int cell);

}  // namespace marventa
