#include "tools/paint/snow_cover.h"

#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/noise.h"

namespace marventa {

namespace {

constexpr float kSnowLine = 0.8f;  // on level ground facing neither way
constexpr float kLowest = 0.6f;    // no snow below this, whatever the slope

}  // namespace

Grid<unsigned char> snowCover(const Grid<float>& h) {
    const Noise drift(0x5A0E'0001);
    // A valley floor lies below the mean of the ground round it, a spur above.
    const Grid<float> near = boxBlur(h, 2);
    const Grid<float> wide = boxBlur(h, 10);
    Grid<unsigned char> cover(h.width(), h.height());
    for (int y = 0; y < h.height(); ++y) {
        for (int x = 0; x < h.width(); ++x) {
            const float v = h(x, y);
            if (v < kLowest) {
                continue;
            }
            // The slope's aspect over a wider stretch, so it turns gradually over a crest.
            const float dx = 0.25f * (wide.clamped(x + 2, y) - wide.clamped(x - 2, y));
            const float dy = 0.25f * (wide.clamped(x, y + 2) - wide.clamped(x, y - 2));
            const float slope = std::hypot(dx, dy);
            // Ground rising southward faces north, away from the sun.
            const float north =
                slope > 1e-5f ? dy / slope * smoothstep(0.0005f, 0.003f, slope) : 0.0f;
            const float hollow = std::clamp((wide(x, y) - near(x, y)) * 10.0f, -0.12f, 0.2f);
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            // Shade keeps more snow than the sun takes: north faces gain more than south ones lose.
            const float line = kSnowLine - 0.12f * std::max(north, 0.0f) -
                               0.06f * std::min(north, 0.0f) - hollow +
                               0.26f * drift.fbm(fx / 150.0f, fy / 150.0f, 2) +
                               0.05f * drift.fbm(fx / 36.0f + 20.0f, fy / 36.0f, 3) +
                               0.02f * drift.fbm(fx / 9.0f + 40.0f, fy / 9.0f, 2);
            const float snow = smoothstep(line, line + 0.025f, v) *
                               (1.0f - 0.75f * smoothstep(0.009f, 0.016f, slope));
            cover(x, y) = static_cast<unsigned char>(255.0f * std::clamp(snow, 0.0f, 1.0f));
        }
    }
    return cover;
}

}  // namespace marventa
