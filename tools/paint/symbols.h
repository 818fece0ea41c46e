#pragma once

#include <QPointF>

#include "tools/common/world_places.h"

class QPainter;

namespace marventa {

// Half the width of a category's symbol on the province map, in picture pixels.
double symbolRadius(PlaceKind kind);

// Draws the small glyph of a category centred exactly on `at`, with a light halo so that it
// reads on any ground. The painter should have antialiasing on.
void drawPlaceSymbol(QPainter& painter, PlaceKind kind, QPointF at);

}  // namespace marventa
