#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "catalogue/coordinate.h"

namespace marventa {
namespace {

class RejectedCoordinate : public testing::TestWithParam<std::string> {};

TEST_P(RejectedCoordinate, RaisesConversionErrorNamingTheText) {
    const std::string text = GetParam();
    EXPECT_FALSE(tryParseCoordinate(text).has_value());
    try {
        parseCoordinate(text);
        FAIL() << "accepted '" << text << "'";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, RejectedCoordinate,
                         testing::Values("", "+", "-", " 12", "12 ", "1 2", "12a", "0x10", "1.5",
                                         "--3", "+-3", "2147483648", "-2147483649",
                                         "99999999999999999999", "\xef\xbc\x91"));

TEST(Coordinate, AcceptsSignsLeadingZerosAndBothEndsOf32Bits) {
    EXPECT_EQ(parseCoordinate("0"), 0);
    EXPECT_EQ(parseCoordinate("-0"), 0);
    EXPECT_EQ(parseCoordinate("+7"), 7);
    EXPECT_EQ(parseCoordinate("-42"), -42);
    EXPECT_EQ(parseCoordinate("0003247"), 3247);
    EXPECT_EQ(parseCoordinate("2147483647"), INT32_MAX);
    EXPECT_EQ(parseCoordinate("-2147483648"), INT32_MIN);
    EXPECT_EQ(parseCoordinate("+000000000000002147483647"), INT32_MAX);
}

}  // namespace
}  // namespace marventa
