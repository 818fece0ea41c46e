#include "coordinate.h"

namespace marventa {

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid integer value") {}

std::int32_t parseCoordinate(std::string_view text) {
    if (const auto value = tryParseCoordinate(text)) {
        return *value;
    }
    throw ConversionError(text);
}

}  // namespace marventa
