#pragma once

#include <QPolygonF>
#include <QRectF>
#include <cstdint>
#include <optional>
#include <vector>

namespace marventa {

// A name to set on the map: the spots it may take (the ground it would cover, turned with it),
// best first.
struct PointLabel {
    std::vector<QPolygonF> spots;
    int rank = 0;  // 0 for the names that must show; higher ranks give way first
    // What each spot costs beyond overlaps, e.g. for the roads and rivers it hides; empty for
    // none.
    std::vector<double> costs = {};
};

// Picks one spot per label by simulated annealing, so that labels overlap neither each other
// nor `obstacles` (symbols and the like) and stay inside `bounds`, preferring each label's
// earlier and cheaper spots and keeping clear of the large obstacles (the sheet's frames) by a
// margin where they can. A label that still collides at the end is left out, lowest rank
// first; the result holds the index of each label's chosen spot, or nothing for one left out.
std::vector<std::optional<std::size_t>> arrangeLabels(const std::vector<PointLabel>& labels,
                                                      const std::vector<QRectF>& obstacles,
                                                      const QRectF& bounds, std::uint64_t seed);

}  // namespace marventa
