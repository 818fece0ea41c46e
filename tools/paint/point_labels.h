#pragma once

#include <QRectF>
#include <cstdint>
#include <optional>
#include <vector>

namespace marventa {

// A name to set beside a point: the spots it may take round the point, best first.
struct PointLabel {
    std::vector<QRectF> spots;
    int rank = 0;  // 0 for the names that must show; higher ranks give way first
};

// Picks one spot per label by simulated annealing, so that labels overlap neither each other
// nor `obstacles` (symbols and the like) and stay inside `bounds`, preferring each label's
// earlier spots. A label that still collides at the end is left out, lowest rank first; the
// result holds the chosen box of each label, or nothing for a label left out.
std::vector<std::optional<QRectF>> arrangeLabels(const std::vector<PointLabel>& labels,
                                                 const std::vector<QRectF>& obstacles,
                                                 const QRectF& bounds, std::uint64_t seed);

}  // namespace marventa
