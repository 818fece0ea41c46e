#pragma once

#include "catalogue/records.h"

namespace marventa {

// Buildings of Volmarren; a building with several entrances has one row per door.
// clang-format off
inline constexpr PlaceRecord kVolmarren[] = {
    {"Armoury", "288", "1016"},
    {"Armoury", "318", "1016"},
    {"Assay Office", "500", "1179"},
    {"Bellows Maker Tibb", "231", "984"},
    {"Cistern House", "985", "666"},
    {"Coin House", "1081", "1016"},
    {"Healer Ingrith", "486", "666"},
    {"House of Brenn", "698", "964"},
    {"House of Vesk", "597", "397"},
    {"Lampwright Suss", "300", "284"},
    {"Lower Gate", "650", "1375"},
    {"Miners' Guild", "1074", "634"},
    {"Miners' Guild", "1104", "634"},
    {"Miners' Hostel", "738", "824"},
    {"Ore Market", "539", "984"},
    {"Provisioner Dale", "1034", "316"},
    {"Smelting House", "344", "666"},
    {"Smelting House", "374", "666"},
    {"Smith Korvel", "267", "634"},
    {"Stables", "470", "316"},
    {"Temple of the Forge Flame", "773", "666"},
    {"Temple of the Forge Flame", "803", "666"},
    {"The Glowing Ingot", "981", "1234"},
    {"The Glowing Ingot", "1011", "1234"},
    {"The Sooty Lamp", "708", "1234"},
    {"Upper Gate", "1100", "330"},
    {"Volmarren Citadel", "650", "270"},
    {"Volmarren Citadel", "560", "160"},
    {"Volmarren Citadel", "740", "160"},
    {"Watch Tower", "939", "1016"},
};
// clang-format on

}  // namespace marventa
