#pragma once

#include <QPointF>
#include <vector>

#include "tools/common/grid.h"
#include "tools/roads/cost_lattice.h"

namespace marventa {

// The corners of a line: the indices of the points that a run of straight legs through them
// keeps within `tolerance` pixels of every point, the first and last among them.
std::vector<std::size_t> legCorners(const std::vector<QPointF>& line, double tolerance);

// Eases every hairpin of a lattice line whose legs are too short to read as a switchback (under
// 30 px): the short leg is drawn together into one corner at its middle, so a zigzag down a
// bank becomes one bend. A change is kept only where the new legs keep to dry land and the
// line, smoothed as it is drawn, climbs no faster there on `ground` (the picture's heights)
// than a laden cart can; the ends stay.
void easeShortHairpins(const CostLattice& lattice, const Grid<float>& ground,
                       std::vector<QPointF>& line);

}  // namespace marventa
