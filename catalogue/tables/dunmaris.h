#pragma once

#include "catalogue/records.h"

namespace marventa {

// Buildings of Dunmaris; a building with several entrances has one row per door.
// clang-format off
inline constexpr PlaceRecord kDunmaris[] = {
    {"Armourer Dunstan", "788", "966"},
    {"Barracks", "916", "890"},
    {"Barracks", "916", "920"},
    {"Bathhouse", "916", "995"},
    {"Bathhouse", "916", "1025"},
    {"Bookbinder Lisle", "1306", "457"},
    {"Bowyer Fleck", "1041", "966"},
    {"Bridge Gate", "1462", "730"},
    {"Candlemaker Pym", "781", "684"},
    {"Circle of Scholars", "1234", "610"},
    {"Circle of Scholars", "1234", "640"},
    {"Clothier Ambrose", "719", "462"},
    {"Dunmaris Castle", "900", "300"},
    {"Dunmaris Castle", "815", "215"},
    {"Dunmaris Castle", "985", "215"},
    {"Eel Market", "971", "684"},
    {"Eel Market", "1001", "684"},
    {"Granary", "1234", "161"},
    {"Hall of the Fenwardens", "1266", "329"},
    {"Hall of the Fenwardens", "1266", "359"},
    {"Healer Ossery", "1097", "459"},
    {"Herbalist Moss", "1266", "232"},
    {"House of Gault", "466", "613"},
    {"House of Marrin", "434", "671"},
    {"House of Skeld", "1093", "684"},
    {"Jail", "597", "463"},
    {"Marsh Gate", "120", "730"},
    {"North Gate", "1250", "100"},
    {"Old Bridge Tower", "1660", "730"},
    {"Peat Stores", "332", "966"},
    {"Peat Stores", "362", "966"},
    {"Scribe Halloran", "434", "479"},
    {"Smithy Rask", "1160", "459"},
    {"Stables", "466", "1026"},
    {"Tannery", "1234", "1026"},
    {"Temple of the Lantern Star", "1266", "819"},
    {"Temple of the Lantern Star", "1266", "849"},
    {"The Muddy Boot", "973", "428"},
    {"The Peat Fire", "884", "623"},
    {"The Peat Fire", "884", "653"},
    {"Town Well House", "198", "684"},
    {"Weighhouse", "1234", "514"},
};
// clang-format on

}  // namespace marventa
