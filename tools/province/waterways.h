#pragma once

#include <QPolygonF>
#include <QString>
#include <vector>

#include "province_layout.h"

namespace marventa {

// A river as drawn: a meandering line close to its layout course, widening downstream.
struct RiverLine {
    QString name;
    bool labelled;
    std::vector<QPointF> points;  // source to mouth, a few pixels apart
    std::vector<float> widths;    // pixels, one per point
};

struct LakeShape {
    QString name;
    Ellipse shape;
    QPolygonF outline;  // the shore, a little irregular, never far outside the ellipse
};

struct Waterways {
    std::vector<RiverLine> rivers;
    std::vector<LakeShape> lakes;
};

Waterways layWaterways(const ProvinceLayout& layout);

}  // namespace marventa
