#include <gtest/gtest.h>

#include "tools/sites/siting.h"

using namespace marventa;

namespace {

// Level dry lowland, far from every water, wood and height, all of it reachable by road.
Ground openCountry(int cells) {
    Ground g;
    g.w = cells;
    g.h = cells;
    const auto grid = [&](float v) { return Grid<float>(cells, cells, v); };
    g.height = grid(0.2f);
    g.slope = grid(0.0f);
    g.toSea = grid(1000.0f);
    g.toLake = grid(1000.0f);
    g.toRiver = grid(1000.0f);
    g.toBrook = grid(1000.0f);
    g.woods = grid(0.0f);
    g.oldWood = grid(0.0f);
    g.marsh = grid(0.0f);
    g.toHeights = grid(1000.0f);
    g.cliff = grid(0.0f);
    g.toMarsh = grid(1000.0f);
    g.seaShare = grid(0.0f);
    g.toIsland = grid(1000.0f);
    g.toCrag = grid(1000.0f);
    g.toWood = grid(1000.0f);
    g.toValley = grid(1000.0f);
    g.bayWrap = grid(0.0f);
    g.mainland = Grid<unsigned char>(cells, cells, 1);
    g.woodId = Grid<int>(cells, cells, -1);
    g.rangeId = Grid<int>(cells, cells, -1);
    return g;
}

std::vector<ProvincePlace> villages() {
    return {{"Pellowick", {96, 96}, PlaceKind::Settlement},
            {"Dunsary Green", {240, 96}, PlaceKind::Settlement},
            {"Ottersett", {96, 240}, PlaceKind::Settlement},
            {"Brannow", {264, 264}, PlaceKind::Settlement}};
}

}  // namespace

// A change to the land must move only the places it spoils: were every place sited afresh, one
// drowned village would hand the names of all the others to new points.
TEST(Siting, PlacesKeepTheirPointsUnlessTheGroundSpoilsThem) {
    Ground g = openCountry(48);
    const std::vector<ProvincePlace> before = villages();
    const std::vector<ProvincePlace> kept = sitePlaces(before, g);
    ASSERT_EQ(kept.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(kept[i].at.x, before[i].at.x) << before[i].name;
        EXPECT_EQ(kept[i].at.y, before[i].at.y) << before[i].name;
    }

    // A pond over the second village's point.
    for (int j = 9; j <= 15; ++j) {
        for (int i = 27; i <= 33; ++i) {
            g.height(i, j) = -0.1f;
        }
    }
    const std::vector<ProvincePlace> after = sitePlaces(before, g);
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool moved = after[i].at.x != before[i].at.x || after[i].at.y != before[i].at.y;
        EXPECT_EQ(moved, i == 1) << before[i].name;
    }
    EXPECT_TRUE(siteFaults(after[1], g, after).empty());

    // A point off the lattice is no committed site: the place is sited as new, on a spot.
    std::vector<ProvincePlace> stray = before;
    stray[2].at = {99, 243};
    const ProvincePlace resited = sitePlaces(stray, openCountry(48))[2];
    EXPECT_EQ(resited.at.x % kSiteCell, 0);
    EXPECT_EQ(resited.at.y % kSiteCell, 0);
}

// Two places whose committed points now crowd each other: the first in siting order keeps its
// point, the second moves clear of it.
TEST(Siting, AKeptPlaceStillKeepsItsNeighboursAway) {
    std::vector<ProvincePlace> crowded = villages();
    crowded[1].at = {112, 96};  // 16 px from the first
    const std::vector<ProvincePlace> out = sitePlaces(crowded, openCountry(48));
    EXPECT_EQ(out[0].at.x, 96);
    EXPECT_EQ(out[0].at.y, 96);
    for (std::size_t i = 0; i < out.size(); ++i) {
        for (std::size_t j = i + 1; j < out.size(); ++j) {
            const double dx = out[i].at.x - out[j].at.x;
            const double dy = out[i].at.y - out[j].at.y;
            EXPECT_GE(dx * dx + dy * dy, 34.0 * 34.0) << out[i].name << " / " << out[j].name;
        }
    }
    EXPECT_EQ(out[2].at.x, 96);
    EXPECT_EQ(out[3].at.x, 264);
}
