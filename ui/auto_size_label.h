#pragma once

#include <QLabel>

namespace marventa {

// A label that sizes itself to its caption, keeping its top-left corner. An empty caption
// measures as one space, so the label never collapses to nothing.
class AutoSizeLabel : public QLabel {
    Q_OBJECT

  public:
    AutoSizeLabel(const QString& caption, QWidget* parent);

    void setCaption(const QString& caption);
};

}  // namespace marventa
