#include "tab_bar.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "scaled_text.h"

namespace marventa {

namespace {

// Narrower padding around the captions than Fusion's, so all four tabs fit the side panel.
class NarrowTabsStyle : public TextStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace) {
            return 12;
        }
        return TextStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

TabBar::TabBar(QWidget* parent) : QTabBar(parent) {
    auto* style = new NarrowTabsStyle;
    style->setParent(this);
    setStyle(style);
    setDrawBase(true);
    setExpanding(false);
    setUsesScrollButtons(false);
    // setCurrentIndex, where every route to another tab ends, is not virtual; its signal is. Slots
    // run in the order they were connected, and QTabWidget connects its page switch only when it
    // takes this bar: this one runs first, while the old page is still the one shown.
    connect(this, &QTabBar::currentChanged, this, &TabBar::aboutToChange);
}

void TabBar::keyPressEvent(QKeyEvent* event) {
    if (count() == 0 || (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right)) {
        QTabBar::keyPressEvent(event);
        return;
    }
    const int step = event->key() == Qt::Key_Right ? 1 : -1;
    changeTo((currentIndex() + step + count()) % count());
    event->accept();
}

void TabBar::wheelEvent(QWheelEvent* event) {
    event->accept();
}

}  // namespace marventa
