#pragma once

#include <QPointF>
#include <QString>
#include <vector>

#include "lots.h"
#include "tools/city/plan/town_plan.h"
#include "tools/common/world_places.h"

namespace marventa::plan {

enum class Shape { House, Hall, Gatehouse, Tower, Church, Keep, Palace, Court, Arena, Garden };

struct Door {
    QPointF at;
    QPointF outward;  // unit, from the building through the door
};

// One roofed range of a great building: a box about `c`, half-lengths hu along `u`, hv across.
struct Wing {
    QPointF c;
    QPointF u;
    double hu = 0;
    double hv = 0;
};

// A building of the city's table, as the plan placed it.
struct Building {
    QString name;
    int number = 0;
    Shape shape = Shape::House;
    Area body;
    Area back;  // the roof's shaded slope, where it has one
    std::vector<Door> doors;
    std::vector<Wing> wings;  // a great building's ranges, each roofed on its own
    Area rounds;              // its round towers and domes, standing over the ranges
    // A shipyard's slipways: ramps from its edge across the quay and out into the water.
    std::vector<std::pair<QPointF, QPointF>> slipways;
};

// How far a slipway runs out past the bank.
inline constexpr double kSlipwayReach = 30;
inline constexpr double kSlipwayHalfWidth = 4;

// Open ground of a whole block given to one building: paved court, churchyard or garden.
struct Grounds {
    Area area;
    Shape of;
};

// The whole town: its plan, the unnamed houses, and the named buildings with their doors.
struct Town {
    TownPlan plan;
    std::vector<Lot> houses;
    std::vector<Building> named;  // in table order of first appearance
    std::vector<Grounds> grounds;
    Area market;  // the open market square
};

// Grows the town on its site and gives each building of the table a place fitting what it is:
// gates on the wall, the keep on its rise, temples and courts on blocks of their own, harbour
// trades on the quay, inns and shops on the main streets, smiths by the gates.
Town buildTown(const CityLayout& site, QSize size, const std::vector<CityBuilding>& table);

}  // namespace marventa::plan
