#include "radio_button.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace marventa {

namespace {

// The buttons that exclude each other with `button`, in the order they were built (Tab order).
QList<RadioButton*> groupOf(RadioButton& button) {
    QWidget* parent = button.parentWidget();
    return parent != nullptr ? parent->findChildren<RadioButton*>(Qt::FindDirectChildrenOnly)
                             : QList<RadioButton*>{&button};
}

void setTabStops(const QList<RadioButton*>& group) {
    const bool anyChecked =
        std::any_of(group.begin(), group.end(), [](RadioButton* b) { return b->isChecked(); });
    for (RadioButton* b : group) {
        const bool tabStop = anyChecked ? b->isChecked() : b == group.front();
        b->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

bool isArrow(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

}  // namespace

RadioButton::RadioButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    setAutoExclusive(true);
    setTabStops(groupOf(*this));
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (on) {
            emit chosen();
        }
    });
}

void RadioButton::uncheckSilently() {
    const QSignalBlocker blocker(this);
    // An auto-exclusive button refuses to uncheck itself while it is the group's checked one.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}

// A change of checked state arrives through one of these two: setChecked from code, or a click.
void RadioButton::checkStateSet() {
    QRadioButton::checkStateSet();
    setTabStops(groupOf(*this));
}

void RadioButton::nextCheckState() {
    QRadioButton::nextCheckState();
    setTabStops(groupOf(*this));
}

void RadioButton::focusInEvent(QFocusEvent* event) {
    // Qt makes whichever button takes the focus the group's Tab stop: undone below.
    QRadioButton::focusInEvent(event);
    const QList<RadioButton*> group = groupOf(*this);
    // Qt checks the button an arrow moves to only when the one it leaves is checked. Checking
    // here, before the focus is announced, keeps Qt's order: a screen reader hears the button
    // already checked.
    const bool reachedByArrow = std::any_of(group.begin(), group.end(), [this](RadioButton* b) {
        return b != this && b->movingByArrow_;
    });
    if (reachedByArrow && !isChecked()) {
        click();
    }
    setTabStops(group);
}

void RadioButton::keyPressEvent(QKeyEvent* event) {
    movingByArrow_ = isArrow(event->key());
    QRadioButton::keyPressEvent(event);
    movingByArrow_ = false;
}

}  // namespace marventa
