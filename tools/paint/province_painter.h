#pragma once

#include <QColor>
#include <QImage>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"
#include "tools/roads/roads.h"
#include "tools/water/waterways.h"

class QPainter;

namespace marventa {

struct ProvinceScene {
    const ProvinceLayout& layout;
    const Terrain& terrain;
    const Waterways& water;
    const std::vector<RoadLine>& roads;
    const std::vector<ProvincePlace>& places;
    std::vector<Crater> craters = {};  // the volcanic vents, drawn as ink rims
};

// A line stroked segment by segment, each `extra` wider than its width: a river widening
// downstream.
void strokeVarying(QPainter& p, const std::vector<QPointF>& pts, const std::vector<float>& widths,
                   const QColor& colour, float extra);

// The finished province map: relief, rivers, woods, roads, a symbol on every place, the names of
// the towns and cities, of the ranges, woods and waters, a title, a compass rose and a frame.
QImage paintProvince(const ProvinceScene& scene);

}  // namespace marventa
