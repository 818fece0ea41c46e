#pragma once

#include <exception>
#include <optional>
#include <thread>

#include "decoded_picture.h"
#include "jpeg_decoder.h"
#include "picture_set.h"
#include "pixel_buffer.h"

namespace marventa {

// A picture's decode started on a worker thread before a display needs it, so that it runs
// beside other start-up work. The display takes the result with take(), which waits for the
// worker; a result never taken is dropped. The worker is joined by take() or by the destructor:
// it never outlives this object. Where no thread can be started, take() decodes by itself.
class DecodeAhead {
  public:
    explicit DecodeAhead(const PictureHolder& holder);
    DecodeAhead(const DecodeAhead&) = delete;
    DecodeAhead& operator=(const DecodeAhead&) = delete;
    ~DecodeAhead();

    const PictureHolder& holder() const { return *holder_; }

    // Waits for the decode and hands its pixels to `pixels`, or raises the error it raised
    // (JpegError), leaving `pixels` untouched. A second call decodes again, on this thread.
    DecodedPicture take(PixelBuffer& pixels);

  private:
    void decode() noexcept;

    const PictureHolder* holder_;
    PixelBuffer buffer_;
    std::optional<DecodedPicture> decoded_;
    std::exception_ptr error_;
    std::thread worker_;  // last: starts once the members it writes exist
};

}  // namespace marventa
