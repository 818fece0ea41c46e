#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/picture_fixtures.h"

#include <jerror.h>  // after picture_fixtures.h, which brings jpeglib.h

namespace marventa {
namespace {

using fixtures::Bytes;
using fixtures::embedded;
using fixtures::OnePicture;

// The reference: the djpeg program with the same integer IDCT, as RGB rows without padding.
Bytes decodeWithDjpeg(std::span<const std::uint8_t> jpeg, int width, int height) {
    const fixtures::TempFile in("reference.jpg");
    const fixtures::TempFile out("reference.ppm");
    in.write(jpeg);
    const std::string command = std::string(DJPEG_EXECUTABLE) + " -dct int -rgb -outfile '" +
                                out.path().string() + "' '" + in.path().string() + "'";
    // djpeg exits with 2 after warnings, e.g. for a file that ends early.
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) == 1) {
        return {};
    }
    const Bytes ppm = out.read();
    const std::string header =
        "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    if (ppm.size() < header.size() || !std::equal(header.begin(), header.end(), ppm.begin())) {
        return {};
    }
    return {ppm.begin() + std::ssize(header), ppm.end()};
}

void expectSameAsDjpeg(const PictureHolder& holder) {
    const Picture decoded = decode(holder);
    ASSERT_EQ(decoded.width(), holder.width());
    ASSERT_EQ(decoded.height(), holder.height());
    ASSERT_EQ(decoded.stride() % 4, 0);
    ASSERT_GE(decoded.stride(), decoded.width() * 3);
    const Bytes reference = decodeWithDjpeg(holder.bytes(), holder.width(), holder.height());
    const std::size_t rowBytes = std::size_t(decoded.width()) * 3;
    ASSERT_EQ(reference.size(), rowBytes * decoded.height());
    for (int y = 0; y < decoded.height(); ++y) {
        const auto ours = decoded.rgb().subspan(std::size_t(y) * decoded.stride(), rowBytes);
        ASSERT_TRUE(std::ranges::equal(ours, std::span(reference).subspan(y * rowBytes, rowBytes)))
            << "row " << y;
    }
}

class EveryJpeg : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryJpeg, DecodesToTheSamePixelsAsDjpeg) {
    expectSameAsDjpeg(embedded(GetParam()));
}

std::vector<std::string> jpegHolders() {
    std::vector<std::string> names;
    for (const PictureHolder& holder : PictureSet::embedded().holders()) {
        if (holder.kind() == PictureKind::Jpeg) {
            names.push_back(holder.name());
        }
    }
    return names;
}

INSTANTIATE_TEST_SUITE_P(Pictures, EveryJpeg, ::testing::ValuesIn(jpegHolders()),
                         [](const auto& info) { return info.param; });

// Ours are all progressive 4:2:0, whose coefficients go into the pixel block. The others: a
// coefficient layout of one component, and the files whose decode is left to libjpeg's own
// memory (full-size chroma takes twice the pixels; a single scan needs no coefficient arrays).
TEST(Decode, EveryLayoutOfComponentsAndScansDecodesAsDjpeg) {
    struct Case {
        const char* what;
        bool progressive;
        int lumaSampling;
        bool grey;
    };
    for (const Case& c :
         {Case{"progressive 4:2:0", true, 2, false}, Case{"progressive grey", true, 1, true},
          Case{"progressive 4:4:4", true, 1, false}, Case{"one scan 4:2:0", false, 2, false}}) {
        SCOPED_TRACE(c.what);
        const Bytes jpeg = fixtures::encodeJpeg(203, 301, c.progressive, c.lumaSampling, c.grey);
        const OnePicture picture("test", kJpegTag, jpeg);
        expectSameAsDjpeg(picture.holder());
    }
}

TEST(Decode, AFileEndingInsideTheScansIsOnlyAWarning) {
    // The later scans missing: libjpeg warns, and block smoothing fills in for the missing
    // detail, exactly as djpeg's does.
    const auto good = embedded("tolvane").bytes();
    const OnePicture cut("cut", kJpegTag, good.first(good.size() / 2));
    EXPECT_EQ(cut.holder().width(), 1488);
    expectSameAsDjpeg(cut.holder());
}

TEST(Decode, AFatalDecoderErrorIsJpegErrorWithItsCodeAndSpoilsNothing) {
    const OnePicture broken("broken", kJpegTag,
                            fixtures::withBrokenFirstScan(embedded("tolvane").bytes()));
    EXPECT_EQ(broken.holder().width(), 1488) << "the header still reads";
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            decode(broken.holder());
            ADD_FAILURE() << "decoded";
        } catch (const JpegError& error) {
            EXPECT_EQ(error.code(), JERR_BAD_PROGRESSION);
            EXPECT_EQ(std::string(error.what()),
                      "JPEG error #" + std::to_string(JERR_BAD_PROGRESSION));
        }
    }
    EXPECT_EQ(decode(embedded("tolvane")).width(), 1488);
}

TEST(Decode, ABitmapTurnsIntoRgbRowsTopDownWhicheverWayTheyAreStored) {
    // 2 x 3 pixels: 6 bytes a row, so rows are stored with 2 bytes of padding.
    const Bytes pixels{255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 200, 201, 202, 1, 2, 3};
    for (const int storedHeight : {3, -3}) {
        SCOPED_TRACE(storedHeight);
        const OnePicture bitmap("tiny", kBitmapTag, fixtures::makeBitmap(2, storedHeight, pixels));
        const Picture decoded = decode(bitmap.holder());
        ASSERT_EQ(decoded.stride(), 8);
        for (int y = 0; y < 3; ++y) {
            EXPECT_TRUE(std::ranges::equal(decoded.rgb().subspan(std::size_t(y) * 8, 6),
                                           std::span(pixels).subspan(std::size_t(y) * 6, 6)));
        }
    }
}

TEST(Decode, TheOverviewIsTheBitmapRowsTurnedAround) {
    const Picture overview = decode(embedded(kOverviewHolder));
    ASSERT_EQ(overview.width(), 200);
    ASSERT_EQ(overview.height(), 162);
    // Top-left pixel: the last stored row's first pixel, blue-green-red turned around.
    const auto file = embedded(kOverviewHolder).bytes();
    const std::size_t lastRow = 54 + 161 * 600;
    EXPECT_EQ(overview.rgb()[0], file[lastRow + 2]);
    EXPECT_EQ(overview.rgb()[1], file[lastRow + 1]);
    EXPECT_EQ(overview.rgb()[2], file[lastRow]);
}

}  // namespace
}  // namespace marventa
