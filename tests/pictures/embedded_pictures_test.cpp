#include <array>
#include <string_view>

#include <gtest/gtest.h>

#include "catalogue/city_directory.h"
#include "pictures/jpeg_header.h"
#include "pictures/picture_set.h"

namespace marventa {
namespace {

struct ExpectedPicture {
    std::string_view holder;
    PictureKind kind;
    int width;
    int height;
};

// The coordinates of the catalogue are pixels of exactly these pictures.
constexpr std::array<ExpectedPicture, 10> kExpected{{
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

TEST(EmbeddedPictures, HoldersComeInOrderWithTheirSizes) {
    const auto& holders = PictureSet::embedded().holders();
    ASSERT_EQ(holders.size(), kExpected.size());
    for (std::size_t i = 0; i < kExpected.size(); ++i) {
        SCOPED_TRACE(kExpected[i].holder);
        EXPECT_EQ(holders[i].name(), kExpected[i].holder);
        EXPECT_EQ(holders[i].kind(), kExpected[i].kind);
        EXPECT_EQ(holders[i].width(), kExpected[i].width);
        EXPECT_EQ(holders[i].height(), kExpected[i].height);
    }
}

TEST(EmbeddedPictures, AgreeWithTheCityDirectory) {
    const PictureSet& set = PictureSet::embedded();
    for (const CityEntry& city : kCityDirectory) {
        SCOPED_TRACE(city.caption);
        const PictureHolder& map = set.holder(city.holder);
        EXPECT_EQ(map.width(), city.mapWidth);
        EXPECT_EQ(map.height(), city.mapHeight);
    }
    EXPECT_EQ(set.holder(kProvinceHolder).width(), kProvinceWidth);
    EXPECT_EQ(set.holder(kProvinceHolder).height(), kProvinceHeight);
}

TEST(EmbeddedPictures, EveryJpegIsProgressiveWithThreeComponents) {
    for (const PictureHolder& holder : PictureSet::embedded().holders()) {
        if (holder.kind() != PictureKind::Jpeg) {
            continue;
        }
        SCOPED_TRACE(holder.name());
        const auto frame = scanJpegFrame(holder.bytes());
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(frame->sofType, 2);
        EXPECT_EQ(frame->components, 3);
        // A complete file: ends with EOI.
        const auto bytes = holder.bytes();
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
        EXPECT_EQ(bytes[bytes.size() - 1], 0xD9);
    }
}

TEST(EmbeddedPictures, OverviewIsTheExactBitmapFile) {
    const auto bytes = PictureSet::embedded().holder(kOverviewHolder).bytes();
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
