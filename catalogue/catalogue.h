#pragma once

#include "place_table.h"
#include "records.h"

namespace marventa {

// The tables of place records: ten categories of the province and the eight cities.
enum class PlaceTableId {
    ElvenRuins,
    Shrines,
    Landmarks,
    Settlements,
    FortRuins,
    Caves,
    Mines,
    Camps,
    Inns,
    Cities,
    Merrowick,
    Tolvane,
    Orlheim,
    Dunmaris,
    Volmarren,
    Saltreach,
    Hathmoor,
    CrownCity,
};

const PlaceTable<PlaceRecord>& placeTable(PlaceTableId id);
const PlaceTable<HeavenlyStoneRecord>& heavenlyStones();
const PlaceTable<SignStoneRecord>& signStones();

}  // namespace marventa
