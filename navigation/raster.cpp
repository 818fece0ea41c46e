#include "raster.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

namespace marventa {

namespace {

void putPixel(OverviewBitmap& bitmap, int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= OverviewBitmap::kWidth || y >= OverviewBitmap::kHeight) {
        return;
    }
    const auto at = static_cast<std::size_t>(y * OverviewBitmap::kStride + x * 3);
    bitmap.rgb[at] = colour.r;
    bitmap.rgb[at + 1] = colour.g;
    bitmap.rgb[at + 2] = colour.b;
}

// The pixels a stroke from `from` towards `to` covers on its axis, as an inclusive interval:
// the start is in, the end is out, whichever way the stroke runs.
struct Span {
    int first;
    int last;
};

Span strokeSpan(int from, int to) {
    return from <= to ? Span{from, to - 1} : Span{to + 1, from};
}

}  // namespace

void strokeAxisAligned(OverviewBitmap& bitmap, int x0, int y0, int x1, int y1, Rgb pen) {
    assert(x0 == x1 || y0 == y1);
    const bool horizontal = y0 == y1;
    const Span span = horizontal ? strokeSpan(x0, x1) : strokeSpan(y0, y1);
    // Clip the run to the bitmap so a far-off stroke costs nothing; putPixel clips the other axis.
    const int runEnd = horizontal ? OverviewBitmap::kWidth : OverviewBitmap::kHeight;
    const int first = std::max(span.first, 0);
    const int last = std::min(span.last, runEnd - 1);
    for (int k = first; k <= last; ++k) {
        if (horizontal) {
            putPixel(bitmap, k, y0, pen);
        } else {
            putPixel(bitmap, x0, k, pen);
        }
    }
}

void drawEllipse(OverviewBitmap& bitmap, int x1, int y1, int x2, int y2, Rgb pen, Rgb brush) {
    const std::int64_t w = x2 - x1;
    const std::int64_t h = y2 - y1;
    if (w <= 0 || h <= 0) {
        return;
    }
    // A pixel belongs to the ellipse when its centre lies inside it; in units of half a pixel the
    // centre of column i is 2i + 1 and the ellipse's centre is w, so no fractions are needed.
    const auto inside = [w, h](std::int64_t i, std::int64_t j) {
        const std::int64_t dx = 2 * i + 1 - w;
        const std::int64_t dy = 2 * j + 1 - h;
        return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
    };
    for (std::int64_t j = 0; j < h; ++j) {
        for (std::int64_t i = 0; i < w; ++i) {
            if (!inside(i, j)) {
                continue;
            }
            // The ring is every inside pixel with a side neighbour outside: one pixel thick and
            // closed without gaps at the diagonals.
            const bool edge =
                !inside(i - 1, j) || !inside(i + 1, j) || !inside(i, j - 1) || !inside(i, j + 1);
            putPixel(bitmap, x1 + static_cast<int>(i), y1 + static_cast<int>(j),
                     edge ? pen : brush);
        }
    }
}

}  // namespace marventa
