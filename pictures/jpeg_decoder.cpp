#include "jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>  // jpeglib.h uses FILE without including it
#include <string>
#include <utility>

#include <jpeglib.h>

#include "decoder_memory.h"

namespace marventa {

JpegError::JpegError(int code)
    : std::runtime_error("JPEG error #" + std::to_string(code)), code_(code) {}

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;  // first member: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    int code = 0;
};

[[noreturn]] void jumpOut(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    trap->code = info->err->msg_code;
    std::longjmp(trap->jump, 1);
}

void ignoreMessage(j_common_ptr, int) {}
void ignoreOutput(j_common_ptr) {}

using Step = void (*)(j_decompress_ptr info, void* context);

// Runs one step of libjpeg calls. A fatal error inside it longjmps back here; the frames it
// skips (libjpeg's and the step's) hold nothing with a destructor. False after such an error.
bool runGuarded(j_decompress_ptr info, ErrorTrap& trap, Step step, void* context) {
    if (setjmp(trap.jump) != 0) {
        return false;
    }
    step(info, context);
    return true;
}

// The decompression object, destroyed on every way out.
class Decompressor {
  public:
    explicit Decompressor(DecoderMemory& memory) {
        info_.err = jpeg_std_error(&trap_.manager);
        trap_.manager.error_exit = jumpOut;
        trap_.manager.emit_message = ignoreMessage;
        trap_.manager.output_message = ignoreOutput;
        const bool created = runGuarded(
            &info_, trap_, [](j_decompress_ptr info, void*) { jpeg_create_decompress(info); },
            nullptr);
        if (!created) {
            jpeg_destroy_decompress(&info_);  // safe on a half-created object
            throw JpegError(trap_.code);
        }
        memory.install(info_);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    ~Decompressor() { jpeg_destroy_decompress(&info_); }

    void run(Step step, void* context) {
        if (!runGuarded(&info_, trap_, step, context)) {
            throw JpegError(trap_.code);
        }
    }

    const jpeg_decompress_struct& info() const { return info_; }

  private:
    ErrorTrap trap_;
    jpeg_decompress_struct info_{};
};

struct Source {
    const unsigned char* data;
    unsigned long size;
};

struct Target {
    std::uint8_t* pixels;
    std::size_t stride;
    DecoderMemory* memory;
};

void readHeader(j_decompress_ptr info, void* context) {
    const auto* source = static_cast<const Source*>(context);
    jpeg_mem_src(info, source->data, source->size);
    jpeg_read_header(info, TRUE);
    info->scale_num = 1;
    info->scale_denom = 1;
    info->out_color_space = JCS_RGB;
    info->dct_method = JDCT_ISLOW;
    info->do_block_smoothing = TRUE;
    info->quantize_colors = FALSE;
    info->buffered_image = FALSE;
    jpeg_calc_output_dimensions(info);
}

// Several rows per call let libjpeg hand over whole row groups at once.
constexpr JDIMENSION kRowsPerCall = 16;

void readPixels(j_decompress_ptr info, void* context) {
    const auto* target = static_cast<const Target*>(context);
    jpeg_start_decompress(info);
    // Every scan has been read: what follows is the output pass.
    target->memory->beginOutput();
    JSAMPROW rows[kRowsPerCall];
    while (info->output_scanline < info->output_height) {
        const JDIMENSION first = info->output_scanline;
        const JDIMENSION count = std::min(kRowsPerCall, info->output_height - first);
        for (JDIMENSION i = 0; i < count; ++i) {
            rows[i] = target->pixels + (first + i) * target->stride;
        }
        if (jpeg_read_scanlines(info, rows, count) == 0) {
            break;  // cannot happen with a memory source; finish reports the short image
        }
    }
    jpeg_finish_decompress(info);
}

}  // namespace

DecodedPicture decodeJpeg(std::span<const std::uint8_t> file, PixelBuffer& pixels) {
    DecoderMemory memory;  // before the decompressor: outlives its arrays
    Decompressor decompressor(memory);
    Source source{file.data(), static_cast<unsigned long>(file.size())};
    decompressor.run(readHeader, &source);

    const int width = static_cast<int>(decompressor.info().output_width);
    const int height = static_cast<int>(decompressor.info().output_height);
    const int stride = rgbRowStride(width);
    const std::size_t pixelBytes = static_cast<std::size_t>(stride) * height;
    const CoefficientLayout layout =
        CoefficientLayout::of(decompressor.info(), static_cast<std::size_t>(stride), kRowsPerCall);
    PixelBuffer buffer = PixelBuffer::acquire(std::max(pixelBytes, layout.end()));
    memory.shareBlock(buffer.bytes().data(), buffer.zeroed(), layout,
                      static_cast<std::size_t>(stride), kRowsPerCall);
    Target target{buffer.bytes().data(), static_cast<std::size_t>(stride), &memory};
    decompressor.run(readPixels, &target);

    pixels = std::move(buffer);
    return {width, height, stride, pixels.bytes().first(pixelBytes)};
}

}  // namespace marventa
