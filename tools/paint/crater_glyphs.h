#pragma once

#include "tools/land/craters.h"
#include "tools/land/terrain.h"

class QPainter;

namespace marventa {

// A crater seen obliquely, in ink: its rim an ellipse, the inner wall facing away from the
// north-western light washed dark and hatched, hachures running down the outer slope, the rim
// broken where a breached crater spills (at its lowest point); a crater lake is left to show.
void drawCrater(QPainter& painter, const Crater& crater, const Terrain& terrain);

}  // namespace marventa
