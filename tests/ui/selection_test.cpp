#include <QApplication>
#include <QLabel>
#include <algorithm>

#include "catalogue/city_directory.h"
#include "catalogue/coordinate.h"
#include "navigation/view_mode.h"
#include "tests/support/window/window_fixture.h"

namespace marventa {
namespace {

constexpr int kStandard = 0;
constexpr int kCities = 1;
constexpr int kInfo = 3;

QString nameOf(const PlaceRecord& record) {
    return QString::fromUtf8(record.name.data(), static_cast<qsizetype>(record.name.size()));
}

TEST_F(WindowTest, ACategoryFillsItsListAndARowClickCentresAndLabelsThePlace) {
    const PlaceTable<PlaceRecord>& caves = placeTable(PlaceTableId::Caves);
    clickRadio(9);  // "Caves"
    ASSERT_TRUE(ui().radioButton(9).isChecked());
    EXPECT_TRUE(ui().ListBox1->isEnabled());
    ASSERT_EQ(ui().ListBox1->count(), caves.count());
    EXPECT_EQ(ui().StatusBar1->panelText(1), QStringLiteral("Map of Marventa"));

    clickRadio(9);  // already checked: runs nothing, so nothing is appended twice
    EXPECT_EQ(ui().ListBox1->count(), caves.count());
    clickRadio(8);  // "Mines" replaces the caves
    EXPECT_EQ(ui().ListBox1->count(), placeTable(PlaceTableId::Mines).count());
    EXPECT_FALSE(ui().radioButton(9).isChecked());
    clickRadio(9);

    const int row = caves.count() / 2;
    const PlaceRecord& cave = caves.record(row + 1);
    clickRow(*ui().ListBox1, row);

    const int x = parseCoordinate(cave.x);
    const int y = parseCoordinate(cave.y);
    const ScrollState& state = scrollBox().state();
    EXPECT_EQ(positions(), QPoint(clamped(x - 323, state.maxHorizontalPosition()),
                                  clamped(y - 305, state.maxVerticalPosition())));
    // The bars and the picture follow the positions.
    EXPECT_EQ(scrollBox().horizontalScrollBar()->value(), positions().x());
    EXPECT_EQ(scrollBox().verticalScrollBar()->value(), positions().y());
    EXPECT_EQ(ui().Image1->pos(), -positions());
    // The place is on screen and named twice.
    const QPoint onScreen = QPoint(x, y) - positions();
    EXPECT_TRUE(scrollBox().viewport()->rect().contains(onScreen));
    EXPECT_TRUE(ui().Label1->isVisible());
    EXPECT_EQ(ui().Label1->text(), nameOf(cave));
    EXPECT_EQ(ui().StatusBar1->panelText(0), nameOf(cave));
}

// What a pick puts on the screen, read from the window's pixels: the label on its tooltip
// colour beside the place, the overview frame around the new view, the name in the status bar.
// Also run on a Wayland compositor (wayland_test.sh).
TEST_F(WindowTest, APickShowsOnTheScreen) {
    const QImage before = form_->grab().toImage();
    clickRadio(9);
    clickRow(*ui().ListBox1, placeTable(PlaceTableId::Caves).count() / 2);
    const QImage after = form_->grab().toImage();

    const NameLabel& label = *ui().Label1;
    const QPoint labelCorner = label.mapTo(form_.get(), QPoint(0, 0));
    EXPECT_EQ(logicalPixel(after, labelCorner), label.palette().color(QPalette::Window));

    const OverviewBitmap& overview = form_->browser().overview().bitmap();
    const QPoint overviewCorner = ui().Image2->mapTo(form_.get(), QPoint(0, 0));
    // The control is narrower than the bitmap: its two rightmost columns are never on screen.
    const int shownWidth = std::min(OverviewBitmap::kWidth, ui().Image2->width());
    int framePixels = 0;
    for (int y = 0; y < OverviewBitmap::kHeight; ++y) {
        for (int x = 0; x < shownWidth; ++x) {
            const auto* rgb =
                &overview.rgb[static_cast<std::size_t>(y * OverviewBitmap::kStride + x * 3)];
            if (rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 0 && (x > 39 || y > 37)) {
                ++framePixels;
                EXPECT_EQ(logicalPixel(after, overviewCorner + QPoint(x, y)), QColor(Qt::black))
                    << x << "," << y;
            }
        }
    }
    EXPECT_GT(framePixels, 0) << "the frame left the top-left corner";

    const QRect panel0(ui().StatusBar1->panel(0).mapTo(form_.get(), QPoint(2, 2)), QSize(100, 14));
    int changed = 0;
    for (int y = panel0.top(); y <= panel0.bottom(); ++y) {
        for (int x = panel0.left(); x <= panel0.right(); ++x) {
            changed += logicalPixel(after, {x, y}) != logicalPixel(before, {x, y});
        }
    }
    EXPECT_GT(changed, 20) << "the place's name is drawn in the status bar";
}

TEST_F(WindowTest, TypedLettersPickTheFirstMatchingRowAndBackspaceGoesBackToTheTop) {
    const PlaceTable<PlaceRecord>& caves = placeTable(PlaceTableId::Caves);
    clickRadio(9);
    ListBox& list = *ui().ListBox1;
    list.setFocus();

    // The last cave's first letters, in lower case: the first row starting with them wins.
    const QString prefix = nameOf(caves.record(caves.count())).left(3).toLower();
    QStringList names;
    for (const PlaceRecord& record : caves.rows()) {
        names.append(nameOf(record));
    }
    const std::optional<int> expected = firstRowStartingWith(names, prefix);
    ASSERT_TRUE(expected.has_value());

    QTest::keyClicks(&list, prefix);
    EXPECT_EQ(list.selectedRow(), expected);
    EXPECT_EQ(ui().StatusBar1->panelText(0), names[*expected]);

    for (int i = 0; i < prefix.size(); ++i) {
        QTest::keyClick(&list, Qt::Key_Backspace);
    }
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_EQ(ui().StatusBar1->panelText(0), names[0]);
}

TEST_F(WindowTest, BackspaceInAnEmptyListDoesNothing) {
    ListBox& list = *ui().ListBox3;
    list.setFocus();
    ASSERT_TRUE(list.hasFocus());
    QTest::keyClick(&list, Qt::Key_Backspace);
    EXPECT_EQ(list.selectedRow(), std::nullopt);
    EXPECT_EQ(ui().StatusBar1->panelText(0), QString());
    EXPECT_FALSE(ui().Label1->isVisible());
    EXPECT_EQ(positions(), QPoint(0, 0));
}

TEST_F(WindowTest, ChangingPageClearsListsAndButtonsBeforeTheNewPageShows) {
    clickRadio(9);
    clickRow(*ui().ListBox1, 0);
    const QString shownPlace = ui().StatusBar1->panelText(0);

    struct Seen {
        QWidget* pageShown;
        int rows;
        bool anyChecked;
    };
    std::vector<Seen> seen;
    // Connected after the window's own handler, so it sees the state that handler left.
    QObject::connect(ui().TabbedNotebook1, &Notebook::pageAboutToChange, form_.get(), [&] {
        bool anyChecked = false;
        for (int n = 1; n <= 20; ++n) {
            anyChecked = anyChecked || ui().radioButton(n).isChecked();
        }
        QWidget* shown = nullptr;
        for (QWidget* page : {ui().StandardPage, ui().CitiesPage, ui().ExtrasPage, ui().InfoPage}) {
            shown = page->isVisible() ? page : shown;
        }
        seen.push_back({shown, ui().ListBox1->count(), anyChecked});
    });

    clickTab(kCities);  // "Cities"
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].pageShown, ui().StandardPage) << "the hook runs while the old page shows";
    EXPECT_EQ(seen[0].rows, 0);
    EXPECT_FALSE(seen[0].anyChecked);
    EXPECT_EQ(ui().TabbedNotebook1->currentIndex(), kCities);
    EXPECT_TRUE(ui().ListBox1->isEnabled()) << "stays enabled once enabled";
    EXPECT_EQ(ui().StatusBar1->panelText(0), shownPlace);
    EXPECT_TRUE(ui().Label1->isVisible());

