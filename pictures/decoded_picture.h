#pragma once

#include <cstdint>
#include <span>

namespace marventa {

// Decoded 24-bit RGB pixels, rows top-down, stride bytes apart.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::span<const std::uint8_t> rgb;
};

// Rows of decoded pictures start on 4-byte boundaries, as toolkit images want them, so a
// display can wrap the pixels without copying.
inline constexpr int rgbRowStride(int width) {
    return (width * 3 + 3) / 4 * 4;
}

}  // namespace marventa
