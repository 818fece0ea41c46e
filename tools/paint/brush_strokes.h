#pragma once

#include <cstdint>

#include "tools/common/grid.h"

namespace marventa {

// How a broad brush laid the ground's wash over a sheet `width` by `height`: long strokes a
// hundred to three hundred pixels across, each a little heavier or lighter than the next and
// darker where two cross, ending in a ragged edge with a faint dried rim, and here and there a
// skip where the brush ran dry, in streaks along its way. The density each pixel gains (above 0)
// or loses (below 0).
Grid<float> brushStrokes(int width, int height, std::uint64_t seed);

}  // namespace marventa
