#include "window_events.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "navigation/view_mode.h"
#include "ui/list_box.h"
#include "ui/map_image.h"
#include "ui/name_label.h"
#include "ui/notebook.h"
#include "ui/overview_control.h"
#include "ui/radio_button.h"
#include "ui/scroll_box.h"
#include "ui/tab_bar.h"
#include "ui/unit1.h"

namespace marventa::soak {

namespace {

constexpr int kStandardPage = 0;
constexpr int kCitiesPage = 1;
constexpr int kExtrasPage = 2;

std::string text(const QString& s) {
    return s.toStdString();
}

std::string at(QPoint p) {
    return "(" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ")";
}

std::string nameOf(const QWidget& widget) {
    const QString name = widget.objectName();
    return name.isEmpty() ? std::string(widget.metaObject()->className()) : text(name);
}

std::string modifierNames(Qt::KeyboardModifiers modifiers) {
    std::string names;
    if (modifiers & Qt::ControlModifier) {
        names += "Ctrl+";
    }
    if (modifiers & Qt::ShiftModifier) {
        names += "Shift+";
    }
    return names;
}

QPoint pointIn(QRect area, int x, int y) {
    return area.topLeft() + QPoint(x, y);
}

struct NamedKey {
    Qt::Key key;
    const char* name;
};

constexpr std::array<NamedKey, 10> kNavigationKeys{{
    {Qt::Key_Left, "Left"},
    {Qt::Key_Right, "Right"},
    {Qt::Key_Up, "Up"},
    {Qt::Key_Down, "Down"},
    {Qt::Key_PageUp, "PageUp"},
    {Qt::Key_PageDown, "PageDown"},
    {Qt::Key_Home, "Home"},
    {Qt::Key_End, "End"},
    {Qt::Key_Space, "Space"},
    {Qt::Key_Backspace, "Backspace"},
}};

// A key pressed on a control the user has focused first.
std::string press(QWidget& target, NamedKey key, Qt::KeyboardModifiers modifiers = {}) {
    target.setFocus();
    QTest::keyClick(&target, key.key, modifiers);
    return modifierNames(modifiers) + key.name + " in " + nameOf(target);
}

}  // namespace

WindowEvents::WindowEvents(TForm1& form, std::uint64_t seed) : form_(form), random_(seed) {}

SentEvent WindowEvents::next() {
    using Event = std::string (WindowEvents::*)();
    struct Kind {
        Event send;
        double weight;
    };
    static constexpr std::array<Kind, 18> kKinds{{
        // The lists
        {&WindowEvents::clickRow, 24},
        {&WindowEvents::dragInList, 3},
        {&WindowEvents::typeLetter, 14},
        {&WindowEvents::pressBackspace, 5},
        {&WindowEvents::pressListKey, 5},
        {&WindowEvents::pause, 0.3},
        // The main view and the overview
        {&WindowEvents::clickMainMap, 12},
        {&WindowEvents::clickLabel, 3},
        {&WindowEvents::clickOverview, 8},
        {&WindowEvents::moveScrollBar, 14},
        {&WindowEvents::pressViewKey, 3},
        // The buttons and pages
        {&WindowEvents::clickRadioButton, 11},
        {&WindowEvents::pressRadioArrow, 1},
        {&WindowEvents::clickTab, 4},
        {&WindowEvents::pressTabKey, 1},
        // Anywhere
        {&WindowEvents::pressFocusedKey, 5},
        {&WindowEvents::clickAnywhere, 4},
        {&WindowEvents::resizeWindow, 3},
    }};
    std::array<double, kKinds.size()> weights{};
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        weights[i] = kKinds[i].weight;
    }
    std::discrete_distribution<std::size_t> kind(weights.begin(), weights.end());
    keepsPositions_ = false;
    std::string what = (this->*kKinds[kind(random_)].send)();
    return {std::move(what), keepsPositions_};
}

