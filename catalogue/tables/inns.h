#pragma once

#include "catalogue/records.h"

namespace marventa {

// Roadside inns, each a few dozen pixels off a road between two cities.
// clang-format off
inline constexpr PlaceRecord kInns[] = {
    {"The Blue Heron", "1410", "1382"},
    {"The Cracked Tankard", "1766", "1494"},
    {"The Crooked Milestone", "1670", "772"},
    {"The Driftwood Hearth", "1429", "2259"},
    {"The Drowsy Ferryman", "1903", "1103"},
    {"The Frosted Kettle", "1857", "556"},
    {"The Gilded Thistle", "2223", "679"},
    {"The Gull and Anchor", "718", "2077"},
    {"The Kindled Hob", "2092", "729"},
    {"The Lame Goose", "910", "1417"},
    {"The Salted Herring", "2197", "2079"},
    {"The Shepherd's Crook", "1253", "971"},
    {"The Tarred Oar", "505", "1453"},
    {"The Three Turnips", "1336", "717"},
    {"The Wayfarer's Lantern", "1529", "1054"},
    {"The Weary Mule", "2010", "1594"},
};
// clang-format on

}  // namespace marventa
