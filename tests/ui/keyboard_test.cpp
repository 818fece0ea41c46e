// The side panel by keyboard and by a screen reader's actions: which radio buttons Tab stops at
// however the focus moved, what an arrow key checks, and that every change of page resets.

#include <QAccessible>
#include <QApplication>
#include <vector>

#include "catalogue/city_directory.h"
#include "navigation/ramka.h"
#include "navigation/view_mode.h"
#include "tests/support/window/window_fixture.h"

namespace marventa {
namespace {

constexpr int kStandard = 0;
constexpr int kCities = 1;

class KeyboardTest : public WindowTest {
  protected:
    // The key goes to whatever has the focus, as a keyboard user's would.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // n of every RadioButton<n> that Tab stops at, in ascending n.
    std::vector<int> tabStops() const {
        std::vector<int> stops;
        for (int n = 1; n <= 20; ++n) {
            if ((ui().radioButton(n).focusPolicy() & Qt::TabFocus) != 0) {
                stops.push_back(n);
            }
        }
        return stops;
    }
    std::vector<int> checkedButtons() const {
        std::vector<int> checked;
        for (int n = 1; n <= 20; ++n) {
            if (ui().radioButton(n).isChecked()) {
                checked.push_back(n);
            }
        }
        return checked;
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    RadioButton* button(int n) const { return &ui().radioButton(n); }
    static int rowsOf(PlaceTableId table) { return placeTable(table).count(); }
};

// From a fresh window a keyboard alone picks a category, then a city: Tab reaches each group
// at its first button while none is checked, focusing it checks nothing, and Space or an arrow
// checks and runs the button's choice.
TEST_F(KeyboardTest, AFreshWindowReachesEachGroupByKeyboardAndSpaceOrAnArrowChecks) {
    EXPECT_EQ(tabStops(), (std::vector<int>{1, 11, 18})) << "the first of each group";

    ui().ScrollBox1->setFocus();
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), &ui().TabbedNotebook1->tabStrip());
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), button(1));  // "Elven Ruins"
    EXPECT_EQ(checkedButtons(), std::vector<int>{});
    EXPECT_FALSE(ui().ListBox1->isEnabled());

    press(Qt::Key_Space);
    EXPECT_EQ(checkedButtons(), std::vector<int>{1});
    EXPECT_TRUE(ui().ListBox1->isEnabled());
    EXPECT_EQ(ui().ListBox1->count(), rowsOf(PlaceTableId::ElvenRuins));
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), button(2));  // "Landmarks"
    EXPECT_EQ(checkedButtons(), std::vector<int>{2});
    EXPECT_EQ(ui().ListBox1->count(), rowsOf(PlaceTableId::Landmarks));
    EXPECT_EQ(tabStops(), (std::vector<int>{2, 11, 18}));

    // To the "Cities" page by the strip's arrow: the page change unchecks every button.
    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(focused(), &ui().TabbedNotebook1->tabStrip());
    press(Qt::Key_Right);
    ASSERT_EQ(ui().TabbedNotebook1->currentIndex(), kCities);
    EXPECT_EQ(checkedButtons(), std::vector<int>{});
    EXPECT_EQ(tabStops(), (std::vector<int>{1, 11, 18}));
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), button(18));  // "Tolvane"
    EXPECT_EQ(checkedButtons(), std::vector<int>{});
    EXPECT_EQ(ViewMode, ProvinceView);
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), button(13));  // "Merrowick", below Tolvane
    EXPECT_EQ(checkedButtons(), std::vector<int>{13});
    EXPECT_EQ(ViewMode, CityView);
    EXPECT_EQ(ui().StatusBar1->panelText(1), QStringLiteral("Merrowick"));
    EXPECT_EQ(ui().ListBox3->count(), rowsOf(PlaceTableId::Merrowick));
    EXPECT_EQ(tabStops(), (std::vector<int>{1, 11, 13}));
}

// A page change unchecks the button the page gives the focus back to. An arrow from it checks
// the button it moves to, and Tab never stops at it.
TEST_F(KeyboardTest, AButtonAPageChangeUncheckedIsNoTabStopAndAnArrowFromItChecks) {
    clickTab(kCities);
    clickRadio(13);  // "Merrowick"
    clickTab(kStandard);
    clickRadio(9);  // "Caves"
    clickTab(kCities);
    ASSERT_EQ(focused(), button(13)) << "the page gives the focus back to Merrowick";
    EXPECT_EQ(checkedButtons(), std::vector<int>{});
    EXPECT_EQ(tabStops(), (std::vector<int>{1, 11, 18}));
    EXPECT_EQ(ui().ListBox3->count(), 0);

    press(Qt::Key_Down);
    EXPECT_EQ(focused(), button(14));  // "Hathmoor"
    EXPECT_EQ(checkedButtons(), std::vector<int>{14});
    EXPECT_EQ(ui().ListBox3->count(), rowsOf(PlaceTableId::Hathmoor));
    EXPECT_EQ(ui().StatusBar1->panelText(1), QStringLiteral("Hathmoor"));
    EXPECT_EQ(tabStops(), (std::vector<int>{1, 11, 14}));
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), ui().ListBox3);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), button(14));
    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(focused(), &ui().TabbedNotebook1->tabStrip());
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), button(14));

    // Once more: now Hathmoor is unchecked and given the focus back.
    clickTab(kStandard);
    clickRadio(9);
    clickTab(kCities);
    ASSERT_EQ(focused(), button(14));
    EXPECT_EQ(tabStops(), (std::vector<int>{1, 11, 18}));
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), ui().ListBox3);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), button(18)) << "the group's first button, not the unchecked Hathmoor";
    EXPECT_EQ(checkedButtons(), std::vector<int>{});
}

