#pragma once

#include <QWidget>

#include "click_tracker.h"

namespace marventa {

// A picture control (Image1, Image2): shows a picture unscaled from its top-left corner, so a
// point of the control is the same point of the picture, and reports left clicks there.
class PictureControl : public QWidget {
    Q_OBJECT

  public:
    explicit PictureControl(QWidget* parent) : QWidget(parent) {}

  signals:
    void clicked(QPoint picturePoint);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    ClickTracker click_;
};

}  // namespace marventa
