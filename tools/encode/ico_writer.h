#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace marventa {

// One image of an icon file: an 8-bit indexed QImage whose colour table has at most
// 2^bitsPerPixel entries; an entry with alpha 0 marks transparent pixels (set in the AND mask).
struct IconImage {
    QImage pixels;
    int bitsPerPixel;  // 4 or 8
};

// A Windows icon file with palettized bitmap entries (colour table, XOR pixels, AND mask).
std::vector<std::uint8_t> encodeIco(const std::vector<IconImage>& images);

}  // namespace marventa
