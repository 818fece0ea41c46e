#include <gtest/gtest.h>

#include "catalogue/city_directory.h"
#include "tools/city/city_buildings.h"
#include "tools/city/city_checks.h"
#include "tools/city/city_ground.h"
#include "tools/city/city_layout.h"
#include "tools/common/world_places.h"

using namespace marventa;

namespace {

const CityLayout& layoutOf(PlaceTableId table) {
    for (const CityLayout& l : cityLayouts()) {
        if (l.table == table) {
            return l;
        }
    }
    throw std::logic_error("no plan for a city");
}

}  // namespace

// Every door of every building of every city sits on its building's outline, no building
// stands on another, in water or off its map.
TEST(CityPlans, EveryDoorIsOnItsBuildingAndNoBuildingClashes) {
    for (const CityEntry& city : kCityDirectory) {
        const CityGround ground(layoutOf(city.table), QSizeF(city.mapWidth, city.mapHeight));
        const std::vector<CityBuilding> buildings = cityBuildings(city.table);
        const std::vector<Footprint> footprints = planFootprints(ground, buildings);
        ASSERT_EQ(footprints.size(), buildings.size()) << city.caption;
        std::size_t doors = 0;
        for (std::size_t i = 0; i < footprints.size(); ++i) {
            EXPECT_EQ(footprints[i].doors.size(), buildings[i].entrances.size());
            doors += footprints[i].doors.size();
        }
        EXPECT_EQ(static_cast<int>(doors), placeTable(city.table).count()) << city.caption;
        for (const std::string& fault : checkCity(ground, footprints)) {
            ADD_FAILURE() << city.caption << ": " << fault;
        }
    }
}

TEST(CityPlans, RepeatedNamesAreOneBuildingWithSeveralDoors) {
    const std::vector<CityBuilding> orlheim = cityBuildings(PlaceTableId::Orlheim);
    const auto keep = std::find_if(orlheim.begin(), orlheim.end(),
                                   [](const CityBuilding& b) { return b.name == "Orlheim Keep"; });
    ASSERT_NE(keep, orlheim.end());
    EXPECT_EQ(keep->entrances.size(), 3u);
    for (std::size_t i = 0; i < orlheim.size(); ++i) {
        EXPECT_EQ(orlheim[i].number, static_cast<int>(i) + 1);
    }
}

TEST(CityPlans, GatesStraddleTheWallAndKeepsHaveDoorsOnThreeSides) {
    const CityLayout& layout = layoutOf(PlaceTableId::Orlheim);
    const CityGround ground(layout, QSizeF(1020, 1260));
    const std::vector<Footprint> footprints =
        planFootprints(ground, cityBuildings(PlaceTableId::Orlheim));
    for (const Footprint& f : footprints) {
        if (f.name == QStringLiteral("East Gate")) {
            EXPECT_EQ(f.shape, BuildingShape::Gatehouse);
            bool inside = false, outside = false;
            for (const QPointF& v : f.body) {
                (ground.insideWall(v) ? inside : outside) = true;
            }
            EXPECT_TRUE(inside && outside);
        }
        if (f.name == QStringLiteral("Orlheim Keep")) {
            ASSERT_EQ(f.doors.size(), 3u);
            EXPECT_NE(f.doors[0].outward, f.doors[1].outward);
            EXPECT_NE(f.doors[1].outward, f.doors[2].outward);
            EXPECT_NE(f.doors[0].outward, f.doors[2].outward);
        }
    }
}
