#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "picture_fixtures.h"
#include "pictures/picture_record.h"
#include "pictures/picture_set.h"

namespace marventa {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes smallBitmap() {
    return testing::makeBitmap(2, 2, Bytes(12, 0x80));
}

Bytes smallJpeg() {
    return testing::makeFrameOnlyJpeg(1488, 830);
}

Bytes record(std::string_view name, std::string_view tag, std::span<const std::uint8_t> bytes) {
    Bytes stream;
    appendPictureRecord(stream, name, tag, bytes);
    return stream;
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void expectStreamError(const Bytes& stream, const std::string& expectedPart) {
    try {
        PictureSet::parse(stream);
        ADD_FAILURE() << "no error; expected one mentioning " << expectedPart;
    } catch (const PictureStreamError& error) {
        EXPECT_NE(std::string(error.what()).find(expectedPart), std::string::npos) << error.what();
    }
}

TEST(PictureStream, HoldersBorrowTheirBytesFromTheStream) {
    const Bytes bitmap = smallBitmap();
    const Bytes stream =
        concat(record("map", kJpegTag, smallJpeg()), record("tiny", kBitmapTag, bitmap));
    const PictureSet set = PictureSet::parse(stream);

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
    const Bytes first = record("map", kJpegTag, smallJpeg());
    const Bytes stream = concat(first, record("tiny", kBitmapTag, smallBitmap()));
    for (std::size_t length = 0; length < stream.size(); ++length) {
        if (length == first.size()) {
            continue;  // a complete stream of one picture
        }
        const Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_THROW(PictureSet::parse(cut), PictureStreamError) << "cut at " << length;
    }
}

TEST(PictureStream, MalformedRecordsSayWhatIsWrong) {
    const Bytes bitmap = smallBitmap();
    const Bytes good = record("tiny", kBitmapTag, bitmap);

    expectStreamError({}, "empty");
    expectStreamError(record("tiny", "TIcon", bitmap), "unknown kind tag \"TIcon\"");
    expectStreamError(concat(Bytes{0}, Bytes(good.begin() + 5, good.end())), "empty picture name");
    expectStreamError(record("tiny", "", bitmap), "empty kind tag");
    expectStreamError(concat(good, good), "\"tiny\" appears twice");
    expectStreamError(concat(good, Bytes{3, 'x'}), "truncated picture name");
    expectStreamError(record("tiny", kJpegTag, bitmap), "no JPEG frame header");
    expectStreamError(record("tiny", kBitmapTag, smallJpeg()), "picture \"tiny\": bitmap");

    Bytes countPastEnd = good;
    countPastEnd[13] = 0xFF;  // low byte of the count: 255 instead of 70
    expectStreamError(countPastEnd, "bytes of \"tiny\"");
    Bytes hugeCount = good;
    hugeCount[16] = 0xFF;  // high byte of the count
    expectStreamError(hugeCount, "bytes of \"tiny\"");
}

}  // namespace
}  // namespace marventa
