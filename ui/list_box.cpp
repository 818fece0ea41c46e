#include "list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "qstring_view.h"

namespace marventa {

namespace {

class FixedHeightDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), ListBox::kItemHeight};
    }
};

}  // namespace

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new FixedHeightDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSortingEnabled(false);
    clock_.start();
}

void ListBox::appendName(std::string_view name) {
    const QSignalBlocker blocker(this);
    addItem(fromCore(name));
}

void ListBox::emptyList() {
    const QSignalBlocker blocker(this);
    clear();
}

void ListBox::enableList() {
    setEnabled(true);
}

std::optional<int> ListBox::selectedRow() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return row(selected.front());
}

void ListBox::keyboardSearch(const QString& search) {
    selectFirstMatch(typeAhead_.type(search, clock_.elapsed()));
}

void ListBox::selectFirstMatch(const QString& text) {
    QStringList names;
    names.reserve(count());
    for (int i = 0; i < count(); ++i) {
        names.append(item(i)->text());
    }
    if (const std::optional<int> match = firstRowStartingWith(names, text)) {
        selectRowFromUser(match);
    }
}

void ListBox::selectRowFromUser(std::optional<int> row) {
    {
        const QSignalBlocker blocker(this);
        if (row && *row < count()) {
            setCurrentRow(*row, QItemSelectionModel::ClearAndSelect);
        } else {
            clearSelection();
        }
    }
    emit picked();
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const bool modified =
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    if (event->key() == Qt::Key_Backspace && !modified) {
        const QString& text = typeAhead_.backspace(clock_.elapsed());
        if (text.isEmpty()) {
            // An empty list has no row 0: the selection fails and the operation sees no row.
            selectRowFromUser(count() > 0 ? std::optional<int>(0) : std::nullopt);
        } else {
            selectFirstMatch(text);
        }
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!modified && !text.isEmpty() && text.front().isPrint()) {
        keyboardSearch(text);
        event->accept();
        return;
    }
    reportMoves([this, event] { QListWidget::keyPressEvent(event); });
}

void ListBox::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid()) {
        emit picked();
    }
}

// Besides a press, a drag moves the selection (also while the list scrolls itself under a
// held button, which Qt drives with made-up moves), and so can a release: a press on the row
// already selected leaves the choice to the release, by then perhaps over another row.
void ListBox::mouseMoveEvent(QMouseEvent* event) {
    reportMoves([this, event] { QListWidget::mouseMoveEvent(event); });
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
    reportMoves([this, event] { QListWidget::mouseReleaseEvent(event); });
}

void ListBox::reportMoves(const std::function<void()>& handle) {
    const std::optional<int> before = selectedRow();
    handle();
    if (selectedRow() != before) {
        emit picked();
    }
}

void ListBox::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    // Qt makes row 0 current on focus without selecting it, so the first Down key would skip
    // to row 1; with nothing selected there should be no current row either.
    if (selectedItems().isEmpty() && selectionModel() != nullptr) {
        const QSignalBlocker blocker(selectionModel());
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

}  // namespace marventa
