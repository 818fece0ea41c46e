#pragma once

#include "catalogue/records.h"

namespace marventa {

// Buildings of Tolvane; a building with several entrances has one row per door.
// clang-format off
inline constexpr PlaceRecord kTolvane[] = {
    {"Chandlery Brisk", "1014", "306"},
    {"Chapel of the Tides", "916", "88"},
    {"Chapel of the Tides", "916", "118"},
    {"Customs House", "236", "584"},
    {"Customs House", "266", "584"},
    {"Fish Market", "939", "581"},
    {"Harbour Gate", "730", "630"},
    {"Harbourmaster's House", "453", "583"},
    {"Harbourmaster's House", "483", "583"},
    {"House of Carrow", "544", "362"},
    {"House of Denmoor", "544", "132"},
    {"Land Gate", "1415", "360"},
    {"Lighthouse", "80", "300"},
    {"Netmender Aske", "1127", "155"},
    {"Ropewalk", "576", "538"},
    {"Ropewalk", "576", "568"},
    {"Sailmakers' Guild", "1345", "579"},
    {"Shipyard", "1046", "581"},
    {"Shipyard", "1076", "580"},
    {"Smokehouse", "1196", "401"},
    {"The Bosun's Rest", "1196", "233"},
    {"The Bosun's Rest", "1196", "263"},
    {"Tolvane Exchange", "756", "295"},
    {"Tolvane Exchange", "726", "294"},
    {"Watch House", "960", "185"},
    {"Widow Keel's Lodging", "884", "216"},
};
// clang-format on

}  // namespace marventa
