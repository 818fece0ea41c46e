#include "ramka.h"

#include <cstdint>

#include "catalogue/city_directory.h"
#include "raster.h"

namespace marventa {

namespace {

// Scales a picture coordinate to the overview: multiply first, then truncate toward zero. The
// product is formed in 64 bits so that no input can overflow; for the pictures' sizes the result
// is the plain 32-bit one.
int scale(int picturePx, int overviewExtent, int contentExtent) {
    return static_cast<int>(std::int64_t{picturePx} * overviewExtent / contentExtent);
}

void drawFrame(OverviewBitmap& target, PictureRect rect, Size content) {
    if (content.width <= 0 || content.height <= 0) {
        return;  // nothing to scale against
    }
    const int l = scale(rect.left, kOverviewControl.width, content.width);
    const int r = scale(rect.right, kOverviewControl.width, content.width);
    const int t = scale(rect.top, kOverviewControl.height, content.height);
    const int b = scale(rect.bottom, kOverviewControl.height, content.height);
    strokeAxisAligned(target, l, t, l, b, kBlack);
    strokeAxisAligned(target, l, b, r, b, kBlack);
    strokeAxisAligned(target, r, b, r, t, kBlack);
    strokeAxisAligned(target, r, t, l, t, kBlack);
}

}  // namespace

void renderOverview(OverviewBitmap& target, const OverviewBitmap& pristine, const RamkaInput& in) {
    target = pristine;
    if (in.provinceView) {
        drawFrame(target, in.rect, in.content);
    }
    for (std::size_t i = 0; i < kCityDirectory.size(); ++i) {
        if (in.checkedCities[i]) {
            const MarkerBox& box = kCityDirectory[i].marker;
            drawEllipse(target, box.x1, box.y1, box.x2, box.y2, kBlack, kWhite);
        }
    }
}

}  // namespace marventa
