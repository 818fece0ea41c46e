#include "tools/paint/heights_tan.h"

#include <algorithm>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/patches.h"

namespace marventa {

Grid<float> heightsTanEdge(const Grid<unsigned char>& peaked) {
    // Peaks less than twice this apart share one wash.
    constexpr float kBridge = 40.0f;
    // How far the wash runs past the group's outer peaks.
    constexpr float kReach = 14.0f;
    // The drawn peaks' pixels a group needs for a wash of its own: about four middling peaks.
    constexpr float kGroupArea = 3000.0f;
    const int w = peaked.width();
    const int h = peaked.height();
    const Grid<float> toPeaks = distanceTo(peaked, kBridge + 1.0f);
    Grid<unsigned char> grown(w, h, 0);
    Grid<float> ink(w, h, 0.0f);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            grown(x, y) = toPeaks(x, y) <= kBridge ? 1 : 0;
            ink(x, y) = peaked(x, y) != 0 ? 1.0f : 0.0f;
        }
    }
    const Grid<float> area = patchSums(grown, ink);
    // The groups grown out and eaten back in (a closing): what is left hugs the group's outline
    // and fills the bays between its peaks.
    Grid<unsigned char> bare(w, h, 1);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bare(x, y) = grown(x, y) != 0 && area(x, y) >= kGroupArea ? 0 : 1;
        }
    }
    const Grid<float> inward = distanceTo(bare, kBridge + 1.0f);
    Grid<float> edge(w, h, 0.0f);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            edge(x, y) = inward(x, y) - (kBridge - kReach);
        }
    }
    // Softened, the rounded lobe round each outer peak's tip runs into one sweep.
    const Grid<float> laid = boxBlur(boxBlur(edge, 10), 10);
    // Where the peaks stand thin (a spur running out, a group's far end) the wash narrows to
    // them and tapers off rather than ending in a round rim.
    const Grid<float> thick = boxBlur(boxBlur(ink, 24), 24);
    // The brush carried the wash down the shaded south-east flanks and drew it in on the lit
    // north-west, where it dried in skips.
    constexpr int kCarryX = 12;
    constexpr int kCarryY = 9;
    const Noise skips(0x7A4E'0001);
    Grid<float> out(w, h, 0.0f);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float here = laid(x, y);
            const float carried = laid.clamped(x - kCarryX, y - kCarryY);
            const float lit = smoothstep(0.0f, 10.0f, here - carried);
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            const float dry = std::max(0.0f, skips.fbm(fx / 32.0f, fy / 32.0f, 2) + 0.15f) +
                              0.5f * std::max(0.0f, skips.fbm(fx / 90.0f + 9.0f, fy / 90.0f, 2));
            const float thin = 1.0f - smoothstep(0.05f, 0.16f, thick(x, y));
            out(x, y) = std::max(here - 4.0f - 16.0f * lit * dry, carried + 3.0f) - 10.0f * thin;
        }
    }
    return out;
}

}  // namespace marventa
