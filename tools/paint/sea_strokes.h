#pragma once

#include <cstdint>

#include "tools/common/grid.h"

namespace marventa {

// How the sea's wash was laid, given each water pixel's distance from the shore (`toLand`, 0 on
// land): broad strokes swept level across the sheet, bending a little over a few hundred pixels,
// each a little heavier or lighter than the next, with soft lighter streaks where a stroke
// thinned. Level rather than along the shore, so that no stroke rings an island as a halo. Out
// at sea the wash lies heavier, a few hundred pixels off the shore by a reach that wanders, with
// broad soft pools. The density each pixel gains (above 0) or loses (below 0); the wash's edge
// at the shore is left as it is.
Grid<float> seaStrokes(const Grid<float>& toLand, std::uint64_t seed);

}  // namespace marventa
