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
    const PlaceRecord* found = nullptr;
    for (const PlaceRecord& r : cities) {
        if (r.name == city.caption) {
            if (found != nullptr) {
                return false;  // the overview needs one unambiguous point per city
            }
            found = &r;
        }
    }
    if (found == nullptr || !pointInside(*found, kProvincePicture)) {
        return false;
    }
    const int x = *tryParseCoordinate(found->x) * kOverviewBitmap.width / kProvinceWidth;
    const int y = *tryParseCoordinate(found->y) * kOverviewBitmap.height / kProvinceHeight;
    const MarkerBox& m = city.marker;
    return x >= m.x1 && x < m.x2 && y >= m.y1 && y < m.y2;
}

}  // namespace marventa::checks
