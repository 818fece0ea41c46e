#include "decode_ahead.h"

#include <system_error>
#include <utility>

#include "display_picture.h"

namespace marventa {

DecodeAhead::DecodeAhead(const PictureHolder& holder) : holder_(&holder) {
    try {
        worker_ = std::thread([this] { decode(); });
    } catch (const std::system_error&) {
        // No thread to be had: take() decodes when the pixels are needed.
    }
}

DecodeAhead::~DecodeAhead() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void DecodeAhead::decode() noexcept {
    try {
        decoded_ = decodePicture(*holder_, buffer_);
    } catch (...) {
        error_ = std::current_exception();
    }
}

DecodedPicture DecodeAhead::take(PixelBuffer& pixels) {
    if (worker_.joinable()) {
        worker_.join();
    } else if (!decoded_ && !error_) {
        decode();
    }
    if (error_) {
        std::rethrow_exception(std::exchange(error_, nullptr));
    }
    pixels = std::move(buffer_);
    const DecodedPicture decoded = *decoded_;
    decoded_.reset();
    return decoded;
}

}  // namespace marventa
