#pragma once

#include <optional>
#include <string_view>

#include "navigation/geometry.h"

namespace marventa {

class PictureHolder;

// The widget capabilities the browsing controller uses beyond those of navigation/ports.h. The
// window implements them over its widgets; tests over plain state with the same rules.

// A list box (ListBox1 .. ListBox3). Changes made through this port never run the list's click
// operation.
class ListPort {
  public:
    virtual ~ListPort() = default;
    virtual void appendName(std::string_view name) = 0;  // no sorting: rows keep their order
    virtual void emptyList() = 0;                        // also leaves no row selected
    virtual void enableList() = 0;
    virtual std::optional<int> selectedRow() const = 0;  // 0-based; none in an empty list
};

// A radio button (RadioButton1 .. RadioButton20).
class RadioButtonPort {
  public:
    virtual ~RadioButtonPort() = default;
    virtual bool checked() const = 0;
    virtual void uncheckSilently() = 0;  // runs no click operation
};

// The picture control of the main view (Image1).
class PicturePort {
  public:
    virtual ~PicturePort() = default;
    // Shows a copy of the holder's picture. The holder must outlive the copy.
    virtual void putPicture(const PictureHolder& holder) = 0;
    // The size of the picture shown; the control itself is as large as the content.
    virtual Size pictureSize() const = 0;
};

// The nine lines of the stones' "Effects" group (Label2 .. Label10).
class StoneDetailsPort {
  public:
    virtual ~StoneDetailsPort() = default;
    virtual void setStoneDetail(int label, std::string_view caption) = 0;  // label: 2 .. 10
};

// The status bar's geometry (StatusBar1); its panel texts go through StatusPort.
class StatusBarPort {
  public:
    virtual ~StatusBarPort() = default;
    virtual int barWidth() const = 0;
    virtual void setPanelWidth(int panel, int width) = 0;
};

}  // namespace marventa
