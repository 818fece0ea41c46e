#include "display_picture.h"

#include "bitmap.h"
#include "jpeg_decoder.h"

namespace marventa {

const DecodedPicture& DisplayPicture::pixels() {
    if (!decoded_) {
        decoded_ = holder_->kind() == PictureKind::Jpeg ? decodeJpeg(bytes(), buffer_)
                                                        : decodeBitmap(bytes(), buffer_);
    }
    return *decoded_;
}

void DisplayPicture::release() {
    decoded_.reset();
    buffer_.reset();
}

}  // namespace marventa
