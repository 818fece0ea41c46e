#include "scaled_text.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <cmath>

#include "fonts.h"

namespace marventa {

namespace {

// The text as it is drawn: without the mnemonic marks ("&&" stands for "&").
QString withoutMnemonics(const QString& text, int flags) {
    if ((flags & (Qt::TextShowMnemonic | Qt::TextHideMnemonic)) == 0) {
        return text;
    }
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        shown.append(text[i]);
    }
    return shown;
}

// Where text of extent `used` starts in `room`, by the flags naming the far end and the centre.
qreal alignedOffset(qreal room, qreal used, int flags, int end, int centre) {
    if ((flags & end) != 0) {
        return room - used;
    }
    if ((flags & centre) != 0) {
        return (room - used) / 2;
    }
    return 0;
}

void drawLine(QPainter& painter, QPointF origin, const QString& line, const QFontMetricsF& cells,
              const QFontMetricsF& glyphs) {
    qreal x = origin.x();
    for (qsizetype i = 0; i < line.size();) {
        const qsizetype length = line[i].isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
        const QString glyph = line.mid(i, length);
        const qreal cell = cells.horizontalAdvance(glyph);
        painter.drawText(QPointF(x + (cell - glyphs.horizontalAdvance(glyph)) / 2, origin.y()),
                         glyph);
        x += cell;
        i += length;
    }
}

}  // namespace

bool needsScalableFace(const QFont& font, qreal devicePixelRatio) {
    if (std::abs(devicePixelRatio - 1) < 0.01) {
        return false;
    }
    const QFontInfo resolved(font);
    return !QFontDatabase::isSmoothlyScalable(resolved.family(), resolved.styleName());
}

bool needsScalableFace(const QFont& font, const QPainter& painter) {
    // The painter's transform carries the device's ratio, also where a widget is drawn into
    // another device than its own (a grab, a print).
    const QTransform& transform = painter.deviceTransform();
    return needsScalableFace(font, std::hypot(transform.m11(), transform.m12()));
}

void drawInDesignedLayout(QPainter& painter, const QRect& rect, int flags, const QString& text) {
    const QFont designed = painter.font();
    const QFontMetricsF cells(designed);
    const QFont face = scalableFace(designed);
    const QFontMetricsF glyphs(face);

    const QStringList lines = withoutMnemonics(text, flags).split(QLatin1Char('\n'));
    qreal widest = 0;
    for (const QString& line : lines) {
        widest = std::max(widest, cells.horizontalAdvance(line));
    }
    const qreal height = cells.height() * static_cast<qreal>(lines.size());
    const QRectF room(rect);

    painter.save();
    if ((flags & Qt::TextDontClip) == 0 && (widest > room.width() || height > room.height())) {
        painter.setClipRect(rect, Qt::IntersectClip);
    }
    painter.setFont(face);
    qreal top =
        room.top() + alignedOffset(room.height(), height, flags, Qt::AlignBottom, Qt::AlignVCenter);
    for (const QString& line : lines) {
        const qreal left = room.left() + alignedOffset(room.width(), cells.horizontalAdvance(line),
                                                       flags, Qt::AlignRight, Qt::AlignHCenter);
        drawLine(painter, QPointF(left, top + cells.ascent()), line, cells, glyphs);
        top += cells.height();
    }
    painter.restore();
}

TextStyle::TextStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

void TextStyle::drawItemText(QPainter* painter, const QRect& rect, int flags,
                             const QPalette& palette, bool enabled, const QString& text,
                             QPalette::ColorRole textRole) const {
    if (text.isEmpty() || !needsScalableFace(painter->font(), *painter)) {
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        return;
    }
    painter->save();
    if (textRole != QPalette::NoRole) {
        painter->setPen(QPen(palette.brush(textRole), painter->pen().widthF()));
    }
    if (!enabled && proxy()->styleHint(SH_EtchDisabledText)) {
        const QPen pen = painter->pen();
        painter->setPen(palette.light().color());
        drawInDesignedLayout(*painter, rect.translated(1, 1), flags, text);
        painter->setPen(pen);
    }
    drawInDesignedLayout(*painter, rect, flags, text);
    painter->restore();
}

}  // namespace marventa
