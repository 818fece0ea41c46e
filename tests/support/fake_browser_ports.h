#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "browser/ports.h"
#include "pictures/picture.h"

namespace marventa {

// Plain stand-ins for the widgets behind the browser ports, following the toolkit's rules:
// changes made from code run no click operation; user actions run it.

// A list box. Starts enabled and empty.
struct FakeList : ListPort {
    std::vector<std::string> rows;
    bool enabled = true;
    std::optional<int> selected;
    std::function<void()> onClick;

    void appendName(std::string_view name) override { rows.emplace_back(name); }
    void emptyList() override {
        rows.clear();
        selected.reset();
    }
    void enableList() override { enabled = true; }
    std::optional<int> selectedRow() const override { return selected; }

    // The user selects a row: the click operation runs. A disabled list takes no input; a row
    // outside the list selects nothing, as a backspace in an empty list does.
    void pick(int row) {
        if (!enabled) {
            return;
        }
        selected =
            row >= 0 && row < static_cast<int>(rows.size()) ? std::optional(row) : std::nullopt;
        if (onClick) {
            onClick();
        }
    }
};

// A radio button in a group of siblings (the buttons with the same parent, itself included).
struct FakeRadioButton : RadioButtonPort {
    bool isChecked = false;
    std::span<FakeRadioButton> group;
    std::function<void()> onClick;

    bool checked() const override { return isChecked; }
    void uncheckSilently() override { isChecked = false; }

    // The user clicks it: only unchecked -> checked runs the click operation, after the
    // siblings have been unchecked silently.
    void click() {
        if (isChecked) {
            return;
        }
        for (FakeRadioButton& sibling : group) {
            sibling.isChecked = false;
        }
        isChecked = true;
        if (onClick) {
            onClick();
        }
    }
};

// Image1: which holder's picture it shows, and that picture's size.
struct FakePicture : PicturePort {
    std::string holder;
    int width = 0;
    int height = 0;

    void putPicture(const PictureHolder& h) override {
        holder = h.name();
        width = h.width();
        height = h.height();
    }
    Size pictureSize() const override { return {width, height}; }
};

// Label2 .. Label10, indexed by the label's number; each starts as one space.
struct FakeStoneDetails : StoneDetailsPort {
    std::array<std::string, 11> labels{"", "", " ", " ", " ", " ", " ", " ", " ", " ", " "};

    void setStoneDetail(int label, std::string_view caption) override {
        labels.at(static_cast<std::size_t>(label)) = caption;
    }
};

// StatusBar1's geometry in the initial window.
struct FakeStatusBar : StatusBarPort {
    int width = 846;
    std::array<int, 3> panelWidths{50, 150, 120};

    int barWidth() const override { return width; }
    void setPanelWidth(int panel, int w) override {
        panelWidths.at(static_cast<std::size_t>(panel)) = w;
    }
};

}  // namespace marventa
