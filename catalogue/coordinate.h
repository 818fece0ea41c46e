#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace marventa {

// Raised when a coordinate text is not a decimal 32-bit integer.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(std::string_view text);
};

// Strict decimal parse: an optional sign and at least one digit, nothing else, within 32 bits.
constexpr std::optional<std::int32_t> tryParseCoordinate(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > std::int64_t{INT32_MAX} + 1) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT32_MAX || value < INT32_MIN) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// The same parse, raising ConversionError("'<text>' is not a valid integer value").
std::int32_t parseCoordinate(std::string_view text);

}  // namespace marventa
