#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

namespace marventa {

namespace {

constexpr QLatin1String kFamily("MS Sans Serif");
constexpr QLatin1String kStandIn("Liberation Sans");

}  // namespace

void installFonts() {
    const QString wineFace = QStringLiteral("/usr/share/wine/fonts/ms_sans_serif.ttf");
    if (QFile::exists(wineFace) && QFontDatabase::addApplicationFont(wineFace) >= 0) {
        return;
    }
    QFont::insertSubstitution(kFamily, kStandIn);
}

QFont sansSerifFont(int pixelHeight) {
    QFont font(kFamily);
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    // Wine's face has a single bitmap size (13-pixel lines, 11-pixel characters): larger text
    // takes the scalable stand-in rather than the small bitmaps.
    if (QFontInfo(font).pixelSize() < pixelHeight) {
        font.setFamily(kStandIn);
    }
    return font;
}

QFont scalableFace(const QFont& font) {
    QFont face(kStandIn);
    face.setPixelSize(QFontInfo(font).pixelSize());
    face.setWeight(font.weight());
    face.setItalic(font.italic());
    face.setStyleHint(QFont::SansSerif);
    // As tall in its capitals as the designed face, and as wide on average: the stand-in's own
    // proportions would draw text small in its cells, or crowd them.
    const QFontMetricsF designed(font);
    const qreal capitals = QFontMetricsF(face).capHeight();
    if (capitals > 0 && designed.capHeight() > 0) {
        face.setPixelSize(qRound(face.pixelSize() * designed.capHeight() / capitals));
    }
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const qreal width = QFontMetricsF(face).horizontalAdvance(alphabet);
    if (width > 0) {
        face.setStretch(qRound(100 * designed.horizontalAdvance(alphabet) / width));
    }
    return face;
}

QFont nameLabelFont() {
    QFont font = sansSerifFont(19);
    font.setFixedPitch(true);
    return font;
}

}  // namespace marventa
