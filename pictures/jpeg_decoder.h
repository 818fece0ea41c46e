#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>

#include "decoded_picture.h"
#include "pixel_buffer.h"

namespace marventa {

// A fatal decoder error: "JPEG error #<message code>".
class JpegError : public std::runtime_error {
  public:
    explicit JpegError(int code);
    int code() const { return code_; }

  private:
    int code_;
};

// Decodes a whole JPEG file with libjpeg at full size into 24-bit RGB (slow-integer IDCT,
// block smoothing, no quantisation, one pass). The pixels go into a buffer taken from the
// recycler and handed to `pixels` on success; the result points into it. A fatal decoder
// error raises JpegError and leaves `pixels` untouched; warnings are ignored.
DecodedPicture decodeJpeg(std::span<const std::uint8_t> file, PixelBuffer& pixels);

}  // namespace marventa
