#pragma once

namespace marventa {

// Units: picturePx are pixels of the picture in the main view, overviewPx pixels of the overview.

struct Size {
    int width;
    int height;
    friend bool operator==(const Size&, const Size&) = default;
};

// A point of the picture in the main view (picturePx).
struct PicturePoint {
    int x;
    int y;
};

// A point of the overview control (overviewPx).
struct OverviewPoint {
    int x;
    int y;
};

// A rectangle in picturePx: left and right horizontal, top and bottom vertical.
struct PictureRect {
    int left;
    int top;
    int right;
    int bottom;
    friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

// The overview control's size, which the arithmetic uses (not the bitmap's 200 x 162).
inline constexpr Size kOverviewControl{198, 164};

}  // namespace marventa
