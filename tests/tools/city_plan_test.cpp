#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "catalogue/city_directory.h"
#include "tools/city/buildings/town.h"
#include "tools/city/city_checks.h"
#include "tools/city/city_layout.h"
#include "tools/city/city_table.h"
#include "tools/city/labels/city_names.h"
#include "tools/common/world_places.h"

using namespace marventa;

namespace {

struct Planned {
    plan::Town town;
    plan::NamePlan names;
};

// Each city grown once and shared by the tests: a few seconds for all eight.
const Planned& planned(const CityEntry& city) {
    static std::map<PlaceTableId, Planned> towns;
    auto it = towns.find(city.table);
    if (it == towns.end()) {
        plan::Town town =
            plan::buildTown(cityLayout(city.table), QSize(city.mapWidth, city.mapHeight),
                            cityBuildings(city.table));
        const QString title =
            QString::fromUtf8(city.caption.data(), static_cast<qsizetype>(city.caption.size()));
        plan::NamePlan names = plan::placeNames(town, title);
        it = towns.emplace(city.table, Planned{std::move(town), std::move(names)}).first;
    }
    return it->second;
}

}  // namespace

// Doors on their buildings' outlines opening onto streets, gates on the wall where a street
// and a road meet it, no street in the water off a bridge, no name over the wall or over
// another building: every city passes every check.
TEST(CityPlans, EveryTownPassesItsChecks) {
    for (const CityEntry& city : kCityDirectory) {
        const Planned& p = planned(city);
        for (const std::string& fault : checkTown(p.town, p.names)) {
            ADD_FAILURE() << city.caption << ": " << fault;
        }
    }
}

// The shipped tables are what the generator writes: one row per door, names in the table's
// order, each point where the plan put that door.
TEST(CityPlans, ShippedTablesMatchThePlans) {
    for (const CityEntry& city : kCityDirectory) {
        const Planned& p = planned(city);
        const std::vector<CityBuilding> table = cityBuildings(city.table);
        ASSERT_EQ(p.town.named.size(), table.size()) << city.caption;
        for (std::size_t i = 0; i < table.size(); ++i) {
            const plan::Building& b = p.town.named[i];
            EXPECT_EQ(b.name.toStdString(), table[i].name);
            ASSERT_EQ(b.doors.size(), table[i].entrances.size()) << table[i].name;
            for (std::size_t d = 0; d < b.doors.size(); ++d) {
                EXPECT_LE(std::abs(b.doors[d].at.x() - table[i].entrances[d].x), 1.0)
                    << city.caption << ": " << table[i].name << " (regenerate the world)";
                EXPECT_LE(std::abs(b.doors[d].at.y() - table[i].entrances[d].y), 1.0)
                    << city.caption << ": " << table[i].name;
            }
        }
    }
}

// Buildings are what their names say: the keep, castle or citadel on its rise, gates on the
// wall, temples with a nave, and every name is shown on its map.
TEST(CityPlans, BuildingsTakeTheShapeOfWhatTheyAre) {
    for (const CityEntry& city : kCityDirectory) {
        const Planned& p = planned(city);
        EXPECT_EQ(p.names.names.size(), p.town.named.size()) << city.caption;
        for (const plan::Building& b : p.town.named) {
            const std::string name = b.name.toStdString();
            if (name.ends_with(" Gate")) {
                EXPECT_EQ(b.shape, plan::Shape::Gatehouse) << name;
            }
            if (name.starts_with("Temple")) {
                EXPECT_EQ(b.shape, plan::Shape::Church) << name;
            }
            if (name.ends_with("Keep") || name.ends_with("Castle") || name.ends_with("Citadel")) {
                EXPECT_EQ(b.shape, plan::Shape::Keep) << name;
                const QPointF top = cityLayout(city.table).stronghold;
                EXPECT_LT(plan::distanceTo(b.body, top), 160) << name << " is off its rise";
            }
        }
    }
}
