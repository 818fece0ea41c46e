#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/city_directory.h"
#include "tests/support/jpeg_scans.h"
#include "tests/support/picture_fixtures.h"

namespace marventa {
namespace {

using fixtures::Bytes;
using fixtures::OnePicture;

Bytes smallBitmap() {
    return fixtures::makeBitmap(2, 2, Bytes(12, 0x80));
}

std::span<const std::uint8_t> smallJpeg() {
    return fixtures::embedded("tolvane").bytes();
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void expectStreamError(const Bytes& stream, const std::string& expectedPart) {
    try {
        const PictureSet set(stream);
        ADD_FAILURE() << "no error; expected one mentioning " << expectedPart;
    } catch (const PictureStreamError& error) {
        EXPECT_NE(std::string(error.what()).find(expectedPart), std::string::npos) << error.what();
    }
}

TEST(PictureStream, HoldersBorrowTheirBytesFromTheStream) {
    const Bytes stream = concat(OnePicture::record("map", kJpegTag, smallJpeg()),
                                OnePicture::record("tiny", kBitmapTag, smallBitmap()));
    const PictureSet set(stream);

    ASSERT_EQ(set.holders().size(), 2u);
    const PictureHolder& map = set.holder("map");
    EXPECT_EQ(map.kind(), PictureKind::Jpeg);
    EXPECT_EQ(map.width(), 1488);
    EXPECT_EQ(map.height(), 830);
    // name, tag and count come first: 1 + 3 + 1 + 10 + 4 bytes.
    EXPECT_EQ(map.bytes().data(), stream.data() + 19);
    EXPECT_EQ(map.bytes().size(), smallJpeg().size());

    const PictureHolder& tiny = set.holder("tiny");
    EXPECT_EQ(tiny.kind(), PictureKind::Bitmap);
    EXPECT_EQ(tiny.width(), 2);
    EXPECT_EQ(tiny.height(), 2);
    EXPECT_EQ(tiny.bytes().data() + tiny.bytes().size(), stream.data() + stream.size());

    EXPECT_THROW(set.holder("nowhere"), PictureStreamError);
}

TEST(PictureStream, EveryTruncationIsAnError) {
    const Bytes first = OnePicture::record("tiny", kBitmapTag, smallBitmap());
    const Bytes stream = concat(first, OnePicture::record("small", kBitmapTag, smallBitmap()));
    for (std::size_t length = 0; length < stream.size(); ++length) {
        if (length != first.size()) {  // else a complete stream of one picture
            const Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_THROW(PictureSet{cut}, PictureStreamError) << "cut at " << length;
        }
    }
}

TEST(PictureStream, MalformedRecordsAndHeadersSayWhatIsWrong) {
    const Bytes bitmap = smallBitmap();
    const Bytes good = OnePicture::record("tiny", kBitmapTag, bitmap);
    const auto withByte = [](Bytes bytes, std::size_t at, std::uint8_t value) {
        bytes.at(at) = value;
        return bytes;
    };

    expectStreamError({}, "empty");
    expectStreamError(OnePicture::record("tiny", "TIcon", bitmap), "unknown kind tag \"TIcon\"");
    expectStreamError(concat(Bytes{0}, Bytes(good.begin() + 5, good.end())), "empty picture name");
    expectStreamError(OnePicture::record("tiny", "", bitmap), "empty kind tag");
    expectStreamError(concat(good, good), "\"tiny\" appears twice");
    expectStreamError(concat(good, Bytes{3, 'x'}), "truncated picture name");
    expectStreamError(withByte(good, 13, 0xFF), "bytes of \"tiny\"");  // count 255, not 70
    expectStreamError(withByte(good, 16, 0xFF), "bytes of \"tiny\"");  // the count's high byte
    // A JPEG header libjpeg refuses; one cut before its first scan has no image.
    expectStreamError(OnePicture::record("tiny", kJpegTag, bitmap),
                      "picture \"tiny\": JPEG error #");
    const auto jpeg = smallJpeg();
    const std::uint8_t sos[] = {0xFF, 0xDA};
    expectStreamError(
        OnePicture::record("cut", kJpegTag, {jpeg.begin(), std::ranges::search(jpeg, sos).begin()}),
        "picture \"cut\": JPEG error #");

    // Bitmaps: the headers cut short, the last row cut short, the signature, 32 bits a pixel,
    // run-length compressed, zero width, pixels inside the headers, an absurd height.
    const std::vector<Bytes> badBitmaps{
        {bitmap.begin(), bitmap.begin() + 40},
        {bitmap.begin(), bitmap.end() - 1},
        withByte(bitmap, 0, 'X'),
        withByte(bitmap, 28, 32),
        withByte(bitmap, 30, 1),
        withByte(bitmap, 18, 0),
        withByte(bitmap, 10, 20),
        withByte(bitmap, 25, 0x7F),
    };
    for (const Bytes& file : badBitmaps) {
        expectStreamError(OnePicture::record("tiny", kBitmapTag, file), "picture \"tiny\": bitmap");
    }
}

// The coordinates of the catalogue are pixels of exactly these pictures.
TEST(EmbeddedPictures, HoldersComeInOrderWithTheirSizesAndAgreeWithTheCityDirectory) {
    struct Expected {
        std::string_view holder;
        PictureKind kind;
        int width;
        int height;
    };
    constexpr std::array<Expected, 10> kExpected{{
        {"ProvinceMap", PictureKind::Jpeg, 3248, 2633},
        {"merrowick", PictureKind::Jpeg, 1554, 1076},
        {"tolvane", PictureKind::Jpeg, 1488, 830},
        {"orlheim", PictureKind::Jpeg, 1020, 1260},
        {"dunmaris", PictureKind::Jpeg, 1844, 1176},
        {"volmarren", PictureKind::Jpeg, 1304, 1592},
        {"saltreach", PictureKind::Jpeg, 1780, 1456},
        {"hathmoor", PictureKind::Jpeg, 1090, 1256},
        {"crowncitymap", PictureKind::Jpeg, 2160, 2167},
        {"Image3", PictureKind::Bitmap, 200, 162},
    }};
    const auto& holders = PictureSet::embedded().holders();
    ASSERT_EQ(holders.size(), kExpected.size());
    for (std::size_t i = 0; i < kExpected.size(); ++i) {
        SCOPED_TRACE(kExpected[i].holder);
        EXPECT_EQ(holders[i].name(), kExpected[i].holder);
        EXPECT_EQ(holders[i].kind(), kExpected[i].kind);
        EXPECT_EQ(holders[i].width(), kExpected[i].width);
        EXPECT_EQ(holders[i].height(), kExpected[i].height);
    }
    for (const CityEntry& city : kCityDirectory) {
        SCOPED_TRACE(city.caption);
        EXPECT_EQ(fixtures::embedded(city.holder).width(), city.mapWidth);
        EXPECT_EQ(fixtures::embedded(city.holder).height(), city.mapHeight);
    }
    EXPECT_EQ(fixtures::embedded(kProvinceHolder).width(), kProvinceWidth);
    EXPECT_EQ(fixtures::embedded(kProvinceHolder).height(), kProvinceHeight);
}

TEST(EmbeddedPictures, EveryJpegIsACompleteProgressiveFileOfThreeComponentsInTheNamedScanScript) {
    // The scan script decides how fast a map decodes; the README says which one we ship.
    std::string script;
    for (const PictureHolder& holder : PictureSet::embedded().holders()) {
        if (holder.kind() == PictureKind::Jpeg) {
            SCOPED_TRACE(holder.name());
            const auto bytes = holder.bytes();
            const fixtures::JpegLayout layout = fixtures::jpegLayout(bytes);
            EXPECT_EQ(layout.frameMarker, 0xC2) << "progressive frame";
            EXPECT_EQ(layout.components, 3);
            EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
            EXPECT_EQ(bytes[bytes.size() - 1], 0xD9);
            if (script.empty()) {
                script = layout.scans;
            }
            EXPECT_EQ(layout.scans, script) << "every map in one scan script";
        }
    }
    EXPECT_NE(fixtures::readmeText().find("`" + script + "`"), std::string::npos)
        << "the README does not name the maps' scan script " << script;
}

TEST(EmbeddedPictures, OverviewIsTheExactBitmapFile) {
    const auto bytes = fixtures::embedded(kOverviewHolder).bytes();
    ASSERT_EQ(bytes.size(), 97254u);
    constexpr std::array<std::uint8_t, 54> kHeader{
        'B',  'M',  0xE6, 0x7B, 0x01, 0x00,        // file size 97254
        0,    0,    0,    0,                       // reserved
        54,   0,    0,    0,                       // pixel data offset
        40,   0,    0,    0,                       // information header size
        200,  0,    0,    0,                       // width
        162,  0,    0,    0,                       // height, positive: bottom-up
        1,    0,    24,   0,                       // planes, bits per pixel
        0,    0,    0,    0,                       // no compression
        0xB0, 0x7B, 0x01, 0x00,                    // image size 97200
        0x77, 0x1E, 0,    0,    0x77, 0x1E, 0, 0,  // 7799 pixels per metre, both axes
        0,    0,    0,    0,    0,    0,    0, 0,  // no palette
    };
    EXPECT_TRUE(std::equal(kHeader.begin(), kHeader.end(), bytes.begin()));
}

}  // namespace
}  // namespace marventa
