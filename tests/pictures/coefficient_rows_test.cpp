#include "pictures/coefficient_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace marventa {
namespace {

// A chroma row of the province map: 203 blocks of 64 coefficients.
constexpr std::size_t kRowBytes = 203 * 128;
constexpr std::size_t kRows = 330;

std::uint8_t mark(std::size_t row) {
    return static_cast<std::uint8_t>(row % 251 + 1);
}

bool intact(const CoefficientRows& rows, std::size_t row) {
    const std::uint8_t* bytes = rows.row(row);
    return std::all_of(bytes, bytes + kRowBytes, [&](std::uint8_t b) { return b == mark(row); });
}

void mapMarked(CoefficientRows& rows) {
    ASSERT_TRUE(rows.map(kRowBytes, kRows));
    for (std::size_t row = 0; row < kRows; ++row) {
        std::fill_n(rows.row(row), kRowBytes, mark(row));
    }
}

TEST(CoefficientRows, OutputPassWithSmoothingKeepsEveryRowItStillReads) {
    CoefficientRows rows;
    mapMarked(rows);
    // Block smoothing reads two block rows above and below the row it outputs.
    for (std::size_t row = 0; row < kRows; ++row) {
        const std::size_t first = row >= 2 ? row - 2 : 0;
        const std::size_t last = std::min(row + 2, kRows - 1);
        ASSERT_TRUE(rows.keepFrom(first)) << row;
        for (std::size_t read = first; read <= last; ++read) {
            ASSERT_TRUE(intact(rows, read)) << "row " << read << " while outputting " << row;
        }
    }
    // What has been read past goes back closely behind the pass.
    const std::size_t passed = (kRows - 3) * kRowBytes;
    EXPECT_LE(rows.releasedBytes(), passed);
    EXPECT_GT(rows.releasedBytes() + (std::size_t{64} << 10), passed);
}

TEST(CoefficientRows, ReadsThatGoBackAreRefusedOnlyForRowsGivenBack) {
    CoefficientRows rows;
    mapMarked(rows);
    ASSERT_TRUE(rows.keepFrom(200));
    const std::size_t released = rows.releasedBytes();
    ASSERT_GT(released, 0U);
    for (std::size_t row = 0; row <= 200; ++row) {
        const bool stillThere = row * kRowBytes >= released;
        EXPECT_EQ(rows.keepFrom(row), stillThere) << row;
        if (stillThere) {
            EXPECT_TRUE(intact(rows, row)) << row;
        }
    }
    EXPECT_EQ(rows.releasedBytes(), released);
}

TEST(CoefficientRows, EachMappingStartsZeroFilled) {
    CoefficientRows rows;
    mapMarked(rows);
    ASSERT_TRUE(rows.keepFrom(kRows));
    ASSERT_TRUE(rows.map(kRowBytes, kRows));
    EXPECT_EQ(rows.releasedBytes(), 0U);
    for (std::size_t row = 0; row < kRows; ++row) {
        ASSERT_TRUE(std::all_of(rows.row(row), rows.row(row) + kRowBytes, [](std::uint8_t b) {
            return b == 0;
        })) << row;
    }
    rows.unmap();
    EXPECT_EQ(rows.rowCount(), 0U);
}

}  // namespace
}  // namespace marventa
