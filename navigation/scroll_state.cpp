#include "scroll_state.h"

#include <algorithm>

namespace marventa {

namespace {

// The sunken edge takes 2 pixels on each side of the viewport.
constexpr int kEdges = 4;

struct Bars {
    bool horizontal;
    bool vertical;
};

// A bar shows while the picture exceeds the client extent (the content never falls short of it).
// Each bar narrows the other axis's client extent, so one bar can call for the other. Starting
// with none and adding what the current extents require reaches the smallest consistent set in
// at most two rounds.
Bars barsFor(int outerWidth, int outerHeight, int bar, Size picture) {
    Bars shown{false, false};
    for (int round = 0; round < 2; ++round) {
        shown.horizontal = picture.width > outerWidth - kEdges - (shown.vertical ? bar : 0);
        shown.vertical = picture.height > outerHeight - kEdges - (shown.horizontal ? bar : 0);
    }
    return shown;
}

}  // namespace

ScrollState::ScrollState(int outerWidth, int outerHeight, int barThickness)
    : outerWidth_(outerWidth), outerHeight_(outerHeight), barThickness_(barThickness) {}

bool ScrollState::horizontalBarShown() const {
    return barsFor(outerWidth_, outerHeight_, barThickness_, picture_).horizontal;
}

bool ScrollState::verticalBarShown() const {
    return barsFor(outerWidth_, outerHeight_, barThickness_, picture_).vertical;
}

int ScrollState::clientWidth() const {
    return outerWidth_ - kEdges - (verticalBarShown() ? barThickness_ : 0);
}

int ScrollState::clientHeight() const {
    return outerHeight_ - kEdges - (horizontalBarShown() ? barThickness_ : 0);
}

int ScrollState::horizontalRange() const {
    return std::max(picture_.width, clientWidth());
}

int ScrollState::verticalRange() const {
    return std::max(picture_.height, clientHeight());
}

int ScrollState::maxHorizontalPosition() const {
    return horizontalRange() - clientWidth();
}

int ScrollState::maxVerticalPosition() const {
    return verticalRange() - clientHeight();
}

void ScrollState::setHorizontalPosition(int position) {
    const int clamped = std::clamp(position, 0, maxHorizontalPosition());
    if (clamped != horizontalPosition_) {
        horizontalPosition_ = clamped;
        realign();
    }
}

void ScrollState::setVerticalPosition(int position) {
    const int clamped = std::clamp(position, 0, maxVerticalPosition());
    if (clamped != verticalPosition_) {
        verticalPosition_ = clamped;
        realign();
    }
}

void ScrollState::setPictureSize(Size picture) {
    picture_ = picture;
    // Positions stay where they were unless the new ranges push them back.
    setHorizontalPosition(horizontalPosition_);
    setVerticalPosition(verticalPosition_);
}

void ScrollState::resize(int outerWidth, int outerHeight) {
    if (outerWidth == outerWidth_ && outerHeight == outerHeight_) {
        return;
    }
    realign();
    outerWidth_ = outerWidth;
    outerHeight_ = outerHeight;
    // A larger view can pull the positions back; that belongs to this one resize, so it is
    // announced by the realign with the new size rather than by realigns of its own.
    horizontalPosition_ = std::clamp(horizontalPosition_, 0, maxHorizontalPosition());
    verticalPosition_ = std::clamp(verticalPosition_, 0, maxVerticalPosition());
    realign();
}

void ScrollState::realign() {
    if (onRealign_) {
        onRealign_();
    }
}

}  // namespace marventa
