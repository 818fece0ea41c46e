#pragma once

#include <cstdint>

#include "overview_bitmap.h"

namespace marventa {

// Drawing on the overview bitmap with a plain canvas's pen and brush. Coordinates are bitmap
// pixels; whatever falls outside the bitmap is clipped.

struct Rgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// A pen stroke from (x0, y0) towards (x1, y1) along one axis: it covers its start pixel and stops
// one pixel short of its end, so a stroke of length zero draws nothing. The two points must share
// x or y.
void strokeAxisAligned(OverviewBitmap& bitmap, int x0, int y0, int x1, int y1, Rgb pen);

// An ellipse inscribed in the box that covers x1 .. x2 - 1 and y1 .. y2 - 1: a one-pixel ring in
// the pen colour around a brush-coloured inside.
void drawEllipse(OverviewBitmap& bitmap, int x1, int y1, int x2, int y2, Rgb pen, Rgb brush);

}  // namespace marventa
