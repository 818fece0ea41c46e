#pragma once

#include <QPolygonF>
#include <QString>
#include <vector>

#include "city_ground.h"
#include "tools/common/world_places.h"

namespace marventa {

enum class BuildingShape { Hall, Gatehouse, Tower };

struct Door {
    QPointF at;       // exactly the table's point
    QPointF outward;  // unit vector out of the building, through the door
};

// Where a building of the city's table stands: a footprint with its doors on its outline.
struct Footprint {
    QString name;
    int number;
    BuildingShape shape;
    QPolygonF body;
    std::vector<Door> doors;
};

// Footprints for every building, each door on the outline exactly at its point: halls front
// the street their doors face and reach back from it; gates straddle the wall; towers are round;
// a building whose doors surround it (a keep) fills the box they span, grown where no door is.
std::vector<Footprint> planFootprints(const CityGround& ground,
                                      const std::vector<CityBuilding>& buildings);

}  // namespace marventa
