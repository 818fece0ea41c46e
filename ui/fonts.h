#pragma once

#include <QFont>

namespace marventa {

// Makes "MS Sans Serif" available: the face shipped with Wine's fonts when present (it is not
// on fontconfig's path), otherwise Liberation Sans stands in for it.
void installFonts();

// "MS Sans Serif" at a character height in pixels.
QFont sansSerifFont(int pixelHeight);

// The scalable face that draws text set in `font` where its bitmaps do not fit the device: the
// same size, weight and slant.
QFont scalableFace(const QFont& font);

// Label1's font: 19 pixels, fixed pitch requested.
QFont nameLabelFont();

}  // namespace marventa
