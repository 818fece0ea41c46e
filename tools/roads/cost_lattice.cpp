#include "tools/roads/cost_lattice.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <tuple>

#include "tools/common/blend.h"
#include "tools/common/distance_transform.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr float kBlocked = std::numeric_limits<float>::infinity();
constexpr int kCell = CostLattice::kCell;

// The steepest grade (height per pixel) a road takes head on; beyond it a slant is cheaper.
constexpr float kGrade = 0.0012f;
// How far round a cell the ground is averaged to tell a valley floor from a rise, in cells.
constexpr int kReliefReach = 6;
// What a cell beside a river (a brook) costs on top of its ground, so a road runs a little apart.
constexpr float kRiverBank = 1.2f;
constexpr float kBrookBank = 0.5f;

// Sixteen directions: the eight neighbours and the eight knight's moves, so a road may run at
// any of sixteen headings instead of the eight a plain lattice draws as ruled lines.
constexpr int kSteps = 16;
constexpr int kDx[kSteps] = {1, 0, -1, 0, 1, -1, -1, 1, 2, 1, -1, -2, -2, -1, 1, 2};
constexpr int kDy[kSteps] = {0, 1, 0, -1, 1, 1, -1, -1, 1, 2, 2, 1, -1, -2, -2, -1};

// The price of climbing or descending at `grade` relative to the level, per unit of length:
// gentle grades cost little, and past kGrade the price rises so fast that a longer, slanting
// way is cheaper than going straight up.
float gradeFactor(float grade) {
    const float x2 = (grade / kGrade) * (grade / kGrade);
    return 1.0f + x2 + x2 * x2 * x2;
}

// Mean of `v` over a (2r+1)² box round each cell of a w × h lattice.
std::vector<float> boxMean(const std::vector<float>& v, int w, int h, int r) {
    std::vector<double> sum(std::size_t(w + 1) * (h + 1), 0.0);
    auto at = [&](int x, int y) -> double& { return sum[std::size_t(y) * (w + 1) + x]; };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            at(x + 1, y + 1) = v[std::size_t(y) * w + x] + at(x, y + 1) + at(x + 1, y) - at(x, y);
        }
    }
    std::vector<float> mean(v.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int x0 = std::max(0, x - r);
            const int y0 = std::max(0, y - r);
            const int x1 = std::min(w, x + r + 1);
            const int y1 = std::min(h, y + r + 1);
            mean[std::size_t(y) * w + x] = float(
                (at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0)) / ((x1 - x0) * (y1 - y0)));
        }
    }
    return mean;
}

}  // namespace

CostLattice::CostLattice(const Terrain& t, const Waterways& water)
    : w_(t.height.width() / kCell + 1), h_(t.height.height() / kCell + 1) {
    const std::size_t n = std::size_t(w_) * h_;
    height_.assign(n, 0.0f);
    ground_.assign(n, 0.0f);
    road_.assign(n, 0);
    running_.assign(n, 0);
    crowded_.assign(n, 0.0f);
    auto pixel = [&](int x, int y) {
        return std::pair{std::clamp(x * kCell + kCell / 2, 0, t.height.width() - 1),
                         std::clamp(y * kCell + kCell / 2, 0, t.height.height() - 1)};
    };
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            const auto [px, py] = pixel(x, y);
            height_[std::size_t(y) * w_ + x] = t.height(px, py);
        }
    }
    const std::vector<float> around = boxMean(height_, w_, h_, kReliefReach);
    auto h = [&](int x, int y) {
        return height_[std::size_t(std::clamp(y, 0, h_ - 1)) * w_ + std::clamp(x, 0, w_ - 1)];
    };
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            const auto i = std::size_t(y) * w_ + x;
            const auto [px, py] = pixel(x, y);
            if (height_[i] < 0.0f || t.lake(px, py) > 0) {
                ground_[i] = kBlocked;
                continue;
            }
            // Level, dry, open ground low in its valley is cheapest: a road keeps to the valley
            // floor and the river terraces, skirts woods and marsh, and avoids slanted ground it
            // would have to cut a shelf into.
            const float slope = std::hypot(h(x + 1, y) - h(x - 1, y), h(x, y + 1) - h(x, y - 1)) /
                                (2.0f * kCell * kGrade);
            const float relief = std::tanh((height_[i] - around[i]) / 0.004f);
            ground_[i] = 1.0f + 0.4f * slope * slope + 0.45f * relief + 0.5f * height_[i] +
                         1.2f * t.woods(px, py) + 1.5f * float(t.marsh(px, py)) / 255.0f +
                         0.3f * float(t.moor(px, py)) / 255.0f;
        }
    }
    // A bridge is dear, the more so the wider the water.
    Grid<unsigned char> river(w_, h_, 0);
    Grid<unsigned char> brook(w_, h_, 0);
    for (const auto* lines : {&water.rivers, &water.brooks}) {
        Grid<unsigned char>& wet = lines == &water.rivers ? river : brook;
        for (const RiverLine& r : *lines) {
            for (const QPointF& p : resample(r.points, kCell / 2.0)) {
                const int c = cellOf(p);
                ground_[std::size_t(c)] += 10.0f + 4.0f * r.widths.front();
                wet(c % w_, c / w_) = 1;
                running_[std::size_t(c)] = 1;
            }
        }
    }
    // The bank is dear too: an atlas road takes the drier ground a little above the water and
    // comes down to it only to cross, or where the valley leaves no other way.
    const Grid<float> toRiver = distanceTo(river, 4.0f);
    const Grid<float> toBrook = distanceTo(brook, 4.0f);
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            const auto i = std::size_t(y) * w_ + x;
            if (std::isinf(ground_[i])) {
                continue;
            }
            const auto bank = [](float d) {
                return d > 0.0f ? 1.0f - smoothstep(1.5f, 2.8f, d) : 0.0f;
            };
            ground_[i] += kRiverBank * bank(toRiver(x, y)) + kBrookBank * bank(toBrook(x, y));
        }
    }
}

