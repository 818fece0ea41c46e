#include "coordinate.h"

namespace marventa {

namespace {

std::string conversionMessage(std::string_view text) {
    // Appended piece by piece: "'" + std::string(...) trips a false -Wrestrict in g++ 12 at -O3.
    std::string message = "'";
    message.append(text).append("' is not a valid integer value");
    return message;
}

}  // namespace

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error(conversionMessage(text)) {}

std::int32_t parseCoordinate(std::string_view text) {
    if (const auto value = tryParseCoordinate(text)) {
        return *value;
    }
    throw ConversionError(text);
}

}  // namespace marventa
