#include "tools/paint/heights_tan.h"

#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
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
    return boxBlur(boxBlur(edge, 10), 10);
}

}  // namespace marventa
