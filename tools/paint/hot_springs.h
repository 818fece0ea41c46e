#pragma once

#include <QPointF>
#include <vector>

#include "tools/paint/province_painter.h"

class QPainter;

namespace marventa {

// Hot springs: where running water rises on the volcanic ranges' ash, the named river's source
// first, then the heads of brooks, each clear of the places' symbols and of the other springs.
std::vector<QPointF> hotSprings(const ProvinceScene& scene);

// The sulphur-yellow stain and steam round each spring, laid on the ground under everything else.
void drawSpringStains(QPainter& painter, const std::vector<QPointF>& springs);

// A spring's mark: a small steaming pool.
void drawHotSpring(QPainter& painter, QPointF at);

}  // namespace marventa
