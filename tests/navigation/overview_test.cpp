#include <gtest/gtest.h>

#include <array>
#include <string>

#include "city_directory.h"
#include "fake_navigation_ports.h"
#include "overview.h"
#include "overview_pixels.h"
#include "ramka.h"
#include "raster.h"
#include "view_mode.h"

namespace marventa {
namespace {

using test::changedPixels;
using test::outline;
using test::Pixel;

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
                    FrameCase{"flat", {100, 500, 110, 1000}, 6, 31, 6, 62}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(Strokes, CoverTheStartAndStopOneShortInEveryDirection) {
    struct Case {
        int x0, y0, x1, y1;
        std::set<Pixel> covered;
    };
    const Case cases[] = {
        {5, 7, 8, 7, {{5, 7}, {6, 7}, {7, 7}}},
        {8, 7, 5, 7, {{8, 7}, {7, 7}, {6, 7}}},
        {3, 9, 3, 6, {{3, 9}, {3, 8}, {3, 7}}},
        {4, 4, 4, 4, {}},
        {-2, 0, 1, 0, {{0, 0}}},  // clipped on the left
        {199, 159, 199, 170, {{199, 159}, {199, 160}, {199, 161}}},
        {10, 162, 20, 162, {}},  // wholly below the bitmap
    };
    for (const Case& c : cases) {
        OverviewBitmap b = kPristine;
        strokeAxisAligned(b, c.x0, c.y0, c.x1, c.y1, kBlack);
        EXPECT_EQ(changedPixels(b, kPristine), c.covered)
            << "(" << c.x0 << "," << c.y0 << ")->(" << c.x1 << "," << c.y1 << ")";
    }
}

// A 10 x 10 marker: black ring, white inside, the box's corners untouched.
constexpr std::array<const char*, 10> kMarker{
    "...####...", ".##oooo##.", ".#oooooo#.", "#oooooooo#", "#oooooooo#",
    "#oooooooo#", "#oooooooo#", ".#oooooo#.", ".##oooo##.", "...####...",
};

class CityMarker : public testing::TestWithParam<int> {};

TEST_P(CityMarker, IsTheOnlyDrawingInCityViewWhateverTheRectangle) {
    const CityEntry& city = kCityDirectory[static_cast<std::size_t>(GetParam())];
    FakeCityButtons buttons;
    buttons.checked[static_cast<std::size_t>(city.radioButton)] = true;
    Overview overview(kPristine, buttons);
    ViewMode = CityView;
    overview.Ramka({0, 0, 646, 610}, {city.mapWidth, city.mapHeight});

    const OverviewBitmap& shown = overview.bitmap();
    std::set<Pixel> expectedChanged;
    for (int j = 0; j < 10; ++j) {
        for (int i = 0; i < 10; ++i) {
            const int x = city.marker.x1 + i;
            const int y = city.marker.y1 + j;
            const auto at = static_cast<std::size_t>(y * OverviewBitmap::kStride + x * 3);
            const char want = kMarker[j][i];
            if (want == '.') {
                continue;
            }
            expectedChanged.insert({x, y});
            const std::uint8_t level = want == '#' ? 0 : 255;
            EXPECT_TRUE(shown.rgb[at] == level && shown.rgb[at + 1] == level &&
                        shown.rgb[at + 2] == level)
                << city.caption << " at (" << i << "," << j << ")";
        }
    }
    EXPECT_EQ(changedPixels(shown, kPristine), expectedChanged) << city.caption;
}

INSTANTIATE_TEST_SUITE_P(EachCity, CityMarker, testing::Range(0, 8));

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
