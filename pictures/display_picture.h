#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "decoded_picture.h"
#include "jpeg_decoder.h"
#include "picture_set.h"
#include "pixel_buffer.h"

namespace marventa {

class DecodeAhead;

// Decodes a holder's picture into a buffer taken from the recycler, handed to `pixels`.
DecodedPicture decodePicture(const PictureHolder& holder, PixelBuffer& pixels);

// A picture put into a display control (Image1): it shares the holder's compressed bytes and
// decodes them on the first call to pixels(); the pixels stay with this copy for repainting.
// Destroying or replacing the copy hands its pixel buffer back for the next decode, so
// switching maps and back decodes again without asking the kernel for fresh memory.
class DisplayPicture {
  public:
    explicit DisplayPicture(const PictureHolder& holder) : holder_(&holder) {}

    DisplayPicture(DisplayPicture&&) noexcept = default;
    DisplayPicture& operator=(DisplayPicture&&) noexcept = default;

    const PictureHolder& holder() const { return *holder_; }
    PictureKind kind() const { return holder_->kind(); }
    // The compressed bytes: the holder's own, not a copy.
    std::span<const std::uint8_t> bytes() const { return holder_->bytes(); }

    // From the header; never decodes.
    int width() const { return holder_->width(); }
    int height() const { return holder_->height(); }

    bool isDecoded() const { return decoded_.has_value(); }

    // Decodes on the first call and keeps the result. A JPEG that does not decode raises
    // JpegError and leaves the copy undecoded.
    const DecodedPicture& pixels();

    // Gives the pixels back; the next pixels() decodes again.
    void release();

    // The first pixels() takes its pixels from `ahead`, a decode of the same holder already
    // under way, instead of decoding by itself; `ahead` must outlive that call. A decode of
    // another holder is ignored.
    void decodeFrom(DecodeAhead& ahead);

  private:
    const PictureHolder* holder_;
    PixelBuffer buffer_;
    std::optional<DecodedPicture> decoded_;
    DecodeAhead* ahead_ = nullptr;
};

}  // namespace marventa
