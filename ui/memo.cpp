#include "memo.h"

#include <QPainter>

#include "fonts.h"
#include "scaled_text.h"

namespace marventa {

Memo::Memo(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent) {
    setReadOnly(true);
}

void Memo::paintEvent(QPaintEvent* event) {
    const QFont designed = font();
    bool scalable = false;
    {
        // Asked of a painter on the device painted on: a grab paints into another one.
        const QPainter probe(viewport());
        scalable = needsScalableFace(designed, probe);
    }
    const QFont wanted = scalable ? scalableFace(designed, FaceFit::Lines) : designed;
    if (document()->defaultFont() != wanted) {
        document()->setDefaultFont(wanted);
    }
    QPlainTextEdit::paintEvent(event);
}

}  // namespace marventa
