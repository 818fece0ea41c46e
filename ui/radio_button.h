#pragma once

#include <QRadioButton>

#include "browser/ports.h"

namespace marventa {

// RadioButton1 .. RadioButton20. Buttons with the same parent form a group and exclude each
// other; chosen() is emitted only when the button goes from unchecked to checked.
//
// Tab stops: once a button of the group is checked, only the checked button is one; while none
// is, the group's first button is its one Tab stop, so the keyboard can reach the group.
// Whatever moves the focus (Tab, an arrow, the mouse, a screen reader), the group's Tab stops
// are set again as the focus arrives. An arrow key checks the button it moves to.
class RadioButton : public QRadioButton, public RadioButtonPort {
    Q_OBJECT

  public:
    RadioButton(const QString& caption, QWidget* parent);

    bool checked() const override { return isChecked(); }
    void uncheckSilently() override;

  signals:
    void chosen();

  protected:
    void checkStateSet() override;
    void nextCheckState() override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool movingByArrow_ = false;  // while an arrow key of this button moves the focus
};

}  // namespace marventa
