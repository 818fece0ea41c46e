#include <gtest/gtest.h>

#include "fake_window.h"
#include "navigation/view_mode.h"
#include "shown.h"

namespace marventa {
namespace {

TEST(PageChange, EmptiesListsAndUnchecksButtonsKeepingWhatIsShown) {
    FakeWindow w;
    w.click(11);
    w.listBox2.pick(2);
    w.browser.TabbedNotebook1Change();
    w.click(14);
    w.listBox3.pick(5);
    // Buttons on every page and rows in every list, whatever the route that got them there.
    w.radioButton(4).isChecked = true;
    w.radioButton(12).isChecked = true;
    w.listBox1.rows = {"Old Mill"};
    w.listBox2.rows = {"Grey Stone"};
    const Shown before(w);

    w.browser.TabbedNotebook1Change();
    for (const FakeList* list : {&w.listBox1, &w.listBox2, &w.listBox3}) {
        EXPECT_TRUE(list->rows.empty());
        EXPECT_FALSE(list->selected.has_value());
    }
    for (int n = 1; n <= 20; ++n) {
        EXPECT_FALSE(w.radioButton(n).isChecked) << "RadioButton" << n;
    }
    EXPECT_TRUE(Shown(w) == before);
    EXPECT_EQ(ViewMode, CityView);
    EXPECT_TRUE(w.listBox1.enabled);

    // Unchecked, the same city can be chosen again.
    w.click(14);
    EXPECT_FALSE(w.listBox3.rows.empty());
}

}  // namespace
}  // namespace marventa
