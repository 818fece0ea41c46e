#pragma once

#include "catalogue/records.h"

namespace marventa {

// Camps by the roads, the lakes, the woods and in the hills.
// clang-format off
inline constexpr PlaceRecord kCamps[] = {
    {"Beachcombers' Camp", "3086", "2365"},
    {"Beekeepers' Camp", "2467", "1898"},
    {"Caravan Camp", "1129", "1170"},
    {"Charcoal Burners' Camp", "674", "1651"},
    {"Deserters' Camp", "3142", "1352"},
    {"Drovers' Camp", "1295", "1104"},
    {"Falconers' Camp", "2958", "198"},
    {"Ferrymen's Camp", "2080", "2067"},
    {"Fishers' Camp", "1000", "1494"},
    {"Goatherds' Camp", "1150", "466"},
    {"Herbalists' Camp", "915", "1691"},
    {"Horse Traders' Camp", "1951", "1466"},
    {"Hunters' Camp", "2890", "333"},
    {"Kelp Gatherers' Camp", "2505", "2221"},
    {"Mercenary Camp", "1372", "1669"},
    {"Outlaws' Camp", "2827", "1932"},
    {"Peat Cutters' Camp", "1047", "661"},
    {"Peddlers' Camp", "1097", "1206"},
    {"Pilgrims' Camp", "683", "798"},
    {"Poachers' Camp", "854", "1921"},
    {"Prospectors' Camp", "3087", "1150"},
    {"Reed Cutters' Camp", "896", "1502"},
    {"Road Wardens' Camp", "1952", "1618"},
    {"Salters' Camp", "2986", "2359"},
    {"Shepherds' Camp", "1376", "156"},
    {"Stonecutters' Camp", "2686", "995"},
    {"Surveyors' Camp", "1807", "1804"},
    {"Timber Camp", "2633", "2083"},
    {"Tinkers' Camp", "803", "418"},
    {"Trappers' Camp", "1595", "283"},
    {"Wanderers' Camp", "3028", "331"},
    {"Woodcutters' Camp", "991", "1739"},
};
// clang-format on

}  // namespace marventa
