#pragma once

#include "tools/common/grid.h"

namespace marventa {

// The heights' tan as a brush laid it round the drawn peaks (`peaked` non-zero) on the ground
// `height` (the same size).
struct HeightsTan {
    // Signed pixels from the pale first wash's edge, positive inside it. One wash over each
    // group of peaks, bridging the gaps between them, carried farther down the shaded south-east
    // side than the lit north-west; whole along the crests, broken into patches toward the
    // foothills, where it keeps to the spurs and leaves the valleys bare. A peak standing alone,
    // or two or three small ones, get none.
    Grid<float> edge;
    // Signed, positive where a second, darker stroke went over the first: along the crests,
    // where the peaks crowd and the ground stands highest of the range round it.
    Grid<float> crest;
    // How far the first wash's edge is feathered, in pixels: about one where the brush left it
    // crisp, several where it ran into damp paper.
    Grid<float> soft;
};

HeightsTan heightsTan(const Grid<unsigned char>& peaked, const Grid<float>& height);

}  // namespace marventa
