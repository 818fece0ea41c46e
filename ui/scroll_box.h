#pragma once

#include <QAbstractScrollArea>

#include "click_tracker.h"
#include "navigation/scroll_state.h"

namespace marventa {

// ScrollBox1: the main view. Its children (Image1, Label1) live on the viewport and move with
// the content; Image1 is kept as large as the content. The scrolling rules come from one
// ScrollState; the scroll bars only show it:
// increment 1, page step one client extent, a dragged thumb takes effect when released, no
// wheel or keyboard scrolling. realigned() follows every change of a position and every change of
// the outer size, once with the old size and once with the new.
class ScrollBox : public QAbstractScrollArea, public ScrollPort {
    Q_OBJECT

  public:
    // The outer size the window is designed with.
    ScrollBox(QSize designSize, QWidget* parent);

    int outerWidth() const override { return state_.outerWidth(); }
    int outerHeight() const override { return state_.outerHeight(); }
    int horizontalRange() const override { return state_.horizontalRange(); }
    int verticalRange() const override { return state_.verticalRange(); }
    void setPictureSize(Size picture) override;
    int horizontalPosition() const override { return state_.horizontalPosition(); }
    int verticalPosition() const override { return state_.verticalPosition(); }
    void setHorizontalPosition(int position) override;
    void setVerticalPosition(int position) override;

    const ScrollState& state() const { return state_; }

    // The child that shows the content (Image1): sized to the ranges from now on.
    void setContentWidget(QWidget* content);

  signals:
    void realigned();
    // A click on the viewport's own background, not on one of its children.
    void clicked();

  protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void onRealign();
    void showState();

    ScrollState state_;
    QPoint shownOffset_;  // the positions the children were last moved to
    QWidget* content_ = nullptr;
    bool resizing_ = false;
    ClickTracker click_;
};

}  // namespace marventa
