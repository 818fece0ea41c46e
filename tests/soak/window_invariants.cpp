#include "window_invariants.h"

#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <array>
#include <span>

#include "catalogue/button_directory.h"
#include "catalogue/catalogue.h"
#include "catalogue/city_directory.h"
#include "catalogue/coordinate.h"
#include "navigation/ramka.h"
#include "navigation/view_mode.h"
#include "pixel_memory.h"
#include "ui/list_box.h"
#include "ui/map_image.h"
#include "ui/name_label.h"
#include "ui/radio_button.h"
#include "ui/scroll_box.h"
#include "ui/status_bar.h"
#include "ui/unit1.h"

namespace marventa::soak {

namespace {

// The three lists, each with the kind of button whose tables it shows.
struct ListGroup {
    ListBox* FormWidgets::*list;
    ButtonList buttons;
};
constexpr std::array<ListGroup, 3> kGroups{{
    {&FormWidgets::ListBox1, ButtonList::Categories},
    {&FormWidgets::ListBox2, ButtonList::Stones},
    {&FormWidgets::ListBox3, ButtonList::CityBuildings},
}};

struct Place {
    std::string_view name;
    std::string_view x;
    std::string_view y;
};

template <class Record>
Place placeIn(const PlaceTable<Record>& table, int row) {
    const Record& record = table.record(row + 1);
    return {record.name, record.x, record.y};
}

// Row `row` of the list RadioButton<n> fills, from the table the directory gives it.
Place placeOfButton(int n, int row) {
    const auto& table = buttonEntry(n).table;
    if (const auto* stone = std::get_if<StoneTableId>(&table)) {
        return *stone == StoneTableId::Heavenly ? placeIn(heavenlyStones(), row)
                                                : placeIn(signStones(), row);
    }
    return placeIn(placeTable(std::get<PlaceTableId>(table)), row);
}

std::vector<QString> namesOfButton(int n) {
    const auto& table = buttonEntry(n).table;
    const std::vector<std::string_view> names =
        std::holds_alternative<PlaceTableId>(table)
            ? placeTable(std::get<PlaceTableId>(table)).names()
        : std::get<StoneTableId>(table) == StoneTableId::Heavenly ? heavenlyStones().names()
                                                                  : signStones().names();
    std::vector<QString> result;
    for (const std::string_view name : names) {
        result.push_back(QString::fromUtf8(name.data(), std::ssize(name)));
    }
    return result;
}

// The checked buttons of a list's group.
std::vector<int> checkedButtons(const FormWidgets& ui, const ListGroup& group) {
    std::vector<int> checked;
    for (const ButtonEntry& button : kButtons) {
        if (button.list == group.buttons && ui.radioButton(button.radioButton).isChecked()) {
            checked.push_back(button.radioButton);
        }
    }
    return checked;
}

// The checked button of the list's group, 0 with none.
int checkedButtonOf(const FormWidgets& ui, const ListBox* list) {
    const auto group =
        std::ranges::find_if(kGroups, [&](const ListGroup& g) { return ui.*g.list == list; });
    const std::vector<int> checked = checkedButtons(ui, *group);
    return checked.empty() ? 0 : checked.back();
}

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), std::ssize(text));
}

std::string str(const QString& s) {
    return '"' + s.toStdString() + '"';
}

std::string pair(int a, int b) {
    return "(" + std::to_string(a) + ", " + std::to_string(b) + ")";
}

}  // namespace

WindowInvariants::WindowInvariants(TForm1& form) : form_(form), onePicture_(pixelMemoryMapped()) {
    const FormWidgets& ui = form.widgets();
    for (ListBox* list : {ui.ListBox1, ui.ListBox2, ui.ListBox3}) {
        // Connected after the window's own wiring: runs once the click operation has.
        connect(list, &ListBox::picked, this, [this, list] { notePick(*list); });
        connect(list->model(), &QAbstractItemModel::modelReset, this, [this, list] {
            if (showing_ == list) {
                showing_ = nullptr;
            }
        });
    }
    for (RadioButton* button : ui.radioButtons) {
        connect(button, &RadioButton::chosen, this, [this] { anyButtonChosen_ = true; });
    }
    shownHolder_ = ui.Image1->holder();
    shownMode_ = ViewMode;
}

