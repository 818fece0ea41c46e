#pragma once

#include "tools/land/craters.h"
#include "tools/land/terrain.h"

class QPainter;

namespace marventa {

// A crater seen obliquely, in ink: its rim a wavering ellipse, the floor the paper round it under
// one light flat wash, fine strokes hanging down the far inner wall (closest where it faces away
// from the north-western light), most with a small inked vent, short hachures of uneven length
// running down the outer slope, the rim broken where a breached crater spills (at its lowest
// point); a crater lake is left to show.
void drawCrater(QPainter& painter, const Crater& crater, const Terrain& terrain);

// The same drawing with the spill's direction (radians, for a breached rim) and whether a tarn
// fills the hollow given, as the key draws it away from any ground.
void drawCraterRim(QPainter& painter, const Crater& crater, double spill, bool tarn);

}  // namespace marventa
