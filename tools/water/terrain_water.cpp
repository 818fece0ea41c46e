#include "tools/water/terrain_water.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tools/common/blend.h"
#include "tools/common/flow_routing.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

Grid<unsigned char> lakeCover(const Waterways& water, int width, int height) {
    Grid<unsigned char> cover(width, height);
    const auto cell = static_cast<float>(water.cell);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float depth = sampleBilinear(water.lakeDepth, static_cast<float>(x) / cell,
                                               static_cast<float>(y) / cell);
            cover(x, y) = static_cast<unsigned char>(
                255.0f * std::clamp((depth - 0.0004f) / 0.0012f, 0.0f, 1.0f));
        }
    }
    return cover;
}

void fillLakes(const Waterways& water, const Grid<unsigned char>& cover, Grid<float>& h) {
    for (int y = 0; y < h.height(); ++y) {
        for (int x = 0; x < h.width(); ++x) {
            if (cover(x, y) == 0) {
                continue;
            }
            // The nearest lake cell with water names the lake.
            int id = water.lakeAt(QPointF(x, y));
            for (int k = 0; id < 0 && k < 8; ++k) {
                id = water.lakeAt(QPointF(x + kStepX[k] * water.cell, y + kStepY[k] * water.cell));
            }
            if (id >= 0) {
                h(x, y) = std::min(h(x, y), water.lakes[static_cast<std::size_t>(id)].level -
                                                0.01f * cover(x, y) / 255.0f);
            }
        }
    }
}

std::vector<float> riverBed(const RiverLine& river, const Grid<float>& h, const Waterways& water,
                            const std::vector<std::vector<float>>& earlierBeds) {
    const std::size_t n = river.points.size();
    std::vector<float> bed(n);
    float running = std::numeric_limits<float>::max();
    const int sourceLake = water.lakeAt(river.points.front());
    if (sourceLake >= 0) {
        running = water.lakes[static_cast<std::size_t>(sourceLake)].level;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF p = river.points[i];
        running = std::min(running - 1e-6f, h.clamped(int(p.x()), int(p.y())) - 0.012f);
        bed[i] = running;
    }
    // The running minimum falls in steps wherever the noisy ground dips under the river, and each
    // step would show as a terrace across the valley; a moving average (still falling all the
    // way) spreads every step over some sixty pixels of river.
    constexpr std::size_t kWindow = 8;
    std::vector<float> smooth(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t from = i >= kWindow ? i - kWindow : 0;
        const std::size_t to = std::min(n - 1, i + kWindow);
        float sum = 0.0f;
        for (std::size_t k = from; k <= to; ++k) {
            sum += bed[k];
        }
        smooth[i] = std::min(sum / static_cast<float>(to - from + 1),
                             i > 0 ? smooth[i - 1] : std::numeric_limits<float>::max());
    }
    bed = smooth;
    // A river reaching the sea keeps its bed just above it: cut lower, its valley would drown
    // into a long arm of the sea.
    float floor = 0.001f;
    const int mouthLake = water.lakeAt(river.points.back());
    if (mouthLake >= 0) {
        floor = water.lakes[static_cast<std::size_t>(mouthLake)].level;
    }
    for (std::size_t r = 0; r < earlierBeds.size(); ++r) {
        // A tributary joins an earlier river: it may not fall below that river's bed there.
        const Nearest n2 = nearestOnPolyline(river.points.back(), water.rivers[r].points);
        if (n2.distance < 20.0) {
            floor = std::max(floor, earlierBeds[r][n2.segment]);
        }
    }
    for (float& b : bed) {
        b = std::max(b, floor);
    }
    return bed;
}

void cutValley(const RiverLine& river, const std::vector<float>& bed, float reach, Grid<float>& h) {
    Grid<float> nearest(h.width(), h.height(), std::numeric_limits<float>::max());
    Grid<int> which(h.width(), h.height(), -1);
    // A river rising on a hillside cuts only a narrow gully at first; the full valley would
    // scoop a bowl out of the slope round its source.
    std::vector<float> reachAt(river.points.size(), reach);
    float along = 0.0f;
    for (std::size_t i = 1; i < river.points.size(); ++i) {
        along += static_cast<float>(length(river.points[i] - river.points[i - 1]));
        reachAt[i] = std::max(river.widths[i] + 6.0f, reach * smoothstep(0.0f, 160.0f, along));
    }
    reachAt[0] = std::min(reach, river.widths[0] + 6.0f);
    for (std::size_t i = 0; i < river.points.size(); ++i) {
        around(nearest, river.points[i], reachAt[i], [&](int x, int y, float d) {
            if (d < nearest(x, y)) {
                nearest(x, y) = d;
                which(x, y) = static_cast<int>(i);
            }
        });
    }
    const std::size_t last = river.points.size() - 1;
    for (std::size_t i = 0; i < river.points.size(); ++i) {
        around(nearest, river.points[i], reachAt[i], [&](int x, int y, float) {
            if (which(x, y) != static_cast<int>(i)) {
                return;
            }
            // The nearest point of the river's line itself (not only of its sample points), with
            // the bed and width there, so the valley's floor and walls run smoothly along it.
            const std::size_t a = i > 0 ? i - 1 : 0;
            const std::size_t b2 = std::min(last, i + 1);
            const std::vector<QPointF> piece(river.points.begin() + static_cast<long>(a),
                                             river.points.begin() + static_cast<long>(b2) + 1);
            const Nearest n = nearestOnPolyline(QPointF(x, y), piece);
            const std::size_t k = a + n.segment;
            const std::size_t k2 = std::min(last, k + 1);
            const auto t = static_cast<float>(n.along);
            const float b = bed[k] + (bed[k2] - bed[k]) * t;
            const float width = river.widths[k] + (river.widths[k2] - river.widths[k]) * t;
            const auto d = static_cast<float>(n.distance);
            const float keep = std::pow(smoothstep(width * 0.5f + 1.0f, reachAt[i], d), 0.8f);
            if (h(x, y) > b) {
                h(x, y) = b + (h(x, y) - b) * keep;
            }
        });
    }
}

}  // namespace marventa
