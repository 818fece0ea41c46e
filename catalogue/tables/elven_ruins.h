#pragma once

#include "catalogue/records.h"

namespace marventa {

// Elven ruins, all inside the three old forests: Haldren Wood, Saelith Wood and Ravelwood.
// clang-format off
inline constexpr PlaceRecord kElvenRuins[] = {
    {"Aeceth", "830", "1765"},
    {"Aevymaer", "2705", "1863"},
    {"Cainalith", "670", "1948"},
    {"Cainuel", "955", "1771"},
    {"Cairiquel", "2777", "495"},
    {"Caithinuel", "2860", "227"},
    {"Caiwyr", "2751", "252"},
    {"Eithae", "646", "1772"},
    {"Iavasse", "777", "1658"},
    {"Ithnor", "3053", "434"},
    {"Ithras", "2671", "2126"},
    {"Ithrhis", "2954", "379"},
    {"Ithrimaer", "2712", "1778"},
    {"Ithvequel", "2433", "1932"},
    {"Luelith", "867", "1706"},
    {"Lueranuel", "2438", "1977"},
    {"Luesnor", "3077", "301"},
    {"Luethae", "521", "1862"},
    {"Maenuel", "746", "1907"},
    {"Maequaras", "2712", "2075"},
    {"Maerhis", "914", "1789"},
    {"Maeriquel", "644", "1680"},
    {"Maethiras", "926", "1648"},
    {"Naimaer", "2862", "317"},
    {"Nainawyr", "2489", "1940"},
    {"Nairhis", "653", "1838"},
    {"Naivane", "2636", "243"},
    {"Naiverhis", "2956", "316"},
    {"Orarinuel", "3015", "260"},
    {"Oraserhis", "2734", "2107"},
    {"Oratheyth", "506", "1827"},
    {"Quonuel", "2907", "256"},
    {"Quorhis", "3083", "215"},
    {"Quosethae", "703", "1976"},
    {"Quoveyth", "3018", "381"},
    {"Saethae", "812", "1995"},
    {"Thesnor", "938", "1873"},
    {"Thesrithae", "2687", "1994"},
    {"Vynuel", "838", "1974"},
    {"Vythae", "952", "1912"},
    {"Vythirhis", "2946", "247"},
    {"Vyvelith", "2735", "1875"},
    {"Waeronor", "2863", "415"},
    {"Wynasse", "2514", "2003"},
    {"Wyquamaer", "628", "1732"},
    {"Wysolith", "900", "1960"},
    {"Wyvane", "2603", "1799"},
    {"Yslaewyr", "2975", "498"},
    {"Ysnathae", "2536", "1804"},
    {"Zaerhis", "2534", "1837"},
};
// clang-format on

}  // namespace marventa
