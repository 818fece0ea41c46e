#pragma once

#include <array>
#include <string>

#include "fake_window.h"

namespace marventa {

// Everything a selection can change on screen besides the lists and buttons.
struct Shown {
    int horizontal;
    int vertical;
    bool labelVisible;
    std::string labelCaption;
    int labelLeft;
    int labelTop;
    std::array<std::string, 3> panels;
    std::array<std::string, 11> stoneDetails;
    OverviewBitmap overview;

    explicit Shown(const FakeWindow& w)
        : horizontal(w.scroll.horizontalPosition()),
          vertical(w.scroll.verticalPosition()),
          labelVisible(w.label.visible),
          labelCaption(w.label.caption),
          labelLeft(w.label.left),
          labelTop(w.label.top),
          panels(w.status.panels),
          stoneDetails(w.stoneDetails.labels),
          overview(w.browser.overview().bitmap()) {}

    friend bool operator==(const Shown&, const Shown&) = default;
};

}  // namespace marventa
