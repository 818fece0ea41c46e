#include <gtest/gtest.h>
#include <QImage>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/support/jpeg_scans.h"
#include "tools/encode/bmp_writer.h"
#include "tools/encode/ico_writer.h"
#include "tools/encode/jpeg_writer.h"
#include "tools/icon/icon.h"

using namespace marventa;

namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

QImage gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x * y) % 256));
        }
    }
    return image;
}

}  // namespace

TEST(Bmp, OverviewFileHasTheExactHeaderAndBottomUpBgrRows) {
    QImage image(200, 162, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    image.setPixel(0, 0, qRgb(10, 20, 30));   // top-left: lands in the last row
    image.setPixel(199, 161, qRgb(1, 2, 3));  // bottom-right: end of the first row
    const std::vector<std::uint8_t> bmp = encodeBmp24(image);

    ASSERT_EQ(bmp.size(), 97254u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(u32(bmp, 2), 97254u);
    EXPECT_EQ(u32(bmp, 6), 0u);
    EXPECT_EQ(u32(bmp, 10), 54u);
    EXPECT_EQ(u32(bmp, 14), 40u);
    EXPECT_EQ(u32(bmp, 18), 200u);
    EXPECT_EQ(u32(bmp, 22), 162u);
    EXPECT_EQ(u16(bmp, 26), 1);
    EXPECT_EQ(u16(bmp, 28), 24);
    EXPECT_EQ(u32(bmp, 30), 0u);
    EXPECT_EQ(u32(bmp, 34), 97200u);
    EXPECT_EQ(u32(bmp, 38), 7799u);
    EXPECT_EQ(u32(bmp, 42), 7799u);
    EXPECT_EQ(u32(bmp, 46), 0u);
    EXPECT_EQ(u32(bmp, 50), 0u);

    const std::size_t firstRowEnd = 54 + 199 * 3;
    EXPECT_EQ(bmp[firstRowEnd], 3);  // blue first
    EXPECT_EQ(bmp[firstRowEnd + 2], 1);
    const std::size_t lastRow = 54 + 161 * 600;
    EXPECT_EQ(bmp[lastRow], 30);
    EXPECT_EQ(bmp[lastRow + 1], 20);
    EXPECT_EQ(bmp[lastRow + 2], 10);
}

TEST(Bmp, OddWidthRowsArePaddedToFourBytes) {
    const std::vector<std::uint8_t> bmp = encodeBmp24(gradient(5, 3));
    EXPECT_EQ(u32(bmp, 34), 3u * 16u);  // 15 bytes of pixels + 1 of padding per row
    EXPECT_EQ(bmp.size(), 54u + 48u);
}

TEST(Ico, DirectoryAndEntriesDescribeEachImage) {
    QImage four(32, 32, QImage::Format_Indexed8);
    four.setColorTable({qRgba(0, 0, 0, 0), qRgb(200, 10, 10), qRgb(10, 200, 10)});
    four.fill(1);
    four.setPixel(0, 31, 0);  // transparent, bottom-left: first AND-mask row, first bit
    four.setPixel(1, 31, 2);
    QImage eight(16, 16, QImage::Format_Indexed8);
    eight.setColorTable({qRgba(0, 0, 0, 0), qRgb(1, 2, 3)});
    eight.fill(1);
    const std::vector<std::uint8_t> ico = encodeIco({{four, 4}, {eight, 8}});

    EXPECT_EQ(u16(ico, 0), 0);
    EXPECT_EQ(u16(ico, 2), 1);
    ASSERT_EQ(u16(ico, 4), 2);
    // 32x32 at 4 bits: 40 + 16 * 4 palette + 32 rows * 16 + 32 rows * 4 mask.
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[8], 16);
    EXPECT_EQ(u16(ico, 12), 4);
    EXPECT_EQ(u32(ico, 14), 40u + 64u + 512u + 128u);
    EXPECT_EQ(u32(ico, 18), 6u + 2u * 16u);
    // 16x16 at 8 bits: 40 + 256 * 4 + 16 * 16 + 16 * 4.
    EXPECT_EQ(ico[22], 16);
    EXPECT_EQ(ico[24], 0);
    EXPECT_EQ(u32(ico, 30), 40u + 1024u + 256u + 64u);
    EXPECT_EQ(u32(ico, 34), u32(ico, 18) + u32(ico, 14));
    EXPECT_EQ(ico.size(), u32(ico, 34) + u32(ico, 30));

    const std::size_t first = u32(ico, 18);
    EXPECT_EQ(u32(ico, first + 8), 64u);  // height doubled: image and mask
    const std::size_t pixels = first + 40 + 64;
    EXPECT_EQ(ico[pixels], 0x02);  // transparent pixel written as 0, then index 2
    const std::size_t mask = pixels + 512;
    EXPECT_EQ(ico[mask], 0x80);
    EXPECT_EQ(ico[mask + 4], 0x00);  // second row fully opaque
}

TEST(Ico, RejectsTooManyColours) {
    QImage image(16, 16, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 17; ++i) {
        table.push_back(qRgb(i, i, i));
    }
    image.setColorTable(table);
    image.fill(0);
    EXPECT_THROW(encodeIco({{image, 4}}), std::invalid_argument);
}

TEST(Icon, QuantisingKeepsAFewColoursExactlyAndLimitsMany) {
    QImage few(8, 8, QImage::Format_ARGB32);
    few.fill(qRgb(12, 34, 56));
    few.setPixel(3, 3, qRgba(0, 0, 0, 0));
    const IconImage exact = quantiseIcon(few, 4);
    EXPECT_EQ(exact.pixels.colorTable().size(), 2);
    EXPECT_EQ(qAlpha(exact.pixels.colorTable()[exact.pixels.pixelIndex(3, 3)]), 0);
    EXPECT_EQ(exact.pixels.colorTable()[exact.pixels.pixelIndex(0, 0)], qRgb(12, 34, 56));

    const IconImage many = quantiseIcon(gradient(32, 32).convertToFormat(QImage::Format_ARGB32), 4);
    EXPECT_LE(many.pixels.colorTable().size(), 16);
}

TEST(Jpeg, FilesAreProgressiveWithThreeComponentsInTheScanScriptTheReadmeNames) {
    const std::vector<std::uint8_t> jpeg = encodeProgressiveJpeg(gradient(64, 48), 80);
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    const fixtures::JpegLayout layout = fixtures::jpegLayout(jpeg);
    EXPECT_EQ(layout.frameMarker, 0xC2) << "progressive frame";
    EXPECT_EQ(layout.components, 3);
    EXPECT_NE(fixtures::readmeText().find("`" + layout.scans + "`"), std::string::npos)
        << "the README does not name the encoder's scan script " << layout.scans;
}

TEST(Jpeg, BudgetPicksTheBestQualityUnderTheTargetOrFails) {
    const QImage image = gradient(256, 256);
    const std::size_t q50 = encodeProgressiveJpeg(image, 50).size();
    const EncodedJpeg fit = encodeJpegWithinBudget(image, {1, 1'000'000, q50, 98});
    EXPECT_LE(fit.bytes.size(), q50);
    EXPECT_GE(fit.quality, 50);
    EXPECT_GT(encodeProgressiveJpeg(image, fit.quality + 1).size(), q50);

    const EncodedJpeg capped = encodeJpegWithinBudget(image, {1, 1'000'000, 1'000'000, 60});
    EXPECT_EQ(capped.quality, 60);

    EXPECT_THROW(encodeJpegWithinBudget(image, {q50 * 10, q50 * 20, q50 * 20, 98}),
                 std::runtime_error);
    // A file that fits only at a quality below the floor is refused, not shipped blocky.
    EXPECT_THROW(encodeJpegWithinBudget(image, {1, 1'000'000, q50, 98, 75}), std::runtime_error);
}
