#pragma once

#include "catalogue/records.h"

namespace marventa {

// Fort ruins on the flanks of the four highland ranges, plus five watchposts on the south coast.
// clang-format off
inline constexpr PlaceRecord kFortRuins[] = {
    {"Anvilcrest Hold", "3072", "1543"},
    {"Ashdorn Keep", "2637", "970"},
    {"Ashfall Tower", "1419", "1869"},
    {"Blackscree Keep", "1418", "1931"},
    {"Bleakridge Keep", "1217", "192"},
    {"Brannoch Hold", "1277", "190"},
    {"Brennick Hold", "3092", "1570"},
    {"Charhold", "1737", "1764"},
    {"Cinder Keep", "1437", "1689"},
    {"Combe Watch", "585", "708"},
    {"Crookback Tower", "1427", "256"},
    {"Curlew Keep", "688", "1175"},
    {"Ebon Stair Keep", "2826", "1371"},
    {"Emberwatch", "1635", "2011"},
    {"Fellward Tower", "516", "1046"},
    {"Fort Hask", "2650", "1000"},
    {"Fort Pellan", "861", "1039"},
    {"Fort Sootmarr", "1406", "1651"},
    {"Fort Stannard", "1394", "467"},
    {"Gallowcrag Tower", "1418", "442"},
    {"Greyash Bastion", "1746", "2007"},
    {"Greyhelm Fort", "3017", "1729"},
    {"Gullwatch Tower", "1053", "2224"},
    {"Hawkscombe Keep", "400", "878"},
    {"Highcleft Keep", "1238", "378"},
    {"Hollowspine Watch", "1304", "467"},
    {"Kellspire Keep", "1475", "216"},
    {"Kiln Tower", "1462", "1908"},
    {"Kolvern Watch", "2745", "1063"},
    {"Marrhal Tower", "3020", "1369"},
    {"Mistridge Fort", "856", "995"},
    {"Ness Keep", "676", "2088"},
    {"Old Garth Fort", "920", "361"},
    {"Old Hemmer Tower", "541", "940"},
    {"Ravencleft Hold", "1227", "148"},
    {"Redvein Watch", "2858", "881"},
    {"Rookwatch", "1367", "434"},
    {"Rustgate Keep", "2858", "763"},
    {"Sallow Hold", "749", "842"},
    {"Saltcliff Fort", "1089", "2204"},
    {"Shorewatch", "1915", "2290"},
    {"Skarn Tower", "1087", "396"},
    {"Stormcut Tower", "2671", "965"},
    {"Stowcrest Tower", "530", "980"},
    {"Tallow Watch", "728", "808"},
    {"Tarrow Bastion", "2485", "2253"},
    {"Tessaven Bastion", "3091", "1306"},
    {"Tor Addan Watch", "1509", "472"},
    {"Torrent Watch", "1340", "1904"},
    {"Wether Keep", "826", "1040"},
};
// clang-format on

}  // namespace marventa