WindowEvents::Gesture WindowEvents::gesture() {
    Gesture how;
    if (chance(0.6)) {
        return how;
    }
    static constexpr std::array<Qt::MouseButton, 3> kButtons{Qt::LeftButton, Qt::RightButton,
                                                             Qt::MiddleButton};
    how.button = kButtons[static_cast<std::size_t>(pick(3))];
    how.modifiers = modifiers();
    how.twice = chance(0.25);
    return how;
}

std::string WindowEvents::click(QWidget& area, QPoint point, Gesture how) {
    std::string where;
    for (int n = 0; n < (how.twice ? 2 : 1); ++n) {
        QWidget* target = area.childAt(point);
        if (target == nullptr) {
            target = &area;
        }
        const QPoint local = target->mapFrom(&area, point);
        menuAnswer_.clear();
        // The platform's order: press (a right one opens the context menu), then for a
        // second click the double-click event, then release.
        QTest::mousePress(target, how.button, how.modifiers, local);
        if (how.button == Qt::RightButton) {
            openContextMenu(*target, local, how.modifiers);
        }
        if (n == 1) {
            QTest::mouseDClick(target, how.button, how.modifiers, local);
        }
        QTest::mouseRelease(target, how.button, how.modifiers, local);
        where += (n == 0 ? " on " : ", then on ") + nameOf(*target) + menuAnswer_;
    }
    static constexpr std::array<const char*, 3> kButtonNames{"left", "right", "middle"};
    const std::size_t button = how.button == Qt::LeftButton    ? 0
                               : how.button == Qt::RightButton ? 1
                                                               : 2;
    return std::string(kButtonNames[button]) + " " + modifierNames(how.modifiers) +
           (how.twice ? "double-click " : "click ") + at(point) + where;
}

// As the platform does on a right press: the widget (or the first parent that takes it) gets
// the context menu event. A menu runs its own event loop, which answerMenu ends.
void WindowEvents::openContextMenu(QWidget& target, QPoint local, Qt::KeyboardModifiers modifiers) {
    QTimer::singleShot(0, &form_, [this] { answerMenu(); });
    QContextMenuEvent event(QContextMenuEvent::Mouse, local, target.mapToGlobal(local), modifiers);
    QCoreApplication::sendEvent(&target, &event);
}

void WindowEvents::answerMenu() {
    QWidget* popup = QApplication::activePopupWidget();
    if (popup == nullptr) {
        return;
    }
    if (chance(0.5)) {
        // Walks down to an entry and takes it, as the user would with the keys.
        const int steps = 1 + pick(8);
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(popup, Qt::Key_Down);
        }
        const auto* menu = qobject_cast<QMenu*>(popup);
        const QAction* entry = menu != nullptr ? menu->activeAction() : nullptr;
        menuAnswer_ = ", menu entry \"" + (entry != nullptr ? text(entry->text()) : "") + "\"";
        QTest::keyClick(popup, Qt::Key_Return);
    }
    if (popup->isVisible()) {
        menuAnswer_ = ", menu closed";
        QTest::keyClick(popup, Qt::Key_Escape);
    }
    if (popup->isVisible()) {
        popup->close();
    }
}

Qt::KeyboardModifiers WindowEvents::modifiers() {
    switch (pick(6)) {
        case 0:
            return Qt::ControlModifier;
        case 1:
            return Qt::ShiftModifier;
        case 2:
            return Qt::ControlModifier | Qt::ShiftModifier;
        default:
            return Qt::NoModifier;
    }
}

