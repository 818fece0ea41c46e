#pragma once

#include <QPointF>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/land/terrain.h"
#include "tools/water/waterways.h"

namespace marventa {

// The sea's shore as a hand draws it over the land's: the lattice's square jogs smoothed into one
// running line, a river's mouth flared in curves into the coast, and the whole let wander a few
// pixels in coves and points. The ground is `terrain` everywhere else; the shore stays put where
// running water reaches the sea, and every place keeps its point on its own side of it.
Terrain drawnCoast(const Terrain& terrain, const Waterways& water,
                   const std::vector<ProvincePlace>& places);

// The sea's shore is inked within this of a place's point, and drawn round it when it would run
// nearer: a point on the water's edge keeps to dry ground.
inline constexpr double kShoreClearOfPlace = 3.0;

// Where the coast's ink is left out under a shore town's mark: its ring and a little paper round
// it, for each town or city whose mark the shore's line runs under in `terrain`.
struct InkGap {
    QPointF at;
    double radius;
};
std::vector<InkGap> harbourGaps(const Terrain& terrain, const std::vector<ProvincePlace>& places);

}  // namespace marventa
