#pragma once

#include <array>

#include "geometry.h"
#include "overview_bitmap.h"

namespace marventa {

// Everything one overview drawing depends on.
struct RamkaInput {
    bool provinceView;
    PictureRect rect;                   // picturePx of the picture in the main view
    Size content;                       // size of that picture (Image1)
    std::array<bool, 8> checkedCities;  // in kCityDirectory order
};

// Restores target from pristine, then draws the viewport frame (province view only) and a
// marker circle for each checked city. Nothing is drawn outside the bitmap.
void renderOverview(OverviewBitmap& target, const OverviewBitmap& pristine, const RamkaInput& in);

}  // namespace marventa
