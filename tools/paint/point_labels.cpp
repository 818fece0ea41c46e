#include "tools/paint/point_labels.h"

#include <algorithm>
#include <cmath>

#include "tools/common/rng.h"

namespace marventa {

namespace {

constexpr double kClash = 1000.0;  // cost of any overlap, beyond its area
constexpr double kSpotCost = 2.0;  // cost per step down a label's list of spots
// Two names this close read as one: their knock-outs touch. Priced below any overlap, so it
// moves a name where there is room and never drops one.
constexpr double kTouchGap = 4.0;
constexpr double kTouch = 400.0;
// Two names set on one line read as one unless about two letters of paper part them (a letter
// is a little over half the box's height).
constexpr double kLineGap = 1.1;
// The sheet's furniture (the title, the rose, the key) is told from symbols by its size; a name
// that comes within its margin crowds its frame, costing up to kCrowd as it nears the edge: more
// than a road crossed close by, less than any overlap.
constexpr double kFurnitureSide = 60.0;
constexpr double kFurnitureMargin = 24.0;
constexpr double kCrowd = 300.0;

struct Spot {
    QPolygonF shape;
    QRectF bounds;
    bool upright;  // an unturned box, which its bounds describe exactly
};

bool isUpright(const QPolygonF& p) {
    for (qsizetype i = 0; i + 1 < p.size(); ++i) {
        if (p[i].x() != p[i + 1].x() && p[i].y() != p[i + 1].y()) {
            return false;
        }
    }
    return true;
}

Spot spotOf(const QPolygonF& shape) {
    return {shape, shape.boundingRect(), isUpright(shape)};
}

bool collide(const Spot& a, const Spot& b) {
    return a.bounds.intersects(b.bounds) &&
           ((a.upright && b.upright) || a.shape.intersects(b.shape));
}

double overlap(const Spot& a, const Spot& b) {
    if (!collide(a, b)) {
        return 0.0;
    }
    const QRectF c = a.bounds.intersected(b.bounds);
    return kClash + c.width() * c.height();
}

// What a spot costs for crowding a frame: nothing beyond its margin, rising steeply to kCrowd
// where the spot would touch it (an overlap is priced apart).
double crowding(const Spot& s, const QRectF& frame) {
    if (std::min(frame.width(), frame.height()) < kFurnitureSide) {
        return 0.0;
    }
    const double dx =
        std::max({frame.left() - s.bounds.right(), s.bounds.left() - frame.right(), 0.0});
    const double dy =
        std::max({frame.top() - s.bounds.bottom(), s.bounds.top() - frame.bottom(), 0.0});
    const double gap = std::max(dx, dy);
    const double near = std::max(0.0, 1.0 - gap / kFurnitureMargin);
    return kCrowd * near * near;
}

// What two names cost for reading as one: their knock-outs touching, or, priced as an overlap
// (the reader takes the two for one name), standing on one line less than two letters apart.
double readTogether(const Spot& a, const Spot& b) {
    double c = 0.0;
    if (a.bounds.adjusted(-kTouchGap, -kTouchGap, kTouchGap, kTouchGap).intersects(b.bounds)) {
        c += kTouch;
    }
    if (!a.upright || !b.upright || a.bounds.intersects(b.bounds)) {
        return c;
    }
    const double line = std::min(a.bounds.height(), b.bounds.height());
    const double shared =
        std::min(a.bounds.bottom(), b.bounds.bottom()) - std::max(a.bounds.top(), b.bounds.top());
    const double gap =
        std::max(a.bounds.left() - b.bounds.right(), b.bounds.left() - a.bounds.right());
    return shared > 0.5 * line && gap < kLineGap * line ? c + kClash : c;
}

}  // namespace

std::vector<std::optional<std::size_t>> arrangeLabels(const std::vector<PointLabel>& labels,
                                                      const std::vector<QRectF>& obstacles,
                                                      const QRectF& bounds, std::uint64_t seed) {
    const std::size_t n = labels.size();
    std::vector<Spot> blocked;
    for (const QRectF& o : obstacles) {
        blocked.push_back(spotOf(QPolygonF(o)));
    }
    // Each spot, and what it costs on its own: its place in the list, the obstacles, the sheet's
    // edge, and whatever else it covers.
    std::vector<std::vector<Spot>> spots(n);
    std::vector<std::vector<double>> fixed(n);
    std::vector<std::vector<bool>> hidden(n);  // off the sheet or over an obstacle
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < labels[i].spots.size(); ++k) {
            const Spot s = spotOf(labels[i].spots[k]);
            double c = 0.0;
            if (!bounds.contains(s.bounds)) {
                c += 10 * kClash;
            }
            for (const Spot& o : blocked) {
                c += overlap(s, o);
            }
            hidden[i].push_back(c >= kClash);
            for (const QRectF& o : obstacles) {
                c += crowding(s, o);
            }
            c += kSpotCost * static_cast<double>(k);
            if (k < labels[i].costs.size()) {
                c += labels[i].costs[k];
            }
            spots[i].push_back(s);
            fixed[i].push_back(c);
        }
    }
    std::vector<std::size_t> choice(n, 0);
    auto between = [&](std::size_t i, const Spot& r) {
        double c = 0.0;
        for (std::size_t j = 0; j < n; ++j) {
            if (j != i && !spots[j].empty()) {
                const Spot& other = spots[j][choice[j]];
                c += overlap(r, other);
                c += readTogether(r, other);
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
        if (spots[i].size() < 2) {
            continue;
        }
        const auto k = static_cast<std::size_t>(rng.below(static_cast<int>(spots[i].size())));
        if (k == choice[i]) {
            continue;
        }
        const double before = fixed[i][choice[i]] + between(i, spots[i][choice[i]]);
        const double after = fixed[i][k] + between(i, spots[i][k]);
        if (after <= before || rng.uniform() < std::exp((before - after) / temperature)) {
            choice[i] = k;
        }
    }
    // Whatever still collides gives way, lowest rank (and then latest) first.
    std::vector<std::optional<std::size_t>> out(n);
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return labels[a].rank < labels[b].rank; });
    std::vector<const Spot*> kept;
    for (std::size_t i : order) {
        if (spots[i].empty()) {
            continue;
        }
        // The cheapest clear spot, counting what it costs beside the others' annealed spots as
        // well as on its own: by its own cost alone, a name hemmed in takes back a spot the
        // search had moved it off to leave its neighbour room, and pushes that one onto its line.
        std::vector<std::pair<double, std::size_t>> tries;
        for (std::size_t k = 0; k < spots[i].size(); ++k) {
            tries.emplace_back(fixed[i][k] + between(i, spots[i][k]), k);
        }
        std::stable_sort(tries.begin(), tries.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [total, k] : tries) {
            const Spot& s = spots[i][k];
            const bool clear =
                !hidden[i][k] && std::none_of(kept.begin(), kept.end(),
                                              [&](const Spot* o) { return collide(s, *o); });
            if (clear) {
                out[i] = k;
                choice[i] = k;
                kept.push_back(&s);
                break;
            }
        }
    }
    return out;
}

}  // namespace marventa
