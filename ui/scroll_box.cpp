#include "scroll_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QWheelEvent>

namespace marventa {

ScrollBox::ScrollBox(QSize designSize, QWidget* parent)
    : QAbstractScrollArea(parent),
      state_(designSize.width(), designSize.height(),
             style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)) {
    resize(designSize);
    // A 2-pixel sunken edge: the client extent is the outer size minus 4.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    // Where a picture is smaller than the view, the button face shows, not a white page.
    viewport()->setBackgroundRole(QPalette::Window);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(1);
        bar->setTracking(false);
        bar->installEventFilter(this);
    }
    state_.setOnRealign([this] { onRealign(); });
    showState();
}

void ScrollBox::setContentWidget(QWidget* content) {
    content_ = content;
    showState();
}

void ScrollBox::setPictureSize(Size picture) {
    state_.setPictureSize(picture);
    // A new range can show or hide a bar without moving anything.
    showState();
}

void ScrollBox::setHorizontalPosition(int position) {
    state_.setHorizontalPosition(position);
}

void ScrollBox::setVerticalPosition(int position) {
    state_.setVerticalPosition(position);
}

void ScrollBox::onRealign() {
    // While the outer size changes the state reports the old size first; the bars are shown
    // once it has the new one.
    if (!resizing_) {
        showState();
    }
    emit realigned();
}

void ScrollBox::showState() {
    const auto policy = [](bool shown) {
        return shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    };
    // Setting a policy lays the children out again even when it does not change.
    if (horizontalScrollBarPolicy() != policy(state_.horizontalBarShown())) {
        setHorizontalScrollBarPolicy(policy(state_.horizontalBarShown()));
    }
    if (verticalScrollBarPolicy() != policy(state_.verticalBarShown())) {
        setVerticalScrollBarPolicy(policy(state_.verticalBarShown()));
    }
    const struct {
        QScrollBar* bar;
        int maximum;
        int page;
        int position;
    } axes[] = {
        {horizontalScrollBar(), state_.maxHorizontalPosition(), state_.clientWidth(),
         state_.horizontalPosition()},
        {verticalScrollBar(), state_.maxVerticalPosition(), state_.clientHeight(),
         state_.verticalPosition()},
    };
    for (const auto& axis : axes) {
        // The bars follow the state; they must not report it back as a user's scroll.
        const QSignalBlocker blocker(axis.bar);
        axis.bar->setRange(0, axis.maximum);
        axis.bar->setPageStep(axis.page);
        axis.bar->setValue(axis.position);
    }
    if (content_ != nullptr) {
        content_->resize(state_.horizontalRange(), state_.verticalRange());
    }
    const QPoint offset(state_.horizontalPosition(), state_.verticalPosition());
    if (offset != shownOffset_) {
        const QPoint delta = shownOffset_ - offset;
        shownOffset_ = offset;
        viewport()->scroll(delta.x(), delta.y());
    }
}

void ScrollBox::scrollContentsBy(int, int) {
    // The user moved a bar (arrow, page, released thumb, keys): the bar's value is the request.
    state_.setHorizontalPosition(horizontalScrollBar()->value());
    state_.setVerticalPosition(verticalScrollBar()->value());
    showState();
}

bool ScrollBox::event(QEvent* event) {
    const bool handled = QAbstractScrollArea::event(event);
    if (event->type() == QEvent::Resize) {
        resizing_ = true;
        state_.resize(width(), height());
        resizing_ = false;
        showState();
    }
    return handled;
}

bool ScrollBox::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        click_.press(static_cast<QMouseEvent&>(*event));
    } else if (event->type() == QEvent::MouseButtonRelease) {
        if (click_.release(static_cast<QMouseEvent&>(*event), viewport()->rect())) {
            emit clicked();
        }
    }
    return QAbstractScrollArea::viewportEvent(event);
}

bool ScrollBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        return true;  // a wheel over a bar would scroll otherwise
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void ScrollBox::wheelEvent(QWheelEvent* event) {
    event->accept();
}

void ScrollBox::keyPressEvent(QKeyEvent* event) {
    // The view moves only by its scroll bars; keys go on to the window.
    event->ignore();
}

}  // namespace marventa
