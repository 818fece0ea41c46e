#include <vector>

#include <gtest/gtest.h>

#include "picture_fixtures.h"
#include "pictures/bitmap.h"
#include "pictures/picture_set.h"

namespace marventa {
namespace {

using testing::makeBitmap;

// 2 x 3 pixels: 6 bytes per row, so stored rows carry 2 bytes of padding.
const std::vector<std::uint8_t> kPixels{
    255, 0,   0,   0,  255, 0,   // red, green
    0,   0,   255, 10, 20,  30,  // blue, a mix
    200, 201, 202, 1,  2,   3,   // bottom row
};

TEST(Bitmap, DecodesToRgbRowsTopDownWhicheverWayTheyAreStored) {
    for (const int storedHeight : {3, -3}) {
        SCOPED_TRACE(storedHeight);
        const auto file = makeBitmap(2, storedHeight, kPixels);
        const BitmapLayout layout = readBitmapLayout(file);
        EXPECT_EQ(layout.width, 2);
        EXPECT_EQ(layout.height, 3);
        std::vector<std::uint8_t> rgb(kPixels.size());
        decodeBitmap(file, rgb, 6);
        EXPECT_EQ(rgb, kPixels);
    }
}

TEST(Bitmap, WritesRowsStrideApartAndLeavesTheGapAlone) {
    const auto file = makeBitmap(2, 3, kPixels);
    std::vector<std::uint8_t> rgb(8 * 2 + 6, 0xEE);
    decodeBitmap(file, rgb, 8);
    for (int y = 0; y < 3; ++y) {
        EXPECT_TRUE(
            std::equal(kPixels.begin() + 6 * y, kPixels.begin() + 6 * y + 6, rgb.begin() + 8 * y));
    }
    EXPECT_EQ(rgb[6], 0xEE);
    EXPECT_EQ(rgb[15], 0xEE);

    std::vector<std::uint8_t> tooSmall(8 * 2 + 5);
    EXPECT_THROW(decodeBitmap(file, tooSmall, 8), std::invalid_argument);
}

TEST(Bitmap, RefusesWhatItCannotShow) {
    const auto good = makeBitmap(2, 3, kPixels);
    const auto withByte = [&good](std::size_t at, std::uint8_t value) {
        auto file = good;
        file[at] = value;
        return file;
    };
    const std::vector<std::vector<std::uint8_t>> bad{
        {good.begin(), good.begin() + 40},  // headers cut short
        {good.begin(), good.end() - 1},     // last row cut short
        withByte(0, 'X'),                   // signature
        withByte(28, 32),                   // 32 bits per pixel
        withByte(30, 1),                    // run-length compressed
        withByte(18, 0),                    // zero width
        withByte(10, 20),                   // pixels inside the headers
        withByte(25, 0x7F),                 // absurd height
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_THROW(readBitmapLayout(bad[i]), PictureStreamError);
    }
}

}  // namespace
}  // namespace marventa
