#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "catalogue/button_directory.h"
#include "catalogue/city_directory.h"
#include "catalogue/coordinate.h"
#include "fake_window.h"
#include "shown.h"

namespace marventa {
namespace {

// Record k of the table behind a radio button, by the button directories.
PlaceRecord recordBehind(int button, int k) {
    if (button <= 10) {
        return placeTable(kCategoryButtons.at(static_cast<std::size_t>(button - 1)).table)
            .record(k);
    }
    if (button == 11) {
        const HeavenlyStoneRecord& stone = heavenlyStones().record(k);
        return {stone.name, stone.x, stone.y};
    }
    if (button == 12) {
        const SignStoneRecord& stone = signStones().record(k);
        return {stone.name, stone.x, stone.y};
    }
    const auto city = std::ranges::find(kCityDirectory, button, &CityEntry::radioButton);
    return placeTable(city->table).record(k);
}

void expectCentredOn(const FakeWindow& w, const PlaceRecord& place) {
    EXPECT_EQ(w.status.panels[0], place.name);
    EXPECT_EQ(w.label.caption, place.name);
    EXPECT_EQ(w.scroll.horizontalPosition(),
              std::clamp(parseCoordinate(place.x) - 323, 0, w.scroll.maxHorizontalPosition()));
    EXPECT_EQ(w.scroll.verticalPosition(),
              std::clamp(parseCoordinate(place.y) - 305, 0, w.scroll.maxVerticalPosition()));
}

class EveryButton : public ::testing::TestWithParam<int> {};

TEST_P(EveryButton, ListPicksFromTheCheckedButtonsTable) {
    const int button = GetParam();
    FakeWindow w;
    w.browser.TabbedNotebook1Change();
    w.click(button);
    FakeList& list = button <= 10 ? w.listBox1 : button <= 12 ? w.listBox2 : w.listBox3;
    const int last = static_cast<int>(list.rows.size()) - 1;
    ASSERT_GT(last, 0);
    for (int row : {0, last}) {
        list.pick(row);
        expectCentredOn(w, recordBehind(button, row + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(RadioButtons, EveryButton, ::testing::Range(1, 21), [](const auto& info) {
    return "RadioButton" + std::to_string(info.param);
});

constexpr PlaceRecord kTwinRows[] = {{"Mill", "200", "150"},
                                     {"Well", "400", "300"},
                                     {"Gate", "900", "500"},
                                     {"Well", "1500", "1000"}};

const PlaceTable<PlaceRecord>& twinTable(PlaceTableId) {
    static const PlaceTable<PlaceRecord> table{kTwinRows};
    return table;
}

TEST(ListClick, TheSecondOfTwoEqualNamesShowsTheSecondPoint) {
    FakeWindow w{TableSource{.places = &twinTable}};
    w.browser.TabbedNotebook1Change();
    w.click(16);
    w.listBox3.pick(3);
    expectCentredOn(w, kTwinRows[3]);
    EXPECT_GT(w.scroll.horizontalPosition(), 1000);
}

// Only one city button is ever checked, but the buttons are tested in a fixed order in which
// Orlheim (19) comes before Dunmaris (16): with both checked, the later Pokaz wins.
TEST(ListClick, CityButtonsAreTestedInTheirOwnOrder) {
    FakeWindow w;
    w.browser.TabbedNotebook1Change();
    w.click(16);
    w.radioButton(19).isChecked = true;
    w.listBox3.pick(0);
    expectCentredOn(w, recordBehind(16, 1));
}

TEST(ListClick, NoSelectedRowDoesNothing) {
    FakeWindow w;
    w.click(9);
    const Shown before(w);
    w.listBox1.pick(-1);
    EXPECT_TRUE(Shown(w) == before);
    EXPECT_FALSE(w.label.visible);
}

constexpr PlaceRecord kBadRows[] = {
    {"Quarry", "1200", "900"}, {"Smudge", "12x", "40"}, {"Blot", "40", " 7"}};

const PlaceTable<PlaceRecord>& badPlaces(PlaceTableId) {
    static const PlaceTable<PlaceRecord> table{kBadRows};
    return table;
}

constexpr HeavenlyStoneRecord kBadStones[] = {
    {"Bright Stone", "800", "600", "20", {"Glows at dusk", "Hums"}},
    {"Dim Stone", "8O0", "600", "30", {"Cold to touch"}},
};

const PlaceTable<HeavenlyStoneRecord>& badStones() {
    static const PlaceTable<HeavenlyStoneRecord> table{kBadStones};
    return table;
}

TEST(ListClick, ABadCoordinateChangesNothing) {
    FakeWindow w{TableSource{.places = &badPlaces}};
    w.click(9);
    w.listBox1.pick(0);
    const Shown before(w);

    try {
        w.listBox1.pick(1);
        FAIL() << "no error for a bad x";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'12x' is not a valid integer value");
    }
    EXPECT_TRUE(Shown(w) == before);

    EXPECT_THROW(w.listBox1.pick(2), ConversionError);
    EXPECT_TRUE(Shown(w) == before);
}

TEST(ListClick, ABadStoneLeavesTheDetailsAsTheyWere) {
    FakeWindow w{TableSource{.heavenly = &badStones}};
    w.click(11);
    w.listBox2.pick(0);
    ASSERT_EQ(w.stoneDetails.labels[3], "Fame and Infame at least 20");
    const Shown before(w);

    EXPECT_THROW(w.listBox2.pick(1), ConversionError);
    EXPECT_TRUE(Shown(w) == before);
}

}  // namespace
}  // namespace marventa
