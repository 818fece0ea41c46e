#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <vector>

#include "catalogue/catalogue.h"

namespace marventa {

// A city's site, set by hand to agree with the province around it: the water, the rises, where
// the town stands and where its roads come from. Everything else is grown from it.

// A road that reaches the town through a gate; it leaves the map at `toward`.
struct GateSite {
    QString name;
    QPointF toward;
};

// A road from the quay at `from` across water to the map's edge at `to`.
struct CrossingSite {
    QPointF from;
    QPointF to;
};

// A rise of the ground: `height` 0 .. 1 at its top, falling off over `radius`; a crag has a band
// of cliff under a small top.
struct Rise {
    QPointF centre;
    double radius;
    double height;
    bool crag = false;
};

struct CityLayout {
    PlaceTableId table;
    std::uint64_t seed;
    std::vector<std::vector<QPointF>> waters;   // closed: sea, estuary, river, lake, pond
    std::vector<std::vector<QPointF>> marshes;  // closed; wet ground, nothing built there
    QPointF centre;                             // the walled town: a roughened ellipse
    QSizeF radii;
    QPointF market;
    QPointF stronghold;  // where the keep, castle or palace stands
    std::vector<GateSite> gates;
    std::vector<CrossingSite> crossings;
    std::vector<Rise> rises;
    std::vector<std::vector<QPointF>> moles;  // piers and moles, from the shore out
    QPointF lighthouse;                       // when the town has one
    double cellSize;                          // a block's span in the middle of town
};

const std::vector<CityLayout>& cityLayouts();
const CityLayout& cityLayout(PlaceTableId table);

}  // namespace marventa
