#pragma once

#include "catalogue/records.h"

namespace marventa {

// Buildings of Saltreach; a building with several entrances has one row per door.
// clang-format off
inline constexpr PlaceRecord kSaltreach[] = {
    {"Cartographer Vell", "316", "635"},
    {"Customs House", "1116", "992"},
    {"Fish Market", "615", "362"},
    {"Harbour Hall", "1538", "986"},
    {"Harbour Hall", "1568", "986"},
    {"House of Corran", "1316", "885"},
    {"House of Tesk", "1010", "679"},
    {"Lighthouse", "1600", "1105"},
    {"North Gate", "800", "105"},
    {"Pier Master's Office", "1389", "988"},
    {"River Gate", "262", "730"},
    {"Sailors' Chapel", "1368", "676"},
    {"Salt Works", "1210", "677"},
    {"Salt Works", "1240", "677"},
    {"Salt Works", "1270", "677"},
    {"Salters' Guild", "316", "826"},
    {"Salters' Guild", "316", "856"},
    {"Sea Gate", "1000", "1045"},
    {"Ship Chandler Noll", "1474", "388"},
    {"Shipwrights' Yard", "593", "999"},
    {"Shipwrights' Yard", "623", "999"},
    {"Temple of the Salt Mother", "1284", "168"},
    {"Temple of the Salt Mother", "1284", "198"},
    {"The Brine Barrel", "1027", "359"},
    {"The Brine Barrel", "1057", "358"},
    {"The Crab and Lantern", "816", "291"},
    {"Warehouse of Ebbrin", "816", "836"},
    {"Warehouse of Ebbrin", "816", "866"},
    {"Watch Barracks", "816", "456"},
    {"Watch Barracks", "816", "486"},
};
// clang-format on

}  // namespace marventa
