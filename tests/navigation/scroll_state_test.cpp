#include "scroll_state.h"

#include <gtest/gtest.h>

#include <vector>

namespace marventa {
namespace {

constexpr int kBar = 14;

struct BarCase {
    int horizontalRange;
    int verticalRange;
    bool horizontalBar;
    bool verticalBar;
};

class ScrollBars : public testing::TestWithParam<BarCase> {};

// Outer 646 x 610: client 642 x 606 without bars, 628 x 592 with the other bar.
TEST_P(ScrollBars, ShowWhileTheRangeExceedsTheClientExtent) {
    const BarCase c = GetParam();
    ScrollState s(646, 610, kBar);
    s.setRanges(c.horizontalRange, c.verticalRange);
    EXPECT_EQ(s.horizontalBarShown(), c.horizontalBar);
    EXPECT_EQ(s.verticalBarShown(), c.verticalBar);
    EXPECT_EQ(s.clientWidth(), 642 - (c.verticalBar ? kBar : 0));
    EXPECT_EQ(s.clientHeight(), 606 - (c.horizontalBar ? kBar : 0));
}

INSTANTIATE_TEST_SUITE_P(Ranges, ScrollBars,
                         testing::Values(BarCase{3248, 2633, true, true},
                                         BarCase{642, 606, false, false},  // exactly fits
                                         BarCase{700, 500, true, false},
                                         BarCase{700, 600, true, true},  // one bar calls the other
                                         BarCase{630, 700, true, true},
                                         BarCase{642, 607, true, true}));  // and back again

TEST(ScrollState, ClampsPositionsToRangeMinusClientExtent) {
    ScrollState s(646, 610, kBar);
    s.setRanges(3248, 2633);
    s.setHorizontalPosition(99999);
    s.setVerticalPosition(-5);
    EXPECT_EQ(s.horizontalPosition(), 3248 - 628);
    EXPECT_EQ(s.verticalPosition(), 0);

    s.setVerticalPosition(1000);
    s.setRanges(1000, 800);  // shrinking pulls positions back
    EXPECT_EQ(s.horizontalPosition(), 1000 - 628);
    EXPECT_EQ(s.verticalPosition(), 800 - 592);
    s.setRanges(3248, 2633);  // growing keeps them
    EXPECT_EQ(s.horizontalPosition(), 1000 - 628);

    s.setRanges(600, 500);  // no bars: position 0
    EXPECT_EQ(s.horizontalPosition(), 0);
    EXPECT_EQ(s.verticalPosition(), 0);
}

TEST(ScrollState, RealignsOnEachActualPositionChange) {
    ScrollState s(646, 610, kBar);
    s.setRanges(3248, 2633);
    int realigns = 0;
    s.setOnRealign([&] { ++realigns; });
    s.setHorizontalPosition(10);
    s.setVerticalPosition(20);
    EXPECT_EQ(realigns, 2);
    s.setHorizontalPosition(10);  // unchanged
    s.setVerticalPosition(-3);    // clamps to 0: a change
    s.setVerticalPosition(-9);    // still 0
    EXPECT_EQ(realigns, 3);
    s.setRanges(100, 100);  // clamps only the horizontal position
    EXPECT_EQ(realigns, 4);
}

TEST(ScrollState, ResizeRealignsWithOldSizeThenNew) {
    ScrollState s(646, 610, kBar);
    s.setRanges(1500, 1000);
    s.setHorizontalPosition(9999);
    struct Seen {
        int width, height, horizontal;
    };
    std::vector<Seen> seen;
    s.setOnRealign([&] {
        seen.push_back({s.outerWidth(), s.outerHeight(), s.horizontalPosition()});
    });

    s.resize(1004, 710);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].width, 646);
    EXPECT_EQ(seen[0].height, 610);
    EXPECT_EQ(seen[0].horizontal, 1500 - 628);
    EXPECT_EQ(seen[1].width, 1004);
    EXPECT_EQ(seen[1].height, 710);
    EXPECT_EQ(seen[1].horizontal, 1500 - 986);  // the larger view pulled it back

    s.resize(1004, 710);
    EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
}  // namespace marventa
