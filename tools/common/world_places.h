#pragma once

#include <string>
#include <vector>

#include "catalogue/catalogue.h"

namespace marventa {

// What a province point is, which decides its symbol and the ground under it.
enum class PlaceKind {
    ElvenRuin,
    Shrine,
    Landmark,
    Settlement,
    FortRuin,
    Cave,
    Mine,
    Camp,
    Inn,
    Town,
    City,  // a town of the Cities table that has its own city map
    HeavenlyStone,
    SignStone,
};

struct MapPoint {
    int x = 0;
    int y = 0;
};

struct ProvincePlace {
    std::string name;
    MapPoint at;
    PlaceKind kind;
};

// Whether `place` is the province's capital, which the map marks above the other cities.
inline bool isCapital(const ProvincePlace& place) {
    return place.kind == PlaceKind::City && place.name == "Crown City";
}

// Every point of every province table, in table order.
std::vector<ProvincePlace> provincePlaces();

// One building of a city: rows with the same name are its entrances.
struct CityBuilding {
    std::string name;
    int number = 0;  // 1-based, in order of first appearance in the table
    std::vector<MapPoint> entrances;
};

std::vector<CityBuilding> cityBuildings(PlaceTableId table);

}  // namespace marventa
