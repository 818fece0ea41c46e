#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "decoded_picture.h"
#include "pixel_buffer.h"

namespace marventa {

// The layout of an uncompressed 24-bit bitmap file.
struct BitmapLayout {
    int width = 0;
    int height = 0;
    bool bottomUp = true;            // a positive height in the file
    std::size_t pixelOffset = 0;     // of the first stored row
    std::size_t storedRowBytes = 0;  // width * 3 padded to 4
};

// Reads and checks the file and information headers. Raises PictureStreamError unless the
// file is a 24-bit uncompressed bitmap whose rows all lie inside `file`.
BitmapLayout readBitmapLayout(std::span<const std::uint8_t> file);

// Writes the pixels as RGB rows, top row first, `stride` bytes apart; `rgb` must hold
// stride * (height - 1) + width * 3 bytes. For the overview: rgb = OverviewBitmap::rgb,
// stride = OverviewBitmap::kStride.
void decodeBitmap(std::span<const std::uint8_t> file, std::span<std::uint8_t> rgb, int stride);

// Decodes into a recycled buffer; the result points into `pixels`.
DecodedPicture decodeBitmap(std::span<const std::uint8_t> file, PixelBuffer& pixels);

}  // namespace marventa
