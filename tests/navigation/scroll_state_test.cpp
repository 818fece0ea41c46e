#include "navigation/scroll_state.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace marventa {
namespace {

struct BarCase {
    int pictureWidth, pictureHeight;
    bool horizontalBar, verticalBar;
    int horizontalRange, verticalRange;  // the content: the picture widened to the client extent
};

class ScrollBars : public testing::TestWithParam<BarCase> {};

// Outer 646 x 610 with 14-pixel bars: client 642 x 606, or 628 x 592 beside the other bar.
TEST_P(ScrollBars, ShowWhileThePictureExceedsTheClientExtent) {
    const BarCase c = GetParam();
    ScrollState s(646, 610, 14);
    s.setPictureSize({c.pictureWidth, c.pictureHeight});
    EXPECT_EQ(s.horizontalBarShown(), c.horizontalBar);
    EXPECT_EQ(s.verticalBarShown(), c.verticalBar);
    EXPECT_EQ(s.clientWidth(), c.verticalBar ? 628 : 642);
    EXPECT_EQ(s.horizontalRange(), c.horizontalRange);
    EXPECT_EQ(s.verticalRange(), c.verticalRange);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, ScrollBars,
    testing::Values(BarCase{642, 606, false, false, 642, 606},  // exactly fits
                    BarCase{700, 500, true, false, 700, 592},   // shorter than the view
                    BarCase{700, 600, true, true, 700, 600},    // one bar calls the other
                    BarCase{642, 607, true, true, 642, 607},    // and back again
                    BarCase{300, 200, false, false, 642, 606},  // smaller on both axes
                    BarCase{0, 0, false, false, 642, 606}));    // no picture yet

TEST(ScrollState, ClampsAndRealignsOnlyWhenAPositionActuallyChanges) {
    ScrollState s(646, 610, 14);
    s.setPictureSize({3248, 2633});
    int realigns = 0;
    s.setOnRealign([&] { ++realigns; });
    s.setHorizontalPosition(99999);
    s.setVerticalPosition(-5);  // already 0
    EXPECT_EQ(s.horizontalPosition(), 3248 - 628);
    EXPECT_EQ(realigns, 1);

    s.setHorizontalPosition(3000);  // clamps to the same value
    s.setVerticalPosition(1000);
    s.setPictureSize({1000, 3000});  // pulls the horizontal position back, keeps the vertical one
    EXPECT_EQ(s.horizontalPosition(), 1000 - 628);
    EXPECT_EQ(s.verticalPosition(), 1000);
    EXPECT_EQ(realigns, 3);

    s.setPictureSize({600, 500});  // no bars: both back to 0
    EXPECT_EQ(s.verticalPosition(), 0);
    EXPECT_EQ(realigns, 5);
}

TEST(ScrollState, ContentFollowsTheClientExtentWhenTheViewGrowsPastThePicture) {
    ScrollState s(646, 610, 14);
    s.setPictureSize({1000, 500});
    s.setHorizontalPosition(9999);
    EXPECT_EQ(std::tuple(s.horizontalRange(), s.verticalRange()), std::tuple(1000, 592));
    s.resize(1200, 900);  // past the picture on both axes: no bars, nothing to scroll
    EXPECT_EQ(std::tuple(s.horizontalRange(), s.verticalRange()), std::tuple(1196, 896));
    EXPECT_EQ(s.horizontalPosition(), 0);
    s.resize(800, 900);  // narrower than the picture again
    EXPECT_EQ(std::tuple(s.horizontalRange(), s.verticalRange()), std::tuple(1000, 882));
    EXPECT_EQ(s.maxHorizontalPosition(), 1000 - 796);
}

TEST(ScrollState, ResizeRealignsWithTheOldSizeThenTheNew) {
    ScrollState s(646, 610, 14);
    s.setPictureSize({1500, 1000});
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
