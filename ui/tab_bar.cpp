#include "tab_bar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace marventa {

TabBar::TabBar(QWidget* parent) : QTabBar(parent) {
    setDrawBase(true);
    setExpanding(false);
    setUsesScrollButtons(false);
}

QSize TabBar::tabSizeHint(int index) const {
    constexpr int kPadding = 8;  // either side of the caption
    const int width = fontMetrics().horizontalAdvance(tabText(index)) + 2 * kPadding;
    return {width, QTabBar::tabSizeHint(index).height()};
}

void TabBar::changeTo(int index) {
    if (index < 0 || index >= count() || index == currentIndex()) {
        return;
    }
    emit aboutToChange();
    setCurrentIndex(index);
}

void TabBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(event->position().toPoint());
        if (index != currentIndex()) {
            changeTo(index);
        }
    }
    QTabBar::mousePressEvent(event);
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
