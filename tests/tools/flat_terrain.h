#pragma once

#include "tools/land/terrain.h"

namespace marventa::test {

// Level ground `ground` high over a `width` × `height` sheet, with no water, woods or cover on it,
// for a test to lay out its own.
inline Terrain flatTerrain(int width, int height, float ground) {
    return {Grid<float>(width, height, ground),
            Grid<float>(width, height, 0.0f),
            Grid<unsigned char>(width, height, 0),
            Grid<unsigned char>(width, height, 0),
            Grid<unsigned char>(width, height, 0),
            Grid<unsigned char>(width, height, 0),
            {}};
}

}  // namespace marventa::test
