#pragma once

#include <QTabBar>

namespace marventa {

// The tab strip of TabbedNotebook1. A user's move to another tab (a click, or Left/Right on
// the focused strip, wrapping at both ends) emits aboutToChange() while the old page is still
// current, then switches. The wheel changes nothing.
class TabBar : public QTabBar {
    Q_OBJECT

  public:
    explicit TabBar(QWidget* parent);

    // Switches as the user would: the hook first, then the page; nothing for the current tab.
    void changeTo(int index);

  signals:
    void aboutToChange();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace marventa
