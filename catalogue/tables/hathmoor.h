#pragma once

#include "catalogue/records.h"

namespace marventa {

// Buildings of Hathmoor; a building with several entrances has one row per door.
// clang-format off
inline constexpr PlaceRecord kHathmoor[] = {
    {"Barracks", "673", "916"},
    {"Barracks", "703", "916"},
    {"Beacon Tower", "763", "916"},
    {"Cheesemonger Ruddle", "566", "835"},
    {"Crag Gate", "975", "630"},
    {"Drovers' Yard", "439", "616"},
    {"Granary", "534", "943"},
    {"Hathmoor Keep", "820", "330"},
    {"Hathmoor Keep", "760", "250"},
    {"Hathmoor Keep", "880", "250"},
    {"Healer Wenna", "619", "518"},
    {"House of Corvel", "316", "343"},
    {"House of Hathe", "534", "744"},
    {"Hunters' Lodge", "349", "584"},
    {"Hunters' Lodge", "379", "584"},
    {"Moor Gate", "550", "1150"},
    {"Shepherds' Meeting House", "460", "396"},
    {"Smithy Orrick", "566", "565"},
    {"Stables", "706", "616"},
    {"Tanner Grist", "316", "718"},
    {"Temple of the Quiet Hills", "473", "884"},
    {"Temple of the Quiet Hills", "503", "884"},
    {"The Last Candle", "316", "655"},
    {"The Shaggy Ram", "233", "396"},
    {"The Shaggy Ram", "263", "396"},
    {"Weaver Maddox", "412", "884"},
    {"Wool Hall", "869", "884"},
    {"Wool Hall", "899", "884"},
};
// clang-format on

}  // namespace marventa
