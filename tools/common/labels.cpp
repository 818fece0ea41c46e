#include "labels.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace marventa {

namespace {

// The faces ship with the generator (tools/fonts/): the pictures must not change with the fonts a
// machine has installed, and Debian releases differ in theirs.
const char* fontFile(TypeFace face) {
    switch (face) {
        case TypeFace::Serif:
            return "LiberationSerif-Regular.ttf";
        case TypeFace::SerifItalic:
            return "LiberationSerif-Italic.ttf";
        case TypeFace::SerifBold:
            return "LiberationSerif-Bold.ttf";
        case TypeFace::Sans:
            return "LiberationSansNarrow-Regular.ttf";
        case TypeFace::SansBold:
            return "LiberationSansNarrow-Bold.ttf";
    }
    return "";
}

}  // namespace

QFont mapFont(TypeFace face, double pixelSize, double letterSpacing) {
    static std::array<QString, 5> families;
    QString& family = families[static_cast<std::size_t>(face)];
    if (family.isEmpty()) {
        const QString file =
            QStringLiteral(MARVENTA_FONT_DIR "/") + QString::fromLatin1(fontFile(face));
        const int id = QFontDatabase::addApplicationFont(file);
        if (id < 0) {
            throw std::runtime_error("cannot load font " + file.toStdString());
        }
        family = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    QFont font(family);
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(face == TypeFace::SerifBold || face == TypeFace::SansBold);
    font.setItalic(face == TypeFace::SerifItalic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    if (letterSpacing != 0.0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    }
    return font;
}

QRectF textBounds(const QString& text, const QFont& font, QPointF origin) {
    const QFontMetricsF metrics(font);
    return QRectF(origin.x(), origin.y() - metrics.ascent(), metrics.horizontalAdvance(text),
                  metrics.ascent() + metrics.descent());
}

void drawHaloText(QPainter& painter, const QString& text, QPointF origin, const TextStyle& style) {
    QPainterPath path;
    path.addText(origin, style.font, text);
    drawHaloPath(painter, path, style);
}

void drawHaloPath(QPainter& painter, const QPainterPath& path, const TextStyle& style) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(style.halo, style.haloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style.ink);
    painter.drawPath(path);
    painter.restore();
}

void drawHaloTextCentred(QPainter& painter, const QString& text, QPointF centre,
                         const TextStyle& style) {
    const QFontMetricsF metrics(style.font);
    const QPointF origin(centre.x() - metrics.horizontalAdvance(text) / 2,
                         centre.y() + (metrics.ascent() - metrics.descent()) / 2);
    drawHaloText(painter, text, origin, style);
}

double uprightAngle(QPointF direction) {
    double a = std::atan2(direction.y(), direction.x()) * 180.0 / std::numbers::pi;
    if (a > 90) {
        a -= 180;
    } else if (a < -90) {
        a += 180;
    }
    return a;
}

void drawPanel(QPainter& painter, const QRectF& panel, const QColor& ink, double radius,
               double inset) {
    painter.setPen(QPen(ink, 2.0));
    painter.setBrush(QColor(250, 243, 222, 235));
    painter.drawRoundedRect(panel, radius, radius);
    painter.setPen(QPen(ink, 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(panel.adjusted(inset, inset, -inset, -inset), radius - inset / 2,
                            radius - inset / 2);
}

}  // namespace marventa
