#pragma once

#include <QPointF>

class QPainter;

namespace marventa {

// An eight-pointed compass rose centred on `centre`, its north point 13 units long. Outlined
// only where there are pixels enough to carry the lines; `inked` in a pen's hand, its shaded
// halves hatched, as the map's own furniture (the icon keeps the flat one).
void drawCompassRose(QPainter& painter, QPointF centre, double unit, bool outlined,
                     bool inked = false);

}  // namespace marventa
