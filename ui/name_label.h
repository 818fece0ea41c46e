#pragma once

#include "auto_size_label.h"
#include "navigation/ports.h"

namespace marventa {

// Label1: the place's name floating next to it on the main map. It lies above Image1 and
// takes the clicks that land on it, so they reach neither the map nor the viewport.
class NameLabel : public AutoSizeLabel, public LabelPort {
    Q_OBJECT

  public:
    explicit NameLabel(QWidget* parent);

    void setLabelVisible(bool visible) override;
    void setLabelCaption(std::string_view caption) override;
    void setLabelLeft(int left) override;
    void setLabelTop(int top) override;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace marventa
