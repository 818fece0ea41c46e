#include "tools/paint/ground_rise.h"

#include <algorithm>

#include "tools/common/box_blur.h"

namespace marventa {

Grid<float> groundRise(const Grid<float>& height) {
    // The country round a pixel is its land alone: counting the sea in would set every coast
    // up as a rise above it.
    Grid<float> land(height.width(), height.height(), 0.0f);
    Grid<float> dry(height.width(), height.height(), 0.0f);
    for (int y = 0; y < height.height(); ++y) {
        for (int x = 0; x < height.width(); ++x) {
            land(x, y) = std::max(height(x, y), 0.0f);
            dry(x, y) = height(x, y) > 0.0f ? 1.0f : 0.0f;
        }
    }
    const Grid<float> near = boxBlur(boxBlur(land, 6), 6);
    const Grid<float> round = boxBlur(boxBlur(land, 55), 55);
    const Grid<float> share = boxBlur(boxBlur(dry, 55), 55);
    Grid<float> rise(height.width(), height.height(), 0.0f);
    for (int y = 0; y < height.height(); ++y) {
        for (int x = 0; x < height.width(); ++x) {
            rise(x, y) = near(x, y) - round(x, y) / std::max(share(x, y), 1e-3f);
        }
    }
    return rise;
}

Grid<float> groundFolds(const Grid<float>& height, int near, int round) {
    Grid<float> folds = boxBlur(boxBlur(height, near), near);
    const Grid<float> wide = boxBlur(boxBlur(height, round), round);
    for (std::size_t i = 0; i < folds.cells().size(); ++i) {
        folds.cells()[i] -= wide.cells()[i];
    }
    return folds;
}

}  // namespace marventa
