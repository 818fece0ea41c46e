#pragma once

#include "tools/common/grid.h"

namespace marventa {

// Where the heights' tan lies round the drawn peaks (`peaked` non-zero): one wash over each
// group of peaks whose edge follows the group's outline a little way out and bridges the gaps
// between its peaks, smooth as a brush's sweep rather than a ring round every peak; carried
// farther down the shaded south-east side than the lit north-west, where it is drawn in and
// dries in skips, and narrowing where the peaks thin out along a spur. A peak standing alone, or
// two or three small ones, get none. Signed pixels from the wash's edge, positive inside it.
Grid<float> heightsTanEdge(const Grid<unsigned char>& peaked);

}  // namespace marventa
