#include "auto_size_label.h"

#include <QFontMetrics>

namespace marventa {

AutoSizeLabel::AutoSizeLabel(const QString& caption, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setMargin(0);
    setIndent(0);
    setCaption(caption);
}

void AutoSizeLabel::setCaption(const QString& caption) {
    setText(caption);
    const QFontMetrics metrics(font());
    const QString measured = caption.isEmpty() ? QStringLiteral(" ") : caption;
    resize(metrics.horizontalAdvance(measured), metrics.height());
}

}  // namespace marventa
