#include "navigation/viewport.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "catalogue/coordinate.h"
#include "navigation/scroll_state.h"
#include "navigation/view_mode.h"
#include "overview_pixels.h"
#include "tests/support/fake_navigation_ports.h"

namespace marventa {
namespace {

using test::outline;

// The initial window: outer viewport 646 x 610 with 14-pixel bars, province map 3248 x 2633.
// Label rules use Hmax 2602 and Vmax 2023; the view clamps at 2620 and 2041.
class ViewportTest : public testing::Test {
  protected:
    ViewportTest() {
        ViewMode = ProvinceView;
        scroll.setOnRealign([this] { viewport.ScrollBox1CanResize(); });
        overview.setOnChanged([this] { ++redraws; });
        viewport.setContent({3248, 2633});
    }
    ~ViewportTest() override { ViewMode = CityView; }

    std::set<test::Pixel> frameShown() const {
        return test::changedPixels(overview.bitmap(), overview.pristine());
    }
    std::tuple<int, int> positions() const {
        return {scroll.horizontalPosition(), scroll.verticalPosition()};
    }

    ScrollState scroll{646, 610, 14};
    FakeLabel label;
    FakeStatus status;
    FakeCityButtons buttons;
    Overview overview{test::patternedOverview(), buttons};
    Viewport viewport{scroll, label, status, overview};
    int redraws = 0;
};

struct PokazCase {
    const char* what;
    int x, y;
    int left, top;             // label
    int horizontal, vertical;  // positions read back
};

class PokazPlacement : public ViewportTest, public testing::WithParamInterface<PokazCase> {};

TEST_P(PokazPlacement, PlacesTheLabelAndScrollsToTheClampedPositions) {
    const PokazCase c = GetParam();
    label.left = label.top = -999;  // a previous placement must never survive
    viewport.Pokaz("Hollow Reed", std::to_string(c.x), std::to_string(c.y));
    EXPECT_EQ(std::tuple(label.left, label.top), std::tuple(c.left, c.top));
    EXPECT_EQ(positions(), std::tuple(c.horizontal, c.vertical));
    EXPECT_TRUE(label.visible);
    EXPECT_EQ(label.caption, "Hollow Reed");
    EXPECT_EQ(status.panels[0], "Hollow Reed");
}

INSTANTIATE_TEST_SUITE_P(
    Points, PokazPlacement,
    testing::Values(PokazCase{"middle", 1500, 1200, 313, 320, 1177, 895},
                    PokazCase{"topLeft", 100, 50, 90, 70, 0, 0},
                    PokazCase{"bottomRight", 3200, 2600, 558, 577, 2620, 2041},
                    PokazCase{"pastLabelMaxWithinClamp", 2933, 1200, 291, 320, 2610, 895},
                    // Offsets of exactly 0 or the maximum take the middle rule.
                    PokazCase{"offsetZero", 323, 305, 313, 320, 0, 0},
                    PokazCase{"offsetMax", 2925, 2328, 313, 320, 2602, 2023},
                    PokazCase{"justBelowZero", 322, 304, 312, 324, 0, 0},
                    PokazCase{"justAboveMax", 2926, 2329, 284, 306, 2603, 2024}),
    [](const auto& info) { return std::string(info.param.what); });

// A window enlarged past the picture on one axis or both: the content is the picture widened to
// the client extent, and the label rules and the frame measure against it.
struct EnlargedCase {
    const char* what;
    int outerWidth, outerHeight;
    int pictureWidth, pictureHeight;
    int x, y;
    int left, top;             // label
    int horizontal, vertical;  // positions read back
    int contentWidth, contentHeight;
};

class EnlargedView : public testing::TestWithParam<EnlargedCase> {};

TEST_P(EnlargedView, LabelsThePointWhereItIsShown) {
    const EnlargedCase c = GetParam();
    ViewMode = CityView;
    ScrollState scroll(c.outerWidth, c.outerHeight, 14);
    FakeLabel label;
    FakeStatus status;
    FakeCityButtons buttons;
    Overview overview(test::patternedOverview(), buttons);
    Viewport viewport(scroll, label, status, overview);
    viewport.setContent({c.pictureWidth, c.pictureHeight});
    label.left = label.top = -999;
    viewport.Pokaz("Fish Market", std::to_string(c.x), std::to_string(c.y));
    EXPECT_EQ(std::tuple(label.left, label.top), std::tuple(c.left, c.top));
    EXPECT_EQ(std::tuple(scroll.horizontalPosition(), scroll.verticalPosition()),
              std::tuple(c.horizontal, c.vertical));
    EXPECT_EQ(viewport.content(), (Size{c.contentWidth, c.contentHeight}));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, EnlargedView,
    testing::Values(
        // A maximised window on a 1920 x 1080 screen showing Tolvane, smaller on both axes.
        EnlargedCase{"widerAndTaller", 1720, 981, 1488, 830, 939, 581, 903, 585, 0, 0, 1716, 977},
        // Orlheim is narrower but taller than the view: one bar, content widened beside it.
        EnlargedCase{"widerOnly", 1720, 981, 1020, 1260, 500, 900, 490, 621, 0, 283, 1702, 1260},
        EnlargedCase{"tallerOnly", 800, 1300, 1488, 830, 1000, 400, 390, 420, 600, 0, 1488, 1282}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(ViewportTest, FrameAndOverviewClicksScaleByTheContentOfAWideView) {
    scroll.resize(3400, 700);  // wider than the province: content 3382 beside the vertical bar
    ASSERT_EQ(viewport.content(), (Size{3382, 2633}));
    viewport.Pokaz("Ash Ford", "1600", "1300");
    EXPECT_EQ(std::tuple(label.left, label.top), std::tuple(1590, 365));
    EXPECT_EQ(frameShown(), outline(0, 59, 199, 102));
    viewport.Image2Click({99, 82});
    EXPECT_EQ(positions(), std::tuple(0, 82 * 2633 / 164 - 350));
}

TEST_F(ViewportTest, FrameFollowsTheClampedView) {
    viewport.ScrollBox1CanResize();
    EXPECT_EQ(frameShown(), outline(0, 0, 39, 37));

    // One refresh per position change, then Pokaz's own; the bottom edge at 165 is off the bitmap.
    viewport.Pokaz("Saltmarsh Cairn", "3200", "2600");
    EXPECT_EQ(redraws, 1 + 3);
    EXPECT_EQ(frameShown(), outline(159, 127, 199, 165));
}

TEST_F(ViewportTest, BadCoordinateChangesNothing) {
    viewport.Pokaz("Old Well", "1500", "1200");
    const FakeLabel labelBefore = label;
    const OverviewBitmap overviewBefore = overview.bitmap();
    for (const auto& [x, y, bad] : {std::tuple{"12a", "100", "12a"}, std::tuple{"100", "", ""}}) {
        try {
            viewport.Pokaz("Nowhere", x, y);
            ADD_FAILURE() << "no error for " << x << ", " << y;
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(bad) + "' is not a valid integer value");
        }
        EXPECT_EQ(positions(), std::tuple(1177, 895));
        EXPECT_EQ(std::tuple(label.caption, label.left, label.top),
                  std::tuple(labelBefore.caption, labelBefore.left, labelBefore.top));
        EXPECT_EQ(status.panels[0], "Old Well");
        EXPECT_EQ(redraws, 3);
        EXPECT_EQ(overview.bitmap(), overviewBefore);
    }
}

TEST_F(ViewportTest, ClicksCentreTheMainMapButTheOverviewOnlyInProvinceView) {
    viewport.Image2Click({99, 82});
    EXPECT_EQ(positions(), std::tuple(99 * 3248 / 198 - 323, 82 * 2633 / 164 - 305));
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(frameShown(), outline(79, 62, 118, 100));

    ViewMode = CityView;
    viewport.setContent({1844, 1176});
    viewport.Image2Click({10, 10});
    EXPECT_EQ(positions(), std::tuple(1844 - 628, 1176 - 592));  // clamped by the new ranges only
    viewport.Image1Click({1000, 700});
    EXPECT_EQ(positions(), std::tuple(677, 395));
    viewport.Image1Click({1700, 1100});
    EXPECT_EQ(positions(), std::tuple(1844 - 628, 1176 - 592));
    EXPECT_EQ(redraws, 2);  // a city view has no frame to follow
}

}  // namespace
}  // namespace marventa
