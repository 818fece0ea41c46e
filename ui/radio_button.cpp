#include "radio_button.h"

#include <QSignalBlocker>

namespace marventa {

RadioButton::RadioButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    setAutoExclusive(true);
    setFocusPolicy(Qt::ClickFocus);
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

void RadioButton::checkStateSet() {
    QRadioButton::checkStateSet();
    setFocusPolicy(isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

}  // namespace marventa
