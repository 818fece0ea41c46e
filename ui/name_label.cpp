#include "name_label.h"

#include <QMouseEvent>

#include "fonts.h"
#include "qstring_view.h"

namespace marventa {

NameLabel::NameLabel(QWidget* parent) : AutoSizeLabel(QString(), parent) {
    setFont(nameLabelFont());
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setCaption(QStringLiteral("Label1"));
    hide();
}

void NameLabel::setLabelVisible(bool visible) {
    setVisible(visible);
    if (visible) {
        raise();
    }
}

void NameLabel::setLabelCaption(std::string_view caption) {
    setCaption(fromCore(caption));
}

void NameLabel::setLabelLeft(int left) {
    move(left, y());
}

void NameLabel::setLabelTop(int top) {
    move(x(), top);
}

void NameLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void NameLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void NameLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

}  // namespace marventa
