#include <gtest/gtest.h>

#include "fake_window.h"
#include "navigation/view_mode.h"

namespace marventa {
namespace {

TEST(InitialState, ShowsTheProvinceWithTheFirstFrame) {
    FakeWindow w;
    EXPECT_EQ(ViewMode, ProvinceView);
    EXPECT_EQ(w.image1.holder, "ProvinceMap");
    EXPECT_EQ(w.scroll.horizontalRange(), 3248);
    EXPECT_EQ(w.scroll.verticalRange(), 2633);
    EXPECT_EQ(w.scroll.horizontalPosition(), 0);
    EXPECT_EQ(w.scroll.verticalPosition(), 0);
    EXPECT_EQ(w.browser.overview().bitmap(), w.expectedOverview(true));
    EXPECT_EQ(w.statusBar.panelWidths[0], 423);
    EXPECT_FALSE(w.listBox1.enabled);
}

TEST(InitialState, StatusNamesTheVersionUntilTheFirstButton) {
    FakeWindow w;
    w.browser.TabbedNotebook1Change();
    w.listBox2.pick(0);  // an empty list: no row, nothing runs
    w.browser.viewport().Image1Click({1000, 1000});
    EXPECT_EQ(w.status.panels[1], "Map of Marventa v1.5");

    w.click(11);
    EXPECT_EQ(w.status.panels[1], "Map of Marventa");

    w.browser.TabbedNotebook1Change();
    w.click(15);
    EXPECT_EQ(w.status.panels[1], "Volmarren");
}

}  // namespace
}  // namespace marventa
