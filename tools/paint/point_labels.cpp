#include "tools/paint/point_labels.h"

#include <algorithm>
#include <cmath>

#include "tools/common/rng.h"

namespace marventa {

namespace {

constexpr double kClash = 1000.0;  // cost of any overlap, beyond its area
constexpr double kSpotCost = 2.0;  // cost per step down a label's list of spots

double overlap(const QRectF& a, const QRectF& b) {
    const QRectF c = a.intersected(b);
    return c.isEmpty() ? 0.0 : kClash + c.width() * c.height();
}

}  // namespace

std::vector<std::optional<QRectF>> arrangeLabels(const std::vector<PointLabel>& labels,
                                                 const std::vector<QRectF>& obstacles,
                                                 const QRectF& bounds, std::uint64_t seed) {
    const std::size_t n = labels.size();
    // What each spot costs on its own: its place in the list, obstacles, the sheet's edge.
    std::vector<std::vector<double>> fixed(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < labels[i].spots.size(); ++k) {
            const QRectF& s = labels[i].spots[k];
            double c = kSpotCost * static_cast<double>(k);
            if (!bounds.contains(s)) {
                c += 10 * kClash;
            }
            for (const QRectF& o : obstacles) {
                c += overlap(s, o);
            }
            fixed[i].push_back(c);
        }
    }
    std::vector<std::size_t> choice(n, 0);
    auto box = [&](std::size_t i) { return labels[i].spots[choice[i]]; };
    auto between = [&](std::size_t i, const QRectF& r) {
        double c = 0.0;
        for (std::size_t j = 0; j < n; ++j) {
            if (j != i && !labels[j].spots.empty()) {
                c += overlap(r, box(j));
            }
        }
        return c;
    };
    Rng rng(seed);
    const int moves = static_cast<int>(n) * 400;
    double temperature = 400.0;
    const double cooling = std::pow(0.5 / temperature, 1.0 / std::max(1, moves));
    for (int m = 0; m < moves && n > 0; ++m, temperature *= cooling) {
        const auto i = static_cast<std::size_t>(rng.below(static_cast<int>(n)));
        if (labels[i].spots.size() < 2) {
            continue;
        }
        const auto k =
            static_cast<std::size_t>(rng.below(static_cast<int>(labels[i].spots.size())));
        if (k == choice[i]) {
            continue;
        }
        const double before = fixed[i][choice[i]] + between(i, box(i));
        const double after = fixed[i][k] + between(i, labels[i].spots[k]);
        if (after <= before || rng.uniform() < std::exp((before - after) / temperature)) {
            choice[i] = k;
        }
    }
    // Whatever still collides gives way, lowest rank (and then latest) first.
    std::vector<std::optional<QRectF>> out(n);
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return labels[a].rank < labels[b].rank; });
    std::vector<QRectF> kept;
    for (std::size_t i : order) {
        if (labels[i].spots.empty()) {
            continue;
        }
        // The chosen spot if it is clear; else the first clear one left.
        std::vector<std::size_t> tries{choice[i]};
        for (std::size_t k = 0; k < labels[i].spots.size(); ++k) {
            tries.push_back(k);
        }
        for (std::size_t k : tries) {
            const QRectF& s = labels[i].spots[k];
            const bool clear = fixed[i][k] < kClash &&
                               std::none_of(kept.begin(), kept.end(),
                                            [&](const QRectF& o) { return s.intersects(o); });
            if (clear) {
                out[i] = s;
                kept.push_back(s);
                break;
            }
        }
    }
    return out;
}

}  // namespace marventa
