#pragma once

#include <set>
#include <utility>

#include "overview_bitmap.h"

namespace marventa::test {

using Pixel = std::pair<int, int>;  // x, y

// A pristine overview whose pixels are never pure black or white, so every drawn pixel shows.
inline OverviewBitmap patternedOverview() {
    OverviewBitmap b;
    for (std::size_t i = 0; i < b.rgb.size(); ++i) {
        b.rgb[i] = static_cast<std::uint8_t>(1 + i % 253);
    }
    return b;
}

inline std::set<Pixel> changedPixels(const OverviewBitmap& shown, const OverviewBitmap& pristine) {
    std::set<Pixel> changed;
    for (int y = 0; y < OverviewBitmap::kHeight; ++y) {
        for (int x = 0; x < OverviewBitmap::kWidth; ++x) {
            const int at = y * OverviewBitmap::kStride + x * 3;
            for (int c = 0; c < 3; ++c) {
                if (shown.rgb[at + c] != pristine.rgb[at + c]) {
                    changed.insert({x, y});
                }
            }
        }
    }
    return changed;
}

// The closed one-pixel outline of (l, t)-(r, b), corners included, minus what lies off the bitmap.
inline std::set<Pixel> outline(int l, int t, int r, int b) {
    std::set<Pixel> pixels;
    const auto add = [&pixels](int x, int y) {
        if (x >= 0 && y >= 0 && x < OverviewBitmap::kWidth && y < OverviewBitmap::kHeight) {
            pixels.insert({x, y});
        }
    };
    for (int x = l; x <= r; ++x) {
        add(x, t);
        add(x, b);
    }
    for (int y = t; y <= b; ++y) {
        add(l, y);
        add(r, y);
    }
    return pixels;
}

}  // namespace marventa::test
