#include "tools/paint/drawn_coast.h"

#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/paint/symbols.h"

namespace marventa {

namespace {

constexpr float kCap = 48.0f;  // px: how far either side of the shore it is measured
// The ground within this of the drawn shore is levelled to it, so that the sea's edge the
// painter finds to a fraction of a pixel is the drawn one; past twice this it is the land's own.
constexpr float kBand = 6.0f;
constexpr float kSlope = 0.001f;  // height a pixel across the levelled band
// How far the smoothed line may stray from the lattice's: enough to run through the middle of
// its jogs, not so far that a skerry melts away.
constexpr float kSmoothReach = 2.5f;
// Round a river's mouth the shore is rounded far more broadly, and only ever cut back: its
// corners open into the coast in curves while its channel stays as wide.
constexpr float kMouthReach = 18.0f;

bool isSea(const Terrain& t, int x, int y) {
    return t.height(x, y) < 0.0f && t.lake(x, y) == 0;
}

Grid<float> blurred(Grid<float> g, int radius, int passes) {
    for (int i = 0; i < passes; ++i) {
        g = boxBlur(g, radius);
    }
    return g;
}

// Distance from every pixel to the nearest of `points`, up to `cap`.
Grid<float> distanceToPoints(int w, int h, const std::vector<QPointF>& points, float cap) {
    Grid<unsigned char> at(w, h, 0);
    for (const QPointF& q : points) {
        const int x = static_cast<int>(std::lround(q.x()));
        const int y = static_cast<int>(std::lround(q.y()));
        if (at.contains(x, y)) {
            at(x, y) = 1;
        }
    }
    return distanceTo(at, cap);
}

}  // namespace

Terrain drawnCoast(const Terrain& terrain, const Waterways& water,
                   const std::vector<ProvincePlace>& places) {
    const int w = terrain.height.width();
    const int ht = terrain.height.height();
    Grid<unsigned char> sea(w, ht, 0);
    Grid<unsigned char> land(w, ht, 0);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            sea(x, y) = isSea(terrain, x, y) ? 1 : 0;
            land(x, y) = 1 - sea(x, y);
        }
    }
    // Signed distance from the shore, the land's side positive, the line halfway between a
    // land pixel and the sea's.
    const Grid<float> toSea = distanceTo(sea, kCap);
    const Grid<float> toLand = distanceTo(land, kCap);
    Grid<float> side(w, ht, 0.0f);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            side(x, y) = sea(x, y) ? 0.5f - toLand(x, y) : toSea(x, y) - 0.5f;
        }
    }
    // Smoothed over a few lattice cells the jogs run out into one line; at a mouth, broadly.
    const Grid<float> fine = blurred(side, 3, 3);
    const Grid<float> broad = blurred(side, 9, 3);
    std::vector<QPointF> mouths;
    std::vector<QPointF> ends;
    for (const auto* lines : {&water.rivers, &water.brooks}) {
        for (const RiverLine& r : *lines) {
            if (r.toSea && !r.points.empty()) {
                ends.push_back(r.points.back());
                if (lines == &water.rivers) {
                    mouths.push_back(r.points.back());
                }
            }
        }
    }
    const Grid<float> toMouth = distanceToPoints(w, ht, mouths, 120.0f);
    Grid<float> drawn = side;
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            const float s = side(x, y);
            if (std::fabs(s) >= kCap - 12.0f) {
                continue;
            }
            float d = std::clamp(fine(x, y), s - kSmoothReach, s + kSmoothReach);
            const float flare = 1.0f - smoothstep(40.0f, 110.0f, toMouth(x, y));
            if (flare > 0.0f) {
                const float opened = std::clamp(broad(x, y), s - kMouthReach, s);
                d = std::min(d, d + flare * (opened - d));
            }
            drawn(x, y) = d;
        }
    }
    // The hand's own wander: coves and points of a few pixels, bights of a couple, a faint
    // raggedness; held still where running water meets the sea and round every place.
    std::vector<QPointF> sites;
    for (const ProvincePlace& p : places) {
        sites.emplace_back(p.at.x, p.at.y);
    }
    const Grid<float> toEnd = distanceToPoints(w, ht, ends, 80.0f);
    const Grid<float> toSite = distanceToPoints(w, ht, sites, 80.0f);
    const Noise warp(0xC0A5'7001);
    Grid<float> wandered = drawn;
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            if (std::fabs(side(x, y)) >= kCap - 20.0f) {
                continue;
            }
            const auto fx = static_cast<float>(x);
            const auto fy = static_cast<float>(y);
            const float fade =
                smoothstep(20.0f, 70.0f, toEnd(x, y)) * smoothstep(12.0f, 44.0f, toSite(x, y));
            const auto [dx, dy] =
                raggedShift(warp, fx, fy, {5.0f, 2.0f, 0.6f}, {110.0f, 34.0f, 10.0f});
            wandered(x, y) = sampleBilinear(drawn, fx + fade * dx, fy + fade * dy);
        }
    }
    // Each place's point on its own side of the line, with a little ground round it.
    for (const ProvincePlace& p : places) {
        const QPointF at(p.at.x, p.at.y);
        if (!terrain.height.contains(p.at.x, p.at.y)) {
            continue;
        }
        const float own = isSea(terrain, p.at.x, p.at.y) ? -1.0f : 1.0f;
        around(wandered, at, kShoreClearOfPlace + 1.0, [&](int x, int y, float dist) {
            const float keep = own * (static_cast<float>(kShoreClearOfPlace) - dist + 0.5f);
            wandered(x, y) =
                own > 0.0f ? std::max(wandered(x, y), keep) : std::min(wandered(x, y), keep);
        });
    }
    // The ground levelled to the drawn line across a narrow band, the land's own beyond it.
    Terrain out = terrain;
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            if (terrain.lake(x, y) != 0) {
                continue;
            }
            const float d = wandered(x, y);
            const float h = terrain.height(x, y);
            const bool turned = (d > 0.0f) != (h >= 0.0f);
            if (!turned && std::fabs(d) >= 2.0f * kBand) {
                continue;
            }
            const float level = d * kSlope;
            const float v =
                turned ? level
                       : level + (h - level) * smoothstep(kBand, 2.0f * kBand, std::fabs(d));
            out.height(x, y) = d > 0.0f ? std::max(v, 0.0004f) : std::min(v, -0.0004f);
        }
    }
    return out;
}

std::vector<InkGap> harbourGaps(const Terrain& terrain, const std::vector<ProvincePlace>& places) {
    std::vector<InkGap> gaps;
    for (const ProvincePlace& p : places) {
        // The ring's own ink and a little paper round it.
        const double radius = symbolRadius(p.kind) + 2.2;
        bool shore = false;
        for (int dy = -static_cast<int>(radius); dy <= radius && !shore; ++dy) {
            for (int dx = -static_cast<int>(radius); dx <= radius && !shore; ++dx) {
                const int x = p.at.x + dx;
                const int y = p.at.y + dy;
                shore = dx * dx + dy * dy <= radius * radius && terrain.height.contains(x, y) &&
                        isSea(terrain, x, y);
            }
        }
        if (shore) {
            gaps.push_back({QPointF(p.at.x, p.at.y), radius});
        }
    }
    return gaps;
}

}  // namespace marventa
