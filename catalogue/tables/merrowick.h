#pragma once

#include "catalogue/records.h"

namespace marventa {

// Buildings of Merrowick; a building with several entrances has one row per door.
// clang-format off
inline constexpr PlaceRecord kMerrowick[] = {
    {"Ambry's General Goods", "263", "556"},
    {"Apothecary Fennimore", "413", "788"},
    {"Barracks of the River Watch", "740", "281"},
    {"Barracks of the River Watch", "770", "280"},
    {"Boatwright Pell", "1302", "633"},
    {"Ferry Gate", "935", "880"},
    {"Ferry Landing", "1135", "880"},
    {"Fishmarket Hall", "1176", "564"},
    {"Fishmarket Hall", "1206", "565"},
    {"Hollin's Smithy", "346", "290"},
    {"House of Orvane", "179", "294"},
    {"House of Tamsell", "730", "823"},
    {"Merrowick Mill", "930", "380"},
    {"North Gate", "480", "95"},
    {"South Gate", "480", "985"},
    {"Tanners' Yard", "557", "253"},
    {"Temple of the Still Water", "784", "916"},
    {"Temple of the Still Water", "784", "946"},
    {"The Drowsy Eel", "1265", "221"},
    {"The Drowsy Eel", "1266", "251"},
    {"The Willow Cup", "416", "257"},
    {"Town Hall", "522", "524"},
    {"Town Hall", "552", "524"},
    {"Weavers' Guild", "496", "203"},
};
// clang-format on

}  // namespace marventa
