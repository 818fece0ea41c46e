#pragma once

#include "catalogue/records.h"

namespace marventa {

// Villages and hamlets, each within a few hours' walk of its city.
// clang-format off
inline constexpr PlaceRecord kSettlements[] = {
    {"Ambleton", "2067", "962"},
    {"Brackenstow", "599", "1688"},
    {"Brenhal", "2320", "909"},
    {"Brimscar", "1793", "490"},
    {"Brinestead", "2569", "2138"},
    {"Curlew Stow", "475", "1290"},
    {"Ebbenhal", "1940", "1721"},
    {"Fenholt", "1310", "748"},
    {"Goose Ferry", "2051", "1324"},
    {"Gullhaven", "1967", "2178"},
    {"Haskdorn", "2294", "560"},
    {"Haskgarth", "1692", "516"},
    {"Hemmerstow", "1399", "1050"},
    {"Kellgarth", "1359", "607"},
    {"Kolvern", "2383", "462"},
    {"Lindorn", "2161", "1524"},
    {"Orrin's Ford", "1046", "1577"},
    {"Pellick", "407", "1846"},
    {"Pennyfold", "1823", "1071"},
    {"Reedmere", "1284", "1070"},
    {"Rookholt", "1297", "566"},
    {"Sallowcombe", "408", "1334"},
    {"Saskven", "2258", "1385"},
    {"Sorrel Cross", "1771", "728"},
    {"Stannscar", "884", "637"},
    {"Tallick Green", "1297", "1252"},
    {"Tarnholt", "1884", "415"},
    {"Tarrow Ness", "2223", "2110"},
    {"Tessaven", "2287", "390"},
    {"Wainbridge", "1582", "834"},
    {"Wendle Sands", "2385", "2116"},
};
// clang-format on

}  // namespace marventa
