#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/city_directory.h"
#include "fake_window.h"
#include "navigation/view_mode.h"

namespace marventa {
namespace {

template <class Record>
std::vector<std::string> namesOf(const PlaceTable<Record>& table) {
    std::vector<std::string> names;
    for (const auto& record : table.rows()) {
        names.emplace_back(record.name);
    }
    return names;
}

TEST(CategoryButton, FillsTheListOnceWithOnlyItsTable) {
    FakeWindow w;
    w.click(9);
    w.click(9);  // already checked: runs nothing
    EXPECT_EQ(w.listBox1.rows, namesOf(placeTable(PlaceTableId::Caves)));
    EXPECT_TRUE(w.listBox1.enabled);

    w.click(8);
    EXPECT_EQ(w.listBox1.rows.size(), 25u);
    EXPECT_EQ(w.listBox1.rows, namesOf(placeTable(PlaceTableId::Mines)));
}

TEST(CategoryButton, InTheProvinceKeepsTheViewAndEmptiesTheStoneList) {
    FakeWindow w;
    w.click(11);
    w.listBox2.pick(3);
    const int h = w.scroll.horizontalPosition();
    const int v = w.scroll.verticalPosition();
    const OverviewBitmap overview = w.browser.overview().bitmap();

    w.browser.TabbedNotebook1Change();
    w.click(1);
    EXPECT_TRUE(w.listBox2.rows.empty());
    EXPECT_EQ(w.scroll.horizontalPosition(), h);
    EXPECT_EQ(w.scroll.verticalPosition(), v);
    EXPECT_TRUE(w.label.visible);
    EXPECT_EQ(w.browser.overview().bitmap(), overview);
}

TEST(CategoryButton, AfterACityBringsBackTheProvinceWithItsFrame) {
    FakeWindow w;
    w.browser.TabbedNotebook1Change();
    w.click(17);
    w.browser.viewport().Image1Click({1400, 1700});
    const int h = w.scroll.horizontalPosition();
    const int v = w.scroll.verticalPosition();
    ASSERT_GT(h, 0);
    ASSERT_GT(v, 0);

    w.browser.TabbedNotebook1Change();
    w.click(6);
    EXPECT_EQ(ViewMode, ProvinceView);
    EXPECT_EQ(w.image1.holder, "ProvinceMap");
    EXPECT_EQ(w.scroll.horizontalRange(), 3248);
    EXPECT_EQ(w.scroll.verticalRange(), 2633);
    EXPECT_EQ(w.scroll.horizontalPosition(), h);
    EXPECT_EQ(w.scroll.verticalPosition(), v);
    EXPECT_FALSE(w.label.visible);
    EXPECT_EQ(w.label.caption, "");
    // The city's marker gives way to the frame of the view now shown.
    EXPECT_EQ(w.browser.overview().bitmap(), w.expectedOverview(true));
}

TEST(CityButton, ReplacesTheViewWithTheCityFromItsCorner) {
    FakeWindow w;
    w.browser.TabbedNotebook1Change();
    w.click(17);
    w.listBox3.pick(20);
    w.browser.viewport().Image1Click({1500, 1500});
    ASSERT_TRUE(w.label.visible);

    w.click(16);
    EXPECT_EQ(ViewMode, CityView);
    EXPECT_FALSE(w.radioButton(17).isChecked);
    EXPECT_EQ(w.status.panels[1], "Dunmaris");
    EXPECT_EQ(w.image1.holder, "dunmaris");
    EXPECT_EQ(w.scroll.horizontalRange(), 1844);
    EXPECT_EQ(w.scroll.verticalRange(), 1176);
    EXPECT_EQ(w.scroll.horizontalPosition(), 0);
    EXPECT_EQ(w.scroll.verticalPosition(), 0);
    EXPECT_FALSE(w.label.visible);
    EXPECT_EQ(w.label.caption, "");
    EXPECT_EQ(w.listBox3.rows.size(), 42u);
    EXPECT_EQ(w.listBox3.rows, namesOf(placeTable(PlaceTableId::Dunmaris)));
    // Dunmaris is fifth in the drawing order; Crown City's marker is gone.
    EXPECT_EQ(w.browser.overview().bitmap(),
              w.expectedOverview(false, {false, false, false, false, true}));
}

TEST(StoneDetails, HeavenlyThenSignStone) {
    FakeWindow w;
    w.browser.TabbedNotebook1Change();
    w.click(11);
    w.listBox2.pick(1);
    const HeavenlyStoneRecord& heavenly = heavenlyStones().record(2);
    EXPECT_EQ(w.stoneDetails.labels[2], "Difference between");
    EXPECT_EQ(w.stoneDetails.labels[3],
              "Fame and Infame at least " + std::string(heavenly.fameDifference));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(w.stoneDetails.labels[4 + i], heavenly.effects[i]) << "Label" << 4 + i;
    }

    w.click(12);
    w.listBox2.pick(0);
    const SignStoneRecord& sign = signStones().record(1);
    for (int label : {2, 3, 8, 9, 10}) {
        EXPECT_EQ(w.stoneDetails.labels[label], "") << "Label" << label;
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.stoneDetails.labels[4 + i], sign.effects[i]) << "Label" << 4 + i;
    }
    EXPECT_EQ(w.status.panels[0], sign.name);
}

}  // namespace
}  // namespace marventa