// Any key of the alphabet: navigation keys, Space, Backspace or a letter, Ctrl and Shift or not.
std::string WindowEvents::pressAnyKey(QWidget& target) {
    static constexpr std::array<NamedKey, 26> kLetters{{
        {Qt::Key_A, "A"}, {Qt::Key_B, "B"}, {Qt::Key_C, "C"}, {Qt::Key_D, "D"}, {Qt::Key_E, "E"},
        {Qt::Key_F, "F"}, {Qt::Key_G, "G"}, {Qt::Key_H, "H"}, {Qt::Key_I, "I"}, {Qt::Key_J, "J"},
        {Qt::Key_K, "K"}, {Qt::Key_L, "L"}, {Qt::Key_M, "M"}, {Qt::Key_N, "N"}, {Qt::Key_O, "O"},
        {Qt::Key_P, "P"}, {Qt::Key_Q, "Q"}, {Qt::Key_R, "R"}, {Qt::Key_S, "S"}, {Qt::Key_T, "T"},
        {Qt::Key_U, "U"}, {Qt::Key_V, "V"}, {Qt::Key_W, "W"}, {Qt::Key_X, "X"}, {Qt::Key_Y, "Y"},
        {Qt::Key_Z, "Z"},
    }};
    const NamedKey key = chance(0.3) ? kLetters[static_cast<std::size_t>(pick(26))]
                                     : kNavigationKeys[static_cast<std::size_t>(
                                           pick(static_cast<int>(kNavigationKeys.size())))];
    return press(target, key, modifiers());
}

int WindowEvents::pick(int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random_);
}

bool WindowEvents::chance(double p) {
    return std::bernoulli_distribution(p)(random_);
}

ListBox* WindowEvents::listOnShow() const {
    const FormWidgets& ui = form_.widgets();
    switch (ui.TabbedNotebook1->currentIndex()) {
        case kStandardPage:
            return ui.ListBox1;
        case kCitiesPage:
            return ui.ListBox3;
        case kExtrasPage:
            return ui.ListBox2;
        default:
            return nullptr;  // "Info" has no list
    }
}

