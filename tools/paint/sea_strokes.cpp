#include "tools/paint/sea_strokes.h"

#include "tools/common/blend.h"
#include "tools/common/noise.h"

namespace marventa {

Grid<float> seaStrokes(const Grid<float>& toLand, std::uint64_t seed) {
    const Noise bands(seed ^ 0x5EA5'0001ull);
    const Noise thinning(seed ^ 0x5EA5'0002ull);
    const Noise bend(seed ^ 0x5EA5'0003ull);
    // A stroke about this wide, across its way.
    constexpr float kStroke = 30.0f;
    Grid<float> out(toLand.width(), toLand.height(), 0.0f);
    for (int y = 0; y < toLand.height(); ++y) {
        for (int x = 0; x < toLand.width(); ++x) {
            const float d = toLand(x, y);
            if (d <= 0.0f) {
                continue;
            }
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            // No stroke runs true: the hand slants a little and its way bends over a few hundred
            // pixels.
            const float bent = fy + 0.1f * fx + 24.0f * bend.fbm(fx / 380.0f, fy / 380.0f, 2);
            const float rows = bent / kStroke;
            const float stroke = bands.fbm(fx / 520.0f + 40.0f, rows, 2);
            const float thin = thinning.fbm(fx / 260.0f - 20.0f, rows * 1.8f, 2);
            // The shore's own edge stays as the wash dried against it.
            const float clear = smoothstep(5.0f, 18.0f, d);
            out(x, y) = clear * (0.03f * stroke - 0.07f * smoothstep(0.12f, 0.45f, thin));
        }
    }
    return out;
}

}  // namespace marventa
