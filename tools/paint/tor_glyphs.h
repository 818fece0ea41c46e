#pragma once

#include <QLineF>
#include <QPolygonF>
#include <vector>

#include "tools/paint/mountain_glyphs.h"

class QPainter;

namespace marventa {

// A tor: a low pile of two to four worn blocks of rock, each narrower than the one under it and
// set a little to one side, the joints between them showing as ledges.
struct TorShape {
    QPolygonF
        outline;     // left foot, up the blocks' left sides, over the top, down to the right foot
    QPointF summit;  // the top block's highest point
    std::vector<QPolygonF> blocks;  // each block's own face, lowest first
};

TorShape torShape(const Peak& tor);

// The strokes that shade each block's face turned from the light, each from its top end down.
std::vector<QLineF> torShadeStrokes(const Peak& tor);

// A dark rock tone washed over the pile, each block's side away from the north-western light
// shaded and hatched upright, the joints inked, a crack or two across the larger blocks.
void drawTor(QPainter& painter, const Peak& tor);

}  // namespace marventa
