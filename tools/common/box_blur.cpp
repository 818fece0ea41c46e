#include "box_blur.h"

namespace marventa {

Grid<float> boxBlur(const Grid<float>& g, int r) {
    Grid<float> across(g.width(), g.height());
    for (int y = 0; y < g.height(); ++y) {
        for (int x = 0; x < g.width(); ++x) {
            float sum = 0.0f;
            for (int k = -r; k <= r; ++k) {
                sum += g.clamped(x + k, y);
            }
            across(x, y) = sum / static_cast<float>(2 * r + 1);
        }
    }
    Grid<float> out(g.width(), g.height());
    for (int y = 0; y < g.height(); ++y) {
        for (int x = 0; x < g.width(); ++x) {
            float sum = 0.0f;
            for (int k = -r; k <= r; ++k) {
                sum += across.clamped(x, y + k);
            }
            out(x, y) = sum / static_cast<float>(2 * r + 1);
        }
    }
    return out;
}

}  // namespace marventa
