// Any bytes as the packed picture stream: a set of holders or PictureStreamError, never a read
// outside the stream. What parses is exactly what the packer writes for those holders, and a
// bitmap holder's size is the size its pixels decode to.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "fuzz_check.h"
#include "pictures/picture.h"

namespace {

using marventa::PictureHolder;
using marventa::PictureKind;

bool inside(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole) {
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

void checkBitmap(const PictureHolder& holder) {
    const marventa::Picture pixels = marventa::decode(holder);
    FUZZ_CHECK(pixels.width() == holder.width() && pixels.height() == holder.height());
    FUZZ_CHECK(pixels.stride() % 4 == 0 && pixels.stride() >= pixels.width() * 3);
    FUZZ_CHECK(pixels.rgb().size() == static_cast<std::size_t>(pixels.stride()) * pixels.height());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> stream(data, size);
    std::optional<marventa::PictureSet> set;
    try {
        set.emplace(stream);
    } catch (const marventa::PictureStreamError&) {
        return 0;
    }

    std::vector<std::uint8_t> packed;
    for (const PictureHolder& holder : set->holders()) {
        FUZZ_CHECK(!holder.name().empty());
        FUZZ_CHECK(holder.width() > 0 && holder.height() > 0);
        FUZZ_CHECK(inside(holder.bytes(), stream));
        FUZZ_CHECK(&set->holder(holder.name()) == &holder);  // names are unique
        const bool jpeg = holder.kind() == PictureKind::Jpeg;
        marventa::appendPictureRecord(packed, holder.name(),
                                      jpeg ? marventa::kJpegTag : marventa::kBitmapTag,
                                      holder.bytes());
        if (!jpeg) {
            checkBitmap(holder);
        }
    }
    FUZZ_CHECK(std::ranges::equal(packed, stream));
    return 0;
}
