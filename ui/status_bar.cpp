#include "status_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSizeGrip>

#include "accessibility.h"
#include "qstring_view.h"

namespace marventa {

namespace {

constexpr int kBarHeight = 19;

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QWidget(parent), grip_(new QSizeGrip(this)) {
    setFixedHeight(kBarHeight);
    exposeAs(*this, QAccessible::StatusBar);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
        label->setIndent(2);
        label->setTextFormat(Qt::PlainText);
        offerAsText(*label);
        panels_[i] = label;
        layout->addWidget(label);
    }
    panels_[0]->setFixedWidth(storedWidths_[0]);
    panels_[1]->setFixedWidth(storedWidths_[1]);
    // The last panel takes whatever is left, down to nothing: its text must not widen the window.
    panels_[2]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    panels_[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panels_[2]->setIndent(grip_->sizeHint().width());
    grip_->raise();
    hideFromScreenReaders(*grip_);
}

QLabel& StatusBar::panel(int index) const {
    return *panels_.at(static_cast<std::size_t>(index));
}

void StatusBar::setPanelText(int index, std::string_view text) {
    setPanelCaption(index, fromCore(text));
}

void StatusBar::setPanelCaption(int index, const QString& caption) {
    // QLabel tells a screen reader of the new text itself, so a picked place is announced.
    panel(index).setText(caption);
}

void StatusBar::setPanelWidth(int index, int width) {
    storedWidths_.at(static_cast<std::size_t>(index)) = width;
    if (index < static_cast<int>(panels_.size()) - 1) {
        panel(index).setFixedWidth(width);
    }
}

QString StatusBar::panelText(int index) const {
    return panel(index).text();
}

int StatusBar::panelWidth(int index) const {
    return storedWidths_.at(static_cast<std::size_t>(index));
}

void StatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize grip = grip_->sizeHint().boundedTo(size());
    grip_->setGeometry(width() - grip.width(), height() - grip.height(), grip.width(),
                       grip.height());
}

}  // namespace marventa
