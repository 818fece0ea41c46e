#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "pictures/jpeg_decoder.h"
#include "pictures/jpeg_header.h"
#include "pictures/picture_set.h"

namespace marventa {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A small city map with `inserted` put right after its start-of-image marker.
Bytes tolvaneWith(const Bytes& inserted) {
    const auto file = PictureSet::embedded().holder("tolvane").bytes();
    Bytes out(file.begin(), file.begin() + 2);
    out.insert(out.end(), inserted.begin(), inserted.end());
    out.insert(out.end(), file.begin() + 2, file.end());
    return out;
}

// The size a holder reads from the header is the size libjpeg decodes: both pass over what
// lies between segments in the same way.
TEST(JpegHeader, FindsTheFrameTheDecoderDecodesWhateverLiesBetweenSegments) {
    // A frame header of 48 x 32 that only a reader taking FF 00 for a marker would reach: it
    // would take 00 0A for that marker's length and land inside the next segment.
    const Bytes strayFrame{0xFF, 0xC0, 0x00, 0x11, 8,    0x00, 0x20, 0x00, 0x30, 3,
                           1,    0x11, 0,    2,    0x11, 1,    3,    0x11, 1};
    Bytes hiddenFrame{0xFF, 0x00, 0x00, 0x0A, 0xFF, 0xE1, 0x00, 0x19, 'n', 'o', 't', 'e'};
    hiddenFrame.insert(hiddenFrame.end(), strayFrame.begin(), strayFrame.end());

    const std::vector<Bytes> between{
        {},
        {0x12, 0x34, 0x00},        // stray bytes before a marker
        {0xFF, 0x00, 0xFF, 0x00},  // stuffed zeros
        {0xFF, 0xFF, 0xFF},        // fill bytes
        hiddenFrame,
    };
    for (const Bytes& inserted : between) {
        SCOPED_TRACE(inserted.size());
        const Bytes file = tolvaneWith(inserted);
        const auto frame = scanJpegFrame(file);
        ASSERT_TRUE(frame.has_value());
        PixelBuffer pixels;
        const DecodedPicture decoded = decodeJpeg(file, pixels);
        EXPECT_EQ(frame->width, decoded.width);
        EXPECT_EQ(frame->height, decoded.height);
        EXPECT_EQ(decoded.width, 1488);
    }
}

}  // namespace
}  // namespace marventa
