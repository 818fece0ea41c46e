#include "catalogue.h"

#include <array>
#include <cstddef>
#include <span>
#include <stdexcept>
#include <utility>

#include "city_directory.h"
#include "table_checks.h"
#include "tables/camps.h"
#include "tables/caves.h"
#include "tables/cities.h"
#include "tables/crown_city.h"
#include "tables/dunmaris.h"
#include "tables/elven_ruins.h"
#include "tables/fort_ruins.h"
#include "tables/hathmoor.h"
#include "tables/heavenly_stones.h"
#include "tables/inns.h"
#include "tables/landmarks.h"
#include "tables/merrowick.h"
#include "tables/mines.h"
#include "tables/orlheim.h"
#include "tables/saltreach.h"
#include "tables/settlements.h"
#include "tables/shrines.h"
#include "tables/sign_stones.h"
#include "tables/tolvane.h"
#include "tables/volmarren.h"

namespace marventa {

namespace {

using checks::kProvincePicture;
using checks::PictureSize;
using checks::tableFits;

constexpr std::size_t kPlaceTableCount = static_cast<std::size_t>(PlaceTableId::CrownCity) + 1;

constexpr std::span<const PlaceRecord> rowsOf(PlaceTableId id) {
    switch (id) {
        case PlaceTableId::ElvenRuins:
            return kElvenRuins;
        case PlaceTableId::Shrines:
            return kShrines;
        case PlaceTableId::Landmarks:
            return kLandmarks;
        case PlaceTableId::Settlements:
            return kSettlements;
        case PlaceTableId::FortRuins:
            return kFortRuins;
        case PlaceTableId::Caves:
            return kCaves;
        case PlaceTableId::Mines:
            return kMines;
        case PlaceTableId::Camps:
            return kCamps;
        case PlaceTableId::Inns:
            return kInns;
        case PlaceTableId::Cities:
            return kCities;
        case PlaceTableId::Merrowick:
            return kMerrowick;
        case PlaceTableId::Tolvane:
            return kTolvane;
        case PlaceTableId::Orlheim:
            return kOrlheim;
        case PlaceTableId::Dunmaris:
            return kDunmaris;
        case PlaceTableId::Volmarren:
            return kVolmarren;
        case PlaceTableId::Saltreach:
            return kSaltreach;
        case PlaceTableId::Hathmoor:
            return kHathmoor;
        case PlaceTableId::CrownCity:
            return kCrownCity;
    }
    throw std::out_of_range("unknown place table");
}

// A city table's points lie on that city's map; every other table's on the province map.
constexpr PictureSize pictureOf(PlaceTableId id) {
    for (const CityEntry& city : kCityDirectory) {
        if (city.table == id) {
            return {city.mapWidth, city.mapHeight};
        }
    }
    return kProvincePicture;
}

constexpr bool fits(PlaceTableId id, std::size_t expectedRows) {
    return tableFits(rowsOf(id), expectedRows, pictureOf(id));
}

static_assert(fits(PlaceTableId::ElvenRuins, 50), "Elven ruins: row count or a point");
static_assert(fits(PlaceTableId::Shrines, 15), "Shrines: row count or a point");
static_assert(fits(PlaceTableId::Landmarks, 9), "Landmarks: row count or a point");
static_assert(fits(PlaceTableId::Settlements, 31), "Settlements: row count or a point");
static_assert(fits(PlaceTableId::FortRuins, 50), "Fort ruins: row count or a point");
static_assert(fits(PlaceTableId::Caves, 89), "Caves: row count or a point");
static_assert(fits(PlaceTableId::Mines, 25), "Mines: row count or a point");
static_assert(fits(PlaceTableId::Camps, 32), "Camps: row count or a point");
static_assert(fits(PlaceTableId::Inns, 16), "Inns: row count or a point");
static_assert(fits(PlaceTableId::Cities, 33), "Cities: row count or a point");
static_assert(fits(PlaceTableId::Merrowick, 24), "Merrowick: row count or a point");
static_assert(fits(PlaceTableId::Tolvane, 26), "Tolvane: row count or a point");
static_assert(fits(PlaceTableId::Orlheim, 36), "Orlheim: row count or a point");
static_assert(fits(PlaceTableId::Dunmaris, 42), "Dunmaris: row count or a point");
static_assert(fits(PlaceTableId::Volmarren, 30), "Volmarren: row count or a point");
static_assert(fits(PlaceTableId::Saltreach, 30), "Saltreach: row count or a point");
static_assert(fits(PlaceTableId::Hathmoor, 28), "Hathmoor: row count or a point");
static_assert(fits(PlaceTableId::CrownCity, 109), "Crown City: row count or a point");
static_assert(tableFits<HeavenlyStoneRecord>(kHeavenlyStones, 7, kProvincePicture),
              "Heavenly stones: row count or a point");
static_assert(tableFits<SignStoneRecord>(kSignStones, 13, kProvincePicture),
              "Sign stones: row count or a point");

constexpr bool everyCityInItsMarker() {
    for (const CityEntry& city : kCityDirectory) {
        if (!checks::cityInMarker(kCities, city)) {
            return false;
        }
    }
    return true;
}
static_assert(everyCityInItsMarker(), "a city of the Cities table is missing or off its marker");

template <std::size_t... I>
constexpr auto makePlaceTables(std::index_sequence<I...>) {
    return std::array{PlaceTable<PlaceRecord>{rowsOf(static_cast<PlaceTableId>(I))}...};
}

constexpr auto kPlaceTables = makePlaceTables(std::make_index_sequence<kPlaceTableCount>{});
constexpr PlaceTable<HeavenlyStoneRecord> kHeavenlyStoneTable{kHeavenlyStones};
constexpr PlaceTable<SignStoneRecord> kSignStoneTable{kSignStones};

}  // namespace

const PlaceTable<PlaceRecord>& placeTable(PlaceTableId id) {
    const auto index = static_cast<std::size_t>(id);
    if (index >= kPlaceTables.size()) {
        throw std::out_of_range("unknown place table");
    }
    return kPlaceTables[index];
}

const PlaceTable<HeavenlyStoneRecord>& heavenlyStones() {
    return kHeavenlyStoneTable;
}

const PlaceTable<SignStoneRecord>& signStones() {
    return kSignStoneTable;
}

}  // namespace marventa
