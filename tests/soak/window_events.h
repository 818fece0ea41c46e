#pragma once

#include <QPoint>
#include <Qt>
#include <cstdint>
#include <random>
#include <string>

class QScrollBar;
class QWidget;

namespace marventa {

class ListBox;
class TForm1;

namespace soak {

// One event sent, for the failure report, and what it must leave alone.
struct SentEvent {
    std::string what;
    // Keys on the main view, and clicks the map does not take (other buttons, the label): the
    // scroll positions must stay as they were.
    bool keepsPositions = false;
};

// Sends seeded random user events to the real window, each the way a user would make it: a
// click lands on whatever widget lies under the point, with any button, Ctrl and Shift, once
// or twice; a right press opens the context menu the platform would; keys go to a control the
// user can focus. Only the controls of the page on show are used. City maps and the province
// map cost a decode each time they come back, so choosing a button is a small share of the
// events.
class WindowEvents {
  public:
    WindowEvents(TForm1& form, std::uint64_t seed);

    SentEvent next();

  private:
    struct Gesture {
        Qt::MouseButton button = Qt::LeftButton;
        Qt::KeyboardModifiers modifiers;
        bool twice = false;
    };

    std::string clickRadioButton();
    std::string clickRow();
    std::string typeLetter();
    std::string pressBackspace();
    std::string pressListKey();
    std::string dragInList();
    std::string pressRadioArrow();
    std::string pause();
    std::string clickMainMap();
    std::string clickLabel();
    std::string clickOverview();
    std::string moveScrollBar();
    std::string clickOn(QScrollBar& bar, bool horizontal);
    std::string pressViewKey();
    std::string pressFocusedKey();
    std::string clickAnywhere();
    std::string clickTab();
    std::string pressTabKey();
    std::string resizeWindow();

    // Mostly a plain left click, otherwise any button, modifiers and count.
    Gesture gesture();
    // Clicks at `point` of `area` on the topmost widget there, found again for a second click
    // (the first may have moved the content under the mouse).
    std::string click(QWidget& area, QPoint point, Gesture how);
    void openContextMenu(QWidget& target, QPoint local, Qt::KeyboardModifiers modifiers);
    void answerMenu();
    Qt::KeyboardModifiers modifiers();  // none half the time, else Ctrl, Shift or both
    std::string pressAnyKey(QWidget& target);

    ListBox* listOnShow() const;
    int pick(int count);  // 0 .. count - 1
    bool chance(double p);

    TForm1& form_;
    std::mt19937_64 random_;
    bool keepsPositions_ = false;  // set by the event being sent
    std::string menuAnswer_;       // what the last context menu was answered with
};

}  // namespace soak
}  // namespace marventa
