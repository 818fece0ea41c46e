#include "scroll_state.h"

#include <gtest/gtest.h>

#include <vector>

namespace marventa {
namespace {

struct BarCase {
    int horizontalRange, verticalRange;
    bool horizontalBar, verticalBar;
};

class ScrollBars : public testing::TestWithParam<BarCase> {};

// Outer 646 x 610 with 14-pixel bars: client 642 x 606, or 628 x 592 beside the other bar.
TEST_P(ScrollBars, ShowWhileTheRangeExceedsTheClientExtent) {
    const BarCase c = GetParam();
    ScrollState s(646, 610, 14);
    s.setRanges(c.horizontalRange, c.verticalRange);
    EXPECT_EQ(s.horizontalBarShown(), c.horizontalBar);
    EXPECT_EQ(s.verticalBarShown(), c.verticalBar);
    EXPECT_EQ(s.clientWidth(), c.verticalBar ? 628 : 642);
}

INSTANTIATE_TEST_SUITE_P(Ranges, ScrollBars,
                         testing::Values(BarCase{642, 606, false, false},  // exactly fits
                                         BarCase{700, 500, true, false},
                                         BarCase{700, 600, true, true},  // one bar calls the other
                                         BarCase{642, 607, true, true}));  // and back again

TEST(ScrollState, ClampsAndRealignsOnlyWhenAPositionActuallyChanges) {
    ScrollState s(646, 610, 14);
    s.setRanges(3248, 2633);
    int realigns = 0;
    s.setOnRealign([&] { ++realigns; });
    s.setHorizontalPosition(99999);
    s.setVerticalPosition(-5);  // already 0
    EXPECT_EQ(s.horizontalPosition(), 3248 - 628);
    EXPECT_EQ(realigns, 1);

    s.setHorizontalPosition(3000);  // clamps to the same value
    s.setVerticalPosition(1000);
    s.setRanges(1000, 3000);  // pulls the horizontal position back, keeps the vertical one
    EXPECT_EQ(s.horizontalPosition(), 1000 - 628);
    EXPECT_EQ(s.verticalPosition(), 1000);
    EXPECT_EQ(realigns, 3);

    s.setRanges(600, 500);  // no bars: both back to 0
    EXPECT_EQ(s.verticalPosition(), 0);
    EXPECT_EQ(realigns, 5);
}

TEST(ScrollState, ResizeRealignsWithTheOldSizeThenTheNew) {
    ScrollState s(646, 610, 14);
    s.setRanges(1500, 1000);
    s.setHorizontalPosition(9999);
    std::vector<std::vector<int>> seen;  // width, height, horizontal position
    s.setOnRealign([&] {
        seen.push_back({s.outerWidth(), s.outerHeight(), s.horizontalPosition()});
    });
    s.resize(1004, 710);
    s.resize(1004, 710);  // no change, no realign
    // The larger client extent (986) pulls the position back before the second realign.
    EXPECT_EQ(seen,
              (std::vector<std::vector<int>>{{646, 610, 1500 - 628}, {1004, 710, 1500 - 986}}));
}

}  // namespace
}  // namespace marventa
