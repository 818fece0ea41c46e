#include "bitmap.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "picture_set.h"

namespace marventa {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
// Far beyond any picture of ours; keeps every size computation well inside 64 bits.
constexpr int kMaxSide = 1 << 16;

std::uint32_t readLittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

std::uint16_t readLittleEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

[[noreturn]] void fail(const std::string& what) {
    throw PictureStreamError("bitmap: " + what);
}

}  // namespace

BitmapLayout readBitmapLayout(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderBytes + kInfoHeaderBytes) {
        fail("file shorter than its headers");
    }
    if (file[0] != 'B' || file[1] != 'M') {
        fail("no \"BM\" signature");
    }
    if (readLittleEndian32(file, 14) < kInfoHeaderBytes) {
        fail("information header too short");
    }
    const auto width = static_cast<std::int32_t>(readLittleEndian32(file, 18));
    const auto height = static_cast<std::int32_t>(readLittleEndian32(file, 22));
    if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide || height < -kMaxSide) {
        fail("bad size " + std::to_string(width) + " x " + std::to_string(height));
    }
    if (readLittleEndian16(file, 26) != 1 || readLittleEndian16(file, 28) != 24) {
        fail("not a single-plane 24-bit picture");
    }
    if (readLittleEndian32(file, 30) != 0) {
        fail("compressed pixels");
    }
    BitmapLayout layout;
    layout.width = width;
    layout.height = height > 0 ? height : -height;
    layout.bottomUp = height > 0;
    layout.pixelOffset = readLittleEndian32(file, 10);
    layout.storedRowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (layout.pixelOffset < kFileHeaderBytes + kInfoHeaderBytes) {
        fail("pixel data overlaps the headers");
    }
    if (layout.pixelOffset + layout.storedRowBytes * static_cast<std::size_t>(layout.height) >
        file.size()) {
        fail("pixel data runs past the end of the file");
    }
    return layout;
}

void decodeBitmap(std::span<const std::uint8_t> file, std::span<std::uint8_t> rgb, int stride) {
    const BitmapLayout layout = readBitmapLayout(file);
    const std::size_t rowBytes = static_cast<std::size_t>(layout.width) * 3;
    if (stride < 0 || static_cast<std::size_t>(stride) < rowBytes ||
        rgb.size() < static_cast<std::size_t>(stride) * (layout.height - 1) + rowBytes) {
        throw std::invalid_argument("decodeBitmap: destination too small for the picture");
    }
    for (int y = 0; y < layout.height; ++y) {
        const int storedRow = layout.bottomUp ? layout.height - 1 - y : y;
        const std::uint8_t* bgr = file.data() + layout.pixelOffset +
                                  layout.storedRowBytes * static_cast<std::size_t>(storedRow);
        std::uint8_t* out = rgb.data() + static_cast<std::size_t>(stride) * y;
        for (std::size_t x = 0; x < rowBytes; x += 3) {
            out[x] = bgr[x + 2];
            out[x + 1] = bgr[x + 1];
            out[x + 2] = bgr[x];
        }
    }
}

DecodedPicture decodeBitmap(std::span<const std::uint8_t> file, PixelBuffer& pixels) {
    const BitmapLayout layout = readBitmapLayout(file);
    const int stride = rgbRowStride(layout.width);
    PixelBuffer buffer = PixelBuffer::acquire(static_cast<std::size_t>(stride) * layout.height);
    decodeBitmap(file, buffer.bytes(), stride);
    pixels = std::move(buffer);
    return {layout.width, layout.height, stride, pixels.bytes()};
}

}  // namespace marventa
