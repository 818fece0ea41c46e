#pragma once

#include <array>
#include <string_view>

#include "catalogue.h"

namespace marventa {

// A box on the overview bitmap; it covers x1 .. x2 - 1 and y1 .. y2 - 1.
struct MarkerBox {
    int x1;
    int y1;
    int x2;
    int y2;
};

struct CityEntry {
    std::string_view caption;  // also the city's name in the status bar
    int radioButton;           // n of RadioButton<n>
    std::string_view holder;   // picture holder name
    int mapWidth;
    int mapHeight;
    MarkerBox marker;
    PlaceTableId table;
};

// In the order the overview draws the markers.
inline constexpr std::array<CityEntry, 8> kCityDirectory{{
    {"Tolvane", 18, "tolvane", 1488, 830, {14, 91, 24, 101}, PlaceTableId::Tolvane},
    {"Merrowick", 13, "merrowick", 1554, 1076, {120, 88, 130, 98}, PlaceTableId::Merrowick},
    {"Hathmoor", 14, "hathmoor", 1090, 1256, {105, 13, 115, 23}, PlaceTableId::Hathmoor},
    {"Volmarren", 15, "volmarren", 1304, 1592, {144, 35, 154, 45}, PlaceTableId::Volmarren},
    {"Dunmaris", 16, "dunmaris", 1844, 1176, {66, 35, 76, 45}, PlaceTableId::Dunmaris},
    {"Crown City", 17, "crowncitymap", 2160, 2167, {108, 48, 118, 58}, PlaceTableId::CrownCity},
    {"Saltreach", 20, "saltreach", 1780, 1456, {134, 134, 144, 144}, PlaceTableId::Saltreach},
    {"Orlheim", 19, "orlheim", 1020, 1260, {67, 73, 77, 83}, PlaceTableId::Orlheim},
}};

inline constexpr int kProvinceWidth = 3248;
inline constexpr int kProvinceHeight = 2633;

}  // namespace marventa
