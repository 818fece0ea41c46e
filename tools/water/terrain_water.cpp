#include "tools/water/terrain_water.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/flow_routing.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr int kShoreBlur = 4;  // pixels, each of two passes

}  // namespace

Grid<unsigned char> lakeCover(const Waterways& water, int width, int height) {
    Grid<float> wet(width, height);
    const auto cell = static_cast<float>(water.cell);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float depth = sampleBilinear(water.lakeDepth, static_cast<float>(x) / cell,
                                               static_cast<float>(y) / cell);
            wet(x, y) = depth > 0.001f ? 1.0f : 0.0f;
        }
    }
    // The lattice's cells show through the interpolated depth as a shore of square jogs; blurred
    // over two cells and cut at one half, the shore runs as one smooth curve, a pixel or two
    // of it graded.
    wet = boxBlur(boxBlur(wet, kShoreBlur), kShoreBlur);
    // A shore that smooth reads as ruled: the curve is seen through a warp at three scales:
    // coves and points of a few dozen pixels, bights of a dozen and a ragged edge of a few. Where
    // running water meets the lake, the shore stays put, so no river stops short of it or runs out
    // over it.
    std::vector<QPointF> joins;
    for (const auto* lines : {&water.rivers, &water.brooks}) {
        for (const RiverLine& r : *lines) {
            for (const QPointF& end : {r.points.front(), r.points.back()}) {
                if (water.lakeAt(end) >= 0) {
                    joins.push_back(end);
                }
            }
        }
    }
    Grid<unsigned char> lattice(water.lakeDepth.width(), water.lakeDepth.height());
    for (std::size_t k = 0; k < lattice.cells().size(); ++k) {
        lattice.cells()[k] = water.lakeDepth.cells()[k] > 0.001f;
    }
    const Grid<float> toLake = distanceTo(lattice, 12.0f);
    const Noise warp(0x7A1E'0001);
    Grid<unsigned char> cover(width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto fx = static_cast<float>(x);
            const auto fy = static_cast<float>(y);
            if (sampleBilinear(toLake, fx / cell, fy / cell) * cell > 36.0f) {
                continue;
            }
            float fade = 1.0f;
            for (const QPointF& j : joins) {
                fade *= smoothstep(24.0f, 70.0f, static_cast<float>(length(QPointF(x, y) - j)));
            }
            const auto [dx, dy] =
                raggedShift(warp, fx, fy, {16.0f, 6.0f, 2.0f}, {90.0f, 30.0f, 9.0f});
            const float v = sampleBilinear(wet, fx + fade * dx, fy + fade * dy);
            cover(x, y) = static_cast<unsigned char>(
                255.0f * std::clamp((v - 0.5f) / 0.12f + 0.5f, 0.0f, 1.0f));
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
            for (int r = 1; id < 0 && r <= 5; ++r) {
                for (int k = 0; id < 0 && k < 8; ++k) {
                    id = water.lakeAt(
                        QPointF(x + kStepX[k] * water.cell * r, y + kStepY[k] * water.cell * r));
                }
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
    // A river rising on a hillside cuts only a narrow gully at first; the full valley would
    // scoop a bowl out of the slope round its source.
    const std::size_t n = river.points.size();
    std::vector<float> reachAt(n, reach);
    float along = 0.0f;
    for (std::size_t i = 1; i < n; ++i) {
        along += static_cast<float>(length(river.points[i] - river.points[i - 1]));
        reachAt[i] = std::max(river.widths[i] + 6.0f, reach * smoothstep(0.0f, 160.0f, along));
    }
    reachAt[0] = std::min(reach, river.widths[0] + 6.0f);
    // Each segment of the line would lower the ground round it toward its own bed; the ground
    // takes the deepest of those cuts. Taken from the nearest point of the line alone, a pixel
    // halfway between two stretches of the river (the inside of a bend, a loop back) jumps from
    // one stretch's bed to the other's, and every such switch shows in the shading as a dashed
    // seam or a ray across the valley's walls; the deepest cut changes smoothly everywhere.
    const Grid<float> before = h;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const QPointF a = river.points[k];
        const QPointF ab = river.points[k + 1] - a;
        const double len2 = QPointF::dotProduct(ab, ab);
        const float outer = std::max(reachAt[k], reachAt[k + 1]);
        // Every pixel within `outer` of the segment lies within this circle round its middle.
        around(h, a + 0.5 * ab, outer + 0.5 * std::sqrt(len2), [&](int x, int y, float) {
            const QPointF p(x, y);
            const double t =
                len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
            const auto tf = static_cast<float>(t);
            const float b = bed[k] + (bed[k + 1] - bed[k]) * tf;
            const float g = before(x, y);
            if (g <= b) {
                return;
            }
            const float width = river.widths[k] + (river.widths[k + 1] - river.widths[k]) * tf;
            const float r = reachAt[k] + (reachAt[k + 1] - reachAt[k]) * tf;
            const auto d = static_cast<float>(length(p - (a + t * ab)));
            const float keep = std::pow(smoothstep(width * 0.5f + 1.0f, r, d), 0.8f);
            h(x, y) = std::min(h(x, y), b + (g - b) * keep);
        });
    }
}

void openEstuary(const RiverLine& river, Grid<float>& h) {
    if (!river.toSea || river.points.size() < 3) {
        return;
    }
    // The channel's width before its funnel opens.
    const std::size_t n = river.points.size();
    std::size_t up = n - 1;
    for (double run = 0.0; up > 0 && run < 240.0; --up) {
        run += length(river.points[up] - river.points[up - 1]);
    }
    const float narrow = river.widths[up];
    const Grid<float> before = h;
    for (std::size_t i = n - 1; i-- > 0 && river.widths[i] >= 2.5f * narrow;) {
        const QPointF a = river.points[i];
        const QPointF ab = river.points[i + 1] - a;
        const double len2 = QPointF::dotProduct(ab, ab);
        const float half = 0.5f * std::max(river.widths[i], river.widths[i + 1]);
        around(h, a + 0.5 * ab, half + 0.5 * std::sqrt(len2), [&](int x, int y, float) {
            const QPointF p(x, y);
            const double t =
                len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
            const float w =
                river.widths[i] + (river.widths[i + 1] - river.widths[i]) * static_cast<float>(t);
            const auto d = static_cast<float>(length(p - (a + t * ab)));
            if (d <= 0.5f * w) {
                h(x, y) = std::min(h(x, y), -0.002f * smoothstep(0.5f * w, 0.0f, d) - 0.0005f);
            }
        });
    }
    // The line ends where the coarse lattice meets the sea; at the picture's finer shore a strip
    // of beach may still close the mouth. Open it to the nearest sea.
    const QPointF mouth = river.points.back();
    QPointF sea = mouth;
    float nearest = 80.0f;
    around(h, mouth, nearest, [&](int x, int y, float d) {
        if (before(x, y) < 0.0f && d < nearest) {
            nearest = d;
            sea = QPointF(x, y);
        }
    });
    if (nearest < 1.5f) {
        return;
    }
    const QPointF ab = sea - mouth;
    const double len2 = QPointF::dotProduct(ab, ab);
    const float half = 0.5f * river.widths.back();
    around(h, mouth + 0.5 * ab, half + 0.5 * std::sqrt(len2) + 2.0, [&](int x, int y, float) {
        const QPointF p(x, y);
        const double t = std::clamp(QPointF::dotProduct(p - mouth, ab) / len2, 0.0, 1.0);
        if (length(p - (mouth + t * ab)) <= half) {
            h(x, y) = std::min(h(x, y), -0.0025f);
        }
    });
}

}  // namespace marventa
