#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "catalogue/button_directory.h"
#include "catalogue/catalogue.h"

namespace marventa {
namespace {

const std::pair<PlaceTableId, int> kExpectedRows[] = {
    {PlaceTableId::ElvenRuins, 50},  {PlaceTableId::Shrines, 15},   {PlaceTableId::Landmarks, 9},
    {PlaceTableId::Settlements, 31}, {PlaceTableId::FortRuins, 50}, {PlaceTableId::Caves, 89},
    {PlaceTableId::Mines, 25},       {PlaceTableId::Camps, 32},     {PlaceTableId::Inns, 16},
    {PlaceTableId::Cities, 33},      {PlaceTableId::Merrowick, 24}, {PlaceTableId::Tolvane, 26},
    {PlaceTableId::Orlheim, 36},     {PlaceTableId::Dunmaris, 42},  {PlaceTableId::Volmarren, 30},
    {PlaceTableId::Saltreach, 30},   {PlaceTableId::Hathmoor, 28},  {PlaceTableId::CrownCity, 109},
};

TEST(PlaceTables, EachIdReachesATableOfItsOwnRowCount) {
    for (const auto& [id, rows] : kExpectedRows) {
        EXPECT_EQ(placeTable(id).count(), rows) << "table " << static_cast<int>(id);
        EXPECT_EQ(static_cast<int>(placeTable(id).names().size()), rows);
    }
    EXPECT_EQ(heavenlyStones().count(), 7);
    EXPECT_EQ(signStones().count(), 13);
    EXPECT_THROW(placeTable(static_cast<PlaceTableId>(99)), std::out_of_range);
}

// Each caption leads to the table it names, told apart by their row counts.
TEST(ButtonDirectory, EachButtonShowsTheTableItsCaptionNames) {
    const std::map<std::string_view, int> rowsByCaption{
        {"Elven Ruins", 50}, {"Landmarks", 9},   {"Vorthic Shrines", 15}, {"Fort Ruins", 50},
        {"Cities", 33},      {"Camps", 32},      {"Settlements", 31},     {"Mines", 25},
        {"Caves", 89},       {"Inns", 16},       {"Merrowick", 24},       {"Tolvane", 26},
        {"Orlheim", 36},     {"Dunmaris", 42},   {"Volmarren", 30},       {"Saltreach", 30},
        {"Hathmoor", 28},    {"Crown City", 109}};
    for (int n = 1; n <= 20; ++n) {
        const ButtonEntry& button = buttonEntry(n);
        EXPECT_EQ(button.radioButton, n);
        const ButtonList list = n <= 10   ? ButtonList::Categories
                                : n <= 12 ? ButtonList::Stones
                                          : ButtonList::CityBuildings;
        EXPECT_EQ(button.list, list) << n;
        if (list == ButtonList::Stones) {
            EXPECT_EQ(std::get<StoneTableId>(button.table),
                      n == 11 ? StoneTableId::Heavenly : StoneTableId::Sign);
            EXPECT_EQ(button.caption, n == 11 ? "Heavenly Lorestones" : "Natalsign Lorestones");
            continue;
        }
        EXPECT_EQ(placeTable(std::get<PlaceTableId>(button.table)).count(),
                  rowsByCaption.at(button.caption))
            << button.caption;
    }
    EXPECT_THROW(buttonEntry(21), std::out_of_range);
    EXPECT_THROW(buttonEntry(0), std::out_of_range);
}

TEST(PlaceTables, ListRowKShowsRecordKPlusOne) {
    for (const auto& [id, rows] : kExpectedRows) {
        const auto& table = placeTable(id);
        const auto names = table.names();
        for (int row = 0; row < rows; ++row) {
            ASSERT_EQ(names[row], table.record(row + 1).name);
        }
        EXPECT_EQ(&table.record(rows), &table.rows().back());
        EXPECT_EQ(&table.record(1), &table.rows().front());
        EXPECT_THROW(table.record(0), std::out_of_range);
        EXPECT_THROW(table.record(rows + 1), std::out_of_range);
    }
}

TEST(PlaceTables, DunmarisListsAllFortyTwoRows) {
    const auto names = placeTable(PlaceTableId::Dunmaris).names();
    ASSERT_EQ(names.size(), 42u);
    EXPECT_EQ(names.back(), placeTable(PlaceTableId::Dunmaris).record(42).name);
}

// A building with several entrances has a row per door: the rows share the name, the points differ.
TEST(PlaceTables, RepeatedBuildingNamesKeepTheirOwnPoints) {
    for (const auto id : {PlaceTableId::Merrowick, PlaceTableId::Tolvane, PlaceTableId::Orlheim,
                          PlaceTableId::Dunmaris, PlaceTableId::Volmarren, PlaceTableId::Saltreach,
                          PlaceTableId::Hathmoor, PlaceTableId::CrownCity}) {
        const auto& table = placeTable(id);
        std::map<std::string_view, int> firstRow;
        int repeats = 0;
        for (int k = 1; k <= table.count(); ++k) {
            const PlaceRecord& r = table.record(k);
            const auto [it, fresh] = firstRow.emplace(r.name, k);
            if (!fresh) {
                ++repeats;
                const PlaceRecord& first = table.record(it->second);
                EXPECT_TRUE(first.x != r.x || first.y != r.y) << r.name << " rows share a point";
            }
        }
        EXPECT_GT(repeats, 0) << "city table " << static_cast<int>(id) << " has no repeated name";
    }
}

template <class Record>
int effectLines(const Record& r) {
    const auto firstEmpty = std::find(r.effects.begin(), r.effects.end(), std::string_view{});
    const bool restEmpty = std::all_of(firstEmpty, r.effects.end(),
                                       [](std::string_view line) { return line.empty(); });
    return restEmpty ? static_cast<int>(firstEmpty - r.effects.begin()) : -1;
}

TEST(Stones, FameDifferencesRunFromTenToSeventy) {
    const char* expected[] = {"10", "20", "30", "40", "50", "60", "70"};
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(heavenlyStones().record(k).fameDifference, expected[k - 1]);
    }
}

TEST(Stones, EffectLinesAreLeadingAndWithinTheirRange) {
    std::map<int, int> heavenlyCounts;
    for (const auto& stone : heavenlyStones().rows()) {
        const int lines = effectLines(stone);
        EXPECT_TRUE(lines >= 2 && lines <= 7) << stone.name << ": " << lines;
        ++heavenlyCounts[lines];
    }
    std::map<int, int> signCounts;
    for (const auto& stone : signStones().rows()) {
        const int lines = effectLines(stone);
        EXPECT_TRUE(lines >= 1 && lines <= 4) << stone.name << ": " << lines;
        ++signCounts[lines];
    }
    EXPECT_GT(heavenlyCounts.size(), 3u);
    EXPECT_EQ(signCounts.size(), 4u);
}

}  // namespace
}  // namespace marventa
