#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>

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

QFont nameLabelFont() {
    QFont font = sansSerifFont(19);
    font.setFixedPitch(true);
    return font;
}

}  // namespace marventa
