#pragma once

#include "catalogue/records.h"

namespace marventa {

// Buildings of Orlheim; a building with several entrances has one row per door.
// clang-format off
inline constexpr PlaceRecord kOrlheim[] = {
    {"Baker Tansy", "338", "291"},
    {"Boathouse", "345", "1058"},
    {"Boathouse", "345", "1088"},
    {"Chandler Wyse", "584", "776"},
    {"Cooper Hadley", "376", "966"},
    {"Dyers' Yard", "616", "562"},
    {"East Gate", "940", "680"},
    {"Ferry Stair", "258", "820"},
    {"Fishers' Guild", "342", "780"},
    {"Granary", "584", "1088"},
    {"Granary", "584", "1118"},
    {"Healer's House", "862", "666"},
    {"Hill Gate", "850", "100"},
    {"House of Brome", "801", "666"},
    {"House of Ellery", "616", "710"},
    {"House of Vassel", "517", "334"},
    {"Lake Gate", "292", "620"},
    {"Lamp Market", "584", "472"},
    {"Moot Hall", "616", "840"},
    {"Moot Hall", "616", "870"},
    {"Orlheim Keep", "600", "262"},
    {"Orlheim Keep", "525", "190"},
    {"Orlheim Keep", "675", "190"},
    {"Reedweavers' Hall", "391", "334"},
    {"Scriptorium", "340", "535"},
    {"Scriptorium", "340", "565"},
    {"Smithy Garrow", "715", "666"},
    {"Stables of Orlheim", "754", "966"},
    {"Stables of Orlheim", "784", "966"},
    {"Temple of the Mirror Lake", "834", "241"},
    {"Temple of the Mirror Lake", "834", "271"},
    {"Temple of the Mirror Lake", "834", "301"},
    {"The Blue Perch", "336", "159"},
    {"The Blue Perch", "337", "189"},
    {"The Reed and Rudder", "691", "366"},
    {"Watch Tower", "465", "966"},
};
// clang-format on

}  // namespace marventa
