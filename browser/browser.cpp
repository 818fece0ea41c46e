#include "browser.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "catalogue/city_directory.h"
#include "navigation/view_mode.h"
#include "pictures/picture_set.h"

namespace marventa {

namespace {

struct CategoryButton {
    int radioButton;
    PlaceTableId table;
};

// In the order ListBox1Click tests them.
constexpr std::array<CategoryButton, 10> kCategoryButtons{{
    {1, PlaceTableId::ElvenRuins},
    {2, PlaceTableId::Landmarks},
    {3, PlaceTableId::Shrines},
    {4, PlaceTableId::FortRuins},
    {5, PlaceTableId::Cities},
    {6, PlaceTableId::Camps},
    {7, PlaceTableId::Settlements},
    {8, PlaceTableId::Mines},
    {9, PlaceTableId::Caves},
    {10, PlaceTableId::Inns},
}};

// The city buttons in the order ListBox3Click tests them.
constexpr std::array<int, 8> kCityButtonOrder{13, 18, 19, 16, 14, 20, 15, 17};

const CityEntry& cityWithButton(int radioButton) {
    const auto city = std::ranges::find(kCityDirectory, radioButton, &CityEntry::radioButton);
    return *city;
}

const CityEntry& cityWithTable(PlaceTableId table) {
    const auto city = std::ranges::find(kCityDirectory, table, &CityEntry::table);
    return *city;
}

template <class Record>
void appendNames(ListPort& list, const PlaceTable<Record>& table) {
    for (const Record& record : table.rows()) {
        list.appendName(record.name);
    }
}

}  // namespace

bool Browser::CityButtons::isCityButtonChecked(int radioButton) const {
    return radioButton >= 1 && radioButton <= 20 && browser_.radioButton(radioButton).checked();
}

Browser::Browser(const BrowserWidgets& widgets, const PictureSet& pictures,
                 const OverviewBitmap& pristineOverview, TableSource tables)
    : widgets_(widgets),
      pictures_(pictures),
      tables_(tables),
      cityButtons_(*this),
      overview_(pristineOverview, cityButtons_),
      viewport_(widgets.scroll, widgets.label, widgets.status, overview_) {
    if (std::ranges::find(widgets.radioButtons, nullptr) != widgets.radioButtons.end()) {
        throw std::invalid_argument("the browser needs all twenty radio buttons");
    }
}

RadioButtonPort& Browser::radioButton(int n) const {
    return *widgets_.radioButtons.at(static_cast<std::size_t>(n - 1));
}

void Browser::putIntoImage1(std::string_view holder) {
    widgets_.image1.putPicture(pictures_.holder(holder));
    viewport_.setContent(widgets_.image1.pictureSize());
}

// The whole viewport at the current positions, in picturePx; the outer size, as the frame uses.
PictureRect Browser::visibleRect() const {
    const ScrollPort& scroll = widgets_.scroll;
    const int left = scroll.horizontalPosition();
    const int top = scroll.verticalPosition();
    return {left, top, left + scroll.outerWidth(), top + scroll.outerHeight()};
}

void Browser::FormCreate() {
    widgets_.image1.putPicture(pictures_.holder(kProvinceHolder));
    ViewMode = ProvinceView;
    viewport_.setContent(widgets_.image1.pictureSize());
    overview_.Ramka({0, 0, widgets_.scroll.outerWidth(), widgets_.scroll.outerHeight()},
                    viewport_.content());
    widgets_.statusBar.setPanelWidth(0, widgets_.statusBar.barWidth() / 2);
}

void Browser::duzamapa() {
    widgets_.status.setPanelText(1, "Map of Marventa");
    widgets_.listBox2.enableList();
    widgets_.listBox2.emptyList();
    widgets_.listBox1.enableList();
    widgets_.listBox1.emptyList();
    if (ViewMode == ProvinceView) {
        return;
    }
    putIntoImage1(kProvinceHolder);
    ViewMode = ProvinceView;
    widgets_.label.setLabelCaption("");
    widgets_.label.setLabelVisible(false);
    // The overview still shows the city's marker; the positions kept from the city map are
    // already clamped to the province's ranges, so their frame is the view now visible.
    viewport_.ScrollBox1CanResize();
}

void Browser::zerowanie() {
    widgets_.listBox3.emptyList();
    widgets_.label.setLabelCaption("");
    widgets_.label.setLabelVisible(false);
    ViewMode = CityView;
    viewport_.setContent(widgets_.image1.pictureSize());
    widgets_.scroll.setVerticalPosition(0);
    widgets_.scroll.setHorizontalPosition(0);
    // In the city view the rectangle is ignored: only the checked city's marker is drawn.
    overview_.Ramka(visibleRect(), viewport_.content());
}

void Browser::showCategory(PlaceTableId table) {
    duzamapa();
    appendNames(widgets_.listBox1, tables_.places(table));
}

void Browser::showCity(PlaceTableId table) {
    const CityEntry& city = cityWithTable(table);
    widgets_.status.setPanelText(1, city.caption);
    widgets_.image1.putPicture(pictures_.holder(city.holder));
    zerowanie();
    appendNames(widgets_.listBox3, tables_.places(table));
}

void Browser::RadioButton1Click() {
    showCategory(PlaceTableId::ElvenRuins);
}
void Browser::RadioButton2Click() {
    showCategory(PlaceTableId::Landmarks);
}
void Browser::RadioButton3Click() {
    showCategory(PlaceTableId::Shrines);
}
void Browser::RadioButton4Click() {
    showCategory(PlaceTableId::FortRuins);
}
void Browser::RadioButton5Click() {
    showCategory(PlaceTableId::Cities);
}
void Browser::RadioButton6Click() {
    showCategory(PlaceTableId::Camps);
}
void Browser::RadioButton7Click() {
    showCategory(PlaceTableId::Settlements);
}
void Browser::RadioButton8Click() {
    showCategory(PlaceTableId::Mines);
}
void Browser::RadioButton9Click() {
    showCategory(PlaceTableId::Caves);
}
void Browser::RadioButton10Click() {
    showCategory(PlaceTableId::Inns);
}

void Browser::RadioButton11Click() {
    duzamapa();
    appendNames(widgets_.listBox2, tables_.heavenly());
}

void Browser::RadioButton12Click() {
    duzamapa();
    appendNames(widgets_.listBox2, tables_.sign());
}

void Browser::RadioButton13Click() {
    showCity(PlaceTableId::Merrowick);
}
void Browser::RadioButton14Click() {
    showCity(PlaceTableId::Hathmoor);
}
void Browser::RadioButton15Click() {
    showCity(PlaceTableId::Volmarren);
}
void Browser::RadioButton16Click() {
    showCity(PlaceTableId::Dunmaris);
}
void Browser::RadioButton17Click() {
    showCity(PlaceTableId::CrownCity);
}
void Browser::RadioButton18Click() {
    showCity(PlaceTableId::Tolvane);
}
void Browser::RadioButton19Click() {
    showCity(PlaceTableId::Orlheim);
}
void Browser::RadioButton20Click() {
    showCity(PlaceTableId::Saltreach);
}

void Browser::ListBox1Click() {
    const auto row = widgets_.listBox1.selectedRow();
    if (!row) {
        return;
    }
    for (const CategoryButton& button : kCategoryButtons) {
        if (radioButton(button.radioButton).checked()) {
            const PlaceRecord& place = tables_.places(button.table).record(*row + 1);
            viewport_.Pokaz(place.name, place.x, place.y);
        }
    }
}

void Browser::ListBox3Click() {
    const auto row = widgets_.listBox3.selectedRow();
    if (!row) {
        return;
    }
    for (const int button : kCityButtonOrder) {
        if (radioButton(button).checked()) {
            const PlaceRecord& place =
                tables_.places(cityWithButton(button).table).record(*row + 1);
            viewport_.Pokaz(place.name, place.x, place.y);
        }
    }
}

void Browser::ListBox2Click() {
    const auto row = widgets_.listBox2.selectedRow();
    if (!row) {
        return;
    }
    StoneDetailsPort& details = widgets_.stoneDetails;
    if (radioButton(11).checked()) {
        const HeavenlyStoneRecord& stone = tables_.heavenly().record(*row + 1);
        // Pokaz raises before anything changes, so a bad record leaves the details as well.
        viewport_.Pokaz(stone.name, stone.x, stone.y);
        details.setStoneDetail(2, "Difference between");
        details.setStoneDetail(
            3, std::string("Fame and Infame at least ").append(stone.fameDifference));
        for (int i = 0; i < 7; ++i) {
            details.setStoneDetail(4 + i, stone.effects[static_cast<std::size_t>(i)]);
        }
    }
    if (radioButton(12).checked()) {
        const SignStoneRecord& stone = tables_.sign().record(*row + 1);
        viewport_.Pokaz(stone.name, stone.x, stone.y);
        details.setStoneDetail(2, "");
        details.setStoneDetail(3, "");
        for (int i = 0; i < 4; ++i) {
            details.setStoneDetail(4 + i, stone.effects[static_cast<std::size_t>(i)]);
        }
        for (int label = 8; label <= 10; ++label) {
            details.setStoneDetail(label, "");
        }
    }
}

void Browser::TabbedNotebook1Change() {
    widgets_.listBox1.emptyList();
    widgets_.listBox2.emptyList();
    widgets_.listBox3.emptyList();
    for (RadioButtonPort* button : widgets_.radioButtons) {
        button->uncheckSilently();
    }
}

}  // namespace marventa
