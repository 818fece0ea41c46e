#include "viewport.h"

#include <gtest/gtest.h>

#include <string>

#include "coordinate.h"
#include "fake_navigation_ports.h"
#include "overview_pixels.h"
#include "scroll_state.h"
#include "view_mode.h"

namespace marventa {
namespace {

using test::changedPixels;
using test::outline;

// The initial window: outer viewport 646 x 610, province map 3248 x 2633, 14-pixel bars.
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
        return changedPixels(overview.bitmap(), overview.pristine());
    }

    ScrollState scroll{646, 610, 14};
    FakeLabel label;
    FakeStatus status;
    FakeCityButtons buttons;
    Overview overview{test::patternedOverview(), buttons};
    Viewport viewport{scroll, label, status, overview};
    int redraws = 0;
};

TEST_F(ViewportTest, InitialFrameCoversTheVisibleCorner) {
    viewport.ScrollBox1CanResize();
    EXPECT_EQ(frameShown(), outline(0, 0, 39, 37));
}

struct PokazCase {
    const char* what;
    int x, y;
    int left, top;             // label
    int horizontal, vertical;  // positions read back
};

class PokazPlacement : public ViewportTest, public testing::WithParamInterface<PokazCase> {};

// Hmax = 3248 - 646 = 2602 and Vmax = 2633 - 610 = 2023, while the view clamps at 2620 and 2041.
TEST_P(PokazPlacement, PlacesLabelAndScrollsToTheClampedPositions) {
    const PokazCase c = GetParam();
    label.left = label.top = -999;  // a previous placement must never survive
    viewport.Pokaz("Hollow Reed", std::to_string(c.x), std::to_string(c.y));
    EXPECT_EQ(label.left, c.left);
    EXPECT_EQ(label.top, c.top);
    EXPECT_EQ(scroll.horizontalPosition(), c.horizontal);
    EXPECT_EQ(scroll.verticalPosition(), c.vertical);
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

TEST_F(ViewportTest, PokazRefreshesPerPositionChangeThenFramesTheClampedView) {
    viewport.Pokaz("Saltmarsh Cairn", "3200", "2600");
    EXPECT_EQ(redraws, 3);
    // Frame (159, 127)-(199, 165): the bottom edge lies past the bitmap and is not drawn.
    EXPECT_EQ(frameShown(), outline(159, 127, 199, 165));
}

TEST_F(ViewportTest, BadCoordinateChangesNothing) {
    viewport.Pokaz("Old Well", "1500", "1200");
    const FakeLabel labelBefore = label;
    const OverviewBitmap overviewBefore = overview.bitmap();
    const int redrawsBefore = redraws;
    for (const auto& [x, y, bad] : {std::tuple{"12a", "100", "12a"}, std::tuple{"100", "", ""}}) {
        try {
            viewport.Pokaz("Nowhere", x, y);
            ADD_FAILURE() << "no error for " << x << ", " << y;
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(bad) + "' is not a valid integer value");
        }
        EXPECT_EQ(scroll.horizontalPosition(), 1177);
        EXPECT_EQ(scroll.verticalPosition(), 895);
        EXPECT_EQ(label.caption, labelBefore.caption);
        EXPECT_EQ(label.left, labelBefore.left);
        EXPECT_EQ(label.top, labelBefore.top);
        EXPECT_EQ(status.panels[0], "Old Well");
        EXPECT_EQ(redraws, redrawsBefore);
        EXPECT_EQ(overview.bitmap(), overviewBefore);
    }
}

TEST_F(ViewportTest, OverviewClickCentresTheProvinceAndTheFrameFollows) {
    viewport.Image2Click({99, 82});
    EXPECT_EQ(scroll.horizontalPosition(), 99 * 3248 / 198 - 323);
    EXPECT_EQ(scroll.verticalPosition(), 82 * 2633 / 164 - 305);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(frameShown(), outline(79, 62, 118, 100));
}

TEST_F(ViewportTest, OverviewClickInCityViewChangesNothing) {
    ViewMode = CityView;
    viewport.Image2Click({99, 82});
    EXPECT_EQ(scroll.horizontalPosition(), 0);
    EXPECT_EQ(scroll.verticalPosition(), 0);
    EXPECT_EQ(redraws, 0);
}

TEST_F(ViewportTest, MainMapClickCentresInEitherView) {
    viewport.Image1Click({1000, 700});
    EXPECT_EQ(scroll.horizontalPosition(), 677);
    EXPECT_EQ(scroll.verticalPosition(), 395);
    EXPECT_EQ(redraws, 2);

    ViewMode = CityView;
    viewport.setContent({1844, 1176});
    viewport.Image1Click({1700, 1100});  // clamped to 1844 - 628 and 1176 - 592
    EXPECT_EQ(scroll.horizontalPosition(), 1216);
    EXPECT_EQ(scroll.verticalPosition(), 584);
    EXPECT_EQ(redraws, 2);  // a city view has no frame to follow
}

}  // namespace
}  // namespace marventa
