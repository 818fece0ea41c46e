#pragma once

#include <cstddef>
#include <span>

#include "city_directory.h"
#include "coordinate.h"

// Compile-time checks over the shipped tables, so the build refuses a bad table.
namespace marventa::checks {

struct PictureSize {
    int width;
    int height;
};

inline constexpr PictureSize kProvincePicture{kProvinceWidth, kProvinceHeight};

// The overview bitmap the city markers are drawn on.
inline constexpr PictureSize kOverviewBitmap{200, 162};

template <class Record>
constexpr bool pointInside(const Record& r, PictureSize picture) {
    const auto x = tryParseCoordinate(r.x);
    const auto y = tryParseCoordinate(r.y);
    return x && y && *x >= 0 && *x < picture.width && *y >= 0 && *y < picture.height;
}

template <class Record>
constexpr bool tableFits(std::span<const Record> rows, std::size_t expectedRows,
                         PictureSize picture) {
    if (rows.size() != expectedRows) {
        return false;
    }
    for (const Record& r : rows) {
        if (!pointInside(r, picture)) {
            return false;
        }
    }
    return true;
}

// The city's row of the province "Cities" table, scaled to the overview, lies in its marker box.
constexpr bool cityInMarker(std::span<const PlaceRecord> cities, const CityEntry& city) {
    // An index, not a pointer: GCC's -fsanitize=null rewrites the address of a range-for
    // element into a form its constant evaluator cannot compare with nullptr.
    std::size_t matches = 0;
    std::size_t found = 0;
    for (std::size_t i = 0; i < cities.size(); ++i) {
        if (cities[i].name == city.caption) {
            ++matches;
            found = i;
        }
    }
    // The overview needs one unambiguous point per city.
    if (matches != 1 || !pointInside(cities[found], kProvincePicture)) {
        return false;
    }
    const int x = *tryParseCoordinate(cities[found].x) * kOverviewBitmap.width / kProvinceWidth;
    const int y = *tryParseCoordinate(cities[found].y) * kOverviewBitmap.height / kProvinceHeight;
    const MarkerBox& m = city.marker;
    return x >= m.x1 && x < m.x2 && y >= m.y1 && y < m.y2;
}

}  // namespace marventa::checks
