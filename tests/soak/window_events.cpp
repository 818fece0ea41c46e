#include "window_events.h"

#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <array>
#include <string>

#include "list_box.h"
#include "map_image.h"
#include "notebook.h"
#include "overview_control.h"
#include "radio_button.h"
#include "scroll_box.h"
#include "tab_bar.h"
#include "unit1.h"

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

// A click as the platform delivers it: to the topmost widget under the point.
std::string clickAt(QWidget& area, QPoint point) {
    QWidget* target = area.childAt(point);
    if (target == nullptr) {
        target = &area;
    }
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&area, point));
    return at(point) + " on " + text(target->objectName());
}

QPoint pointIn(QRect area, int x, int y) {
    return area.topLeft() + QPoint(x, y);
}

struct NamedKey {
    Qt::Key key;
    const char* name;
};

// A key pressed on a control the user has focused first.
std::string press(QWidget& target, NamedKey key) {
    target.setFocus();
    QTest::keyClick(&target, key.key);
    const QString where = target.objectName();
    return std::string(key.name) + " in " +
           (where.isEmpty() ? std::string(target.metaObject()->className()) : text(where));
}

}  // namespace

WindowEvents::WindowEvents(TForm1& form, std::uint64_t seed) : form_(form), random_(seed) {}

std::string WindowEvents::next() {
    using Event = std::string (WindowEvents::*)();
    struct Kind {
        Event send;
        double weight;
    };
    static constexpr std::array<Kind, 15> kKinds{{
        {&WindowEvents::clickRow, 20},
        {&WindowEvents::dragInList, 3},
        {&WindowEvents::pressRadioArrow, 1},
        {&WindowEvents::pause, 0.3},
        {&WindowEvents::typeLetter, 14},
        {&WindowEvents::pressBackspace, 5},
        {&WindowEvents::pressListKey, 5},
        {&WindowEvents::clickMainMap, 12},
        {&WindowEvents::clickOverview, 8},
        {&WindowEvents::moveScrollBar, 12},
        {&WindowEvents::pressScrollKey, 3},
        {&WindowEvents::clickTab, 4},
        {&WindowEvents::pressTabKey, 1},
        {&WindowEvents::clickRadioButton, 8},
        {&WindowEvents::resizeWindow, 3},
    }};
    std::array<double, kKinds.size()> weights{};
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        weights[i] = kKinds[i].weight;
    }
    std::discrete_distribution<std::size_t> kind(weights.begin(), weights.end());
    return (this->*kKinds[kind(random_)].send)();
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
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(6, button.height() / 2));
    return "click RadioButton" + std::to_string(n) + " \"" + text(button.text()) + "\"";
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
        return "click in " + text(list->objectName()) + " " +
               clickAt(rows, pointIn(rows.rect(), pick(rows.width()), pick(rows.height())));
    }
    list->scrollToItem(list->item(row));
    QTest::mouseClick(&rows, Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    return "click row " + std::to_string(row) + " of " + text(list->objectName());
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
    list->setFocus();
    QTest::keyClick(list, letter);
    return std::string("type '") + letter + "' in " + text(list->objectName());
}

std::string WindowEvents::pressBackspace() {
    ListBox* list = listOnShow();
    if (list == nullptr) {
        return clickTab();
    }
    return press(*list, {Qt::Key_Backspace, "Backspace"});
}

std::string WindowEvents::pressListKey() {
    ListBox* list = listOnShow();
    if (list == nullptr) {
        return clickTab();
    }
    static constexpr std::array<NamedKey, 6> kKeys{{
        {Qt::Key_Down, "Down"},
        {Qt::Key_Up, "Up"},
        {Qt::Key_PageDown, "PageDown"},
        {Qt::Key_PageUp, "PageUp"},
        {Qt::Key_Home, "Home"},
        {Qt::Key_End, "End"},
    }};
    return press(*list, kKeys[static_cast<std::size_t>(pick(static_cast<int>(kKeys.size())))]);
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
            static constexpr std::array<NamedKey, 4> kKeys{{
                {Qt::Key_Up, "Up"},
                {Qt::Key_Down, "Down"},
                {Qt::Key_Left, "Left"},
                {Qt::Key_Right, "Right"},
            }};
            return press(*button, kKeys[static_cast<std::size_t>(pick(4))]);
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
    QWidget& view = *form_.widgets().ScrollBox1->viewport();
    return "click main view " + clickAt(view, QPoint(pick(view.width()), pick(view.height())));
}

std::string WindowEvents::clickOverview() {
    OverviewControl& overview = *form_.widgets().Image2;
    const QPoint point(pick(overview.width()), pick(overview.height()));
    QTest::mouseClick(&overview, Qt::LeftButton, {}, point);
    return "click overview " + at(point);
}

std::string WindowEvents::moveScrollBar() {
    ScrollBox& box = *form_.widgets().ScrollBox1;
    const bool horizontal = chance(0.5);
    QScrollBar& bar = horizontal ? *box.horizontalScrollBar() : *box.verticalScrollBar();
    const std::string name = horizontal ? "horizontal bar " : "vertical bar ";
    if (!bar.isVisible()) {
        return name + "hidden, nothing to move";
    }
    switch (pick(7)) {
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
        default: {
            // A dragged thumb takes effect when it is released.
            const int to = pick(bar.maximum() + 1);
            bar.setSliderDown(true);
            bar.setSliderPosition(to);
            bar.setSliderDown(false);
            return name + "dragged to " + std::to_string(to);
        }
    }
}

std::string WindowEvents::pressScrollKey() {
    static constexpr std::array<NamedKey, 6> kKeys{{
        {Qt::Key_Left, "Left"},
        {Qt::Key_Right, "Right"},
        {Qt::Key_Up, "Up"},
        {Qt::Key_Down, "Down"},
        {Qt::Key_PageUp, "PageUp"},
        {Qt::Key_PageDown, "PageDown"},
    }};
    return press(*form_.widgets().ScrollBox1,
                 kKeys[static_cast<std::size_t>(pick(static_cast<int>(kKeys.size())))]);
}

std::string WindowEvents::clickTab() {
    TabBar& tabs = form_.widgets().TabbedNotebook1->tabStrip();
    const int index = pick(tabs.count());
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(index).center());
    return "click tab " + std::to_string(index);
}

std::string WindowEvents::pressTabKey() {
    return press(form_.widgets().TabbedNotebook1->tabStrip(),
                 chance(0.5) ? NamedKey{Qt::Key_Left, "Left"} : NamedKey{Qt::Key_Right, "Right"});
}

std::string WindowEvents::resizeWindow() {
    form_.resize(500 + pick(900), 400 + pick(600));
    return "resize to " + std::to_string(form_.width()) + " x " + std::to_string(form_.height());
}

}  // namespace marventa::soak