void WindowInvariants::beforeEvent() {
    picked_ = nullptr;
    positionsBefore_ = positions();
}

std::vector<std::string> WindowInvariants::check(bool keepsPositions) {
    Problems problems;
    noteMapChange();
    checkButtonsAndLists(problems);
    checkMainView(problems);
    if (keepsPositions) {
        checkPositionsKept(problems);
    }
    checkOverview(problems);
    checkLabelAndStatus(problems);
    if (picked_ != nullptr && picked_->selectedRow()) {
        ++rowsPicked_;
        checkPickedRow(problems);
    }
    checkLabelPlace(problems);
    checkSelectionKept(problems);
    checkDecodedPictures(problems);
    listBox1Enabled_ = form_.widgets().ListBox1->isEnabled();
    return problems;
}

QPoint WindowInvariants::positions() const {
    const ScrollBox& box = *form_.widgets().ScrollBox1;
    return {box.horizontalPosition(), box.verticalPosition()};
}

// A pick of a selected row shows its place: the label stands beside that point from now on.
// (One event can pick twice, a double click, and the second pick may find no row selected.)
void WindowInvariants::notePick(ListBox& list) {
    picked_ = &list;
    const std::optional<int> row = list.selectedRow();
    const int button = checkedButtonOf(form_.widgets(), &list);
    if (!row || button == 0) {
        return;
    }
    const Place place = placeOfButton(button, *row);
    noteMapChange();
    mapChangedSincePick_ = false;
    placePicked_ = QPoint(parseCoordinate(place.x), parseCoordinate(place.y));
    showing_ = &list;
}

// Another map, or another view mode: the label of the old place must go until the next pick.
void WindowInvariants::noteMapChange() {
    const void* holder = form_.widgets().Image1->holder();
    if (holder != shownHolder_) {
        ++pictureChanges_;
    }
    if (holder != shownHolder_ || ViewMode != shownMode_) {
        mapChangedSincePick_ = true;
        placePicked_.reset();
    }
    shownHolder_ = holder;
    shownMode_ = ViewMode;
}

void WindowInvariants::checkButtonsAndLists(Problems& problems) const {
    const FormWidgets& ui = form_.widgets();
    for (const ListGroup& group : kGroups) {
        const ListBox& list = *(ui.*group.list);
        const std::string name = list.objectName().toStdString();
        const std::vector<int> checked = checkedButtons(ui, group);
        if (checked.size() > 1) {
            problems.push_back(name + ": " + std::to_string(checked.size()) +
                               " of its buttons are checked");
            continue;
        }
        const std::vector<QString> expected =
            checked.empty() ? std::vector<QString>{} : namesOfButton(checked.front());
        const std::string whose =
            checked.empty() ? "no button checked"
                            : "RadioButton" + std::to_string(checked.front()) + "'s table";
        if (list.count() != std::ssize(expected)) {
            problems.push_back(name + " holds " + std::to_string(list.count()) + " rows, " + whose +
                               " has " + std::to_string(expected.size()));
            continue;
        }
        for (int row = 0; row < list.count(); ++row) {
            if (list.item(row)->text() != expected[static_cast<std::size_t>(row)]) {
                problems.push_back(name + " row " + std::to_string(row) + " is " +
                                   str(list.item(row)->text()) + ", " + whose + " says " +
                                   str(expected[static_cast<std::size_t>(row)]));
                break;
            }
        }
    }
    if (listBox1Enabled_ && !ui.ListBox1->isEnabled()) {
        problems.push_back("ListBox1 was disabled again");
    }
    if (!ui.ListBox2->isEnabled() || !ui.ListBox3->isEnabled()) {
        problems.push_back("ListBox2 or ListBox3 is disabled");
    }
}

