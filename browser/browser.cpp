#include "browser.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "catalogue/button_directory.h"
#include "catalogue/city_directory.h"
#include "navigation/view_mode.h"
#include "pictures/picture.h"

namespace marventa {

namespace {

// The city buttons in the order ListBox3Click tests them.
constexpr std::array<int, 8> kCityButtonOrder{13, 18, 19, 16, 14, 20, 15, 17};

const CityEntry& cityWithButton(int radioButton) {
    const auto city = std::ranges::find(kCityDirectory, radioButton, &CityEntry::radioButton);
    return *city;
}

const CategoryButton& categoryWithButton(int radioButton) {
    return *std::ranges::find(kCategoryButtons, radioButton, &CategoryButton::radioButton);
}

const StoneButton& stoneWithButton(int radioButton) {
    return *std::ranges::find(kStoneButtons, radioButton, &StoneButton::radioButton);
}

// Image3's bitmap, decoded once for the overview to copy; on the heap, it is 97 KB.
std::unique_ptr<OverviewBitmap> pristineOverview(const PictureSet& pictures) {
    const Picture picture = decode(pictures.holder(kOverviewHolder));
    if (picture.width() != OverviewBitmap::kWidth || picture.height() != OverviewBitmap::kHeight) {
        throw PictureStreamError("the overview picture is not 200 x 162");
    }
    // Rows of 600 bytes need no padding: the decoded rows are the bitmap's.
    auto bitmap = std::make_unique<OverviewBitmap>();
    std::ranges::copy(picture.rgb(), bitmap->rgb.begin());
    return bitmap;
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

Browser::Browser(const BrowserWidgets& widgets, const PictureSet& pictures, TableSource tables)
    : widgets_(widgets),
      pictures_(pictures),
      tables_(tables),
      cityButtons_(*this),
      overview_(*pristineOverview(pictures), cityButtons_),
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
}

// The ranges become the size of the picture in Image1 (widened to the client extent).
void Browser::fitContentToImage1() {
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
    putIntoImage1(kProvinceHolder);
    ViewMode = ProvinceView;
    fitContentToImage1();
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
    fitContentToImage1();
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
    fitContentToImage1();
    widgets_.scroll.setVerticalPosition(0);
    widgets_.scroll.setHorizontalPosition(0);
    // In the city view the rectangle is ignored: only the checked city's marker is drawn.
    overview_.Ramka(visibleRect(), viewport_.content());
}

void Browser::showCategory(int radioButton) {
    duzamapa();
    appendNames(widgets_.listBox1, tables_.places(categoryWithButton(radioButton).table));
}

void Browser::showStones(int radioButton) {
    duzamapa();
    switch (stoneWithButton(radioButton).table) {
        case StoneTableId::Heavenly:
            appendNames(widgets_.listBox2, tables_.heavenly());
            break;
        case StoneTableId::Sign:
            appendNames(widgets_.listBox2, tables_.sign());
            break;
    }
}

void Browser::showCity(int radioButton) {
    const CityEntry& city = cityWithButton(radioButton);
    widgets_.status.setPanelText(1, city.caption);
    putIntoImage1(city.holder);
    zerowanie();
    appendNames(widgets_.listBox3, tables_.places(city.table));
}

const std::array<Browser::Operation, 20> Browser::kRadioButtonClicks{
    &Browser::RadioButton1Click,  &Browser::RadioButton2Click,  &Browser::RadioButton3Click,
    &Browser::RadioButton4Click,  &Browser::RadioButton5Click,  &Browser::RadioButton6Click,
    &Browser::RadioButton7Click,  &Browser::RadioButton8Click,  &Browser::RadioButton9Click,
    &Browser::RadioButton10Click, &Browser::RadioButton11Click, &Browser::RadioButton12Click,
    &Browser::RadioButton13Click, &Browser::RadioButton14Click, &Browser::RadioButton15Click,
    &Browser::RadioButton16Click, &Browser::RadioButton17Click, &Browser::RadioButton18Click,
    &Browser::RadioButton19Click, &Browser::RadioButton20Click,
};

void Browser::RadioButton1Click() {
    showCategory(1);
}
void Browser::RadioButton2Click() {
    showCategory(2);
}
void Browser::RadioButton3Click() {
    showCategory(3);
}
void Browser::RadioButton4Click() {
    showCategory(4);
}
void Browser::RadioButton5Click() {
    showCategory(5);
}
void Browser::RadioButton6Click() {
    showCategory(6);
}
void Browser::RadioButton7Click() {
    showCategory(7);
}
void Browser::RadioButton8Click() {
    showCategory(8);
}
void Browser::RadioButton9Click() {
    showCategory(9);
}
void Browser::RadioButton10Click() {
    showCategory(10);
}

void Browser::RadioButton11Click() {
    showStones(11);
}
void Browser::RadioButton12Click() {
    showStones(12);
}

void Browser::RadioButton13Click() {
    showCity(13);
}
void Browser::RadioButton14Click() {
    showCity(14);
}
void Browser::RadioButton15Click() {
    showCity(15);
}
void Browser::RadioButton16Click() {
    showCity(16);
}
void Browser::RadioButton17Click() {
    showCity(17);
}
void Browser::RadioButton18Click() {
    showCity(18);
}
void Browser::RadioButton19Click() {
    showCity(19);
}
void Browser::RadioButton20Click() {
    showCity(20);
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
    for (const StoneButton& button : kStoneButtons) {
        if (!radioButton(button.radioButton).checked()) {
            continue;
        }
        switch (button.table) {
            case StoneTableId::Heavenly:
                showHeavenlyStone(tables_.heavenly().record(*row + 1));
                break;
            case StoneTableId::Sign:
                showSignStone(tables_.sign().record(*row + 1));
                break;
        }
    }
}

void Browser::showHeavenlyStone(const HeavenlyStoneRecord& stone) {
    // Pokaz raises before anything changes, so a bad record leaves the details as well.
    viewport_.Pokaz(stone.name, stone.x, stone.y);
    StoneDetailsPort& details = widgets_.stoneDetails;
    details.setStoneDetail(2, "Difference between");
    details.setStoneDetail(3,
                           std::string("Fame and Infame at least ").append(stone.fameDifference));
    for (int i = 0; i < 7; ++i) {
        details.setStoneDetail(4 + i, stone.effects[static_cast<std::size_t>(i)]);
    }
}

void Browser::showSignStone(const SignStoneRecord& stone) {
    viewport_.Pokaz(stone.name, stone.x, stone.y);
    StoneDetailsPort& details = widgets_.stoneDetails;
    details.setStoneDetail(2, "");
    details.setStoneDetail(3, "");
    for (int i = 0; i < 4; ++i) {
        details.setStoneDetail(4 + i, stone.effects[static_cast<std::size_t>(i)]);
    }
    for (int label = 8; label <= 10; ++label) {
        details.setStoneDetail(label, "");
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
