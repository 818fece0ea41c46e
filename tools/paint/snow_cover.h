#pragma once

#include "tools/common/grid.h"

namespace marventa {

// Where snow lies on the high ground, 0 .. 255 per pixel of `height`: its lower limit falls on
// north-facing slopes and in gullies and hollows (which hold drifts) and rises on sunny spurs,
// wanders with a patchy noise, and the steepest rock sheds it; so it reaches down the valleys
// from the peaks rather than lying in a band along the crest.
Grid<unsigned char> snowCover(const Grid<float>& height);

}  // namespace marventa
