#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace marventa {

// Kind tags of the picture stream.
inline constexpr std::string_view kJpegTag = "TJPEGImage";
inline constexpr std::string_view kBitmapTag = "TBitmap";

// Appends one record of the picture stream: length-prefixed name, length-prefixed kind tag,
// 32-bit little-endian byte count, the file bytes. Shared by the build-time packer and the
// tests, so both write exactly what PictureSet::parse reads.
inline void appendPictureRecord(std::vector<std::uint8_t>& stream, std::string_view name,
                                std::string_view tag, std::span<const std::uint8_t> bytes) {
    if (name.size() > 255 || tag.size() > 255) {
        throw std::length_error("picture name or kind tag longer than 255 characters");
    }
    if (bytes.size() > UINT32_MAX) {
        throw std::length_error("picture larger than 4 GB");
    }
    const auto appendText = [&stream](std::string_view text) {
        stream.push_back(static_cast<std::uint8_t>(text.size()));
        stream.insert(stream.end(), text.begin(), text.end());
    };
    appendText(name);
    appendText(tag);
    const auto count = static_cast<std::uint32_t>(bytes.size());
    for (int shift = 0; shift < 32; shift += 8) {
        stream.push_back(static_cast<std::uint8_t>(count >> shift));
    }
    stream.insert(stream.end(), bytes.begin(), bytes.end());
}

}  // namespace marventa
