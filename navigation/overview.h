#pragma once

#include <functional>

#include "geometry.h"
#include "overview_bitmap.h"
#include "ports.h"

namespace marventa {

// The overview control (Image2) and its pristine copy (Image3).
class Overview {
  public:
    Overview(const OverviewBitmap& pristine, const CityButtonsPort& cityButtons);

    // Redraws Image2's bitmap for a rectangle of the picture in the main view, whose size is
    // content. Reads ViewMode.
    void Ramka(PictureRect rect, Size content);

    const OverviewBitmap& bitmap() const { return shown_; }       // Image2
    const OverviewBitmap& pristine() const { return pristine_; }  // Image3

    // Called after every redraw, so a window can repaint the control.
    void setOnChanged(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }

  private:
    OverviewBitmap pristine_;
    OverviewBitmap shown_;
    const CityButtonsPort& cityButtons_;
    std::function<void()> onChanged_;
};

}  // namespace marventa