void WindowInvariants::checkMainView(Problems& problems) const {
    const FormWidgets& ui = form_.widgets();
    const PictureHolder* holder = ui.Image1->holder();
    if (holder == nullptr) {
        problems.push_back("Image1 holds no picture");
        return;
    }
    const bool province = holder->name() == kProvinceHolder;
    if (ViewMode != ProvinceView && ViewMode != CityView) {
        problems.push_back("ViewMode is " + std::to_string(ViewMode));
    } else if (province != (ViewMode == ProvinceView)) {
        problems.push_back("ViewMode " + std::to_string(ViewMode) + " with " + holder->name() +
                           " in Image1");
    }
    if (!province) {
        const auto city = std::ranges::find(kCityDirectory, holder->name(), &CityEntry::holder);
        if (city == kCityDirectory.end()) {
            problems.push_back("Image1 holds " + holder->name() + ", not a map");
        } else if (ui.StatusBar1->panelText(1) != fromView(city->caption)) {
            problems.push_back("status panel 1 reads " + str(ui.StatusBar1->panelText(1)) +
                               " with " + holder->name() + " shown");
        }
    }

    const ScrollBox& box = *ui.ScrollBox1;
    const QSize image = ui.Image1->size();
    // Image1 covers the picture and, past a smaller picture, the whole client area.
    const QSize client = box.viewport()->size();
    const QSize content(std::max(holder->width(), client.width()),
                        std::max(holder->height(), client.height()));
    if (image != content) {
        problems.push_back("Image1 is " + pair(image.width(), image.height()) + ", its picture " +
                           pair(holder->width(), holder->height()) + " in a client area of " +
                           pair(client.width(), client.height()));
    }
    if (box.horizontalRange() != image.width() || box.verticalRange() != image.height()) {
        problems.push_back("scroll ranges " + pair(box.horizontalRange(), box.verticalRange()) +
                           " are not Image1's size");
    }
    if (box.outerWidth() != box.width() || box.outerHeight() != box.height()) {
        problems.push_back("the viewport computes with " +
                           pair(box.outerWidth(), box.outerHeight()) + " but is " +
                           pair(box.width(), box.height()));
    }
    const ScrollState& state = box.state();
    const int h = box.horizontalPosition();
    const int v = box.verticalPosition();
    if (h < 0 || h > state.maxHorizontalPosition() || v < 0 || v > state.maxVerticalPosition()) {
        problems.push_back("positions " + pair(h, v) + " outside 0 .. " +
                           pair(state.maxHorizontalPosition(), state.maxVerticalPosition()));
    }
    const QScrollBar& hBar = *box.horizontalScrollBar();
    const QScrollBar& vBar = *box.verticalScrollBar();
    if (hBar.value() != h || vBar.value() != v || hBar.maximum() != state.maxHorizontalPosition() ||
        vBar.maximum() != state.maxVerticalPosition()) {
        problems.push_back("scroll bars at " + pair(hBar.value(), vBar.value()) + " of " +
                           pair(hBar.maximum(), vBar.maximum()) + ", positions " + pair(h, v));
    }
    if (ui.Image1->pos() != QPoint(-h, -v)) {
        problems.push_back("Image1 at " + pair(ui.Image1->x(), ui.Image1->y()) +
                           " with positions " + pair(h, v));
    }
}

void WindowInvariants::checkOverview(Problems& problems) const {
    const FormWidgets& ui = form_.widgets();
    const PictureHolder* holder = ui.Image1->holder();
    if (holder == nullptr) {
        return;
    }
    const ScrollBox& box = *ui.ScrollBox1;
    const bool province = ViewMode == ProvinceView;
    const int h = box.horizontalPosition();
    const int v = box.verticalPosition();
    RamkaInput in{province,
                  {h, v, h + box.outerWidth(), v + box.outerHeight()},
                  {box.horizontalRange(), box.verticalRange()},
                  {}};
    // The frame follows every scroll and resize; a city's marker stays from the click that
    // showed it, even after a page change has unchecked its button.
    for (std::size_t i = 0; i < kCityDirectory.size(); ++i) {
        in.checkedCities[i] = province ? ui.radioButton(kCityDirectory[i].radioButton).isChecked()
                                       : kCityDirectory[i].holder == holder->name();
    }
    const Overview& overview = form_.browser().overview();
    OverviewBitmap expected;
    renderOverview(expected, overview.pristine(), in);
    if (expected == overview.bitmap()) {
        return;
    }
    const auto differs = std::ranges::mismatch(expected.rgb, overview.bitmap().rgb).in1;
    const auto at = static_cast<int>(differs - expected.rgb.begin()) / 3;
    problems.push_back(
        std::string(province ? "the overview frame is not the one of positions " + pair(h, v)
                             : "the overview is not the marker of " + holder->name()) +
        "; first wrong pixel " + pair(at % OverviewBitmap::kWidth, at / OverviewBitmap::kWidth));
}

