#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/decoded_picture.h"
#include "pictures/decoder_memory.h"
#include "pictures/picture_set.h"

namespace marventa {
namespace {

constexpr std::size_t kRowsAhead = 16;

struct Header {
    jpeg_error_mgr errors{};
    jpeg_decompress_struct info{};

    explicit Header(std::span<const std::uint8_t> jpeg) {
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&info, TRUE);
        jpeg_calc_output_dimensions(&info);
    }
    ~Header() { jpeg_destroy_decompress(&info); }
};

TEST(CoefficientLayout, PixelRowsNeverReachACoefficientRowStillToBeRead) {
    for (const PictureHolder& holder : PictureSet::embedded().holders()) {
        if (holder.kind() != PictureKind::Jpeg) {
            continue;
        }
        SCOPED_TRACE(holder.name());
        const Header header(holder.bytes());
        const auto stride = static_cast<std::size_t>(rgbRowStride(holder.width()));
        const CoefficientLayout layout = CoefficientLayout::of(header.info, stride, kRowsAhead);
        ASSERT_GT(layout.iMCURows, 0u);
        const std::size_t rowsPerIMCU =
            static_cast<std::size_t>(header.info.max_v_samp_factor) * DCTSIZE;
        for (std::size_t m = 0; m < layout.iMCURows; ++m) {
            // Smoothing row m reads from row m - 2 on; the pixels written reach the end of row
            // m + 1 at most, plus one read_scanlines call.
            const std::size_t firstRead = layout.start + (m >= 2 ? m - 2 : 0) * layout.iMCUBytes;
            const std::size_t written = ((m + 2) * rowsPerIMCU + kRowsAhead) * stride;
            ASSERT_GE(firstRead, written) << "iMCU row " << m;
        }
        // The arrays fit the pixel block but for a few iMCU rows.
        const std::size_t pixelBytes = stride * static_cast<std::size_t>(holder.height());
        EXPECT_LE(layout.end(), pixelBytes + 6 * layout.iMCUBytes + kRowsAhead * stride);
    }
}

}  // namespace
}  // namespace marventa
