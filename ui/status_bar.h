#pragma once

#include <QWidget>
#include <array>

#include "browser/ports.h"
#include "navigation/ports.h"

class QLabel;
class QSizeGrip;

namespace marventa {

// StatusBar1: three sunken panels side by side and a size grip in the right corner. Panels 0
// and 1 keep their widths; the last one always reaches the bar's right edge.
class StatusBar : public QWidget, public StatusPort, public StatusBarPort {
    Q_OBJECT

  public:
    explicit StatusBar(QWidget* parent);

    void setPanelText(int panel, std::string_view text) override;
    int barWidth() const override { return width(); }
    void setPanelWidth(int panel, int width) override;

    void setPanelCaption(int panel, const QString& caption);
    QString panelText(int panel) const;
    int panelWidth(int panel) const;  // as stored; the last panel is drawn wider
    QLabel& panel(int index) const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::array<QLabel*, 3> panels_{};
    std::array<int, 3> storedWidths_{50, 150, 120};
    QSizeGrip* grip_;
};

}  // namespace marventa
