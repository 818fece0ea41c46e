#include "fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace marventa {

namespace {

constexpr QLatin1String kFamily("MS Sans Serif");

}  // namespace

void installFonts() {
    const QString wineFace = QStringLiteral("/usr/share/wine/fonts/ms_sans_serif.ttf");
    if (QFile::exists(wineFace) && QFontDatabase::addApplicationFont(wineFace) >= 0) {
        return;
    }
    QFont::insertSubstitution(kFamily, QStringLiteral("Liberation Sans"));
}

QFont sansSerifFont(int pixelHeight) {
    QFont font(kFamily);
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont nameLabelFont() {
    QFont font = sansSerifFont(19);
    font.setFixedPitch(true);
    return font;
}

}  // namespace marventa
