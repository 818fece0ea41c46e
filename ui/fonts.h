#pragma once

#include <QFont>

namespace marventa {

// Makes "MS Sans Serif" available: the face shipped with Wine's fonts when present (it is not
// on fontconfig's path), otherwise Liberation Sans stands in for it.
void installFonts();

// "MS Sans Serif" at a character height in pixels.
QFont sansSerifFont(int pixelHeight);

// How a scalable stand-in is sized: as tall in its capitals as the designed face (glyphs drawn
// in the designed face's cells), or with lines no taller (text the toolkit lays out in lines).
enum class FaceFit { Capitals, Lines };

// The scalable face that draws text set in `font` where its bitmaps do not fit the device: the
// same weight and slant, as wide on average, sized by `fit`.
QFont scalableFace(const QFont& font, FaceFit fit = FaceFit::Capitals);

// Label1's font: 19 pixels, fixed pitch requested.
QFont nameLabelFont();

}  // namespace marventa
