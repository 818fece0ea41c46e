#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

#include "tools/common/grid.h"
#include "tools/water/terrain_water.h"
#include "tools/water/waterways.h"

using namespace marventa;

// A river that doubles back on itself, its two arms closer than the valley's reach, its bed
// falling fast between them: the valley walls between the arms must still change smoothly, or
// the hill shading shows a seam where the ground switches from one arm's bed to the other's.
TEST(ValleyCut, GroundStaysSmoothBetweenTwoStretchesOfRiver) {
    RiverLine river;
    for (int x = 20; x <= 220; x += 3) {
        river.points.emplace_back(x, 40);
    }
    for (int x = 220; x >= 20; x -= 3) {
        river.points.emplace_back(x, 90);
    }
    river.widths.assign(river.points.size(), 3.0f);
    std::vector<float> bed;
    for (std::size_t i = 0; i < river.points.size(); ++i) {
        bed.push_back(0.5f -
                      0.4f * static_cast<float>(i) / static_cast<float>(river.points.size()));
    }
    Grid<float> h(240, 140, 0.6f);
    cutValley(river, bed, 60.0f, h);
    float steepest = 0.0f;
    for (int y = 0; y + 1 < h.height(); ++y) {
        for (int x = 0; x + 1 < h.width(); ++x) {
            steepest = std::max(
                {steepest, std::fabs(h(x + 1, y) - h(x, y)), std::fabs(h(x, y + 1) - h(x, y))});
        }
    }
    // The steepest a wall falls from the plain to the lowest bed across the valley's reach.
    EXPECT_LT(steepest, 0.03f);
    // The river still lies in its bed.
    EXPECT_NEAR(h(120, 40), bed[33], 0.01f);
    EXPECT_LT(h(120, 65), 0.6f);
}
