#include "ico_writer.h"

#include <stdexcept>

#include "byte_writer.h"

namespace marventa {

namespace {

std::uint32_t paddedRow(int width, int bitsPerPixel) {
    const std::uint32_t bits =
        static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel);
    return ((bits + 31) / 32) * 4;
}

void checkImage(const IconImage& image) {
    const int colours = 1 << image.bitsPerPixel;
    if ((image.bitsPerPixel != 4 && image.bitsPerPixel != 8) ||
        image.pixels.format() != QImage::Format_Indexed8 || image.pixels.colorCount() > colours ||
        image.pixels.width() > 256 || image.pixels.height() > 256) {
        throw std::invalid_argument("icon image must be indexed with a 16 or 256 colour table");
    }
}

std::vector<std::uint8_t> encodeEntry(const IconImage& image) {
    const QImage& px = image.pixels;
    const int width = px.width();
    const int height = px.height();
    const int colours = 1 << image.bitsPerPixel;
    const std::uint32_t xorRow = paddedRow(width, image.bitsPerPixel);
    const std::uint32_t andRow = paddedRow(width, 1);
    const QList<QRgb> table = px.colorTable();
    auto transparent = [&](int x, int y) { return qAlpha(table[px.pixelIndex(x, y)]) == 0; };

    ByteWriter out;
    out.u32(40);
    out.i32(width);
    out.i32(height * 2);  // the XOR image and the AND mask stacked
    out.u16(1);
    out.u16(static_cast<std::uint16_t>(image.bitsPerPixel));
    out.u32(0);
    out.u32((xorRow + andRow) * static_cast<std::uint32_t>(height));
    out.i32(0);
    out.i32(0);
    out.u32(0);
    out.u32(0);
    for (int i = 0; i < colours; ++i) {
        const QRgb c = i < table.size() && qAlpha(table[i]) != 0 ? table[i] : qRgb(0, 0, 0);
        out.u8(static_cast<std::uint8_t>(qBlue(c)));
        out.u8(static_cast<std::uint8_t>(qGreen(c)));
        out.u8(static_cast<std::uint8_t>(qRed(c)));
        out.u8(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            const int index = transparent(x, y) ? 0 : px.pixelIndex(x, y);
            if (image.bitsPerPixel == 8) {
                out.u8(static_cast<std::uint8_t>(index));
            } else if (x % 2 == 0) {
                out.u8(static_cast<std::uint8_t>(index << 4));
            } else {
                out.bytes().back() |= static_cast<std::uint8_t>(index);
            }
        }
        out.zeros(xorRow - (out.size() - start));
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            if (x % 8 == 0) {
                out.u8(0);
            }
            if (transparent(x, y)) {
                out.bytes().back() |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.zeros(andRow - (out.size() - start));
    }
    return std::move(out.bytes());
}

}  // namespace

std::vector<std::uint8_t> encodeIco(const std::vector<IconImage>& images) {
    std::vector<std::vector<std::uint8_t>> entries;
    for (const IconImage& image : images) {
        checkImage(image);
        entries.push_back(encodeEntry(image));
    }
    ByteWriter out;
    out.u16(0);
    out.u16(1);  // icon, not cursor
    out.u16(static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        out.u8(static_cast<std::uint8_t>(image.pixels.width() % 256));
        out.u8(static_cast<std::uint8_t>(image.pixels.height() % 256));
        out.u8(image.bitsPerPixel == 4 ? 16 : 0);  // 0 means 256 colours or more
        out.u8(0);
        out.u16(1);
        out.u16(static_cast<std::uint16_t>(image.bitsPerPixel));
        out.u32(static_cast<std::uint32_t>(entries[i].size()));
        out.u32(offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const auto& entry : entries) {
        out.bytes().insert(out.bytes().end(), entry.begin(), entry.end());
    }
    return std::move(out.bytes());
}

}  // namespace marventa
