#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "catalogue/city_directory.h"
#include "navigation/overview.h"
#include "navigation/ramka.h"
#include "navigation/view_mode.h"
#include "overview_pixels.h"
#include "tests/support/fake_navigation_ports.h"

namespace marventa {
namespace {

using test::changedPixels;
using test::outline;

const OverviewBitmap kPristine = test::patternedOverview();

struct FrameCase {
    const char* what;
    PictureRect rect;
    int l, t, r, b;  // scaled to the 198 x 164 control
};

class OverviewFrame : public testing::TestWithParam<FrameCase> {};

TEST_P(OverviewFrame, IsAClosedOutlineOfTheScaledRectangleClippedToTheBitmap) {
    const FrameCase c = GetParam();
    OverviewBitmap shown;
    renderOverview(shown, kPristine, {true, c.rect, {3248, 2633}, {}});
    EXPECT_EQ(changedPixels(shown, kPristine), outline(c.l, c.t, c.r, c.b));
}

INSTANTIATE_TEST_SUITE_P(
    Rects, OverviewFrame,
    testing::Values(FrameCase{"initialView", {0, 0, 646, 610}, 0, 0, 39, 37},
                    FrameCase{"pastBottomEdge", {2602, 2023, 3248, 2633}, 158, 126, 198, 164},
                    FrameCase{"oneColumn", {100, 500, 110, 1000}, 6, 31, 6, 62}),
    [](const auto& info) { return std::string(info.param.what); });

// A 10 x 10 marker: black ring, white inside, the box's corners untouched.
constexpr std::array<const char*, 10> kMarker{
    "...####...", ".##oooo##.", ".#oooooo#.", "#oooooooo#", "#oooooooo#",
    "#oooooooo#", "#oooooooo#", ".#oooooo#.", ".##oooo##.", "...####...",
};

class CityMarker : public testing::TestWithParam<CityEntry> {};

TEST_P(CityMarker, IsTheOnlyDrawingInCityViewWhateverTheRectangle) {
    const CityEntry& city = GetParam();
    FakeCityButtons buttons;
    buttons.checked[static_cast<std::size_t>(city.radioButton)] = true;
    Overview overview(kPristine, buttons);
    ViewMode = CityView;
    overview.Ramka({0, 0, 646, 610}, {city.mapWidth, city.mapHeight});

    OverviewBitmap expected = kPristine;
    for (int j = 0; j < 10; ++j) {
        for (int i = 0; i < 10; ++i) {
            if (kMarker[j][i] != '.') {
                const int at =
                    (city.marker.y1 + j) * OverviewBitmap::kStride + (city.marker.x1 + i) * 3;
                std::fill_n(&expected.rgb[at], 3, kMarker[j][i] == '#' ? 0 : 255);
            }
        }
    }
    EXPECT_EQ(overview.bitmap(), expected) << city.caption;
}

INSTANTIATE_TEST_SUITE_P(EachCity, CityMarker, testing::ValuesIn(kCityDirectory));

TEST(OverviewRamka, RedrawsFromThePristineCopyEachTime) {
    FakeCityButtons buttons;
    Overview overview(kPristine, buttons);
    ViewMode = ProvinceView;
    overview.Ramka({0, 0, 646, 610}, {3248, 2633});
    overview.Ramka({1600, 1300, 2246, 1910}, {3248, 2633});
    ViewMode = CityView;
    EXPECT_EQ(changedPixels(overview.bitmap(), kPristine), outline(97, 80, 136, 118));
    EXPECT_EQ(overview.pristine(), kPristine);
}

}  // namespace
}  // namespace marventa