std::string WindowEvents::clickRadioButton() {
    static constexpr std::array<int, 10> kCategories{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    static constexpr std::array<int, 8> kCities{13, 14, 15, 16, 17, 18, 19, 20};
    int n = 0;
    switch (form_.widgets().TabbedNotebook1->currentIndex()) {
        case kStandardPage:
            n = kCategories[static_cast<std::size_t>(pick(10))];
            break;
        case kCitiesPage:
            n = kCities[static_cast<std::size_t>(pick(8))];
            break;
        case kExtrasPage:
            n = 11 + pick(2);
            break;
        default:
            return clickTab();
    }
    RadioButton& button = form_.widgets().radioButton(n);
    return "RadioButton" + std::to_string(n) + " \"" + text(button.text()) +
           "\": " + click(button, QPoint(6, button.height() / 2), gesture());
}

std::string WindowEvents::clickRow() {
    ListBox* list = listOnShow();
    if (list == nullptr) {
        return clickTab();
    }
    QWidget& rows = *list->viewport();
    const int row = pick(list->count() + 1);
    if (row == list->count()) {
        // Below the last row, or anywhere in an empty list.
        return "in " + text(list->objectName()) + " " +
               click(rows, pointIn(rows.rect(), pick(rows.width()), pick(rows.height())),
                     gesture());
    }
    list->scrollToItem(list->item(row));
    return "row " + std::to_string(row) + " of " + text(list->objectName()) + ": " +
           click(rows, list->visualItemRect(list->item(row)).center(), gesture());
}

std::string WindowEvents::typeLetter() {
    ListBox* list = listOnShow();
    if (list == nullptr) {
        return clickTab();
    }
    // Mostly a letter that starts (or continues) a name of the list, sometimes any letter.
    char letter = static_cast<char>('a' + pick(26));
    if (list->count() > 0 && chance(0.75)) {
        const QString name = list->item(pick(list->count()))->text();
        const QChar c = name.at(std::min<qsizetype>(pick(3), name.size() - 1));
        if (c.unicode() < 0x80 && c.isPrint()) {
            letter = static_cast<char>(c.unicode());
        }
    }
    if (letter >= 'a' && letter <= 'z' && chance(0.5)) {
        letter = static_cast<char>(letter - 'a' + 'A');
    }
    // Now and then with Ctrl held, which types nothing.
    const Qt::KeyboardModifiers held = chance(0.1) ? Qt::ControlModifier : Qt::NoModifier;
    list->setFocus();
    QTest::keyClick(list, letter, held);
    return "type " + modifierNames(held) + "'" + letter + "' in " + text(list->objectName());
}

std::string WindowEvents::pressBackspace() {
    ListBox* list = listOnShow();
    if (list == nullptr) {
        return clickTab();
    }
    return press(*list, {Qt::Key_Backspace, "Backspace"},
                 chance(0.8) ? Qt::NoModifier : modifiers());
}

std::string WindowEvents::pressListKey() {
    ListBox* list = listOnShow();
    if (list == nullptr) {
        return clickTab();
    }
    // The navigation keys and Space, Backspace left out: pressBackspace sends it.
    const auto key = static_cast<std::size_t>(pick(static_cast<int>(kNavigationKeys.size()) - 1));
    return press(*list, kNavigationKeys[key], modifiers());
}

std::string WindowEvents::dragInList() {
    ListBox* list = listOnShow();
    if (list == nullptr || list->count() == 0) {
        return clickRow();
    }
    // From one row to a nearby one with the button held: the selection follows the mouse.
    const int from = pick(list->count());
    const int to = std::clamp(from + pick(9) - 4, 0, list->count() - 1);
    list->scrollToItem(list->item(from));
    QWidget& rows = *list->viewport();
    const QPoint start = list->visualItemRect(list->item(from)).center();
    const QPoint end = list->visualItemRect(list->item(to)).center();
    QTest::mousePress(&rows, Qt::LeftButton, {}, start);
    QTest::mouseMove(&rows, end);
    QTest::mouseRelease(&rows, Qt::LeftButton, {}, end);
    return "drag from row " + std::to_string(from) + " to row " + std::to_string(to) + " of " +
           text(list->objectName());
}

std::string WindowEvents::pressRadioArrow() {
    // Only the checked button of a group takes the focus; an arrow key checks its neighbour.
    for (RadioButton* button : form_.widgets().radioButtons) {
        if (button->isChecked() && button->isVisible()) {
            return press(*button, kNavigationKeys[static_cast<std::size_t>(pick(4))]);
        }
    }
    return clickRadioButton();
}

std::string WindowEvents::pause() {
    // Long enough for a list to forget the letters typed so far.
    QTest::qWait(ListBox::kTypeAheadResetMs + 100);
    return "pause";
}

std::string WindowEvents::clickMainMap() {
    const FormWidgets& ui = form_.widgets();
    QWidget& view = *ui.ScrollBox1->viewport();
    const QPoint point(pick(view.width()), pick(view.height()));
    const Gesture how = gesture();
    // Only a left click on the map centres it; the label takes the clicks that land on it.
    keepsPositions_ = how.button != Qt::LeftButton || view.childAt(point) == ui.Label1;
    return "main view " + click(view, point, how);
}

std::string WindowEvents::clickLabel() {
    const FormWidgets& ui = form_.widgets();
    QWidget& view = *ui.ScrollBox1->viewport();
    const QRect shown = ui.Label1->geometry() & view.rect();
    if (!ui.Label1->isVisible() || shown.isEmpty()) {
        return clickMainMap();
    }
    keepsPositions_ = true;
    return "Label1 " +
           click(view, pointIn(shown, pick(shown.width()), pick(shown.height())), gesture());
}

std::string WindowEvents::clickOverview() {
    OverviewControl& overview = *form_.widgets().Image2;
    const QPoint point(pick(overview.width()), pick(overview.height()));
    const Gesture how = gesture();
    keepsPositions_ = how.button != Qt::LeftButton || ViewMode != ProvinceView;
    return "overview " + click(overview, point, how);
}

std::string WindowEvents::moveScrollBar() {
    ScrollBox& box = *form_.widgets().ScrollBox1;
    const bool horizontal = chance(0.5);
    QScrollBar& bar = horizontal ? *box.horizontalScrollBar() : *box.verticalScrollBar();
    const std::string name = horizontal ? "horizontal bar " : "vertical bar ";
    if (!bar.isVisible()) {
        return name + "hidden, nothing to move";
    }
    switch (pick(9)) {
        case 0:
            bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return name + "arrow +1";
        case 1:
            bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
            return name + "arrow -1";
        case 2:
            bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
            return name + "page +";
        case 3:
            bar.triggerAction(QAbstractSlider::SliderPageStepSub);
            return name + "page -";
        case 4:
            bar.triggerAction(chance(0.5) ? QAbstractSlider::SliderToMinimum
                                          : QAbstractSlider::SliderToMaximum);
            return name + "to an end";
        case 5:
        case 6: {
            // A dragged thumb takes effect when it is released.
            const int to = pick(bar.maximum() + 1);
            bar.setSliderDown(true);
            bar.setSliderPosition(to);
            bar.setSliderDown(false);
            return name + "dragged to " + std::to_string(to);
        }
        default:
            return name + clickOn(bar, horizontal);
    }
}

// A click with the mouse on the bar, any button: Qt's own ways of moving it, a middle or Shift
// click jumping to the point, a right click opening its menu.
std::string WindowEvents::clickOn(QScrollBar& bar, bool horizontal) {
    // The arrows are a few pixels at each end: aim at them a third of the time.
    const int length = horizontal ? bar.width() : bar.height();
    const int thickness = horizontal ? bar.height() : bar.width();
    const int along = chance(0.33) ? (chance(0.5) ? pick(thickness) : length - 1 - pick(thickness))
                                   : pick(length);
    const int across = pick(thickness);
    return click(bar, horizontal ? QPoint(along, across) : QPoint(across, along), gesture());
}

std::string WindowEvents::pressViewKey() {
    keepsPositions_ = true;
    return pressAnyKey(*form_.widgets().ScrollBox1);
}

std::string WindowEvents::pressFocusedKey() {
    // Whatever the user can reach with Tab on the page on show (the checked radio buttons, the
    // list, the tab strip, the main view, the texts of "Info").
    std::vector<QWidget*> focusable;
    for (QWidget* widget : form_.findChildren<QWidget*>()) {
        if (widget->isVisible() && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->focusProxy() == nullptr) {
            focusable.push_back(widget);
        }
    }
    if (focusable.empty()) {
        return pause();
    }
    QWidget& target = *focusable[static_cast<std::size_t>(pick(std::ssize(focusable)))];
    keepsPositions_ = &target == form_.widgets().ScrollBox1;
    return pressAnyKey(target);
}

std::string WindowEvents::clickAnywhere() {
    const QPoint point(pick(form_.width()), pick(form_.height()));
    return "window " + click(form_, point, gesture());
}

std::string WindowEvents::clickTab() {
    TabBar& tabs = form_.widgets().TabbedNotebook1->tabStrip();
    const int index = pick(tabs.count());
    return "tab " + std::to_string(index) + " " +
           click(tabs, tabs.tabRect(index).center(), gesture());
}

std::string WindowEvents::pressTabKey() {
    return press(form_.widgets().TabbedNotebook1->tabStrip(),
                 kNavigationKeys[static_cast<std::size_t>(pick(2))]);
}

std::string WindowEvents::resizeWindow() {
    // Each axis now and then beyond the largest city map (2160 x 2167 in a view some 200 pixels
    // narrower and 20 lower than the window), so a map can be smaller than the view on one axis
    // or both.
    const int width = chance(0.6) ? 500 + pick(900) : 1400 + pick(1001);
    const int height = chance(0.6) ? 400 + pick(600) : 1000 + pick(1301);
    form_.resize(width, height);
    return "resize to " + std::to_string(form_.width()) + " x " + std::to_string(form_.height());
}

}  // namespace marventa::soak
