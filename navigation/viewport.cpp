#include "viewport.h"

#include "catalogue/coordinate.h"
#include "view_mode.h"

namespace marventa {

Viewport::Viewport(ScrollPort& scroll, LabelPort& label, StatusPort& status, Overview& overview)
    : scroll_(scroll), label_(label), status_(status), overview_(overview) {}

void Viewport::setContent(Size picture) {
    scroll_.setPictureSize(picture);
}

void Viewport::Pokaz(std::string_view name, std::string_view xText, std::string_view yText) {
    const int outerWidth = scroll_.outerWidth();
    const int outerHeight = scroll_.outerHeight();

    // Both texts are converted before anything moves, so a bad one leaves the view as it was.
    const int x = parseCoordinate(xText);
    const int h = x - outerWidth / 2;
    const int y = parseCoordinate(yText);
    const int v = y - outerHeight / 2;

    scroll_.setVerticalPosition(v);
    scroll_.setHorizontalPosition(h);
    label_.setLabelVisible(true);

    // The label rules measure against the outer size although the view clamps against the
    // smaller client extent. Later tests overrule earlier ones.
    const int vmax = scroll_.verticalRange() - outerHeight;
    if (v < 0) {
        label_.setLabelTop(y + 20);
    }
    if (v > vmax) {
        label_.setLabelTop(y - vmax);
    }
    // An offset of exactly 0 or the maximum still centres the point, so it takes the middle rule.
    if (v >= 0 && v <= vmax) {
        label_.setLabelTop(outerHeight / 2 + 15);
    }

    const int hmax = scroll_.horizontalRange() - outerWidth;
    if (h < 0) {
        label_.setLabelLeft(x - 10);
    }
    if (h > hmax) {
        label_.setLabelLeft(x - hmax - 40);
    }
    // Same boundary rule as above.
    if (h >= 0 && h <= hmax) {
        label_.setLabelLeft(outerWidth / 2 - 10);
    }

    label_.setLabelCaption(name);
    status_.setPanelText(0, name);

    const int hp = scroll_.horizontalPosition();
    const int vp = scroll_.verticalPosition();
    overview_.Ramka({hp, vp, hp + outerWidth, vp + outerHeight}, content());
}

void Viewport::Image1Click(PicturePoint clicked) {
    scroll_.setHorizontalPosition(clicked.x - scroll_.outerWidth() / 2);
    scroll_.setVerticalPosition(clicked.y - scroll_.outerHeight() / 2);
}

void Viewport::Image2Click(OverviewPoint clicked) {
    if (ViewMode != ProvinceView) {
        return;
    }
    const Size c = content();
    scroll_.setHorizontalPosition(clicked.x * c.width / kOverviewControl.width -
                                  scroll_.outerWidth() / 2);
    scroll_.setVerticalPosition(clicked.y * c.height / kOverviewControl.height -
                                scroll_.outerHeight() / 2);
}

void Viewport::ScrollBox1CanResize() {
    if (ViewMode != ProvinceView) {
        return;
    }
    const int h = scroll_.horizontalPosition();
    const int v = scroll_.verticalPosition();
    overview_.Ramka({h, v, h + scroll_.outerWidth(), v + scroll_.outerHeight()}, content());
}

Size Viewport::content() const {
    return {scroll_.horizontalRange(), scroll_.verticalRange()};
}

}  // namespace marventa
