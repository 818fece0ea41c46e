#include "jpeg_header.h"

#include <cstddef>

namespace marventa {

namespace {

int readBigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] << 8 | bytes[at + 1];
}

// SOF0..SOF15 without DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool isFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers without a length field: TEM, RST0..7, SOI, EOI.
bool isStandalone(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9);
}

}  // namespace

std::optional<JpegFrame> scanJpegFrame(std::span<const std::uint8_t> file) {
    if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) {
        return std::nullopt;
    }
    std::size_t at = 2;
    while (at < file.size()) {
        // Between segments libjpeg passes over stray bytes (anything but FF, and FF 00 pairs)
        // and fill bytes; doing the same finds the frame header it will decode.
        if (file[at] != 0xFF) {
            ++at;
            continue;
        }
        while (at < file.size() && file[at] == 0xFF) {
            ++at;
        }
        if (at == file.size()) {
            return std::nullopt;
        }
        const std::uint8_t marker = file[at++];
        if (marker == 0x00) {
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) {  // EOI or scan data before any frame
            return std::nullopt;
        }
        if (isStandalone(marker)) {
            continue;
        }
        if (at + 2 > file.size()) {
            return std::nullopt;
        }
        const auto length = static_cast<std::size_t>(readBigEndian16(file, at));
        if (length < 2 || at + length > file.size()) {
            return std::nullopt;
        }
        if (isFrameHeader(marker)) {
            // length(2) precision(1) height(2) width(2) components(1)
            if (length < 8) {
                return std::nullopt;
            }
            const JpegFrame frame{marker - 0xC0, readBigEndian16(file, at + 5),
                                  readBigEndian16(file, at + 3), file[at + 7]};
            if (frame.width == 0 || frame.height == 0 || frame.components == 0) {
                return std::nullopt;
            }
            return frame;
        }
        at += length;
    }
    return std::nullopt;
}

}  // namespace marventa
