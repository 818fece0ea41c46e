#include "picture_set.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "bitmap.h"
#include "jpeg_header.h"
#include "picture_record.h"

// The packed stream, linked in from embedded_pictures.S.
extern "C" {
extern const std::uint8_t marventa_picture_stream[];
extern const std::uint64_t marventa_picture_stream_size;
}

namespace marventa {

PictureHolder::PictureHolder(std::string name, PictureKind kind,
                             std::span<const std::uint8_t> bytes)
    : name_(std::move(name)), kind_(kind), bytes_(bytes) {
    if (kind_ == PictureKind::Jpeg) {
        const std::optional<JpegFrame> frame = scanJpegFrame(bytes_);
        if (!frame) {
            throw PictureStreamError("picture \"" + name_ + "\": no JPEG frame header");
        }
        width_ = frame->width;
        height_ = frame->height;
    } else {
        try {
            const BitmapLayout layout = readBitmapLayout(bytes_);
            width_ = layout.width;
            height_ = layout.height;
        } catch (const PictureStreamError& error) {
            throw PictureStreamError("picture \"" + name_ + "\": " + error.what());
        }
    }
}

namespace {

// Reads the stream front to back; every read checks the bytes left first.
class StreamReader {
  public:
    explicit StreamReader(std::span<const std::uint8_t> stream) : rest_(stream) {}

    bool atEnd() const { return rest_.empty(); }

    std::string_view text(const char* what) {
        if (rest_.empty()) {
            fail(std::string("truncated before the length of the ") + what);
        }
        const std::size_t length = rest_[0];
        if (length == 0) {
            fail(std::string("empty ") + what);
        }
        const auto chars = bytes(1 + length, what).subspan(1);
        return {reinterpret_cast<const char*>(chars.data()), chars.size()};
    }

    std::uint32_t count(std::string_view name) {
        const auto le = bytes(4, "byte count of \"" + std::string(name) + "\"");
        return std::uint32_t{le[0]} | std::uint32_t{le[1]} << 8 | std::uint32_t{le[2]} << 16 |
               std::uint32_t{le[3]} << 24;
    }

    std::span<const std::uint8_t> bytes(std::size_t size, const std::string& what) {
        if (size > rest_.size()) {
            fail("truncated " + what + ": " + std::to_string(size) + " bytes needed, " +
                 std::to_string(rest_.size()) + " left");
        }
        const auto taken = rest_.first(size);
        rest_ = rest_.subspan(size);
        return taken;
    }

  private:
    [[noreturn]] static void fail(const std::string& what) {
        throw PictureStreamError("picture stream: " + what);
    }

    std::span<const std::uint8_t> rest_;
};

PictureKind kindOf(std::string_view tag, std::string_view name) {
    if (tag == kJpegTag) {
        return PictureKind::Jpeg;
    }
    if (tag == kBitmapTag) {
        return PictureKind::Bitmap;
    }
    throw PictureStreamError("picture stream: unknown kind tag \"" + std::string(tag) +
                             "\" for picture \"" + std::string(name) + "\"");
}

}  // namespace

PictureSet PictureSet::parse(std::span<const std::uint8_t> stream) {
    if (stream.empty()) {
        throw PictureStreamError("picture stream: empty");
    }
    PictureSet set;
    StreamReader reader(stream);
    while (!reader.atEnd()) {
        const std::string name(reader.text("picture name"));
        const PictureKind kind = kindOf(reader.text("kind tag"), name);
        const std::uint32_t count = reader.count(name);
        const auto bytes = reader.bytes(count, "bytes of \"" + name + "\"");
        const bool duplicate =
            std::ranges::any_of(set.holders_, [&](const auto& h) { return h.name() == name; });
        if (duplicate) {
            throw PictureStreamError("picture stream: picture \"" + name + "\" appears twice");
        }
        set.holders_.emplace_back(name, kind, bytes);
    }
    return set;
}

const PictureSet& PictureSet::embedded() {
    static const PictureSet set =
        parse({marventa_picture_stream, static_cast<std::size_t>(marventa_picture_stream_size)});
    return set;
}

const PictureHolder& PictureSet::holder(std::string_view name) const {
    const auto found =
        std::ranges::find_if(holders_, [&](const auto& h) { return h.name() == name; });
    if (found == holders_.end()) {
        throw PictureStreamError("no picture named \"" + std::string(name) + "\"");
    }
    return *found;
}

}  // namespace marventa
