#pragma once

#include <functional>

#include "ports.h"

namespace marventa {

// The scrolling rules of the main view as plain state: the content (picture widened to the client
// extent), clamped positions, scroll bars shown while the picture exceeds the client extent, and a
// realign callback after every change of a position or size (for a size change: once with the
// old size, then with the new).
class ScrollState : public ScrollPort {
  public:
    ScrollState(int outerWidth, int outerHeight, int barThickness);

    void setOnRealign(std::function<void()> onRealign) { onRealign_ = std::move(onRealign); }

    int outerWidth() const override { return outerWidth_; }
    int outerHeight() const override { return outerHeight_; }
    int horizontalRange() const override;
    int verticalRange() const override;
    void setPictureSize(Size picture) override;
    int horizontalPosition() const override { return horizontalPosition_; }
    int verticalPosition() const override { return verticalPosition_; }
    void setHorizontalPosition(int position) override;
    void setVerticalPosition(int position) override;

    void resize(int outerWidth, int outerHeight);

    bool horizontalBarShown() const;
    bool verticalBarShown() const;
    int clientWidth() const;
    int clientHeight() const;
    int maxHorizontalPosition() const;
    int maxVerticalPosition() const;

  private:
    void realign();

    int outerWidth_;
    int outerHeight_;
    int barThickness_;
    Size picture_{0, 0};
    int horizontalPosition_ = 0;
    int verticalPosition_ = 0;
    std::function<void()> onRealign_;
};

}  // namespace marventa
