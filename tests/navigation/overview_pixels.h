#pragma once

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "navigation/overview_bitmap.h"

namespace marventa::test {

using Pixel = std::pair<int, int>;  // x, y

// A pristine overview with no pure black or white pixel, so every drawn pixel shows.
inline OverviewBitmap patternedOverview() {
    OverviewBitmap b;
    for (std::size_t i = 0; i < b.rgb.size(); ++i) {
        b.rgb[i] = static_cast<std::uint8_t>(1 + i % 253);
    }
    return b;
}

inline std::set<Pixel> changedPixels(const OverviewBitmap& shown, const OverviewBitmap& pristine) {
    std::set<Pixel> changed;
    for (std::size_t i = 0; i < shown.rgb.size(); ++i) {
        if (shown.rgb[i] != pristine.rgb[i]) {
            const int pixel = static_cast<int>(i / 3);
            changed.insert({pixel % OverviewBitmap::kWidth, pixel / OverviewBitmap::kWidth});
        }
    }
    return changed;
}

// The closed one-pixel outline of (l, t)-(r, b), corners included, minus what lies off the bitmap.
inline std::set<Pixel> outline(int l, int t, int r, int b) {
    std::set<Pixel> pixels;
    for (int y = std::max(t, 0); y <= std::min(b, OverviewBitmap::kHeight - 1); ++y) {
        for (int x = std::max(l, 0); x <= std::min(r, OverviewBitmap::kWidth - 1); ++x) {
            if (x == l || x == r || y == t || y == b) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

}  // namespace marventa::test
