#pragma once

#include <QImage>

#include "tools/land/terrain.h"

namespace marventa {

// The painted ground of the province, pixel by pixel: land tinted by height and shaded from the
// north-west, faint contours, wood floors, the sea and lakes with shallows, ripple lines along
// the shore and an inked coastline, all on a lightly grained paper.
QImage paintRelief(const Terrain& terrain);

}  // namespace marventa
