#include <sys/wait.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>  // after cstdio: it uses FILE

#include <gtest/gtest.h>

#include "picture_fixtures.h"
#include "pictures/jpeg_decoder.h"
#include "pictures/jpeg_header.h"
#include "pictures/picture_set.h"

namespace marventa {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Ppm {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows without padding
};

// Reads the binary PPM djpeg writes: "P6\n<w> <h>\n255\n" then the pixels.
Ppm readPpm(const Bytes& file) {
    Ppm ppm;
    int maxValue = 0;
    int headerLength = 0;
    const std::string head(file.begin(), file.begin() + std::min<std::size_t>(file.size(), 64));
    if (std::sscanf(head.c_str(), "P6 %d %d %d%n", &ppm.width, &ppm.height, &maxValue,
                    &headerLength) != 3 ||
        maxValue != 255) {
        return {};
    }
    ppm.rgb.assign(file.begin() + headerLength + 1, file.end());
    return ppm;
}

// The reference decoder: the djpeg program with the same integer IDCT.
Ppm decodeWithDjpeg(std::span<const std::uint8_t> jpeg) {
    const testing::TempFile in("reference.jpg");
    const testing::TempFile out("reference.ppm");
    in.write(jpeg);
    const std::string command = std::string(DJPEG_EXECUTABLE) + " -dct int -ppm -outfile '" +
                                out.path().string() + "' '" + in.path().string() + "'";
    // djpeg exits with 2 after warnings, e.g. for a file that ends early.
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status) ||
        (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != 2)) {
        return {};
    }
    return readPpm(out.read());
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

void expectSameAsDjpeg(std::span<const std::uint8_t> jpeg, const DecodedPicture& decoded) {
    const Ppm reference = decodeWithDjpeg(jpeg);
    ASSERT_EQ(reference.width, decoded.width);
    ASSERT_EQ(reference.height, decoded.height);
    const std::size_t rowBytes = std::size_t(decoded.width) * 3;
    ASSERT_EQ(reference.rgb.size(), rowBytes * decoded.height);
    for (int y = 0; y < decoded.height; ++y) {
        const auto ours = decoded.rgb.subspan(std::size_t(y) * decoded.stride, rowBytes);
        const auto theirs = reference.rgb.begin() + std::ptrdiff_t(y * rowBytes);
        ASSERT_TRUE(std::equal(ours.begin(), ours.end(), theirs)) << "row " << y;
    }
}

class EveryJpeg : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryJpeg, DecodesToTheSamePixelsAsDjpeg) {
    const PictureHolder& holder = PictureSet::embedded().holder(GetParam());
    PixelBuffer pixels;
    const DecodedPicture decoded = decodeJpeg(holder.bytes(), pixels);
    ASSERT_EQ(decoded.width, holder.width());
    ASSERT_EQ(decoded.height, holder.height());
    EXPECT_EQ(decoded.stride % 4, 0);
    ASSERT_GE(decoded.stride, decoded.width * 3);
    ASSERT_EQ(decoded.rgb.data(), pixels.bytes().data());

    expectSameAsDjpeg(holder.bytes(), decoded);
}

INSTANTIATE_TEST_SUITE_P(Pictures, EveryJpeg, ::testing::ValuesIn(jpegHolders()),
                         [](const auto& info) { return info.param; });

Bytes tolvane() {
    const auto bytes = PictureSet::embedded().holder("tolvane").bytes();
    return {bytes.begin(), bytes.end()};
}

std::size_t markerOffset(const Bytes& jpeg, std::uint8_t marker) {
    const Bytes pattern{0xFF, marker};
    return std::search(jpeg.begin(), jpeg.end(), pattern.begin(), pattern.end()) - jpeg.begin();
}

TEST(JpegDecoder, FatalErrorsRaiseJpegErrorWithTheMessageCode) {
    const Bytes good = tolvane();
    const std::size_t frame = markerOffset(good, 0xC2);
    ASSERT_LT(frame, good.size());
    Bytes twelveBit = good;
    twelveBit[frame + 4] = 12;  // sample precision

    struct Case {
        const char* what;
        Bytes file;
        int code;
    };
    const std::vector<Case> cases{
        {"empty", {}, JERR_INPUT_EMPTY},
        {"not a JPEG", testing::makeBitmap(1, 1, {1, 2, 3}), JERR_NO_SOI},
        {"cut before the first scan", Bytes(good.begin(), good.begin() + markerOffset(good, 0xDA)),
         JERR_SOF_NO_SOS},
        {"unsupported precision", twelveBit, JERR_BAD_PRECISION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PixelBuffer pixels;
        try {
            decodeJpeg(c.file, pixels);
            ADD_FAILURE() << "decoded";
        } catch (const JpegError& error) {
            EXPECT_EQ(error.code(), c.code);
            EXPECT_EQ(std::string(error.what()), "JPEG error #" + std::to_string(c.code));
        }
        EXPECT_TRUE(pixels.empty());
    }

    // A failed decode leaves nothing behind that spoils the next one.
    PixelBuffer pixels;
    EXPECT_EQ(decodeJpeg(good, pixels).width, 1488);
}

TEST(JpegDecoder, AFileEndingInsideTheScansIsOnlyAWarning) {
    const Bytes good = tolvane();
    // The later scans missing: libjpeg warns, and block smoothing fills in for the missing
    // detail, exactly as djpeg's does.
    const Bytes cut(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2));
    PixelBuffer pixels;
    const DecodedPicture decoded = decodeJpeg(cut, pixels);
    EXPECT_EQ(decoded.width, 1488);
    EXPECT_EQ(decoded.height, 830);
    expectSameAsDjpeg(cut, decoded);
}

}  // namespace
}  // namespace marventa