// The focus reaching an unchecked button by the mouse or by a screen reader moves no Tab stop,
// and checks nothing until an arrow or Space does.
TEST_F(KeyboardTest, TheFocusReachingAButtonByAnyRouteLeavesTheCheckedOneTheTabStop) {
    clickTab(kCities);
    clickRadio(13);  // "Merrowick"

    // A press on "Hathmoor" released outside it: no click, but the focus stays there.
    RadioButton& hathmoor = *button(14);
    QTest::mousePress(&hathmoor, Qt::LeftButton, {}, QPoint(6, hathmoor.height() / 2));
    QTest::mouseRelease(&hathmoor, Qt::LeftButton, {}, QPoint(hathmoor.width() + 20, 40));
    ASSERT_EQ(focused(), &hathmoor);
    EXPECT_EQ(checkedButtons(), std::vector<int>{13});
    EXPECT_EQ(tabStops(), (std::vector<int>{1, 11, 13}));

    // A screen reader's focus action on "Orlheim".
    QAccessibleActionInterface* orlheim =
        QAccessible::queryAccessibleInterface(button(19))->actionInterface();
    ASSERT_NE(orlheim, nullptr);
    orlheim->doAction(QAccessibleActionInterface::setFocusAction());
    ASSERT_EQ(focused(), button(19));
    EXPECT_EQ(checkedButtons(), std::vector<int>{13});
    EXPECT_EQ(tabStops(), (std::vector<int>{1, 11, 13}));
    EXPECT_EQ(ui().ListBox3->count(), rowsOf(PlaceTableId::Merrowick));

    press(Qt::Key_Up);
    EXPECT_EQ(focused(), button(20));  // "Saltreach", above Orlheim
    EXPECT_EQ(checkedButtons(), std::vector<int>{20});
    EXPECT_EQ(ui().ListBox3->count(), rowsOf(PlaceTableId::Saltreach));
    EXPECT_EQ(tabStops(), (std::vector<int>{1, 11, 20}));
}

// A screen reader's press on a page tab and a switch from code reset like a click: once each,
// before the new page shows. The city unchecked by it no longer marks the overview.
TEST_F(KeyboardTest, EveryRouteToAnotherPageRunsThePageChangeOnceFirst) {
    clickTab(kCities);
    clickRadio(13);  // "Merrowick"
    ASSERT_EQ(ui().ListBox3->count(), rowsOf(PlaceTableId::Merrowick));
    std::vector<bool> citiesPageShown;
    QObject::connect(ui().TabbedNotebook1, &Notebook::pageAboutToChange, form_.get(),
                     [&] { citiesPageShown.push_back(ui().CitiesPage->isVisible()); });

    QAccessibleInterface* standardTab =
        QAccessible::queryAccessibleInterface(&ui().TabbedNotebook1->tabStrip())->child(kStandard);
    ASSERT_EQ(standardTab->role(), QAccessible::PageTab);
    standardTab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(ui().TabbedNotebook1->currentIndex(), kStandard);
    EXPECT_EQ(citiesPageShown, std::vector<bool>{true});
    EXPECT_EQ(checkedButtons(), std::vector<int>{});
    EXPECT_EQ(ui().ListBox3->count(), 0);

    clickRadio(9);  // "Caves": the province comes back
    clickRow(*ui().ListBox1, 0);
    ASSERT_EQ(ViewMode, ProvinceView);
    const QPoint at = positions();
    const QSize view = scrollBox().size();
    const RamkaInput frameOnly{
        true, {at.x(), at.y(), at.x() + view.width(), at.y() + view.height()}, {3248, 2633}, {}};
    OverviewBitmap expected;
    renderOverview(expected, form_->browser().overview().pristine(), frameOnly);
    EXPECT_TRUE(form_->browser().overview().bitmap() == expected) << "the frame, no circle";

    ui().TabbedNotebook1->setCurrentIndex(kCities);
    EXPECT_EQ(citiesPageShown, (std::vector<bool>{true, false}));
    EXPECT_EQ(checkedButtons(), std::vector<int>{});
    EXPECT_EQ(ui().ListBox1->count(), 0);
}

}  // namespace
}  // namespace marventa
