#include "tools/paint/heights_tan.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/patches.h"
#include "tools/land/terrain.h"
#include "tools/paint/crest_rank.h"
#include "tools/paint/ground_rise.h"

namespace marventa {

namespace {

// The peaks' groups as one signed field: the first wash's outline before the ground breaks it.
struct GroupWash {
    Grid<float> edge;
    Grid<float> thick;  // the peaks' ink spread over a few peaks' breadth
};

GroupWash groupWash(const Grid<unsigned char>& peaked) {
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
    Grid<float> thick = boxBlur(boxBlur(ink, 24), 24);
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
    return {std::move(out), std::move(thick)};
}

}  // namespace

HeightsTan heightsTan(const Grid<unsigned char>& peaked, const Grid<float>& height) {
    const int w = peaked.width();
    const int h = peaked.height();
    GroupWash group = groupWash(peaked);
    // The ground at a hill's breadth, and how it stands against the highest of the range round
    // it (a range's half width away): 1 on the crest, falling toward the foothills. Ground with
    // no range round it stands level with itself, all crest.
    const Grid<float> mass = boxBlur(boxBlur(height, 8), 8);
    constexpr int kCell = 8;
    constexpr int kAround = 24;  // coarse cells: about 200 px
    const Grid<float> top = boxBlur(highestAround(mass, kCell, kAround), 3);
    // The ground's own folds: spurs above the ground round them, valleys below, scaled by how
    // this range's folds run rather than by a fixed number.
    const Grid<float> ground = groundFolds(height, 3, 28);
    std::vector<float> folds;
    for (int y = 0; y < h; y += 4) {
        for (int x = 0; x < w; x += 4) {
            if (group.edge(x, y) > -20.0f) {
                folds.push_back(std::fabs(ground(x, y)));
            }
        }
    }
    float foldScale = 1e-4f;
    if (!folds.empty()) {
        const auto at = folds.begin() + static_cast<std::ptrdiff_t>(folds.size() * 9 / 10);
        std::nth_element(folds.begin(), at, folds.end());
        foldScale = std::max(foldScale, *at);
    }
    const Noise brush(0x7A4E'0002);
    HeightsTan tan{Grid<float>(w, h, 0.0f), Grid<float>(w, h, 0.0f), Grid<float>(w, h, 1.0f)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            const float highest = top.clamped(x / kCell, y / kCell);
            const float span = highest - kHeightsHeight;
            const float standing =
                span > 0.03f ? std::clamp((mass(x, y) - kHeightsHeight) / span, 0.0f, 1.0f) : 1.0f;
            const float fold = std::clamp(ground(x, y) / foldScale, -1.0f, 1.0f);
            const float valley = smoothstep(0.1f, 0.8f, -fold);
            const float spur = smoothstep(0.1f, 0.8f, fold);
            const float dense = smoothstep(0.05f, 0.3f, group.thick(x, y));
            // How far out in the foothills: the wash thins to patches there.
            // Along the group's outer edge too the brush left it broken, where the peaks thin.
            const float rim = (1.0f - smoothstep(0.0f, 16.0f, group.edge(x, y))) * (1.0f - dense) *
                              (1.0f - smoothstep(0.85f, 1.0f, standing));
            // Where the foothills begin wanders, so that the break-up keeps to no one level.
            const float from = standing + 0.3f * brush.fbm(fx / 130.0f - 40.0f, fy / 130.0f, 2);
            const float open = std::max(
                (1.0f - smoothstep(0.2f, 0.95f, from)) * (1.0f - 0.4f * dense), 0.7f * rim);
            // The brush laid its strokes in patches, long along the way it swept.
            const float patch = smoothstep(-0.3f, 0.45f,
                                           brush.fbm((0.9f * fx + 0.45f * fy) / 90.0f,
                                                     (-0.45f * fx + 0.9f * fy) / 45.0f, 3)) +
                                0.35f * brush.fbm(fx / 22.0f + 31.0f, fy / 22.0f, 2);
            tan.edge(x, y) = group.edge(x, y) - open * (5.0f + 16.0f * patch) -
                             valley * (5.0f + 14.0f * open) + 3.0f * spur * open;
            // The darker stroke along the crests, its edge wandering over a few dozen pixels.
            // Laid by where the peaks crowd more than by the height, or its edge would follow
            // one level round the range as a plateau's.
            tan.crest(x, y) = 0.15f * smoothstep(0.6f, 1.0f, standing) + 0.6f * dense +
                              0.25f * spur - 0.35f * valley +
                              0.25f * brush.fbm(fx / 60.0f - 17.0f, fy / 60.0f, 2) +
                              0.1f * brush.fbm(fx / 24.0f + 5.0f, fy / 24.0f, 2) - 0.55f;
            // Here and there the paper was still damp and the edge ran soft.
            const float damp = brush.fbm(fx / 170.0f + 53.0f, fy / 170.0f - 9.0f, 2);
            tan.soft(x, y) = 0.6f + 4.0f * smoothstep(0.12f, 0.4f, damp);
        }
    }
    return tan;
}

}  // namespace marventa
