// The two failures the program can meet, end to end on the real window: a coordinate that
// does not parse and a picture that does not decode. Each is shown in the error box, abandons
// only its own operation, and the window goes on working.

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "catalogue/city_directory.h"
#include "navigation/ramka.h"
#include "navigation/view_mode.h"
#include "pictures/picture.h"
#include "recording_reporter.h"
#include "tests/support/picture_fixtures.h"
#include "tests/support/window/window_fixture.h"
#include "ui/application.h"

namespace marventa {
namespace {

constexpr int kStandard = 0;
constexpr int kCities = 1;
constexpr int kExtras = 2;

// A copy of a table with some coordinates replaced, kept for the whole test program.
template <class Record>
std::vector<Record> withCoordinates(const PlaceTable<Record>& table,
                                    std::initializer_list<std::pair<int, Record>> rows) {
    std::vector<Record> copy(table.rows().begin(), table.rows().end());
    for (const auto& [row, record] : rows) {
        copy.at(static_cast<std::size_t>(row)) = record;
    }
    return copy;
}

PlaceRecord withX(PlaceRecord r, std::string_view x) {
    r.x = x;
    return r;
}
PlaceRecord withY(PlaceRecord r, std::string_view y) {
    r.y = y;
    return r;
}

// The catalogue with a bad coordinate in the caves, in Dunmaris and in the heavenly stones.
const PlaceTable<PlaceRecord>& placesWithBadRows(PlaceTableId id) {
    const auto& caves = placeTable(PlaceTableId::Caves);
    const auto& dunmaris = placeTable(PlaceTableId::Dunmaris);
    static const auto badCaves = withCoordinates(
        caves, {{3, withX(caves.record(4), "12a")}, {5, withY(caves.record(6), "")}});
    static const auto badDunmaris =
        withCoordinates(dunmaris, {{7, withY(dunmaris.record(8), "-")}});
    static const PlaceTable<PlaceRecord> cavesTable{badCaves};
    static const PlaceTable<PlaceRecord> dunmarisTable{badDunmaris};
    if (id == PlaceTableId::Caves) {
        return cavesTable;
    }
    return id == PlaceTableId::Dunmaris ? dunmarisTable : placeTable(id);
}

const PlaceTable<HeavenlyStoneRecord>& heavenlyWithBadRow() {
    static const auto rows = [] {
        std::vector<HeavenlyStoneRecord> copy(heavenlyStones().rows().begin(),
                                              heavenlyStones().rows().end());
        copy.at(2).x = "3O0";
        return copy;
    }();
    static const PlaceTable<HeavenlyStoneRecord> table{rows};
    return table;
}

// Everything a failed operation must leave as it was, apart from the list row the user picked.
struct WindowState {
    QPoint positions;
    std::string label;
    QPoint labelAt;
    bool labelShown;
    std::array<std::string, 2> panels;
    std::array<std::string, 9> stoneDetails;
    std::array<int, 3> rows;
    std::array<bool, 20> checked;
    std::uint8_t viewMode;
    const PictureHolder* picture;
    OverviewBitmap overview;
};

class ErrorPathTest : public WindowTest {
  protected:
    void SetUp() override { app().setErrorReporter(&reporter_); }
    void TearDown() override {
        WindowTest::TearDown();
        app().setErrorReporter(nullptr);
    }

    static Application& app() { return static_cast<Application&>(*QCoreApplication::instance()); }

    // Runs what the last event queued, paints included.
    static void settle() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    WindowState state() const {
        WindowState s{positions(),
                      ui().Label1->text().toStdString(),
                      ui().Label1->pos(),
                      ui().Label1->isVisible(),
                      {ui().StatusBar1->panelText(0).toStdString(),
                       ui().StatusBar1->panelText(1).toStdString()},
                      {},
                      {ui().ListBox1->count(), ui().ListBox2->count(), ui().ListBox3->count()},
                      {},
                      ViewMode,
                      ui().Image1->holder(),
                      form_->browser().overview().bitmap()};
        for (int label = 2; label <= 10; ++label) {
            s.stoneDetails[static_cast<std::size_t>(label - 2)] =
                ui().stoneLabel(label).text().toStdString();
        }
        for (int n = 1; n <= 20; ++n) {
            s.checked[static_cast<std::size_t>(n - 1)] = ui().radioButton(n).isChecked();
        }
        return s;
    }

    static void expectSame(const WindowState& before, const WindowState& after) {
        EXPECT_EQ(after.positions, before.positions);
        EXPECT_EQ(after.label, before.label);
        EXPECT_EQ(after.labelAt, before.labelAt);
        EXPECT_EQ(after.labelShown, before.labelShown);
        EXPECT_EQ(after.panels, before.panels);
        EXPECT_EQ(after.stoneDetails, before.stoneDetails);
        EXPECT_EQ(after.rows, before.rows);
        EXPECT_EQ(after.checked, before.checked);
        EXPECT_EQ(after.viewMode, before.viewMode);
        EXPECT_EQ(after.picture, before.picture);
        EXPECT_TRUE(after.overview == before.overview) << "the overview was redrawn";
    }

    // The texts the error box was given so far.
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& [title, text] : reporter_.shown) {
            EXPECT_EQ(title, app().title());
            texts.push_back(text.toStdString());
        }
        return texts;
    }

    RecordingReporter reporter_;
};

