#pragma once

#include <array>

#include "catalogue/catalogue.h"
#include "navigation/overview.h"
#include "navigation/overview_bitmap.h"
#include "navigation/ports.h"
#include "navigation/viewport.h"
#include "ports.h"

namespace marventa {

class PictureSet;

// The tables the controller reads. The catalogue's own unless a test substitutes others.
struct TableSource {
    const PlaceTable<PlaceRecord>& (*places)(PlaceTableId) = &placeTable;
    const PlaceTable<HeavenlyStoneRecord>& (*heavenly)() = &heavenlyStones;
    const PlaceTable<SignStoneRecord>& (*sign)() = &signStones;
};

// The widgets the controller reads and writes; all must outlive the controller.
struct BrowserWidgets {
    ScrollPort& scroll;  // ScrollBox1
    LabelPort& label;    // Label1
    StatusPort& status;  // StatusBar1's panel texts
    StatusBarPort& statusBar;
    PicturePort& image1;
    StoneDetailsPort& stoneDetails;                 // Label2 .. Label10
    ListPort& listBox1;                             // categories
    ListPort& listBox2;                             // stones
    ListPort& listBox3;                             // city buildings
    std::array<RadioButtonPort*, 20> radioButtons;  // RadioButton1 .. RadioButton20
};

// The browsing controller: the view mode and every reaction to a selection on the side panel.
// Owns the overview and the main view's operations. The window wires each widget event to the
// method of the same name, and the scroll port's realign notification to
// viewport().ScrollBox1CanResize().
class Browser {
  public:
    // The overview starts from the picture set's pristine bitmap (Image3). Raises
    // std::invalid_argument when a radio button is missing.
    Browser(const BrowserWidgets& widgets, const PictureSet& pictures, TableSource tables = {});
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    // Initial state: province map, its ranges, the first frame, status panel 0 at half the bar.
    void FormCreate();

    // Enters or stays in the province view and empties the category and stone lists.
    void duzamapa();
    // Resets the view after a city map has been put into Image1.
    void zerowanie();

    // Category buttons.
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton7Click();
    void RadioButton8Click();
    void RadioButton9Click();
    void RadioButton10Click();
    // Stone buttons.
    void RadioButton11Click();
    void RadioButton12Click();
    // City buttons.
    void RadioButton13Click();
    void RadioButton14Click();
    void RadioButton15Click();
    void RadioButton16Click();
    void RadioButton17Click();
    void RadioButton18Click();
    void RadioButton19Click();
    void RadioButton20Click();

    // A row picked in a list: shows the matching record of the checked button's table. A
    // coordinate that does not parse raises ConversionError with nothing changed.
    void ListBox1Click();
    void ListBox2Click();
    void ListBox3Click();

    // Before another page is shown: empties the lists and unchecks every radio button.
    void TabbedNotebook1Change();

    // The click operation of RadioButton<n> is entry n - 1, for wiring the buttons.
    using Operation = void (Browser::*)();
    static const std::array<Operation, 20> kRadioButtonClicks;

    Viewport& viewport() { return viewport_; }
    Overview& overview() { return overview_; }
    const Overview& overview() const { return overview_; }

  private:
    // The overview reads the city buttons' checked flags through this.
    class CityButtons : public CityButtonsPort {
      public:
        explicit CityButtons(const Browser& browser) : browser_(browser) {}
        bool isCityButtonChecked(int radioButton) const override;

      private:
        const Browser& browser_;
    };

    RadioButtonPort& radioButton(int n) const;
    void putIntoImage1(std::string_view holder);
    void fitContentToImage1();
    PictureRect visibleRect() const;
    // What RadioButton<n> shows, found in the button and city directories.
    void showCategory(int radioButton);
    void showStones(int radioButton);
    void showCity(int radioButton);
    void showHeavenlyStone(const HeavenlyStoneRecord& stone);
    void showSignStone(const SignStoneRecord& stone);

    BrowserWidgets widgets_;
    const PictureSet& pictures_;
    TableSource tables_;
    CityButtons cityButtons_;
    Overview overview_;
    Viewport viewport_;
};

}  // namespace marventa
