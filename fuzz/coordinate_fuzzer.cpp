// Any text as a coordinate: the integer a plain reference reading gives, or ConversionError
// with the text quoted in its message.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/coordinate.h"
#include "fuzz_check.h"

namespace {

// A second reading by other means: the shape is checked character by character and the range
// by comparing digit strings, so neither shares the parser's overflow arithmetic.
std::optional<std::int64_t> referenceValue(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    const std::size_t firstSignificant = text.find_first_not_of('0');
    const std::string_view digits =
        firstSignificant == std::string_view::npos ? "0" : text.substr(firstSignificant);
    const std::string_view limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return negative ? -value : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int64_t> expected = referenceValue(text);

    const std::optional<std::int32_t> tried = marventa::tryParseCoordinate(text);
    FUZZ_CHECK(tried.has_value() == expected.has_value());
    FUZZ_CHECK(!tried || *tried == *expected);

    try {
        const std::int32_t value = marventa::parseCoordinate(text);
        FUZZ_CHECK(expected && value == *expected);
    } catch (const marventa::ConversionError& error) {
        FUZZ_CHECK(!expected);
        // The message is a C string: a NUL in the text ends it there.
        const std::string message = "'" + std::string(text) + "' is not a valid integer value";
        FUZZ_CHECK(std::string_view(error.what()) == std::string_view(message.c_str()));
    }
    return 0;
}