int CostLattice::cellOf(QPointF p) const {
    return std::clamp(int(p.y()) / kCell, 0, h_ - 1) * w_ +
           std::clamp(int(p.x()) / kCell, 0, w_ - 1);
}

int CostLattice::landCellOf(QPointF p) const {
    int best = cellOf(p);
    double nearest = std::numeric_limits<double>::max();
    for (int j = -3; j <= 3; ++j) {
        for (int i = -3; i <= 3; ++i) {
            const int c = cellOf(p + QPointF(i * kCell, j * kCell));
            const double d = length(centre(c) - p);
            if (std::isfinite(ground_[std::size_t(c)]) && d < nearest) {
                best = c;
                nearest = d;
            }
        }
    }
    return best;
}

QPointF CostLattice::centre(int c) const {
    return QPointF(c % w_ * kCell + kCell / 2.0, c / w_ * kCell + kCell / 2.0);
}

void CostLattice::markRoad(const std::vector<QPointF>& points) {
    for (const QPointF& p : resample(points, kCell / 2.0)) {
        road_[std::size_t(cellOf(p))] = 1;
    }
}

void CostLattice::forgetRoads(QPointF at, double radius) {
    const int reach = int(radius) / kCell + 1;
    const int c = cellOf(at);
    for (int j = -reach; j <= reach; ++j) {
        for (int i = -reach; i <= reach; ++i) {
            const int x = c % w_ + i;
            const int y = c / w_ + j;
            if (x >= 0 && y >= 0 && x < w_ && y < h_ && length(centre(y * w_ + x) - at) < radius) {
                road_[std::size_t(y * w_ + x)] = 0;
            }
        }
    }
}

void CostLattice::clearCrowding() {
    std::fill(crowded_.begin(), crowded_.end(), 0.0f);
}

float CostLattice::cellCost(int cell, int start, double free) const {
    const auto i = std::size_t(cell);
    const float ground = road_[i] ? std::min(ground_[i], 1.0f) * discount_ : ground_[i];
    if (crowded_[i] > 0 && length(centre(cell) - centre(start)) > free) {
        return ground + crowded_[i];
    }
    return ground;
}

float CostLattice::stepCost(int from, int to, int dx, int dy, int start, double free) const {
    const float run = float(kCell) * std::hypot(float(dx), float(dy));
    const float grade = std::abs(height_[std::size_t(to)] - height_[std::size_t(from)]) / run;
    // The cells the step passes through, each weighted by its share: a long step cannot jump a
    // river or a lake's corner for free.
    float level = 0.5f * (cellCost(from, start, free) + cellCost(to, start, free));
    if (std::abs(dx) + std::abs(dy) > 1) {
        const int sx = (dx > 0) - (dx < 0);
        const int sy = (dy > 0) - (dy < 0);
        const int x = from % w_;
        const int y = from / w_;
        // The two cells beside the straight line from one centre to the other.
        const int a = std::abs(dx) == 2   ? y * w_ + x + sx
                      : std::abs(dy) == 2 ? (y + sy) * w_ + x
                                          : y * w_ + x + sx;
        const int b = std::abs(dx) == 2   ? (y + sy) * w_ + x + sx
                      : std::abs(dy) == 2 ? (y + sy) * w_ + x + sx
                                          : (y + sy) * w_ + x;
        level = 0.5f * level + 0.25f * (cellCost(a, start, free) + cellCost(b, start, free));
    }
    return run / kCell * level * gradeFactor(grade);
}

CostLattice::Sweep CostLattice::sweep(int start, float maxCost,
                                      const std::function<bool(int)>& stop, double free) const {
    const std::size_t n = ground_.size();
    Sweep s{std::vector<float>(n, kBlocked), std::vector<int>(n, -1), -1};
    using Entry = std::tuple<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    s.cost[std::size_t(start)] = 0.0f;
    open.emplace(0.0f, start);
    while (!open.empty()) {
        const auto [g, cell] = open.top();
        open.pop();
        if (g > s.cost[std::size_t(cell)]) {
            continue;
        }
        if (g > maxCost) {
            break;
        }
        if (stop && stop(cell)) {
            s.reached = cell;
            break;
        }
        const int x = cell % w_;
        const int y = cell / w_;
        for (int k = 0; k < kSteps; ++k) {
            const int nx = x + kDx[k];
            const int ny = y + kDy[k];
            if (nx < 0 || ny < 0 || nx >= w_ || ny >= h_) {
                continue;
            }
            const int next = ny * w_ + nx;
            const float total = g + stepCost(cell, next, kDx[k], kDy[k], start, free);
            if (total < s.cost[std::size_t(next)]) {
                s.cost[std::size_t(next)] = total;
                s.from[std::size_t(next)] = cell;
                open.emplace(total, next);
            }
        }
    }
    return s;
}

std::vector<int> CostLattice::Sweep::pathTo(int cell) const {
    std::vector<int> path;
    if (cell < 0 || std::isinf(cost[std::size_t(cell)])) {
        return path;
    }
    for (int c = cell; c >= 0; c = from[std::size_t(c)]) {
        path.push_back(c);
    }
    std::reverse(path.begin(), path.end());
    return path;
}

}  // namespace marventa
