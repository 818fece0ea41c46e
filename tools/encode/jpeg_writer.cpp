#include "jpeg_writer.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace marventa {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int code;
};

// The scan order the maps decode fastest in (libjpeg's decoder is slowest on refinement
// scans): the DC of all three components in one scan, then each component's AC 1-63 in one scan,
// with no successive approximation. jpegtran's -scans notation of it:
//   0,1,2: 0-0, 0, 0; 0: 1-63, 0, 0; 1: 1-63, 0, 0; 2: 1-63, 0, 0;
constexpr jpeg_scan_info kScans[] = {
    {3, {0, 1, 2, 0}, 0, 0, 0, 0},
    {1, {0, 0, 0, 0}, 1, 63, 0, 0},
    {1, {1, 0, 0, 0}, 1, 63, 0, 0},
    {1, {2, 0, 0, 0}, 1, 63, 0, 0},
};

void onFatalError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->code = manager->base.msg_code;
    std::longjmp(manager->jump, 1);
}

// Plain C-style body: no object with a destructor may live across the setjmp.
// Returns 0 on success, otherwise the libjpeg message code; *out is malloc'd by libjpeg.
int compress(const QImage& rgb, int quality, unsigned char** out, unsigned long* outSize) {
    jpeg_compress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onFatalError;
    errors.code = 0;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        return errors.code == 0 ? -1 : errors.code;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    info.dct_method = JDCT_ISLOW;
    info.scan_info = kScans;
    info.num_scans = static_cast<int>(std::size(kScans));
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return 0;
}

}  // namespace

std::vector<std::uint8_t> encodeProgressiveJpeg(const QImage& image, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const int code = compress(rgb, quality, &buffer, &size);
    std::vector<std::uint8_t> bytes;
    if (code == 0) {
        bytes.assign(buffer, buffer + size);
    }
    std::free(buffer);
    if (code != 0) {
        throw std::runtime_error("JPEG encoder error #" + std::to_string(code));
    }
    return bytes;
}

EncodedJpeg encodeJpegWithinBudget(const QImage& image, const JpegBudget& budget) {
    // File size grows with quality; bisect for the highest quality not above the target.
    int low = 20;
    int high = budget.maxQuality;
    EncodedJpeg best{encodeProgressiveJpeg(image, low), low};
    if (best.bytes.size() <= budget.targetBytes) {
        while (low < high) {
            const int mid = (low + high + 1) / 2;
            std::vector<std::uint8_t> trial = encodeProgressiveJpeg(image, mid);
            if (trial.size() <= budget.targetBytes) {
                low = mid;
                best = {std::move(trial), mid};
            } else {
                high = mid - 1;
            }
        }
    }
    if (best.quality < budget.minQuality) {
        throw std::runtime_error("JPEG fits its budget only at quality " +
                                 std::to_string(best.quality) + ", below " +
                                 std::to_string(budget.minQuality));
    }
    const std::size_t size = best.bytes.size();
    if (size < budget.minBytes || size > budget.maxBytes) {
        throw std::runtime_error("JPEG of " + std::to_string(size) + " bytes misses its budget " +
                                 std::to_string(budget.minBytes) + " .. " +
                                 std::to_string(budget.maxBytes));
    }
    return best;
}

}  // namespace marventa