void WindowInvariants::checkLabelAndStatus(Problems& problems) const {
    const FormWidgets& ui = form_.widgets();
    const QString caption = ui.Label1->text();
    const QString place = ui.StatusBar1->panelText(0);
    if (ui.Label1->isVisible() && (caption.isEmpty() || caption != place)) {
        problems.push_back("Label1 shows " + str(caption) + ", status panel 0 " + str(place));
    }
    if (!ui.Label1->isVisible() && !caption.isEmpty() && caption != QStringLiteral("Label1")) {
        problems.push_back("hidden Label1 keeps the caption " + str(caption));
    }
    // A selected row was picked by the user, and so it is the place shown last. (Changing the
    // page or the button empties the lists, so only a list picked since then has one.)
    for (const ListBox* list : {ui.ListBox1, ui.ListBox2, ui.ListBox3}) {
        const std::optional<int> row = list->selectedRow();
        if (row && list->item(*row)->text() != place) {
            problems.push_back(list->objectName().toStdString() + " has row " +
                               std::to_string(*row) + " " + str(list->item(*row)->text()) +
                               " selected, status panel 0 reads " + str(place));
        }
    }
    if (ViewMode == ProvinceView) {
        const QString map = anyButtonChosen_ ? QStringLiteral("Map of Marventa")
                                             : QStringLiteral("Map of Marventa v1.5");
        if (ui.StatusBar1->panelText(1) != map) {
            problems.push_back("status panel 1 reads " + str(ui.StatusBar1->panelText(1)) +
                               " in the province view");
        }
    }
}

void WindowInvariants::checkPickedRow(Problems& problems) const {
    const FormWidgets& ui = form_.widgets();
    const int button = checkedButtonOf(ui, picked_);
    if (button == 0) {
        problems.push_back(picked_->objectName().toStdString() +
                           ": a row was picked with no button checked");
        return;
    }
    const int row = *picked_->selectedRow();
    const Place place = placeOfButton(button, row);
    const QString name = fromView(place.name);
    if (ui.StatusBar1->panelText(0) != name || ui.Label1->text() != name ||
        !ui.Label1->isVisible()) {
        problems.push_back("row " + std::to_string(row) + " of " +
                           picked_->objectName().toStdString() + " is " + str(name) +
                           " but status panel 0 reads " + str(ui.StatusBar1->panelText(0)) +
                           " and Label1 " + str(ui.Label1->text()));
    }
    // The place is centred as far as the ranges allow.
    const ScrollBox& box = *ui.ScrollBox1;
    const ScrollState& state = box.state();
    const int h = std::clamp(parseCoordinate(place.x) - box.outerWidth() / 2, 0,
                             state.maxHorizontalPosition());
    const int v = std::clamp(parseCoordinate(place.y) - box.outerHeight() / 2, 0,
                             state.maxVerticalPosition());
    if (box.horizontalPosition() != h || box.verticalPosition() != v) {
        problems.push_back(str(name) + " should be centred at " + pair(h, v) + ", view at " +
                           pair(box.horizontalPosition(), box.verticalPosition()));
    }
    if (buttonEntry(button).list != ButtonList::Stones) {
        return;
    }
    std::array<QString, 9> details;  // Label2 .. Label10
    if (std::get<StoneTableId>(buttonEntry(button).table) == StoneTableId::Heavenly) {
        const HeavenlyStoneRecord& stone = heavenlyStones().record(row + 1);
        details[0] = QStringLiteral("Difference between");
        details[1] = QStringLiteral("Fame and Infame at least ") + fromView(stone.fameDifference);
        for (std::size_t i = 0; i < stone.effects.size(); ++i) {
            details[2 + i] = fromView(stone.effects[i]);
        }
    } else {
        const SignStoneRecord& stone = signStones().record(row + 1);
        for (std::size_t i = 0; i < stone.effects.size(); ++i) {
            details[2 + i] = fromView(stone.effects[i]);
        }
    }
    for (int label = 2; label <= 10; ++label) {
        const QString& want = details[static_cast<std::size_t>(label - 2)];
        if (ui.stoneLabel(label).text() != want) {
            problems.push_back("Label" + std::to_string(label) + " reads " +
                               str(ui.stoneLabel(label).text()) + " for " + str(name) +
                               ", expected " + str(want));
        }
    }
}

