#include "lake_basins.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <queue>

#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/flow_routing.h"
#include "tools/common/noise.h"
#include "tools/land/erosion.h"

namespace marventa {

namespace {

constexpr float kDownhill = 0.004f;  // deeper than this below the level, ground lies past a spill
constexpr float kDam = 0.003f;       // a dam's crest above the water
constexpr float kSill = 0.0004f;     // the outlet's sill above the water
constexpr float kShallows = 0.003f;  // the water's depth at the shore
constexpr float kDeeps = 0.012f;     // and at its middle
constexpr double kMiddle = 0.3;      // of the outline's reach: where the water starts
constexpr double kInflow = 40.0;     // pixels round a river's end where the water starts
constexpr float kWander = 0.0008f;   // on level ground the shore wanders by this much of height
constexpr float kPonded = 0.001f;    // ground the dam would flood deeper than this is a pond
constexpr int kRounds = 4;           // times the water may take what its dam walled in
constexpr double kEnclosed = 0.6;    // of a pond's edge beside the water: the lake takes it
constexpr double kTownRoom = 14.0;   // pixels of dry shore a lake leaves a town standing on it

struct Entry {
    float height;
    int cell;
    bool operator>(const Entry& o) const {
        return height != o.height ? height > o.height : cell > o.cell;
    }
};

// No arm of the water narrower than a few cells, nor a notch in its shore: the water's
// outline softened and cut at one half.
void softenShore(Grid<unsigned char>& water, const Grid<float>& height) {
    Grid<float> share(water.width(), water.height());
    for (std::size_t k = 0; k < share.cells().size(); ++k) {
        share.cells()[k] = water.cells()[k] ? 1.0f : 0.0f;
    }
    share = boxBlur(boxBlur(share, 1), 1);
    for (std::size_t k = 0; k < share.cells().size(); ++k) {
        water.cells()[k] = share.cells()[k] > 0.5f && height.cells()[k] > 0.0f;
    }
}

// The rim: every cell beside the water. Its outlet is the cell nearest the layout river's way
// out, or else its lowest, set just above the water; the rest is raised above it where lower.
void dam(const Grid<unsigned char>& water, Grid<float>& height, std::optional<QPointF> outflow,
         float top, int cell) {
    const int w = height.width();
    int outlet = -1;
    double best = 0.0;
    std::vector<int> rim;
    for (int j = 0; j < height.height(); ++j) {
        for (int i = 0; i < w; ++i) {
            if (water(i, j)) {
                continue;
            }
            bool beside = false;
            for (int k = 0; k < 8 && !beside; ++k) {
                beside = water.contains(i + kStepX[k], j + kStepY[k]) &&
                         water(i + kStepX[k], j + kStepY[k]);
            }
            if (!beside) {
                continue;
            }
            rim.push_back(j * w + i);
            const double rank = outflow
                                    ? std::hypot(i * cell - outflow->x(), j * cell - outflow->y())
                                    : height(i, j);
            if (outlet < 0 || rank < best) {
                outlet = j * w + i;
                best = rank;
            }
        }
    }
    for (int r : rim) {
        float& v = height.cells()[static_cast<std::size_t>(r)];
        v = r == outlet ? top + kSill : std::max(v, top + kDam);
    }
}

// Each stretch of `pond` that the water lies round on most of its edge becomes water; whether
// any did.
bool drownEnclosed(const Grid<unsigned char>& pond, Grid<unsigned char>& water) {
    const int w = pond.width();
    auto wet = [&](int i, int j) {
        for (int k = 0; k < 8; ++k) {
            if (water.contains(i + kStepX[k], j + kStepY[k]) &&
                water(i + kStepX[k], j + kStepY[k])) {
                return true;
            }
        }
        return water(i, j) != 0;
    };
    Grid<unsigned char> seen(w, pond.height(), 0);
    bool drowned = false;
    for (std::size_t start = 0; start < pond.cells().size(); ++start) {
        if (!pond.cells()[start] || seen.cells()[start]) {
            continue;
        }
        std::vector<int> stretch{static_cast<int>(start)};
        seen.cells()[start] = 1;
        int byWater = 0;
        int edge = 0;
        for (std::size_t n = 0; n < stretch.size(); ++n) {
            const int i0 = stretch[n] % w;
            const int j0 = stretch[n] / w;
            for (int k = 0; k < 4; ++k) {
                const int i = i0 + kStepX[k];
                const int j = j0 + kStepY[k];
                if (!pond.contains(i, j)) {
                    continue;
                }
                if (pond(i, j)) {
                    if (!seen(i, j)) {
                        seen(i, j) = 1;
                        stretch.push_back(j * w + i);
                    }
                } else {
                    ++edge;
                    byWater += wet(i, j) ? 1 : 0;
                }
            }
        }
        if (byWater > kEnclosed * edge) {
            for (int c : stretch) {
                water.cells()[static_cast<std::size_t>(c)] = 1;
            }
            drowned = true;
        }
    }
    return drowned;
}

int holdLake(const Lake& lake, const std::vector<RiverCourse>& rivers,
             const std::vector<QPointF>& towns, Grid<float>& height, const Grid<float>& filled,
             int cell) {
    const int w = height.width();
    const double reach = 1.7 * std::max(lake.shape.rx, lake.shape.ry);
    const QPointF c = lake.shape.centre;
    auto within = [&](int i, int j) {
        const QPointF at(i * cell, j * cell);
        return height.contains(i, j) && std::hypot(at.x() - c.x(), at.y() - c.y()) <= reach &&
               std::none_of(towns.begin(), towns.end(), [&](QPointF t) {
                   return std::hypot(at.x() - t.x(), at.y() - t.y()) < kTownRoom;
               });
    };
    // The water starts where a layout river runs into the lake, so that it does (the lowest
    // ground there); for a lake no river runs into, on the lowest ground in its middle.
    std::vector<QPointF> inflows;
    for (const RiverCourse& r : rivers) {
        if (lake.shape.reach(r.course.back()) <= 1.5) {
            inflows.push_back(r.course.back());
        }
    }
    int seed = -1;
    for (int j = 0; j < height.height(); ++j) {
        for (int i = 0; i < w; ++i) {
            const QPointF at(i * cell, j * cell);
            const bool start =
                inflows.empty() ? lake.shape.reach(at) <= kMiddle
                                : std::any_of(inflows.begin(), inflows.end(), [&](QPointF p) {
                                      return std::hypot(p.x() - at.x(), p.y() - at.y()) <= kInflow;
                                  });
            if (height(i, j) > 0.0f && start &&
                (seed < 0 || height(i, j) < height.cells()[static_cast<std::size_t>(seed)])) {
                seed = j * w + i;
            }
        }
    }
    if (seed < 0) {
        return -1;
    }
    const auto target =
        static_cast<std::size_t>(std::numbers::pi * lake.shape.rx * lake.shape.ry / (cell * cell));
    Grid<unsigned char> water(w, height.height(), 0);
    Grid<unsigned char> seen(w, height.height(), 0);
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    // Level ground would fill in the order of its cells, in straight rows; a faint wobble of the
    // ground lets the shore wander across a flat instead.
    const Noise wobble(0x1A4E'0010);
    auto rise = [&](int i, int j) {
        return height(i, j) + kWander * wobble.fbm(static_cast<float>(i * cell) / 110.0f,
                                                   static_cast<float>(j * cell) / 110.0f, 2);
    };
    open.push({rise(seed % w, seed / w), seed});
    seen.cells()[static_cast<std::size_t>(seed)] = 1;
    float level = 0.0f;
    std::size_t count = 0;
    // The water rises cell by cell over the lowest ground it touches. Ground well below the
    // level lies beyond a spill, down the valley the water would run out by: the dam stands
    // there, and the water rises on elsewhere.
    while (!open.empty() && count < target) {
        const Entry e = open.top();
        open.pop();
        if (count > 0 && height.cells()[static_cast<std::size_t>(e.cell)] < level - kDownhill) {
            continue;
        }
        level = std::max(level, height.cells()[static_cast<std::size_t>(e.cell)]);
        water.cells()[static_cast<std::size_t>(e.cell)] = 1;
        ++count;
        for (int k = 0; k < 8; ++k) {
            const int i = e.cell % w + kStepX[k];
            const int j = e.cell / w + kStepY[k];
            if (within(i, j) && !seen(i, j) && height(i, j) > 0.0f) {
                seen(i, j) = 1;
                open.push({rise(i, j), j * w + i});
            }
        }
    }
    // Where a layout river leaves the lake: the first point of its course beyond the outline.
    std::optional<QPointF> outflow;
    for (const RiverCourse& r : rivers) {
        if (lake.shape.reach(r.course.front()) <= 1.5) {
            const auto out = std::find_if(r.course.begin(), r.course.end(),
                                          [&](QPointF p) { return lake.shape.reach(p) > 1.0; });
            if (out != r.course.end()) {
                outflow = *out;
            }
        }
    }
    // In a wider hollow, one that the ground round it would hold to a higher spill, the rim
    // stands above that spill, so the lake keeps its own shore and the rest of the hollow is
    // filled in as dry flats.
    const float top = std::max(level, filled.cells()[static_cast<std::size_t>(seed)]);
    const Grid<float> before = height;
    for (int round = 0;; ++round) {
        height = before;
        softenShore(water, height);
        dam(water, height, outflow, top, cell);
        // The bed is level with the water at the shore and deepens away from it; a valley floor
        // drowned deep under the water is raised to it, so a river leaving the lake starts at
        // the water's level, not from the foot of its dam.
        const Grid<float> fromShore = distanceTo(
            [&] {
                Grid<unsigned char> dry(w, height.height());
                for (std::size_t k = 0; k < dry.cells().size(); ++k) {
                    dry.cells()[k] = !water.cells()[k];
                }
                return dry;
            }(),
            8.0f);
        for (std::size_t k = 0; k < water.cells().size(); ++k) {
            if (water.cells()[k]) {
                const float in = std::min(1.0f, fromShore.cells()[k] / 8.0f);
                height.cells()[k] = level - kShallows - (kDeeps - kShallows) * in;
            }
        }
        // Low ground the water went round is walled in by the dam, and would stand as a pond
        // inside a ring of dry rim. A tongue the water lies round on most sides is the lake's,
        // and the dam is built again round the whole; a shelf against higher ground is made up
        // to the dam's crest, dry flats joined to the shore.
        const Grid<float> after = fillHollows(height, outlets(height), 1e-5f);
        Grid<unsigned char> pond(w, height.height(), 0);
        for (int j = 0; j < height.height(); ++j) {
            for (int i = 0; i < w; ++i) {
                const auto k = static_cast<std::size_t>(j * w + i);
                pond.cells()[k] =
                    !water.cells()[k] && within(i, j) &&
                    after.cells()[k] - std::max(before.cells()[k], filled.cells()[k]) > kPonded;
            }
        }
        if (round == kRounds || !drownEnclosed(pond, water)) {
            for (std::size_t k = 0; k < pond.cells().size(); ++k) {
                if (pond.cells()[k]) {
                    height.cells()[k] = after.cells()[k];
                }
            }
            break;
        }
    }
    return seed;
}

}  // namespace

std::vector<int> holdLakes(const ProvinceLayout& layout, Grid<float>& height, int cell) {
    std::vector<int> seeds;
    for (const Lake& lake : layout.lakes) {
        const Grid<float> filled = fillHollows(height, outlets(height), 1e-5f);
        seeds.push_back(holdLake(lake, layout.rivers, layout.lakeTowns, height, filled, cell));
    }
    return seeds;
}

}  // namespace marventa
