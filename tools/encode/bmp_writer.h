#pragma once

#include <cstdint>
#include <vector>

class QImage;

namespace marventa {

// A 24-bit uncompressed bitmap file: 14-byte file header, 40-byte info header, rows bottom-up in
// blue-green-red order padded to four bytes, 7799 pixels per metre (about 198 dpi) on both axes.
std::vector<std::uint8_t> encodeBmp24(const QImage& image);

}  // namespace marventa
