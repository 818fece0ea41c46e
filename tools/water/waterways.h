#pragma once

#include <QPointF>
#include <QString>
#include <vector>

#include "tools/common/grid.h"
#include "tools/land/land.h"
#include "tools/land/province_layout.h"

namespace marventa {

// A line of running water as drawn, source to mouth, widening downstream with the area it
// drains.
struct RiverLine {
    QString name;                 // empty for a brook
    std::vector<QPointF> points;  // picture pixels, a few apart
    std::vector<float> widths;    // pixels, one per point
    bool toSea = false;           // ends in the sea, through an estuary
};

struct LakeShape {
    QString name;
    QPointF centre;  // the middle of its water, for its name
    float level;     // the height of its surface
};

struct Waterways {
    int cell = 4;           // the land's lattice
    Grid<float> ground;     // the land with every dry hollow filled, so water always runs on
    Grid<float> lakeDepth;  // water above the ground, > 0 in a lake
    Grid<int> lakeId;       // index into `lakes`, -1 on dry land and at sea
    Grid<float> area;       // cells draining through each cell
    std::vector<RiverLine> rivers;  // the named rivers, a tributary after its main river
    std::vector<RiverLine> brooks;  // every other line of running water
    std::vector<LakeShape> lakes;

    // The lake (index) covering a picture point, or -1.
    int lakeAt(QPointF p) const;
};

// The lattice's steps bent into meanders: a point moved by a smooth field of the sheet, the same
// for every line, so a brook still meets its river where both pass through the same cell. The
// terrain is drawn through the same field, so the valleys bend with their water.
QPointF meander(QPointF p);

// The water of the land: hollows filled by a priority flood, the named lakes left standing in
// theirs, the flow routed and gathered; rivers where enough of it gathers, named after the
// layout's course they follow, and brooks.
Waterways drainLand(const Land& land, const ProvinceLayout& layout);

}  // namespace marventa
