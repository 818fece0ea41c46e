#pragma once

#include "catalogue/records.h"

namespace marventa {

// Vorthic shrines, far from the cities: high passes, marsh edges, deep woods and the coast.
// clang-format off
inline constexpr PlaceRecord kShrines[] = {
    {"Shrine of Braldeth", "554", "1770"},
    {"Shrine of Dravkesh", "2835", "788"},
    {"Shrine of Hekmor", "1039", "1805"},
    {"Shrine of Keshvorn", "856", "725"},
    {"Shrine of Kozreth", "2986", "1691"},
    {"Shrine of Oskreth", "1591", "1125"},
    {"Shrine of Ozzrak", "769", "2146"},
    {"Shrine of Rhaggat", "1490", "428"},
    {"Shrine of Tarkhul", "2959", "2382"},
    {"Shrine of Thrukai", "2673", "1558"},
    {"Shrine of Thulgaz", "800", "1613"},
    {"Shrine of Ukhtaral", "2982", "1176"},
    {"Shrine of Uzgrav", "805", "486"},
    {"Shrine of Vormaz", "1159", "328"},
    {"Shrine of Zegmoth", "834", "253"},
};
// clang-format on

}  // namespace marventa
