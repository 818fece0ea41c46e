#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace marventa {

class ListBox;
class TForm1;

namespace soak {

// Sends seeded random user events to the real window, each the way a user would make it: a
// click lands on whatever widget lies under the point, keys go to the focused control, and
// only the controls of the page on show are used. City maps and the province map cost a
// decode each time they come back, so choosing a button is a small share of the events.
class WindowEvents {
  public:
    WindowEvents(TForm1& form, std::uint64_t seed);

    // Sends one event; returns what it did, for the failure report.
    std::string next();

  private:
    std::string clickRadioButton();
    std::string clickRow();
    std::string typeLetter();
    std::string pressBackspace();
    std::string pressListKey();
    std::string dragInList();
    std::string pressRadioArrow();
    std::string pause();
    std::string clickMainMap();
    std::string clickOverview();
    std::string moveScrollBar();
    std::string pressScrollKey();
    std::string clickTab();
    std::string pressTabKey();
    std::string resizeWindow();

    ListBox* listOnShow() const;
    int pick(int count);  // 0 .. count - 1
    bool chance(double p);

    TForm1& form_;
    std::mt19937_64 random_;
};

}  // namespace soak
}  // namespace marventa
