// Any bytes as a JPEG file on the way the window decodes it: a picture of the header's size or
// JpegError("JPEG error #<code>"), never a crash, a leak or a hang. Files whose header asks for
// more than a few megapixels are skipped here only, to keep each run short and small.

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h uses FILE without including it
#include <optional>
#include <span>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

#include "fuzz_check.h"
#include "pictures/display_picture.h"
#include "pictures/jpeg_decoder.h"
#include "pictures/picture_set.h"

namespace {

constexpr std::uint64_t kMaxPixels = 4'000'000;

struct HeaderTrap {
    jpeg_error_mgr manager;  // first member: libjpeg hands back a pointer to it
    std::jmp_buf jump;
};

// The picture area libjpeg itself reads from the header (it may skip bytes our own header scan
// refuses), or nothing when it cannot read one.
std::optional<std::uint64_t> headerArea(std::span<const std::uint8_t> file) {
    HeaderTrap trap;
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = [](j_common_ptr common) {
        std::longjmp(reinterpret_cast<HeaderTrap*>(common->err)->jump, 1);
    };
    trap.manager.emit_message = [](j_common_ptr, int) {};
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    const std::uint64_t area = std::uint64_t{info.image_width} * info.image_height;
    jpeg_destroy_decompress(&info);
    return area;
}

void checkPicture(const marventa::DecodedPicture& picture) {
    FUZZ_CHECK(picture.width > 0 && picture.height > 0);
    FUZZ_CHECK(picture.stride == marventa::rgbRowStride(picture.width));
    FUZZ_CHECK(picture.rgb.size() == static_cast<std::size_t>(picture.stride) * picture.height);
}

void checkError(const marventa::JpegError& error) {
    FUZZ_CHECK(error.code() > 0 && error.code() < JMSG_LASTMSGCODE);
    FUZZ_CHECK(std::string(error.what()) == "JPEG error #" + std::to_string(error.code()));
}

// As the window does it: a holder reads the size from the header, a display copy decodes.
// False when the header scan refuses the file, as the stream parser would.
bool decodeThroughHolder(std::span<const std::uint8_t> file) {
    std::optional<marventa::PictureHolder> holder;
    try {
        holder.emplace("fuzz", marventa::PictureKind::Jpeg, file);
    } catch (const marventa::PictureStreamError&) {
        return false;
    }
    marventa::DisplayPicture copy(*holder);
    try {
        const marventa::DecodedPicture& picture = copy.pixels();
        checkPicture(picture);
        FUZZ_CHECK(picture.width == holder->width() && picture.height == holder->height());
        FUZZ_CHECK(copy.isDecoded());
    } catch (const marventa::JpegError& error) {
        checkError(error);
        FUZZ_CHECK(!copy.isDecoded());
    }
    copy.release();
    FUZZ_CHECK(!copy.isDecoded());
    return true;
}

// The decoder alone, for the files the header scan refuses.
void decodeDirectly(std::span<const std::uint8_t> file) {
    marventa::PixelBuffer pixels;
    try {
        checkPicture(marventa::decodeJpeg(file, pixels));
        FUZZ_CHECK(!pixels.empty());
    } catch (const marventa::JpegError& error) {
        checkError(error);
        FUZZ_CHECK(pixels.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const std::optional<std::uint64_t> area = headerArea(file);
    if (area && *area > kMaxPixels) {
        return 0;
    }
    if (!decodeThroughHolder(file)) {
        decodeDirectly(file);
    }
    return 0;
}
