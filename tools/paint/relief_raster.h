#pragma once

#include <QImage>

#include "tools/land/terrain.h"

namespace marventa {

// The painted ground of the province, pixel by pixel: land tinted by height and shaded from the
// north-west, wood floors, the sea and lakes with shallows, ripple lines along the shore and an
// inked coastline of slowly varying weight; every colour laid as an uneven wash on a grained
// paper, drying darker where it meets the shore and the woods.
// Given the trees' `cover` (non-zero where they stand), the wood floor lies only near them, out to
// the wood's edge.
QImage paintRelief(const Terrain& terrain, const QImage* cover = nullptr);

// Inlets narrower than twice this are sheltered water: a river's funnel, a creek.
constexpr float kInletHalfWidth = 36.0f;

// How far each pixel lies from the open water (water farther than `kInletHalfWidth` from any
// land), read as just past `kInletHalfWidth` on land and deep in a sheltered inlet alike.
Grid<float> distanceToOpenWater(const Terrain& terrain);

}  // namespace marventa
