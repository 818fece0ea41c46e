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

QFont scalableFace(const QFont& font, FaceFit fit) {
    QFont face(kStandIn);
    face.setPixelSize(QFontInfo(font).pixelSize());
    face.setWeight(font.weight());
    face.setItalic(font.italic());
    face.setStyleHint(QFont::SansSerif);
    const QFontMetricsF designed(font);
    const QFontMetricsF own(face);
    if (fit == FaceFit::Capitals && own.capHeight() > 0 && designed.capHeight() > 0) {
        face.setPixelSize(qRound(face.pixelSize() * designed.capHeight() / own.capHeight()));
    } else if (fit == FaceFit::Lines && own.height() > 0) {
        // The largest whole size (the engine rounds to one) whose lines are no taller.
        face.setPixelSize(static_cast<int>(face.pixelSize() * designed.height() / own.height()));
    }
    // As wide on average as the designed face: the stand-in's own proportions would crowd the
    // cells, or wrap lines elsewhere.
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
