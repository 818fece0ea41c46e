#pragma once

#include <QPointF>
#include <QString>
#include <vector>

#include "catalogue/catalogue.h"

namespace marventa {

// The plan of a city map that its buildings' doors were laid out on, in the map's own pixels:
// the wall, the water, and the streets (centre lines, 14 pixels wide).
struct Street {
    QString name;
    std::vector<QPointF> line;
};

struct CityLayout {
    PlaceTableId table;
    std::vector<QPointF> wall;                 // closed
    std::vector<std::vector<QPointF>> waters;  // closed
    std::vector<Street> streets;
    std::vector<std::vector<QPointF>> marshes = {};  // closed; wet ground, no building stands there
    QPointF summit = {};                             // the top of the hill a hill town climbs,
    double hillRadius = 0;                           // and how far its slopes reach (none when 0)
};

inline constexpr double kStreetWidth = 14.0;

const std::vector<CityLayout>& cityLayouts();

}  // namespace marventa
