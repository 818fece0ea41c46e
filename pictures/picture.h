#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace marventa {

// A malformed picture stream or picture header (truncated, unknown kind tag, bad sizes).
class PictureStreamError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A fatal decoder error: "JPEG error #<message code>".
class JpegError : public std::runtime_error {
  public:
    explicit JpegError(int code);
    int code() const { return code_; }

  private:
    int code_;
};

enum class PictureKind { Jpeg, Bitmap };

class Picture;
class PictureSet;

// A hidden picture holder: compressed file bytes only, borrowed from its set's stream, and the
// picture's size read from its header.
class PictureHolder {
  public:
    const std::string& name() const { return name_; }
    PictureKind kind() const { return kind_; }
    std::span<const std::uint8_t> bytes() const { return bytes_; }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    friend class PictureSet;
    friend class Picture;
    friend Picture decode(const PictureHolder& holder);
    // Reads the header: PictureStreamError unless it is a picture of its kind.
    PictureHolder(const PictureSet& set, std::string name, PictureKind kind,
                  std::span<const std::uint8_t> bytes);

    const PictureSet* set_;
    std::string name_;
    PictureKind kind_;
    std::span<const std::uint8_t> bytes_;
    int width_ = 0;
    int height_ = 0;
    // The memory its decode takes: for a JPEG, the most any JPEG of its set needs, so that the
    // one spare block left by any decode serves the next.
    std::size_t blockBytes_ = 0;
};

// Decoded 24-bit RGB pixels, rows top-down, stride() bytes apart: a multiple of 4, as toolkit
// images want them, so a display wraps the pixels without copying. Moved, never copied.
// Dropping a picture keeps its memory as the spare for the next decode, which then writes into
// pages already mapped instead of faulting in 25 MB of fresh ones.
class Picture {
  public:
    Picture() = default;

    bool empty() const { return !pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }
    std::span<const std::uint8_t> rgb() const {
        return {pixels_.get(), pixels_ ? static_cast<std::size_t>(stride_) * height_ : 0};
    }

  private:
    friend class PictureSet;  // its decode-ahead
    friend Picture decode(const PictureHolder& holder);
    static Picture decodeHere(const PictureHolder& holder);

    struct GiveBack {
        std::size_t capacity;
        void operator()(std::uint8_t* block) const;
    };
    std::unique_ptr<std::uint8_t[], GiveBack> pixels_;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
};

// Decodes the holder's picture: a JPEG with libjpeg at full size into RGB (slow-integer IDCT,
// block smoothing, no quantisation, one pass; warnings ignored), a bitmap by turning its rows
// around. Raises JpegError for a fatal decoder error. If the holder's set prefetched it, the
// first call waits for that decode and takes its pixels, or its error, instead.
Picture decode(const PictureHolder& holder);

// The holders of one picture stream, in stream order. Holders point back to their set, so it
// stays where it was made.
class PictureSet {
  public:
    // Parses a stream of records: per holder a length-prefixed name, a length-prefixed kind tag
    // ("TJPEGImage" or "TBitmap"), a 32-bit little-endian byte count and the file bytes, which
    // must outlive the set. Raises PictureStreamError on anything malformed; never reads past
    // the end.
    explicit PictureSet(std::span<const std::uint8_t> stream);
    PictureSet(const PictureSet&) = delete;
    PictureSet& operator=(const PictureSet&) = delete;
    ~PictureSet();

    // The pictures linked into the program.
    static const PictureSet& embedded();

    // Raises PictureStreamError for an unknown name.
    const PictureHolder& holder(std::string_view name) const;
    const std::vector<PictureHolder>& holders() const { return holders_; }

    // Starts decoding one of this set's holders on a worker thread, so that it runs beside
    // other start-up work; the first decode() of that holder takes the result. A result never
    // taken is waited for and dropped by the next prefetch or by the set. Raises
    // std::invalid_argument for a holder of another set.
    void prefetch(const PictureHolder& holder) const;

  private:
    friend Picture decode(const PictureHolder& holder);
    struct Prefetch;

    std::vector<PictureHolder> holders_;
    mutable std::unique_ptr<Prefetch> prefetch_;
};

inline constexpr std::string_view kProvinceHolder = "ProvinceMap";
inline constexpr std::string_view kOverviewHolder = "Image3";
inline constexpr std::string_view kJpegTag = "TJPEGImage";
inline constexpr std::string_view kBitmapTag = "TBitmap";

// Appends one record of the picture stream. Shared by the build-time packer and the tests, so
// both write exactly what PictureSet reads.
inline void appendPictureRecord(std::vector<std::uint8_t>& stream, std::string_view name,
                                std::string_view tag, std::span<const std::uint8_t> bytes) {
    if (name.size() > 255 || tag.size() > 255 || bytes.size() > UINT32_MAX) {
        throw std::length_error("picture record: name or tag over 255 characters, or over 4 GB");
    }
    for (const std::string_view text : {name, tag}) {
        stream.push_back(static_cast<std::uint8_t>(text.size()));
        stream.insert(stream.end(), text.begin(), text.end());
    }
    for (int shift = 0; shift < 32; shift += 8) {
        stream.push_back(static_cast<std::uint8_t>(bytes.size() >> shift));
    }
    stream.insert(stream.end(), bytes.begin(), bytes.end());
}

}  // namespace marventa
