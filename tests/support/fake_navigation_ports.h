#pragma once

#include <array>
#include <string>
#include <string_view>

#include "navigation/ports.h"

namespace marventa {

// Plain stand-ins for the widgets behind the navigation ports: each holds what its widget would.
// The scroll port's stand-in is ScrollState itself.

// Label1: caption, visibility and position relative to the viewport's visible corner.
struct FakeLabel : LabelPort {
    bool visible = false;
    std::string caption;
    int left = 0;
    int top = 0;

    void setLabelVisible(bool v) override { visible = v; }
    void setLabelCaption(std::string_view c) override { caption = c; }
    void setLabelLeft(int l) override { left = l; }
    void setLabelTop(int t) override { top = t; }
};

// StatusBar1 with its three panels: last place, current map, contact text.
struct FakeStatus : StatusPort {
    std::array<std::string, 3> panels;

    void setPanelText(int panel, std::string_view text) override { panels.at(panel) = text; }
};

// The checked flags of the radio buttons, indexed by n of RadioButton<n>.
struct FakeCityButtons : CityButtonsPort {
    std::array<bool, 21> checked{};

    bool isCityButtonChecked(int radioButton) const override { return checked.at(radioButton); }
};

}  // namespace marventa
