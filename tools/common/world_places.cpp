#include "world_places.h"

#include <algorithm>
#include <array>
#include <utility>

#include "catalogue/city_directory.h"
#include "catalogue/coordinate.h"

namespace marventa {

namespace {

template <class Record>
MapPoint pointOf(const Record& r) {
    return {parseCoordinate(r.x), parseCoordinate(r.y)};
}

bool hasCityMap(std::string_view name) {
    return std::any_of(kCityDirectory.begin(), kCityDirectory.end(),
                       [&](const CityEntry& c) { return c.caption == name; });
}

}  // namespace

std::vector<ProvincePlace> provincePlaces() {
    constexpr std::array<std::pair<PlaceTableId, PlaceKind>, 10> kCategories{{
        {PlaceTableId::ElvenRuins, PlaceKind::ElvenRuin},
        {PlaceTableId::Shrines, PlaceKind::Shrine},
        {PlaceTableId::Landmarks, PlaceKind::Landmark},
        {PlaceTableId::Settlements, PlaceKind::Settlement},
        {PlaceTableId::FortRuins, PlaceKind::FortRuin},
        {PlaceTableId::Caves, PlaceKind::Cave},
        {PlaceTableId::Mines, PlaceKind::Mine},
        {PlaceTableId::Camps, PlaceKind::Camp},
        {PlaceTableId::Inns, PlaceKind::Inn},
        {PlaceTableId::Cities, PlaceKind::Town},
    }};
    std::vector<ProvincePlace> places;
    for (const auto& [table, kind] : kCategories) {
        for (const PlaceRecord& r : placeTable(table).rows()) {
            PlaceKind k = kind;
            if (k == PlaceKind::Town && hasCityMap(r.name)) {
                k = PlaceKind::City;
            }
            places.push_back({std::string(r.name), pointOf(r), k});
        }
    }
    for (const HeavenlyStoneRecord& r : heavenlyStones().rows()) {
        places.push_back({std::string(r.name), pointOf(r), PlaceKind::HeavenlyStone});
    }
    for (const SignStoneRecord& r : signStones().rows()) {
        places.push_back({std::string(r.name), pointOf(r), PlaceKind::SignStone});
    }
    return places;
}

std::vector<CityBuilding> cityBuildings(PlaceTableId table) {
    std::vector<CityBuilding> buildings;
    for (const PlaceRecord& r : placeTable(table).rows()) {
        auto same = std::find_if(buildings.begin(), buildings.end(),
                                 [&](const CityBuilding& b) { return b.name == r.name; });
        if (same == buildings.end()) {
            buildings.push_back({std::string(r.name), static_cast<int>(buildings.size()) + 1, {}});
            same = buildings.end() - 1;
        }
        same->entrances.push_back(pointOf(r));
    }
    return buildings;
}

}  // namespace marventa
