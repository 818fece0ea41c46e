#pragma once

#include <string_view>

#include "geometry.h"
#include "overview.h"
#include "ports.h"

namespace marventa {

// The main view's operations: centring on a catalogue point, the two click reactions and the
// frame refresh. Holds no state of its own beyond what the ports hold.
class Viewport {
  public:
    Viewport(ScrollPort& scroll, LabelPort& label, StatusPort& status, Overview& overview);

    // After a new picture is put into Image1: the content becomes its size, widened to the
    // client extent where the view is larger.
    void setContent(Size picture);

    // Centres on a catalogue point, places and shows the label, names the place in status
    // panel 0 and redraws the overview. A coordinate text that does not parse raises
    // ConversionError before anything changes.
    void Pokaz(std::string_view name, std::string_view xText, std::string_view yText);

    // Main-map click at a point of the picture (both view modes).
    void Image1Click(PicturePoint clicked);

    // Overview click; only in ProvinceView.
    void Image2Click(OverviewPoint clicked);

    // Frame refresh: in ProvinceView, Ramka of the visible rectangle (outer viewport size).
    void ScrollBox1CanResize();

    // Image1's size: the scroll ranges.
    Size content() const;

  private:
    ScrollPort& scroll_;
    LabelPort& label_;
    StatusPort& status_;
    Overview& overview_;
};

}  // namespace marventa
