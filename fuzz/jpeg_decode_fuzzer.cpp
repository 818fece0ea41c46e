// Any bytes as a JPEG file on the way the window decodes it: a holder refuses the header with
// PictureStreamError, or the decode gives a picture of the header's size or
// JpegError("JPEG error #<code>"), never a crash, a leak or a hang. Files whose header asks for
// more than a few megapixels are skipped here only, to keep each run short and small.

#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h uses FILE without including it
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <jpeglib.h>

#include <jerror.h>  // after jpeglib.h, which it needs

#include "fuzz_check.h"
#include "pictures/picture.h"

namespace {

constexpr std::int64_t kMaxPixels = 4'000'000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> stream;
    marventa::appendPictureRecord(stream, "fuzz", marventa::kJpegTag, {data, size});
    std::optional<marventa::PictureSet> set;
    try {
        set.emplace(stream);
    } catch (const marventa::PictureStreamError&) {
        return 0;
    }
    const marventa::PictureHolder& holder = set->holder("fuzz");
    FUZZ_CHECK(holder.width() > 0 && holder.height() > 0);
    if (std::int64_t{holder.width()} * holder.height() > kMaxPixels) {
        return 0;
    }
    try {
        const marventa::Picture picture = marventa::decode(holder);
        FUZZ_CHECK(picture.width() == holder.width() && picture.height() == holder.height());
        FUZZ_CHECK(picture.stride() % 4 == 0 && picture.stride() >= picture.width() * 3);
        FUZZ_CHECK(picture.rgb().size() == std::size_t(picture.stride()) * picture.height());
    } catch (const marventa::JpegError& error) {
        FUZZ_CHECK(error.code() > 0 && error.code() < JMSG_LASTMSGCODE);
        FUZZ_CHECK(std::string(error.what()) == "JPEG error #" + std::to_string(error.code()));
    }
    return 0;
}
