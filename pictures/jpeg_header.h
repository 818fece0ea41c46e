#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace marventa {

// The frame header (SOFn) of a JPEG file.
struct JpegFrame {
    int sofType = 0;  // n of SOFn: 0 baseline, 1 extended, 2 progressive, ...
    int width = 0;
    int height = 0;
    int components = 0;
};

// Walks the marker segments up to the first frame header without decoding anything.
// Empty when the bytes are not a JPEG file or end (or reach the scan data) before a frame
// header with a non-zero size. Never reads outside `file`.
std::optional<JpegFrame> scanJpegFrame(std::span<const std::uint8_t> file);

}  // namespace marventa
