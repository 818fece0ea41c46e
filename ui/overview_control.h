#pragma once

#include "navigation/overview_bitmap.h"
#include "picture_control.h"

namespace marventa {

// Image2: the overview bitmap unscaled at the top-left corner of a 198 x 164 control, so the
// bitmap's two rightmost columns are cut off and the two bottom rows stay uncovered.
class OverviewControl : public PictureControl {
    Q_OBJECT

  public:
    explicit OverviewControl(QWidget* parent);

    // The bitmap to show; it must outlive the control. Call update() after it changes.
    void showBitmap(const OverviewBitmap& bitmap);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const OverviewBitmap* bitmap_ = nullptr;
};

}  // namespace marventa
