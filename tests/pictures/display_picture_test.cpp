#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/decode_ahead.h"
#include "pictures/display_picture.h"
#include "pictures/picture_record.h"
#include "pictures/picture_set.h"

namespace marventa {
namespace {

const PictureHolder& holder(std::string_view name) {
    return PictureSet::embedded().holder(name);
}

TEST(DisplayPicture, SharesTheHolderBytesAndDecodesOnlyWhenAsked) {
    const PictureHolder& tolvane = holder("tolvane");
    DisplayPicture shown(tolvane);
    EXPECT_EQ(shown.bytes().data(), tolvane.bytes().data());
    EXPECT_EQ(shown.bytes().size(), tolvane.bytes().size());
    EXPECT_EQ(shown.width(), 1488);
    EXPECT_EQ(shown.height(), 830);
    EXPECT_FALSE(shown.isDecoded());

    const DecodedPicture& first = shown.pixels();
    EXPECT_TRUE(shown.isDecoded());
    EXPECT_EQ(first.width, 1488);
    EXPECT_EQ(first.height, 830);
    // Kept for repainting: the second call does not decode again.
    const std::uint8_t* pixels = first.rgb.data();
    EXPECT_EQ(shown.pixels().rgb.data(), pixels);

    // Moving the copy moves its pixels along.
    DisplayPicture moved = std::move(shown);
    EXPECT_TRUE(moved.isDecoded());
    EXPECT_EQ(moved.pixels().rgb.data(), pixels);

    moved.release();
    EXPECT_FALSE(moved.isDecoded());
    EXPECT_EQ(moved.bytes().data(), tolvane.bytes().data());
}

TEST(DisplayPicture, SwitchingPicturesReusesThePixelMemory) {
    DisplayPicture shown(holder(kProvinceHolder));
    const std::uint8_t* memory = shown.pixels().rgb.data();
    EXPECT_EQ(shown.pixels().width, 3248);

    // The window replaces its copy: the old pixels go back before the new picture decodes.
    shown = DisplayPicture(holder("crowncitymap"));
    EXPECT_FALSE(shown.isDecoded());
    EXPECT_EQ(shown.pixels().rgb.data(), memory);
    EXPECT_EQ(shown.pixels().height, 2167);

    shown = DisplayPicture(holder(kProvinceHolder));
    EXPECT_EQ(shown.pixels().rgb.data(), memory);
}

TEST(DisplayPicture, DecodesTheOverviewBitmap) {
    DisplayPicture overview(holder(kOverviewHolder));
    const DecodedPicture& pixels = overview.pixels();
    EXPECT_EQ(pixels.width, 200);
    EXPECT_EQ(pixels.height, 162);
    // Top-left pixel: the last stored row's first pixel, blue-green-red turned around.
    const auto file = overview.bytes();
    const std::size_t lastRow = 54 + 161 * 600;
    EXPECT_EQ(pixels.rgb[0], file[lastRow + 2]);
    EXPECT_EQ(pixels.rgb[1], file[lastRow + 1]);
    EXPECT_EQ(pixels.rgb[2], file[lastRow]);
}

bool samePixels(const DecodedPicture& a, const DecodedPicture& b) {
    return a.width == b.width && a.height == b.height && a.stride == b.stride &&
           std::equal(a.rgb.begin(), a.rgb.end(), b.rgb.begin(), b.rgb.end());
}

TEST(DecodeAhead, TheFirstDrawTakesTheWorkersPixelsAndOnlyForItsOwnPicture) {
    DecodeAhead ahead(holder("tolvane"));
    DisplayPicture other(holder("orlheim"));
    other.decodeFrom(ahead);  // not its picture: decodes by itself
    DisplayPicture reference(holder("orlheim"));
    EXPECT_TRUE(samePixels(other.pixels(), reference.pixels()));
    reference.release();

    DisplayPicture shown(holder("tolvane"));
    shown.decodeFrom(ahead);
    EXPECT_FALSE(shown.isDecoded());
    const DecodedPicture& pixels = shown.pixels();
    DisplayPicture decodedHere(holder("tolvane"));
    EXPECT_TRUE(samePixels(pixels, decodedHere.pixels()));
}

TEST(DecodeAhead, AnErrorSurfacesAtTheDrawThatNeedsThePixels) {
    // The header survives, so the size is known, but the file ends before the first scan.
    const std::span<const std::uint8_t> good = holder("tolvane").bytes();
    const std::uint8_t scan[] = {0xFF, 0xDA};
    const auto cut = std::search(good.begin(), good.end(), std::begin(scan), std::end(scan));
    std::vector<std::uint8_t> stream;
    appendPictureRecord(stream, "broken", kJpegTag, std::span(good.begin(), cut));
    const PictureSet broken = PictureSet::parse(stream);

    DecodeAhead ahead(broken.holder("broken"));
    DisplayPicture shown(broken.holder("broken"));
    shown.decodeFrom(ahead);
    for (int draw = 0; draw < 2; ++draw) {  // the second draw decodes again, here
        try {
            shown.pixels();
            ADD_FAILURE() << "no error at draw " << draw;
        } catch (const JpegError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("JPEG error #", 0), 0u) << error.what();
        }
        EXPECT_FALSE(shown.isDecoded());
    }
}

TEST(DecodeAhead, AResultNeverTakenIsWaitedForAndItsPixelMemoryGoesBack) {
    DisplayPicture first(holder(kProvinceHolder));
    const std::uint8_t* memory = first.pixels().rgb.data();
    first.release();
    { DecodeAhead unused(holder(kProvinceHolder)); }
    DisplayPicture again(holder(kProvinceHolder));
    EXPECT_EQ(again.pixels().rgb.data(), memory);
}

}  // namespace
}  // namespace marventa
