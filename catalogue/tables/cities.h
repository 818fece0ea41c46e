#pragma once

#include "catalogue/records.h"

namespace marventa {

// The eight cities (named exactly as their buttons) and twenty-five towns.
// clang-format off
inline constexpr PlaceRecord kCities[] = {
    {"Aldermoot", "1492", "754"},
    {"Askven", "3094", "1894"},
    {"Bellhal", "1772", "1659"},
    {"Brinemoor", "2946", "2261"},
    {"Cinderhaven", "1273", "2260"},
    {"Crown City", "1827", "853"},
    {"Dunmaris", "1145", "642"},
    {"Emberton", "1542", "1659"},
    {"Felgarth", "2146", "286"},
    {"Fellstow", "431", "998"},
    {"Grimgarth", "1547", "130"},
    {"Haldren", "753", "1750"},
    {"Harlstow", "688", "1462"},
    {"Hathmoor", "1778", "284"},
    {"Irondorn", "2587", "1061"},
    {"Kesthal", "2642", "434"},
    {"Kestlecombe", "335", "1294"},
    {"Lowenhythe", "2366", "1508"},
    {"Marram Bay", "552", "1977"},
    {"Merrowick", "2022", "1503"},
    {"Orlheim", "1161", "1260"},
    {"Orlmouth", "809", "1270"},
    {"Queensacre", "2172", "1067"},
    {"Raskdorn", "2437", "1182"},
    {"Reedholm", "931", "1097"},
    {"Saltreach", "2249", "2251"},
    {"Shellhaven", "1694", "2291"},
    {"Skarholt", "625", "314"},
    {"Tarnmouth", "2695", "2300"},
    {"Tolvane", "300", "1552"},
    {"Ulverscar", "987", "401"},
    {"Venncross", "1904", "1196"},
    {"Volmarren", "2412", "642"},
};
// clang-format on

}  // namespace marventa
