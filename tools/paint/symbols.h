#pragma once

#include <QPointF>

#include "tools/common/world_places.h"

class QPainter;

namespace marventa {

// Half the width of a category's symbol on the province map, in picture pixels.
double symbolRadius(PlaceKind kind);

// Draws the small inked pictogram of a category centred exactly on `at`; towns and cities as
// rings on the paper with a red heart. The painter should have antialiasing on.
void drawPlaceSymbol(QPainter& painter, PlaceKind kind, QPointF at);

// The capital's mark, as large as a city's: its ring doubled and a red star in its heart.
void drawCapitalSymbol(QPainter& painter, QPointF at);

}  // namespace marventa
