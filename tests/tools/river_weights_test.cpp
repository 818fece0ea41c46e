#include <gtest/gtest.h>

#include <algorithm>

#include "tools/paint/river_weights.h"

using namespace marventa;

namespace {

// A line due south, a point every 4 px, `widths(i)` wide at point i.
template <class Width>
RiverLine southward(int points, Width widths) {
    RiverLine r{{}, {}, {}, false};
    for (int i = 0; i < points; ++i) {
        r.points.emplace_back(100.0, 100.0 + 4.0 * i);
        r.widths.push_back(widths(i));
    }
    return r;
}

}  // namespace

// A brook rises as a hairline, widens slowly and steps up plainly where another joins it; one
// flowing out of a lake is full width from its first point.
TEST(RiverWeights, ABrookRisesAsAHairlineAndStepsUpAtAJoin) {
    // 600 px: the drained width creeps from 1.3 to 1.6, then a feeder joins at point 100.
    const RiverLine brook =
        southward(150, [](int i) { return i < 100 ? 1.3f + 0.3f * i / 100.0f : 2.6f; });
    const Taper pen{300.0, 0.55 / 1.3, false, 0.35f};
    const std::vector<float> w = taperedFromSource(brook, false, pen);
    ASSERT_EQ(w.size(), brook.points.size());
    EXPECT_NEAR(w.front(), 0.55f, 0.1f) << "no hairline at the spring";
    EXPECT_GT(w[97] / w.front(), 2.0f) << "hardly widens down its course";
    // The feeder's water drawn a third over: a step of well over a pixel.
    EXPECT_GT(w[103] - w[97], 1.15f);
    EXPECT_GT(w.back(), 2.6f);
    const std::vector<float> fromLake = taperedFromSource(brook, true, pen);
    EXPECT_GT(fromLake.front(), 1.0f) << "a lake's outflow starts as a thread";
    // Rising over its first 30 px, the thread fades in from nothing and is the same past it.
    Taper rising = pen;
    rising.rise = 30.0;
    const std::vector<float> faded = taperedFromSource(brook, false, rising);
    EXPECT_LT(faded.front(), 0.1f) << "a blunt start at the spring";
    EXPECT_LT(faded[3], w[3]);
    EXPECT_FLOAT_EQ(faded[10], w[10]);
    EXPECT_GT(taperedFromSource(brook, true, rising).front(), 1.0f);
    EXPECT_TRUE(taperedFromSource(RiverLine{}, false, pen).empty());
}

// A brook bent into a broad river over its last 40 px keeps its own width to its end rather than
// swelling to the river's beside it; upstream of that it is left as it was.
TEST(RiverWeights, ABrookKeepsItsOwnWidthIntoTheLineItFeeds) {
    // 400 px at 4 px: 1.5 wide, ramping to the river's 8 px over the last ten points.
    const RiverLine brook =
        southward(100, [](int i) { return i < 90 ? 1.5f : 1.5f + 6.5f * (i - 89) / 10.0f; });
    const std::vector<float> own = ownWidthToTheEnd(brook, 48.0);
    ASSERT_EQ(own.size(), brook.widths.size());
    EXPECT_FLOAT_EQ(own.back(), 1.5f);
    EXPECT_TRUE(std::equal(own.begin(), own.begin() + 88, brook.widths.begin()));
    EXPECT_TRUE(ownWidthToTheEnd(RiverLine{}, 48.0).empty());
}

// The funnel is measured against the river's own width some way up: nothing upstream of it, all
// of the flared stretch, and it eases off at the very mouth where the banks meet the coast.
TEST(RiverWeights, AFunnelIsTheFlaredStretchShortOfTheMouth) {
    // 400 px at 4 px, flaring from 4 px over the last 100 px to 36 px at the mouth.
    const RiverLine river = southward(100, [](int i) {
        const float u = std::max(0.0f, (i - 75) / 24.0f);
        return 4.0f + 32.0f * u * u;
    });
    const std::vector<float> share = funnelShare(river.points, river.widths);
    ASSERT_EQ(share.size(), river.points.size());
    for (int i = 0; i < 80; ++i) {
        EXPECT_EQ(share[static_cast<std::size_t>(i)], 0.0f) << "at point " << i;
    }
    EXPECT_GT(share[94], 0.9f);
    EXPECT_LT(share.back(), 0.05f);
    EXPECT_TRUE(funnelShare({{0, 0}}, {1.0f}).size() == 1u);
}
