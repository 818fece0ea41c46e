#include <algorithm>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "tests/support/picture_fixtures.h"

namespace marventa {
namespace {

using fixtures::embedded;

bool samePixels(const Picture& a, const Picture& b) {
    return a.width() == b.width() && a.height() == b.height() && a.stride() == b.stride() &&
           std::ranges::equal(a.rgb(), b.rgb());
}

TEST(PictureMemory, APictureMovesItsPixelsAlong) {
    Picture shown = decode(embedded("tolvane"));
    const std::uint8_t* pixels = shown.rgb().data();
    Picture moved = std::move(shown);
    EXPECT_TRUE(shown.empty());  // NOLINT(bugprone-use-after-move): what a move leaves
    EXPECT_TRUE(shown.rgb().empty());
    EXPECT_EQ(moved.rgb().data(), pixels);
    EXPECT_EQ(moved.rgb().size(), std::size_t(moved.stride()) * 830);
}

// Each switch of maps drops one picture and decodes the next into the memory it left, so no
// decode after the first asks the kernel for fresh pages.
TEST(PictureMemory, ThePixelsDroppedServeTheNextDecodeWhicheverMapComesFirst) {
    const Picture held = decode(embedded(kProvinceHolder));  // takes any spare there is
    const std::uint8_t* cityMemory = nullptr;
    {
        const Picture city = decode(embedded("tolvane"));  // so this one is mapped afresh
        cityMemory = city.rgb().data();
    }
    // The block first made for a small city map fits the province map, coefficients and all.
    Picture shown = decode(embedded(kProvinceHolder));
    EXPECT_EQ(shown.rgb().data(), cityMemory);
    for (const std::string_view next : {"crowncitymap", "merrowick", "ProvinceMap"}) {
        shown = Picture();  // as the window does: drop the old pixels, then decode
        shown = decode(embedded(next));
        EXPECT_EQ(shown.rgb().data(), cityMemory) << next;
    }
    EXPECT_TRUE(samePixels(shown, held));
}

TEST(Prefetch, TheFirstDecodeOfItsHolderTakesTheResultOthersDecodeByThemselves) {
    const fixtures::Bytes stream = [] {
        fixtures::Bytes bytes;
        for (const char* name : {"tolvane", "orlheim"}) {
            appendPictureRecord(bytes, name, kJpegTag, embedded(name).bytes());
        }
        return bytes;
    }();
    const PictureSet set(stream);
    set.prefetch(set.holder("tolvane"));
    EXPECT_TRUE(samePixels(decode(set.holder("orlheim")), decode(embedded("orlheim"))));
    EXPECT_TRUE(samePixels(decode(set.holder("tolvane")), decode(embedded("tolvane"))));
    EXPECT_TRUE(samePixels(decode(set.holder("tolvane")), decode(embedded("tolvane"))));

    EXPECT_THROW(set.prefetch(embedded("tolvane")), std::invalid_argument);
    // A result never taken is waited for when the next prefetch replaces it, or with the set.
    set.prefetch(set.holder("orlheim"));
    set.prefetch(set.holder("tolvane"));
}

TEST(Prefetch, AnErrorSurfacesAtTheDecodeThatNeedsThePixelsAndTheNextDecodesAgain) {
    const fixtures::OnePicture broken("broken", kJpegTag,
                                      fixtures::withBrokenFirstScan(embedded("tolvane").bytes()));
    broken.set.prefetch(broken.holder());
    EXPECT_THROW(decode(broken.holder()), JpegError);
    EXPECT_THROW(decode(broken.holder()), JpegError);
}

}  // namespace
}  // namespace marventa
