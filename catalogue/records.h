#pragma once

#include <array>
#include <string_view>

namespace marventa {

// Every field is text; coordinates are decimal text converted at each use (see coordinate.h).

struct PlaceRecord {
    std::string_view name;
    std::string_view x;
    std::string_view y;
};

struct HeavenlyStoneRecord {
    std::string_view name;
    std::string_view x;
    std::string_view y;
    std::string_view fameDifference;          // shown only, never computed with
    std::array<std::string_view, 7> effects;  // unused lines are empty
};

struct SignStoneRecord {
    std::string_view name;
    std::string_view x;
    std::string_view y;
    std::array<std::string_view, 4> effects;  // unused lines are empty
};

}  // namespace marventa
