#include "tools/paint/sea_names.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <optional>

namespace marventa {

namespace {

constexpr int kStep = 4;  // pixels between the samples the islands are found on

// Given to the islands largest first; fewer islands than names leave the rest unused.
const char* const kIslandNames[] = {"Mewsey", "Dulse Isle", "Kittock Isle", "Sparling Skerry"};
constexpr int kNearest = 10;  // samples: a name's box comes no farther from its island

struct Patch {
    int samples = 0;
    double sx = 0.0, sy = 0.0;
    int left, top, right, bottom;
};

// How far from `from` along `dir` the first land lies, or nothing within `reach`.
std::optional<double> landAhead(const Terrain& terrain, QPointF from, QPointF dir, double reach) {
    for (double d = 0.0; d <= reach; d += 2.0) {
        const QPointF q = from + d * dir;
        const int x = static_cast<int>(q.x());
        const int y = static_cast<int>(q.y());
        if (!terrain.height.contains(x, y)) {
            return std::nullopt;
        }
        if (terrain.height(x, y) >= 0.0f) {
            return d;
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<Island> namedIslands(const Terrain& terrain,
                                 const std::function<QSizeF(const QString&)>& nameSize,
                                 int fewestPixels) {
    const int w = terrain.height.width() / kStep;
    const int h = terrain.height.height() / kStep;
    auto land = [&](int i, int j) { return terrain.height(i * kStep, j * kStep) >= 0.0f; };
    // Every stretch of land, cell to cell (straight steps only: land meeting at a corner is two
    // stretches, as a strait a pixel wide parts them).
    Grid<int> patchOf(w, h, -1);
    std::vector<Patch> patches;
    for (int j0 = 0; j0 < h; ++j0) {
        for (int i0 = 0; i0 < w; ++i0) {
            if (!land(i0, j0) || patchOf(i0, j0) >= 0) {
                continue;
            }
            const int id = static_cast<int>(patches.size());
            Patch p{0, 0.0, 0.0, i0, j0, i0, j0};
            std::vector<std::pair<int, int>> open{{i0, j0}};
            patchOf(i0, j0) = id;
            while (!open.empty()) {
                const auto [i, j] = open.back();
                open.pop_back();
                ++p.samples;
                p.sx += i;
                p.sy += j;
                p.left = std::min(p.left, i);
                p.right = std::max(p.right, i);
                p.top = std::min(p.top, j);
                p.bottom = std::max(p.bottom, j);
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int x = i + dx;
                    const int y = j + dy;
                    if (patchOf.contains(x, y) && patchOf(x, y) < 0 && land(x, y)) {
                        patchOf(x, y) = id;
                        open.emplace_back(x, y);
                    }
                }
            }
            patches.push_back(p);
        }
    }
    if (patches.empty()) {
        return {};
    }
    const auto mainland =
        std::max_element(patches.begin(), patches.end(),
                         [](const Patch& a, const Patch& b) { return a.samples < b.samples; });
    std::vector<const Patch*> islands;
    for (const Patch& p : patches) {
        if (&p != &*mainland && p.samples * kStep * kStep >= fewestPixels) {
            islands.push_back(&p);
        }
    }
    // Largest first; of two the same size, the one found first (the higher on the sheet).
    std::stable_sort(islands.begin(), islands.end(),
                     [](const Patch* a, const Patch* b) { return a->samples > b->samples; });
    // Each sample of the sea by the stretch of land nearest it and how many steps away.
    Grid<int> nearest = patchOf;
    Grid<int> steps(w, h, 0);
    std::vector<std::pair<int, int>> front;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (patchOf(i, j) >= 0) {
                front.emplace_back(i, j);
            }
        }
    }
    for (std::size_t f = 0; f < front.size(); ++f) {
        const auto [i, j] = front[f];
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            if (nearest.contains(i + dx, j + dy) && nearest(i + dx, j + dy) < 0) {
                nearest(i + dx, j + dy) = nearest(i, j);
                steps(i + dx, j + dy) = steps(i, j) + 1;
                front.emplace_back(i + dx, j + dy);
            }
        }
    }
    std::vector<Island> out;
    for (std::size_t k = 0; k < islands.size() && out.size() < std::size(kIslandNames); ++k) {
        const Patch& p = *islands[k];
        const int id = static_cast<int>(islands[k] - patches.data());
        Island island{QString::fromLatin1(kIslandNames[out.size()]),
                      QPointF(p.sx / p.samples * kStep, p.sy / p.samples * kStep),
                      0.5 * kStep * std::max(p.right - p.left + 1, p.bottom - p.top + 1),
                      {}};
        const QSizeF size = nameSize(island.name);
        const int halfW = static_cast<int>(std::ceil(size.width() / 2 / kStep));
        const int halfH = static_cast<int>(std::ceil(size.height() / 2 / kStep));
        std::vector<std::pair<int, QPointF>> spots;
        for (int cj = p.top - halfH - kNearest; cj <= p.bottom + halfH + kNearest; cj += 2) {
            for (int ci = p.left - halfW - kNearest; ci <= p.right + halfW + kNearest; ci += 2) {
                int closest = kNearest + 1;
                bool clear = true;
                for (int j = cj - halfH; j <= cj + halfH && clear; ++j) {
                    for (int i = ci - halfW; i <= ci + halfW && clear; ++i) {
                        clear = nearest.contains(i, j) && patchOf(i, j) < 0 && nearest(i, j) == id;
                        closest = clear ? std::min(closest, steps(i, j)) : closest;
                    }
                }
                if (clear && closest >= 2 && closest <= kNearest) {
                    spots.emplace_back(closest, QPointF(ci * kStep, cj * kStep));
                }
            }
        }
        // Nearest the shore, then nearest the island's middle: beside it rather than off a cape.
        const QPointF middle = island.centre;
        std::stable_sort(spots.begin(), spots.end(), [&](const auto& a, const auto& b) {
            if (a.first != b.first) {
                return a.first < b.first;
            }
            const QPointF da = a.second - middle;
            const QPointF db = b.second - middle;
            return QPointF::dotProduct(da, da) < QPointF::dotProduct(db, db);
        });
        for (const auto& [closest, at] : spots) {
            island.spots.push_back(at);
        }
        // An island with no room round it for its name (under the key) goes unnamed, and its
        // name to the next.
        if (!island.spots.empty()) {
            out.push_back(std::move(island));
        }
    }
    return out;
}

double landAround(const Terrain& terrain, QPointF at, double reach) {
    constexpr int kRays = 72;
    int met = 0;
    for (int k = 0; k < kRays; ++k) {
        const double a = 2.0 * std::numbers::pi * k / kRays;
        const QPointF step(std::cos(a), std::sin(a));
        for (double d = 0.0; d <= reach; d += 4.0) {
            const QPointF q = at + d * step;
            const int x = static_cast<int>(q.x());
            const int y = static_cast<int>(q.y());
            if (!terrain.height.contains(x, y)) {
                break;
            }
            if (terrain.height(x, y) >= 0.0f) {
                ++met;
                break;
            }
        }
    }
    return static_cast<double>(met) / kRays;
}

std::vector<QPointF> alongCoast(const Terrain& terrain, QPointF anchor, double degrees, double span,
                                double reach) {
    constexpr double kStep = 6.0;
    const double a = degrees * std::numbers::pi / 180.0;
    const QPointF along(std::cos(a), std::sin(a));
    const QPointF left(along.y(), -along.x());
    const std::optional<double> toLeft = landAhead(terrain, anchor, left, reach);
    const std::optional<double> toRight = landAhead(terrain, anchor, -left, reach);
    if (!toLeft && !toRight) {
        return {};
    }
    const bool landLeft = toLeft && (!toRight || *toLeft <= *toRight);
    const QPointF landward = landLeft ? left : -left;
    const double off = landLeft ? *toLeft : *toRight;
    // How far each point would move toward the land to keep the anchor's distance from it: held
    // to a half of that distance, so a cove or a cape bends the line rather than snapping it.
    const int n = static_cast<int>(std::ceil(span / kStep));
    std::vector<double> shift;
    for (int i = 0; i <= n; ++i) {
        const QPointF p = anchor + along * (i * kStep - span / 2);
        const double d = landAhead(terrain, p, landward, reach).value_or(off);
        shift.push_back(std::clamp(d - off, -off / 2, off / 2));
    }
    // Smoothed over some hundred pixels either way: the shore's sweep, not its inlets.
    constexpr int kReach = 8;
    std::vector<QPointF> out;
    for (int i = 0; i <= n; ++i) {
        double sum = 0.0;
        int count = 0;
        for (int j = std::max(0, i - kReach); j <= std::min(n, i + kReach); ++j) {
            sum += shift[static_cast<std::size_t>(j)];
            ++count;
        }
        out.push_back(anchor + along * (i * kStep - span / 2) + landward * (sum / count));
    }
    return out;
}

}  // namespace marventa
