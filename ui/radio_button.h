#pragma once

#include <QRadioButton>

#include "browser/ports.h"

namespace marventa {

// RadioButton1 .. RadioButton20. Buttons with the same parent exclude each other; chosen()
// is emitted only when the button goes from unchecked to checked. Only the checked button of a
// group is a tab stop.
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
};

}  // namespace marventa