// Once the map or the view mode has changed, the label is hidden and empty until a pick.
// Otherwise the label rules put it beside its place; measured from the place's visible point
// (the picture point minus the current positions: the label moves with the content), with the
// scroll bar thickness b:
//  - left: 10 pixels left of the point where the view centres it or stops at the left edge. At
//    the right edge the label sits 40 - (hp - hmax) to its left, hmax being the content width
//    less the outer width and the clamped position hp above hmax by at most 4 + b (the client
//    extent is the outer width less the edges and the other bar): 36 - b .. 39.
//  - below: 15 pixels where the view centres it, 20 where it stops at the top, and at the
//    bottom edge vp - vmax, likewise 1 .. 4 + b.
// Fusion's bars are 14 thick: 10 or 22 .. 39 pixels to the left, 1 .. 18 or 20 below.
void WindowInvariants::checkLabelPlace(Problems& problems) {
    const FormWidgets& ui = form_.widgets();
    const NameLabel& label = *ui.Label1;
    if (mapChangedSincePick_) {
        if (label.isVisible() || !label.text().isEmpty()) {
            problems.push_back(std::string("since the map or view mode changed, Label1 is ") +
                               (label.isVisible() ? "visible" : "hidden") + " and reads " +
                               str(label.text()) + " with no place picked");
        }
        return;
    }
    if (!label.isVisible() || !placePicked_) {
        return;
    }
    ++labelsMeasured_;
    const ScrollBox& box = *ui.ScrollBox1;
    const int bar = box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box);
    const QPoint point = *placePicked_ - positions();
    const int left = point.x() - label.x();
    const int below = label.y() - point.y();
    const bool leftFits = left == 10 || (left >= 36 - bar && left <= 39);
    const bool belowFits = below == 15 || below == 20 || (below >= 1 && below <= 4 + bar);
    if (!leftFits || !belowFits) {
        problems.push_back("Label1 at " + pair(label.x(), label.y()) + " is " +
                           std::to_string(left) + " left of and " + std::to_string(below) +
                           " below its place, seen at " + pair(point.x(), point.y()) +
                           " (picture point " + pair(placePicked_->x(), placePicked_->y()) +
                           ", positions " + pair(positions().x(), positions().y()) + ")");
    }
}

// The list whose row named the place shown keeps that row selected until the list is emptied.
void WindowInvariants::checkSelectionKept(Problems& problems) const {
    if (showing_ != nullptr && !showing_->selectedRow()) {
        problems.push_back(showing_->objectName().toStdString() +
                           " lost its selected row; status panel 0 reads " +
                           str(form_.widgets().StatusBar1->panelText(0)));
    }
}

void WindowInvariants::checkPositionsKept(Problems& problems) const {
    if (positions() != positionsBefore_) {
        problems.push_back(
            "the view moved from " + pair(positionsBefore_.x(), positionsBefore_.y()) + " to " +
            pair(positions().x(), positions().y()) + " by an event that must leave it");
    }
}

void WindowInvariants::checkDecodedPictures(Problems& problems) {
    const MapImage& image1 = *form_.widgets().Image1;
    if (!image1.isDecoded()) {
        problems.push_back("the picture in Image1 was not decoded by its paint");
    }
    const std::int64_t mapped = pixelMemoryMapped();
    if (onePicture_ <= 0) {
        problems.push_back("the decoded start-up picture was not seen in the pixel memory");
    } else if (mapped > onePicture_) {
        problems.push_back("pixel memory holds " + std::to_string(mapped) +
                           " bytes, one decoded picture takes " + std::to_string(onePicture_));
    }
}

}  // namespace marventa::soak
