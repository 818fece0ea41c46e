#include "tools/paint/sea_strokes.h"

#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/noise.h"

namespace marventa {

Grid<float> seaStrokes(const Grid<float>& toLand, std::uint64_t seed) {
    const Noise bands(seed ^ 0x5EA5'0001ull);
    const Noise thinning(seed ^ 0x5EA5'0002ull);
    const Noise bend(seed ^ 0x5EA5'0003ull);
    const Noise deepening(seed ^ 0x5EA5'0004ull);
    // How much more the open sea's wash was laid than the shallows'.
    constexpr float kDeepening = 0.2f;
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
            // Off the coast the wash was laid again and again as the water deepens, its reach
            // wandering far from the shore's copy; and where the sheet lay a little hollow it
            // pooled in broad soft patches, each drying to a faint rim.
            const float reach = d + 90.0f * deepening.fbm(fx / 420.0f, fy / 420.0f - 7.0f, 2);
            const float depth = smoothstep(40.0f, 230.0f, reach);
            const float pool = deepening.fbm(fx / 260.0f + 31.0f, fy / 260.0f, 2) +
                               0.06f * bend.fbm(fx / 30.0f - 5.0f, fy / 30.0f, 2);
            const float pooled = smoothstep(0.1f, 0.32f, pool);
            const float rim =
                std::exp(-std::fabs(pool - 0.1f) / 0.025f) * smoothstep(-0.1f, 0.1f, pool);
            out(x, y) = clear * (0.03f * stroke - 0.07f * smoothstep(0.12f, 0.45f, thin)) +
                        kDeepening * depth + depth * (0.05f * pooled + 0.025f * rim);
        }
    }
    return out;
}

}  // namespace marventa
