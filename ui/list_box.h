#pragma once

#include <QElapsedTimer>
#include <QListWidget>
#include <functional>

#include "browser/ports.h"
#include "type_ahead.h"

namespace marventa {

// ListBox1 .. ListBox3: a list of names, rows 13 pixels high, in the order they were appended.
// picked() is emitted for every selecting act of the user: a left click on a row (other buttons
// select nothing; Ctrl and Shift change nothing), a key that moves the selection, typed letters
// (the first row starting with the collected text) and a backspace that empties that text (row 0,
// or no row in an empty list). Changes made by the program emit nothing.
class ListBox : public QListWidget, public ListPort {
    Q_OBJECT

  public:
    static constexpr int kItemHeight = 13;
    static constexpr int kTypeAheadResetMs = 500;

    explicit ListBox(QWidget* parent);

    void appendName(std::string_view name) override;
    void emptyList() override;
    void enableList() override;
    std::optional<int> selectedRow() const override;

    void keyboardSearch(const QString& search) override;

  signals:
    void picked();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    void selectFirstMatch(const QString& text);
    void selectRowFromUser(std::optional<int> row);
    // Runs Qt's own handling of an input event and reports a selection it moved.
    void reportMoves(const std::function<void()>& handle);

    TypeAhead typeAhead_{kTypeAheadResetMs};
    QElapsedTimer clock_;
};

}  // namespace marventa
