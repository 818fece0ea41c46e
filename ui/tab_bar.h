#pragma once

#include <QTabBar>

namespace marventa {

// The tab strip of TabbedNotebook1. Every change of the current tab, by any route (a click,
// Left/Right on the focused strip, a screen reader's press on a tab, code), emits
// aboutToChange() once, before the notebook shows the new page. Left/Right wrap at both ends;
// the wheel changes nothing.
class TabBar : public QTabBar {
    Q_OBJECT

  public:
    // Built before its notebook takes it (QTabWidget::setTabBar), so that aboutToChange() comes
    // ahead of the notebook's own switch of pages.
    explicit TabBar(QWidget* parent);

    // Switches as the user would; nothing for the current tab or one that does not exist.
    void changeTo(int index) { setCurrentIndex(index); }

  signals:
    void aboutToChange();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace marventa
