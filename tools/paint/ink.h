#pragma once

#include <QColor>

namespace marventa {

// The province sheet's inks, shared so that the drawings in one hand stay in one colour.
inline const QColor kReliefInk(58, 40, 26);          // peaks, hills and craters
inline const QColor kLetterInk(44, 32, 22);          // city names, title, frame and scale
inline const QColor kPaperHalo(255, 250, 236, 225);  // a pale paper under a letter set on the sheet
inline const QColor kCartouchePaper(250, 243, 222);  // the paper inside the title's panel
// A river's water between its banks: the tone of the sea's and the lakes' shore water, so that
// where it runs into them they read as one water.
inline const QColor kRiverWater(180, 199, 194);
// The rivers' and brooks' ink.
inline const QColor kRiverBank(50, 90, 140);

}  // namespace marventa
