#pragma once

#include <QPointF>
#include <vector>

#include "tools/city/plan/town_plan.h"

namespace marventa::plan {

// A house plot: its footprint fronts one street; the roof's far slope is shaded.
struct Lot {
    Area body;
    Area back;       // the half of the roof away from the street
    QPointF frontA;  // the frontage along the street
    QPointF frontB;
    QPointF outward;  // from the house to the street
    int cell = -1;    // -1 for a house out along a road
    int edge = 0;     // frontage run within its cell; lots of one run follow one another
    int index = 0;
};

// Houses packed along every block's street edges, their yards behind; the odd plot left open.
std::vector<Lot> packBlocks(const TownPlan& plan, std::uint64_t seed);

// Back buildings in the yards the houses leave, one or two to a yard, the odd courtyard left open.
std::vector<Lot> yardBuildings(const TownPlan& plan, const std::vector<Lot>& houses,
                               const Area& named, std::uint64_t seed);

// Houses straggling along the roads out of the gates.
std::vector<Lot> lineRoads(const TownPlan& plan, std::uint64_t seed);

}  // namespace marventa::plan
