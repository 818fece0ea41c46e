#pragma once

#include <array>
#include <cstdint>

namespace marventa {

// The 200 x 162 overview picture as 24-bit RGB, rows top-down without padding.
struct OverviewBitmap {
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 162;
    static constexpr int kStride = kWidth * 3;

    std::array<std::uint8_t, kStride * kHeight> rgb{};

    friend bool operator==(const OverviewBitmap&, const OverviewBitmap&) = default;
};

}  // namespace marventa
