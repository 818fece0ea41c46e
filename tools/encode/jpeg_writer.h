#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class QImage;

namespace marventa {

// A progressive (SOF2) three-component JPEG in four scans without refinement, with optimised
// Huffman tables, 2x2 chroma subsampling.
std::vector<std::uint8_t> encodeProgressiveJpeg(const QImage& image, int quality);

struct JpegBudget {
    std::size_t minBytes;
    std::size_t maxBytes;
    std::size_t targetBytes;  // the file is the largest that does not exceed this
    int maxQuality = 98;      // nor is it made at a higher quality than this
    int minQuality = 20;      // and a file that fits only below this quality is refused
};

struct EncodedJpeg {
    std::vector<std::uint8_t> bytes;
    int quality;
};

// Searches the quality whose file comes closest to the target from below; raises
// std::runtime_error when no quality lands inside [minBytes, maxBytes] or the quality that fits
// is below minQuality.
EncodedJpeg encodeJpegWithinBudget(const QImage& image, const JpegBudget& budget);

}  // namespace marventa
