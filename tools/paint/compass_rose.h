#pragma once

#include <QPointF>

class QPainter;

namespace marventa {

// An eight-pointed compass rose centred on `centre`, its north point 13 units long.
void drawCompassRose(QPainter& painter, QPointF centre, double unit, bool outlined);

}  // namespace marventa
