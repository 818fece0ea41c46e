#pragma once

#include <QPointF>
#include <QSize>
#include <QString>
#include <vector>

#include "polygons.h"
#include "tools/city/city_layout.h"

namespace marventa::plan {

// What a patch of the plan is used for.
enum class Ward { Country, Houses, Market, Court, Garden };

// A Voronoi patch of the plan: a block of the town or a field outside it.
struct Cell {
    QPointF seed;
    Area shape;  // on land and on the map
    bool town = false;
    Ward ward = Ward::Country;
    std::vector<int> neighbours;
};

struct Gate {
    QString name;
    QPointF at;                 // on the wall
    QPointF inward;             // along the street into town
    std::vector<QPointF> road;  // from the gate out to the map's edge or a landing
};

struct Bridge {
    QPointF from;
    QPointF to;
};

// A town grown on its site: patches, wall, gates, streets, roads, bridges and blocks.
struct TownPlan {
    const CityLayout* site = nullptr;
    QSize size;
    Area water;
    Area marsh;
    Area land;
    Area town;  // inside the wall, on land
    std::vector<Cell> cells;
    std::vector<std::vector<QPointF>> wall;  // runs of wall; none along the water
    std::vector<QPointF> towers;
    std::vector<Gate> gates;
    std::vector<std::vector<QPointF>> mainStreets;
    std::vector<std::vector<QPointF>> lanes;
    std::vector<std::vector<QPointF>> roads;  // outside the wall
    std::vector<Bridge> bridges;
    std::vector<QPointF> landings;  // where a road ends at the water
    Area quay;                      // the paved strip along the town's water
    Area roadGround;                // the roads outside the wall, bridges excluded
    int market = -1;                // cell index
    int stronghold = -1;

    // The block of a town cell: the cell less its streets, quay and the lane inside the wall.
    std::vector<Area> blocks;  // by cell; empty outside the town
};

inline constexpr double kLane = 9.0;
inline constexpr double kMainStreet = 16.0;
inline constexpr double kRoad = 12.0;
inline constexpr double kWallWidth = 7.0;

TownPlan planTown(const CityLayout& site, QSize size);

}  // namespace marventa::plan
