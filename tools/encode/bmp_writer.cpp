#include "bmp_writer.h"

#include <QImage>

#include "byte_writer.h"

namespace marventa {

std::vector<std::uint8_t> encodeBmp24(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
    constexpr std::uint32_t kHeaders = 14 + 40;
    constexpr std::int32_t kPixelsPerMetre = 7799;

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(kHeaders + imageBytes);
    out.u16(0);
    out.u16(0);
    out.u32(kHeaders);

    out.u32(40);
    out.i32(width);
    out.i32(height);  // positive: bottom row first
    out.u16(1);
    out.u16(24);
    out.u32(0);
    out.u32(imageBytes);
    out.i32(kPixelsPerMetre);
    out.i32(kPixelsPerMetre);
    out.u32(0);
    out.u32(0);

    for (int y = height - 1; y >= 0; --y) {
        const uchar* row = rgb.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            out.u8(row[3 * x + 2]);
            out.u8(row[3 * x + 1]);
            out.u8(row[3 * x]);
        }
        out.zeros(rowBytes - static_cast<std::uint32_t>(width) * 3);
    }
    return std::move(out.bytes());
}

}  // namespace marventa
