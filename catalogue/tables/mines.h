#pragma once

#include "catalogue/records.h"

namespace marventa {

// Mines: iron in the Ironbacks, silver, tin and lead in the
// Hollowspine, sulphur, copper and coal in the Ashen Tors, lead and copper in the Wether Fells.
// clang-format off
inline constexpr PlaceRecord kMines[] = {
    {"Anvilcrest Pit", "2850", "1009"},
    {"Blackscree Coal Pit", "1347", "1872"},
    {"Bleakridge Mine", "1307", "246"},
    {"Brenhal Mine", "2818", "1159"},
    {"Cinder Shaft", "1606", "1989"},
    {"Copperstain Mine", "1563", "1779"},
    {"Deepvein Shaft", "2893", "1125"},
    {"Ember Mine", "1526", "1942"},
    {"Fellside Lead Mine", "649", "769"},
    {"Frostvein Shaft", "1060", "227"},
    {"Greyhelm Mine", "2670", "1075"},
    {"Haskdorn Pit", "2789", "784"},
    {"High Cleft Mine", "990", "178"},
    {"Ironback Mine", "3030", "1699"},
    {"Kellgarth Lead Mine", "1546", "245"},
    {"Lodestone Mine", "3031", "1594"},
    {"Old Crown Silver Mine", "1456", "279"},
    {"Old Kolvern Mine", "2749", "1713"},
    {"Redvein Iron Mine", "2658", "843"},
    {"Rust Hollow Workings", "2817", "1488"},
    {"Sallow Copper Mine", "546", "761"},
    {"Silverthread Mine", "1351", "357"},
    {"Stannscar Tin Mine", "914", "129"},
    {"Sulphur Pit", "1754", "1849"},
    {"Tessaven Shaft", "2828", "1687"},
};
// clang-format on

}  // namespace marventa
