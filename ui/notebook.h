#pragma once

#include <QTabWidget>

namespace marventa {

class TabBar;

// TabbedNotebook1: pages behind a tab strip. pageAboutToChange() runs once before every change
// of page once the window is built, whatever made it; Ctrl+Tab and Ctrl+PageUp/PageDown change
// nothing.
class Notebook : public QTabWidget {
    Q_OBJECT

  public:
    explicit Notebook(QWidget* parent);

    TabBar& tabStrip() const { return *tabStrip_; }

  signals:
    void pageAboutToChange();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TabBar* tabStrip_;
};

}  // namespace marventa
