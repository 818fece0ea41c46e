#pragma once

#include "catalogue/records.h"

namespace marventa {

// Landmarks of the province.
// clang-format off
inline constexpr PlaceRecord kLandmarks[] = {
    {"Barrow of the First Crown", "1630", "1039"},
    {"Greywhite Salt Pans", "2472", "2288"},
    {"Lantern Rock", "965", "2165"},
    {"The Broken Span", "2143", "1687"},
    {"The Hollering Gorge", "2803", "986"},
    {"The Nine Shards", "2017", "498"},
    {"The Split Crag", "1119", "298"},
    {"The Sunken Belfry", "988", "1414"},
    {"Weatherglass Tor", "684", "964"},
};
// clang-format on

}  // namespace marventa
