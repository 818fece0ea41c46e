#pragma once

#include <QPointF>
#include <vector>

#include "province_layout.h"
#include "tools/common/grid.h"

namespace marventa {

struct Waterways;

// A volcanic vent's crater: a rim round a hollow, in province pixels.
struct Crater {
    QPointF centre;
    double radius;  // of the rim's crest
    bool breached;  // the rim broken on its downhill side, so the hollow drains dry
};

// Crater sites on the volcanic ranges' highest ground, a few of them well apart, each raised
// into a cone with a hollow top; a breached rim spills down the steepest side, an unbroken one
// keeps its water. `height` is the eroded land on a lattice of `cell` pixels.
std::vector<Crater> raiseCraters(const ProvinceLayout& layout, Grid<float>& height, int cell);

// The water's ground has every hollow filled; at picture size each crater's hollow is cut back
// into `fine` from the unfilled `land`, and the water an unbroken rim holds becomes a crater
// lake in `lake`.
void hollowCraters(const std::vector<Crater>& craters, const Grid<float>& land,
                   const Waterways& water, Grid<float>& fine, Grid<unsigned char>& lake);

}  // namespace marventa