    clickTab(kCities);  // the current tab: no change, no hook
    EXPECT_EQ(seen.size(), 1u);

    // Arrow keys on the focused strip wrap around; the wheel and Ctrl+Tab change nothing.
    TabBar& tabs = ui().TabbedNotebook1->tabStrip();
    tabs.setFocus();
    QTest::keyClick(&tabs, Qt::Key_Left);
    QTest::keyClick(&tabs, Qt::Key_Left);
    EXPECT_EQ(ui().TabbedNotebook1->currentIndex(), kInfo);
    QTest::keyClick(&tabs, Qt::Key_Right);
    EXPECT_EQ(ui().TabbedNotebook1->currentIndex(), kStandard);
    EXPECT_EQ(seen.size(), 4u);

    QTest::keyClick(&tabs, Qt::Key_Tab, Qt::ControlModifier);
    QWheelEvent wheel(QPointF(tabs.tabRect(0).center()),
                      tabs.mapToGlobal(QPointF(tabs.tabRect(0).center())), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&tabs, &wheel);
    EXPECT_EQ(ui().TabbedNotebook1->currentIndex(), kStandard);
    EXPECT_EQ(seen.size(), 4u);
}

TEST_F(WindowTest, OverviewClicksCentreTheProvinceButNotACityMap) {
    QTest::mouseClick(ui().Image2, Qt::LeftButton, {}, QPoint(99, 82));
    const ScrollState& state = scrollBox().state();
    const QPoint province(clamped(99 * 3248 / 198 - 323, state.maxHorizontalPosition()),
                          clamped(82 * 2633 / 164 - 305, state.maxVerticalPosition()));
    EXPECT_EQ(positions(), province);
    EXPECT_EQ(ui().Image1->pos(), -province);

    clickTab(kCities);
    clickRadio(16);  // "Dunmaris"
    ASSERT_EQ(ViewMode, CityView);
    EXPECT_EQ(ui().Image1->size(), QSize(1844, 1176));
    EXPECT_EQ(positions(), QPoint(0, 0));
    QTest::mouseClick(ui().Image2, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(positions(), QPoint(0, 0));
}

TEST_F(WindowTest, AMainMapClickCentresTheCityMapOnThePointClicked) {
    clickTab(kCities);
    clickRadio(16);  // "Dunmaris", 1844 x 1176
    const PlaceTable<PlaceRecord>& dunmaris = placeTable(PlaceTableId::Dunmaris);
    EXPECT_EQ(ui().ListBox3->count(), dunmaris.count());
    EXPECT_EQ(ui().StatusBar1->panelText(1), QStringLiteral("Dunmaris"));

    // Image1's own coordinates are picture coordinates.
    QTest::mouseClick(ui().Image1, Qt::LeftButton, {}, QPoint(600, 500));
    EXPECT_EQ(positions(), QPoint(600 - 323, 500 - 305));
    EXPECT_EQ(ui().Image1->pos(), -positions());

    // The next click lands on the picture point under the cursor, wherever the view is.
    QTest::mouseClick(ui().Image1, Qt::LeftButton, {}, QPoint(1800, 1100));
    const ScrollState& state = scrollBox().state();
    EXPECT_EQ(positions(), QPoint(state.maxHorizontalPosition(), state.maxVerticalPosition()));
}

// Where the label may sit from the place's visible point: 10 to 40 pixels left of it and 0 to
// 20 pixels below, whichever edge rule applies.
void expectLabelBesideItsPlace(const QWidget& label, QPoint visiblePlace, const QString& name) {
    const QPoint offset = label.pos() - visiblePlace;
    EXPECT_TRUE(offset.x() >= -40 && offset.x() <= -10 && offset.y() >= 0 && offset.y() <= 20)
        << name.toStdString() << ": label offset " << offset.x() << ", " << offset.y();
}

// Maximised on a 1920 x 1080 screen the view is larger than most city maps on one axis or both.
TEST_F(WindowTest, AnEnlargedWindowLabelsEveryPlaceBesideItAndTakesClicksPastThePicture) {
    form_->resize(1920, 1080);
    QCoreApplication::processEvents();
    ASSERT_EQ(scrollBox().width(), 1720);
    clickTab(kCities);
    for (const int button : {18, 19}) {  // Tolvane: smaller on both axes; Orlheim: narrower only
        clickRadio(button);
        const CityEntry& city = *std::ranges::find(kCityDirectory, button, &CityEntry::radioButton);
        const ScrollState& state = scrollBox().state();
        EXPECT_EQ(ui().Image1->size(), QSize(state.horizontalRange(), state.verticalRange()));
        EXPECT_EQ(ui().Image1->width(), scrollBox().viewport()->width()) << city.caption;
        const PlaceTable<PlaceRecord>& table = placeTable(city.table);
        for (int row = 0; row < table.count(); ++row) {
            clickRow(*ui().ListBox3, row);
            const PlaceRecord& place = table.record(row + 1);
            const QPoint visible =
                QPoint(parseCoordinate(place.x), parseCoordinate(place.y)) - positions();
            expectLabelBesideItsPlace(*ui().Label1, visible, nameOf(place));
        }
    }

    // Orlheim is 1020 wide: a click on the strip beside it is still a click on the map.
    int mapClicks = 0;
    QObject::connect(ui().Image1, &MapImage::clicked, ui().Image1, [&] { ++mapClicks; });
    const QPoint beside(1500, 300);
    ASSERT_EQ(scrollBox().viewport()->childAt(beside), ui().Image1);
    QTest::mouseClick(ui().Image1, Qt::LeftButton, {},
                      ui().Image1->mapFrom(scrollBox().viewport(), beside));
    EXPECT_EQ(mapClicks, 1);
}

TEST_F(WindowTest, KeysOnTheMainViewMoveNothingButItsBarsStillDo) {
    clickTab(kCities);
    clickRadio(16);  // "Dunmaris", 1844 x 1176
    QTest::mouseClick(ui().Image1, Qt::LeftButton, {}, QPoint(600, 500));
    ASSERT_EQ(QApplication::focusWidget(), &scrollBox()) << "a click on the map focuses the view";
    const QPoint centred = positions();
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End,
                              Qt::Key_Left, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Home}) {
        QTest::keyClick(&scrollBox(), key);
        QTest::keyClick(&scrollBox(), key, Qt::ControlModifier);
    }
    EXPECT_EQ(positions(), centred);
    scrollBox().horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(positions(), centred + QPoint(1, 0));
}

TEST_F(WindowTest, TheLabelTakesTheClicksThatLandOnIt) {
    clickRadio(9);
    clickRow(*ui().ListBox1, 0);
    ASSERT_TRUE(ui().Label1->isVisible());
    QWidget* viewport = scrollBox().viewport();
    EXPECT_EQ(viewport->childAt(ui().Label1->geometry().center()), ui().Label1);
    EXPECT_EQ(viewport->childAt(ui().Label1->geometry().bottomRight() + QPoint(5, 5)), ui().Image1);

    const QPoint before = positions();
    QTest::mouseClick(ui().Label1, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(positions(), before);
}

}  // namespace
}  // namespace marventa
