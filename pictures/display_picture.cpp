#include "display_picture.h"

#include <utility>

#include "bitmap.h"
#include "decode_ahead.h"
#include "jpeg_decoder.h"

namespace marventa {

DecodedPicture decodePicture(const PictureHolder& holder, PixelBuffer& pixels) {
    return holder.kind() == PictureKind::Jpeg ? decodeJpeg(holder.bytes(), pixels)
                                              : decodeBitmap(holder.bytes(), pixels);
}

void DisplayPicture::decodeFrom(DecodeAhead& ahead) {
    if (&ahead.holder() == holder_ && !decoded_) {
        ahead_ = &ahead;
    }
}

const DecodedPicture& DisplayPicture::pixels() {
    if (!decoded_) {
        decoded_ = ahead_ != nullptr ? std::exchange(ahead_, nullptr)->take(buffer_)
                                     : decodePicture(*holder_, buffer_);
    }
    return *decoded_;
}

void DisplayPicture::release() {
    ahead_ = nullptr;
    decoded_.reset();
    buffer_.reset();
}

}  // namespace marventa
