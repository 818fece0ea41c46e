#include "notebook.h"

#include <QKeyEvent>

#include "tab_bar.h"

namespace marventa {

Notebook::Notebook(QWidget* parent) : QTabWidget(parent), tabStrip_(new TabBar(this)) {
    setTabBar(tabStrip_);
    connect(tabStrip_, &TabBar::aboutToChange, this, &Notebook::pageAboutToChange);
}

void Notebook::keyPressEvent(QKeyEvent* event) {
    const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
    const int key = event->key();
    if (control && (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_PageUp ||
                    key == Qt::Key_PageDown)) {
        event->accept();
        return;
    }
    QTabWidget::keyPressEvent(event);
}

}  // namespace marventa
