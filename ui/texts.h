#pragma once

#include <QString>

namespace marventa {

// The window's fixed texts.

// Memo1: a twelve-line guide to the lorestones.
QString lorestonesGuide();

// Memo2: thirteen lines about the map.
QString mapInfo();

// Status panel 1 before the first choice, and status panel 2 throughout.
QString startingMapCaption();
QString contactCaption();

}  // namespace marventa
