#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace marventa {

// A malformed picture stream (truncated, unknown kind tag, bad sizes).
class PictureStreamError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class PictureKind { Jpeg, Bitmap };

// A hidden picture holder: compressed file bytes only (never decoded), and the picture's size
// read from its header.
class PictureHolder {
  public:
    PictureHolder(std::string name, PictureKind kind, std::span<const std::uint8_t> bytes);

    const std::string& name() const { return name_; }
    PictureKind kind() const { return kind_; }
    std::span<const std::uint8_t> bytes() const { return bytes_; }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    std::string name_;
    PictureKind kind_;
    std::span<const std::uint8_t> bytes_;  // borrowed from the stream, which outlives holders
    int width_ = 0;
    int height_ = 0;
};

// The holders of one picture stream, in stream order.
class PictureSet {
  public:
    // Parses a stream of records: per holder a length-prefixed name, a length-prefixed kind tag
    // ("TJPEGImage" or "TBitmap"), a 32-bit little-endian byte count and the file bytes.
    // Raises PictureStreamError on anything malformed; never reads past the end.
    static PictureSet parse(std::span<const std::uint8_t> stream);

    // The pictures linked into the program.
    static const PictureSet& embedded();

    // Raises PictureStreamError for an unknown name.
    const PictureHolder& holder(std::string_view name) const;
    const std::vector<PictureHolder>& holders() const { return holders_; }

  private:
    std::vector<PictureHolder> holders_;
};

inline constexpr std::string_view kProvinceHolder = "ProvinceMap";
inline constexpr std::string_view kOverviewHolder = "Image3";

}  // namespace marventa
