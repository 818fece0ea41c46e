#include "catalogue.h"

namespace marventa {

namespace {

constexpr PlaceRecord kStub[] = {{"Unnamed", "100", "100"}};
constexpr HeavenlyStoneRecord kHeavenlyStub[] = {{"Unnamed", "100", "100", "10", {"+1 to Luck"}}};
constexpr SignStoneRecord kSignStub[] = {{"Unnamed", "100", "100", {"+1 to Luck"}}};

}  // namespace

const PlaceTable<PlaceRecord>& placeTable(PlaceTableId) {
    static const PlaceTable<PlaceRecord> table{kStub};
    return table;
}

const PlaceTable<HeavenlyStoneRecord>& heavenlyStones() {
    static const PlaceTable<HeavenlyStoneRecord> table{kHeavenlyStub};
    return table;
}

const PlaceTable<SignStoneRecord>& signStones() {
    static const PlaceTable<SignStoneRecord> table{kSignStub};
    return table;
}

}  // namespace marventa
