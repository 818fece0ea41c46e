#pragma once

#include <QPointF>
#include <QRectF>
#include <functional>
#include <vector>

#include "tools/roads/roads.h"

class QPainter;

namespace marventa {

// How the map draws its lines and cover, so the key shows them exactly as the map does.
struct MapMarks {
    std::function<void(QPainter&, const std::vector<QPointF>&, RoadClass)> road;
    std::function<void(QPainter&, const std::vector<QPointF>&, float width)> river;
    std::function<void(QPainter&, QPointF, bool conifer)> tree;
    std::function<void(QPainter&, QPointF)> reeds;
};

// The key: a framed panel with each category's glyph and name, then the roads, water, bridges,
// forest and marsh, in three columns under a heading.
void drawLegend(QPainter& painter, const QRectF& panel, const MapMarks& marks);

}  // namespace marventa
