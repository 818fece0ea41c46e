#pragma once

#include <array>
#include <span>

#include "browser/browser.h"
#include "navigation/ramka.h"
#include "navigation/scroll_state.h"
#include "pictures/picture.h"
#include "tests/support/fake_browser_ports.h"
#include "tests/support/fake_navigation_ports.h"

namespace marventa {

// The whole core over fakes, wired as the window wires its widgets, after the initial state.
struct FakeWindow {
    static constexpr int kBarThickness = 14;  // Fusion's, as in the window

    explicit FakeWindow(TableSource tables = {})
        : browser(widgets(), PictureSet::embedded(), tables) {
        scroll.setOnRealign([this] { browser.viewport().ScrollBox1CanResize(); });
        status.panels = {"", "Map of Marventa v1.5", "contact: someone@example.org        "};
        listBox1.enabled = false;
        listBox1.onClick = [this] { browser.ListBox1Click(); };
        listBox2.onClick = [this] { browser.ListBox2Click(); };
        listBox3.onClick = [this] { browser.ListBox3Click(); };

        const std::span<FakeRadioButton> all(buttons);
        for (int n = 1; n <= 20; ++n) {
            FakeRadioButton& button = radioButton(n);
            button.onClick = [this, click = Browser::kRadioButtonClicks.at(
                                        static_cast<std::size_t>(n - 1))] { (browser.*click)(); };
            // Three parents: the category frame, the "Extras" page, the "Cities" page.
            button.group = n <= 10   ? all.subspan(0, 10)
                           : n <= 12 ? all.subspan(10, 2)
                                     : all.subspan(12, 8);
        }
        browser.FormCreate();
    }

    FakeRadioButton& radioButton(int n) { return buttons.at(static_cast<std::size_t>(n - 1)); }
    void click(int n) { radioButton(n).click(); }

    // The overview as the renderer draws it for the current view, with the given cities.
    OverviewBitmap expectedOverview(bool provinceView, std::array<bool, 8> cities = {}) const {
        OverviewBitmap expected;
        const int h = scroll.horizontalPosition();
        const int v = scroll.verticalPosition();
        renderOverview(expected, browser.overview().pristine(),
                       {provinceView,
                        {h, v, h + scroll.outerWidth(), v + scroll.outerHeight()},
                        {scroll.horizontalRange(), scroll.verticalRange()},
                        cities});
        return expected;
    }

    ScrollState scroll{646, 610, kBarThickness};
    FakeLabel label;
    FakeStatus status;
    FakeStatusBar statusBar;
    FakePicture image1;
    FakeStoneDetails stoneDetails;
    FakeList listBox1;
    FakeList listBox2;
    FakeList listBox3;
    std::array<FakeRadioButton, 20> buttons;
    Browser browser;

  private:
    BrowserWidgets widgets() {
        std::array<RadioButtonPort*, 20> ports{};
        for (std::size_t i = 0; i < ports.size(); ++i) {
            ports[i] = &buttons[i];
        }
        return {scroll,       label,    status,   statusBar, image1,
                stoneDetails, listBox1, listBox2, listBox3,  ports};
    }
};

}  // namespace marventa
