#pragma once

#include <QPointF>
#include <vector>

#include "tools/paint/province_painter.h"

class QPainter;

namespace marventa {

// Hot springs: where running water rises on the volcanic ranges' ash, the named river's source
// first, then the heads of brooks, each clear of the places' symbols and of the other springs.
std::vector<QPointF> hotSprings(const ProvinceScene& scene);

// The pale crust round each spring's pool, laid on the ground under everything else.
void drawSpringStains(QPainter& painter, const std::vector<QPointF>& springs);

// A spring's mark: a small inked pool with steam rising from it.
void drawHotSpring(QPainter& painter, QPointF at);

}  // namespace marventa
