#pragma once

#include <string_view>

namespace marventa {

// The widget capabilities the viewport arithmetic uses. The window implements them over its
// widgets; tests over plain state with the same rules.

// The main view's scrolling (ScrollBox1). Positions are clamped by the implementation to
// 0 .. max(0, range - client extent); every change of a position or of the size runs the frame
// refresh (for a size change: once with the old size, then with the new).
class ScrollPort {
  public:
    virtual ~ScrollPort() = default;
    virtual int outerWidth() const = 0;  // border included
    virtual int outerHeight() const = 0;
    virtual int horizontalRange() const = 0;  // = content width
    virtual int verticalRange() const = 0;    // = content height
    virtual void setRanges(int horizontal, int vertical) = 0;
    virtual int horizontalPosition() const = 0;
    virtual int verticalPosition() const = 0;
    virtual void setHorizontalPosition(int position) = 0;
    virtual void setVerticalPosition(int position) = 0;
};

// The floating name label (Label1); its position is relative to the viewport's visible corner.
class LabelPort {
  public:
    virtual ~LabelPort() = default;
    virtual void setLabelVisible(bool visible) = 0;
    virtual void setLabelCaption(std::string_view caption) = 0;
    virtual void setLabelLeft(int left) = 0;
    virtual void setLabelTop(int top) = 0;
};

// The status bar (StatusBar1).
class StatusPort {
  public:
    virtual ~StatusPort() = default;
    virtual void setPanelText(int panel, std::string_view text) = 0;
};

}  // namespace marventa

namespace marventa {

// Which city radio buttons are checked (RadioButton13 .. RadioButton20), read by the overview.
class CityButtonsPort {
  public:
    virtual ~CityButtonsPort() = default;
    virtual bool isCityButtonChecked(int radioButton) const = 0;
};

}  // namespace marventa
