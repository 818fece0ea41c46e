#include "labels.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string>

namespace marventa {

namespace {

// The faces ship with the generator (tools/fonts/): the pictures must not change with the fonts a
// machine has installed, and Debian releases differ in theirs. Each file is asked for by its own
// family: the book face's cuts all share one typographic family, which would leave the choice
// between them to the font database.
struct FaceFile {
    const char* file;
    const char* family;
};

// The book face comes in two optical sizes: the small cut's hairlines and serifs are sturdier
// and its letters wider, as a punch-cutter made them for small type.
constexpr double kSmallCutBelow = 20.0;

FaceFile faceFile(TypeFace face, double pixelSize) {
    const bool small = pixelSize < kSmallCutBelow;
    switch (face) {
        case TypeFace::Serif:
            return small ? FaceFile{"EBGaramond08-Regular.otf", "EB Garamond 08"}
                         : FaceFile{"EBGaramond12-Regular.otf", "EB Garamond 12"};
        case TypeFace::SerifItalic:
            return small ? FaceFile{"EBGaramond08-Italic.otf", "EB Garamond 08"}
                         : FaceFile{"EBGaramond12-Italic.otf", "EB Garamond 12"};
        case TypeFace::SerifBold:
            return {"EBGaramond12-Bold.otf", "EB Garamond 12"};
        case TypeFace::PlanTitle:
            return {"LiberationSerif-Bold.ttf", "Liberation Serif"};
        case TypeFace::Sans:
            return {"LiberationSansNarrow-Regular.ttf", "Liberation Sans Narrow"};
        case TypeFace::SansBold:
            return {"LiberationSansNarrow-Bold.ttf", "Liberation Sans Narrow"};
    }
    return {"", ""};
}

// Loads a face's file once; the family to ask for.
QString loadedFamily(const FaceFile& face) {
    static std::map<std::string, QString> loaded;
    const auto known = loaded.find(face.file);
    if (known != loaded.end()) {
        return known->second;
    }
    const QString file = QStringLiteral(MARVENTA_FONT_DIR "/") + QString::fromLatin1(face.file);
    const int id = QFontDatabase::addApplicationFont(file);
    if (id < 0) {
        throw std::runtime_error("cannot load font " + file.toStdString());
    }
    const QString family = QString::fromLatin1(face.family);
    if (!QFontDatabase::applicationFontFamilies(id).contains(family)) {
        throw std::runtime_error("font " + file.toStdString() + " is not of the family " +
                                 family.toStdString());
    }
    loaded.emplace(face.file, family);
    return family;
}

}  // namespace

QFont mapFont(TypeFace face, double pixelSize, double letterSpacing) {
    QFont font(loadedFamily(faceFile(face, pixelSize)));
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(face == TypeFace::SerifBold || face == TypeFace::SansBold ||
                 face == TypeFace::PlanTitle);
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
