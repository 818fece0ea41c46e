#include "list_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "qstring_view.h"
#include "scaled_text.h"

namespace marventa {

namespace {

class FixedHeightDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), ListBox::kItemHeight};
    }

    // A row's text goes through the style's item text, which keeps it sharp at every scale.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!needsScalableFace(option.font, *painter)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem row = option;
        initStyleOption(&row, index);
        const QStyle* style = row.widget != nullptr ? row.widget->style() : QApplication::style();
        const QString text = row.text;
        row.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &row, painter, row.widget);
        row.text = text;
        // Where the toolkit puts a row's text: inside the focus frame's margin.
        const int margin =
            style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, row.widget) + 1;
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &row, row.widget)
                                   .adjusted(margin, 0, -margin, 0);
        QPalette colours = row.palette;
        if ((row.state & QStyle::State_Enabled) == 0) {
            colours.setCurrentColorGroup(QPalette::Disabled);
        } else if ((row.state & QStyle::State_Active) == 0) {
            colours.setCurrentColorGroup(QPalette::Inactive);
        }
        const bool selected = (row.state & QStyle::State_Selected) != 0;
        painter->save();
        painter->setFont(row.font);
        style->drawItemText(painter, textRect, static_cast<int>(row.displayAlignment), colours,
                            true, text, selected ? QPalette::HighlightedText : QPalette::Text);
        painter->restore();
    }
};

// A single-selection list box selects with the left button alone and whatever modifiers are
// held: Ctrl must not deselect the row, nor Shift extend anything. Runs `handle` on a copy of
// the event with only the left button and without Ctrl or Shift.
void asPlainLeft(QMouseEvent& event, const std::function<void(QMouseEvent*)>& handle) {
    QMouseEvent plain(event.type(), event.position(), event.scenePosition(), event.globalPosition(),
                      event.button(), event.buttons() & Qt::LeftButton,
                      event.modifiers() & ~(Qt::ControlModifier | Qt::ShiftModifier),
                      event.pointingDevice());
    handle(&plain);
    event.setAccepted(plain.isAccepted());
}

bool isMovementKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Space:
        case Qt::Key_Select:
            return true;
        default:
            return false;
    }
}

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
    if (isMovementKey(event->key())) {
        // Ctrl or Shift with a movement key acts as the key alone (Ctrl+Space would deselect).
        QKeyEvent plain(event->type(), event->key(),
                        event->modifiers() & ~(Qt::ControlModifier | Qt::ShiftModifier),
                        event->text(), event->isAutoRepeat(), event->count());
        reportMoves([this, &plain] { QListWidget::keyPressEvent(&plain); });
        event->setAccepted(plain.isAccepted());
        return;
    }
    reportMoves([this, event] { QListWidget::keyPressEvent(event); });
}

// Only the left button selects; the others do nothing to the list, and neither does a press
// where there is no row (below the last one), which would leave no row selected.
void ListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid()) {
        event->accept();
        return;
    }
    asPlainLeft(*event, [this](QMouseEvent* plain) { QListWidget::mousePressEvent(plain); });
    if (indexAt(event->position().toPoint()).isValid()) {
        emit picked();
    }
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    asPlainLeft(*event, [this](QMouseEvent* plain) { QListWidget::mouseDoubleClickEvent(plain); });
}

// Besides a press, a drag moves the selection (also while the list scrolls itself under a
// held button, which Qt drives with made-up moves), and so can a release: a press on the row
// already selected leaves the choice to the release, by then perhaps over another row.
void ListBox::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() != Qt::NoButton && !(event->buttons() & Qt::LeftButton)) {
        event->accept();  // a drag with another button selects nothing
        return;
    }
    asPlainLeft(*event, [this](QMouseEvent* plain) {
        reportMoves([this, plain] { QListWidget::mouseMoveEvent(plain); });
    });
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    asPlainLeft(*event, [this](QMouseEvent* plain) {
        reportMoves([this, plain] { QListWidget::mouseReleaseEvent(plain); });
    });
}

void ListBox::reportMoves(const std::function<void()>& handle) {
    const std::optional<int> before = selectedRow();
    handle();
    if (selectedRow() != before) {
        emit picked();
    }
}

void ListBox::focusInEvent(QFocusEvent* event) {
    if (currentIndex().isValid()) {
        QListWidget::focusInEvent(event);
        return;
    }
    // Qt would make row 0 current on focus without selecting it: the first Down key would then
    // skip to row 1, and a screen reader would hear row 0 as if it had been picked. With nothing
    // selected there is no current row either; the first Down key selects row 0.
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

}  // namespace marventa