TEST_F(ErrorPathTest, ABadCoordinateIsShownAndAbandonsOnlyThatRowsPick) {
    openWindow(
        PictureSet::embedded(),
        {.places = &placesWithBadRows, .heavenly = &heavenlyWithBadRow, .sign = &signStones});
    struct Case {
        int page;
        int button;
        ListBox* FormWidgets::*list;
        int badRow;
        const char* shown;
    };
    const Case cases[] = {
        {kStandard, 9, &FormWidgets::ListBox1, 3, "'12a' is not a valid integer value."},
        {kStandard, 9, &FormWidgets::ListBox1, 5, "'' is not a valid integer value."},
        {kExtras, 11, &FormWidgets::ListBox2, 2, "'3O0' is not a valid integer value."},
        {kCities, 16, &FormWidgets::ListBox3, 7, "'-' is not a valid integer value."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        reporter_.shown.clear();
        clickTab(c.page);
        clickRadio(c.button);
        ListBox& list = *(ui().*c.list);
        clickRow(list, 0);
        settle();
        const WindowState before = state();

        clickRow(list, c.badRow);
        settle();
        EXPECT_EQ(shownTexts(), std::vector<std::string>{c.shown});
        EXPECT_EQ(list.selectedRow(), c.badRow) << "the user's own pick stands";
        expectSame(before, state());

        // The event loop goes on, and so does the window.
        bool queuedEventRan = false;
        QTimer::singleShot(0, form_.get(), [&queuedEventRan] { queuedEventRan = true; });
        clickRow(list, c.badRow + 1);
        settle();
        EXPECT_TRUE(queuedEventRan);
        EXPECT_EQ(reporter_.shown.size(), 1u);
        EXPECT_EQ(ui().StatusBar1->panelText(0), list.item(c.badRow + 1)->text());
        EXPECT_EQ(ui().Label1->text(), list.item(c.badRow + 1)->text());
    }
}

// The embedded pictures with one JPEG broken in its first scan: the header still gives the
// size, but the decode fails.
std::vector<std::uint8_t> streamWithBrokenPicture(std::string_view broken) {
    std::vector<std::uint8_t> stream;
    for (const PictureHolder& holder : PictureSet::embedded().holders()) {
        appendPictureRecord(stream, holder.name(),
                            holder.kind() == PictureKind::Jpeg ? kJpegTag : kBitmapTag,
                            holder.name() == broken
                                ? fixtures::withBrokenFirstScan(holder.bytes())
                                : fixtures::Bytes(holder.bytes().begin(), holder.bytes().end()));
    }
    return stream;
}

// What the error box says for a picture: the decoder's own message with a full stop.
std::string decodeError(const PictureHolder& holder) {
    try {
        decode(holder);
    } catch (const JpegError& error) {
        return error.what() + std::string(".");
    }
    return {};
}

TEST_F(ErrorPathTest, ACityMapThatDoesNotDecodeIsShownOnceAndOnlyItsDrawIsAbandoned) {
    const std::vector<std::uint8_t> stream = streamWithBrokenPicture("orlheim");
    const PictureSet pictures(stream);
    const std::string error = decodeError(pictures.holder("orlheim"));
    ASSERT_TRUE(error.starts_with("JPEG error #")) << error;
    openWindow(pictures);
    ASSERT_TRUE(reporter_.shown.empty()) << "the province map decodes";

    clickTab(kCities);
    clickRadio(19);  // "Orlheim"
    settle();
    EXPECT_EQ(shownTexts(), std::vector<std::string>{error});
    EXPECT_FALSE(ui().Image1->isDecoded());

    // The choice itself went through: only the drawing of the map was given up.
    EXPECT_EQ(ViewMode, CityView);
    EXPECT_EQ(ui().Image1->holder(), &pictures.holder("orlheim"));
    EXPECT_EQ(ui().Image1->size(), QSize(1020, 1260));
    EXPECT_EQ(ui().ListBox3->count(), placeTable(PlaceTableId::Orlheim).count());
    EXPECT_EQ(ui().StatusBar1->panelText(1), QStringLiteral("Orlheim"));
    OverviewBitmap marker;
    RamkaInput in{false, {}, {1020, 1260}, {}};
    in.checkedCities[7] = true;  // Orlheim, last in the overview's order
    ASSERT_EQ(kCityDirectory[7].caption, "Orlheim");
    renderOverview(marker, form_->browser().overview().pristine(), in);
    EXPECT_TRUE(form_->browser().overview().bitmap() == marker);

    // Scrolling repaints the view without raising the error again; a row still centres.
    clickRow(*ui().ListBox3, 10);
    settle();
    EXPECT_EQ(reporter_.shown.size(), 1u);
    EXPECT_EQ(ui().StatusBar1->panelText(0), ui().ListBox3->item(10)->text());

    // The window goes on: another city and the province map show, each decoded.
    clickRadio(18);  // "Tolvane"
    settle();
    EXPECT_TRUE(ui().Image1->isDecoded());
    clickTab(kStandard);
    clickRadio(9);
    settle();
    EXPECT_EQ(ui().Image1->holder()->name(), kProvinceHolder);
    EXPECT_TRUE(ui().Image1->isDecoded());
    EXPECT_EQ(reporter_.shown.size(), 1u);
}

TEST_F(ErrorPathTest, AProvinceMapThatDoesNotDecodeAtStartUpLeavesTheCitiesWorking) {
    const std::vector<std::uint8_t> stream = streamWithBrokenPicture(kProvinceHolder);
    const PictureSet pictures(stream);
    openWindow(pictures);
    settle();
    EXPECT_EQ(shownTexts(),
              std::vector<std::string>{decodeError(pictures.holder(kProvinceHolder))});
    EXPECT_EQ(ViewMode, ProvinceView);
    EXPECT_EQ(ui().Image1->size(), QSize(3248, 2633));

    clickTab(kCities);
    clickRadio(17);  // "Crown City"
    settle();
    EXPECT_TRUE(ui().Image1->isDecoded());
    EXPECT_EQ(reporter_.shown.size(), 1u);
}

}  // namespace
}  // namespace marventa
