#include "coast_wear.h"

#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr int kTides = 100;           // rounds of wear
constexpr float kReach = 70.0f;       // pixels: ground farther inland is never worn
constexpr float kShoal = 130.0f;      // pixels: the floor is shallow enough for islands this near
constexpr float kStraight = 0.48f;    // a straight shore's exposure
constexpr float kSoftShare = 0.45f;   // what a straight shore wears: rock softer than this
constexpr float kBite = 3.0f;         // how fast the softest rock goes
constexpr float kShelter = 0.9f;      // how much less a sheltered shore wears
constexpr float kHeldFully = 180.0f;  // pixels round a held point where nothing moves
constexpr float kHeldFade = 380.0f;
constexpr float kNear = 48.0f;         // pixels round a change where the ground is reshaped
constexpr float kShoreRise = 0.0012f;  // the new shore's rise per pixel inland
constexpr float kIslandTop = 0.06f;
constexpr float kSlot = 8.0f;       // cells: the sea silts up inlets narrower than twice this
constexpr float kShareSpan = 7.0f;  // cells the smoothed share takes to rise across a shore

// Broad outcrops of harder and softer rock, crossed by harder ribs; near a held point all hard.
Grid<float> rockHardness(int w, int h, int cell, const std::vector<QPointF>& held,
                         Grid<float>& hold) {
    const Noise rock(0xC0A5'0001);
    Grid<float> hard(w, h);
    hold = Grid<float>(w, h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const auto x = static_cast<float>(i * cell);
            const auto y = static_cast<float>(j * cell);
            const float outcrop = rock.fbm(x / 280.0f, y / 280.0f, 2);
            const float ribs = rock.ridged(x / 190.0f + 11.0f, y / 190.0f, 2);
            float still = 0.0f;
            for (const QPointF& p : held) {
                const auto d = static_cast<float>(length(QPointF(x, y) - p));
                still = std::max(still, smoothstep(kHeldFade, kHeldFully, d));
            }
            hold(i, j) = still;
            const float v = 0.36f + 1.4f * outcrop + 0.35f * (ribs - 0.55f);
            hard(i, j) = std::clamp(std::max(v, still), 0.0f, 1.0f);
        }
    }
    return hard;
}

// How open each cell lies to the sea: the sea's share of the ground round it, near and far.
Grid<float> exposure(const Grid<unsigned char>& sea) {
    Grid<float> wet(sea.width(), sea.height());
    for (std::size_t k = 0; k < wet.cells().size(); ++k) {
        wet.cells()[k] = sea.cells()[k] ? 1.0f : 0.0f;
    }
    const Grid<float> near = boxBlur(wet, 8);
    const Grid<float> far = boxBlur(wet, 20);
    for (std::size_t k = 0; k < wet.cells().size(); ++k) {
        wet.cells()[k] = 0.5f * (near.cells()[k] + far.cells()[k]);
    }
    return wet;
}

bool byTheSea(const Grid<unsigned char>& sea, int i, int j) {
    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        if (sea.contains(i + dx, j + dy) && sea(i + dx, j + dy)) {
            return true;
        }
    }
    return false;
}

}  // namespace

WornCoast wearCoast(const Grid<float>& shore, int cell, const std::vector<QPointF>& held,
                    const std::vector<QRectF>& openSea) {
    const int w = shore.width();
    const int h = shore.height();
    Grid<float> hold;
    WornCoast out{shore, rockHardness(w, h, cell, held, hold), {}};
    const Grid<float>& hard = out.hardness;
    Grid<unsigned char> sea(w, h);
    for (std::size_t k = 0; k < sea.cells().size(); ++k) {
        sea.cells()[k] = shore.cells()[k] <= 0.0f;
    }
    // Each round the waves batter every shore cell by how much softer it is than its exposure
    // demands; a cell battered through falls to the sea. Soft rock goes fast, and a bay slows as
    // it deepens and its headlands shelter it.
    Grid<float> battered(w, h, 0.0f);
    for (int round = 0; round < kTides; ++round) {
        const Grid<float> open = exposure(sea);
        for (int j = 0; j < h; ++j) {
            for (int i = 0; i < w; ++i) {
                if (sea(i, j) || shore(i, j) > kReach || !byTheSea(sea, i, j)) {
                    continue;
                }
                const float demand = kSoftShare + kShelter * (open(i, j) - kStraight);
                battered(i, j) += kBite * std::max(0.0f, demand - hard(i, j));
            }
        }
        for (std::size_t k = 0; k < sea.cells().size(); ++k) {
            sea.cells()[k] = sea.cells()[k] || battered.cells()[k] >= 1.0f;
        }
    }
    // Islands and skerries: hard rock rising from the shallow floor, fewer farther out.
    const Noise reef(0xC0A5'0002);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const float off = -shore(i, j);
            const QPointF at(i * cell, j * cell);
            if (off < 12.0f || off > kShoal ||
                std::any_of(openSea.begin(), openSea.end(),
                            [&](const QRectF& r) { return r.contains(at); })) {
                continue;
            }
            const float rock = hard(i, j) + 0.22f * reef.fbm(static_cast<float>(at.x()) / 40.0f,
                                                             static_cast<float>(at.y()) / 40.0f, 2);
            if (hold(i, j) < 0.01f && rock > 0.78f + 0.0015f * off) {
                sea(i, j) = 0;
            }
        }
    }
    // No narrow inlet: where the sea has worn a slot narrower than a bay (a soft seam between
    // hard rock), the slot silts up again. The sea that a disc of kSlot cells can reach stays.
    {
        Grid<unsigned char> dryNow(w, h);
        for (std::size_t k = 0; k < sea.cells().size(); ++k) {
            dryNow.cells()[k] = !sea.cells()[k];
        }
        const Grid<float> fromLand = distanceTo(dryNow, kSlot + 2.0f);
        Grid<unsigned char> core(w, h);
        for (std::size_t k = 0; k < core.cells().size(); ++k) {
            core.cells()[k] = fromLand.cells()[k] > kSlot;
        }
        const Grid<float> fromCore = distanceTo(core, kSlot + 2.0f);
        for (std::size_t k = 0; k < sea.cells().size(); ++k) {
            if (sea.cells()[k] && shore.cells()[k] > 0.0f && fromCore.cells()[k] > kSlot) {
                sea.cells()[k] = 0;
            }
        }
    }
    // The worn shore as a drawn curve, not the lattice's steps: the land's share smoothed and
    // cut at one half; held ground keeps its first shore.
    Grid<float> land(w, h);
    for (std::size_t k = 0; k < land.cells().size(); ++k) {
        land.cells()[k] = sea.cells()[k] ? 0.0f : 1.0f;
    }
    land = boxBlur(boxBlur(land, 1), 2);
    Grid<unsigned char> dry(w, h);
    Grid<unsigned char> wet(w, h);
    for (std::size_t k = 0; k < land.cells().size(); ++k) {
        const bool isLand =
            hold.cells()[k] >= 1.0f ? shore.cells()[k] > 0.0f : land.cells()[k] > 0.5f;
        dry.cells()[k] = isLand;
        wet.cells()[k] = !isLand;
    }
    // A pool the smoothing cut off from the open sea is filled in: the sea is what joins the
    // sheet's edge.
    Grid<unsigned char> open(w, h, 0);
    std::vector<int> edge;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (wet(i, j) && (i == 0 || j == 0 || i == w - 1 || j == h - 1)) {
                open(i, j) = 1;
                edge.push_back(j * w + i);
            }
        }
    }
    while (!edge.empty()) {
        const int c = edge.back();
        edge.pop_back();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int i = c % w + dx;
            const int j = c / w + dy;
            if (wet.contains(i, j) && wet(i, j) && !open(i, j)) {
                open(i, j) = 1;
                edge.push_back(j * w + i);
            }
        }
    }
    for (std::size_t k = 0; k < wet.cells().size(); ++k) {
        wet.cells()[k] = open.cells()[k];
        dry.cells()[k] = !open.cells()[k];
    }
    // Near the shore its distance comes from the smoothed share, which places the shore between
    // the cells, so the drawn coast runs smoothly across the lattice rather than in its steps.
    // Inland, the first distance holds wherever the sea took nothing nearer, so the land's broad
    // rise from the coast stays as it was; offshore, the sea shoals toward any land, islands
    // too. Held ground keeps its first distances.
    const auto px = static_cast<float>(cell);
    const float cap = 4000.0f / px;
    Grid<unsigned char> worn(w, h);
    for (std::size_t k = 0; k < worn.cells().size(); ++k) {
        worn.cells()[k] = wet.cells()[k] && shore.cells()[k] > 0.0f;
    }
    const Grid<float> toWorn = distanceTo(worn, cap);
    for (std::size_t k = 0; k < worn.cells().size(); ++k) {
        worn.cells()[k] = worn.cells()[k] || (dry.cells()[k] && shore.cells()[k] <= 0.0f);
    }
    out.toChange = distanceTo(worn, kNear / px);
    for (float& v : out.toChange.cells()) {
        v *= px;
    }
    const Grid<float> toLand = distanceTo(dry, cap);
    const Grid<float> toSea = distanceTo(wet, cap);
    for (std::size_t k = 0; k < land.cells().size(); ++k) {
        const float first = shore.cells()[k];
        const bool isLand = dry.cells()[k] != 0;
        if (hold.cells()[k] >= 1.0f && isLand == (first > 0.0f)) {
            continue;
        }
        const float across = (isLand ? toSea.cells()[k] : toLand.cells()[k]) * px - 0.5f * px;
        const float fine = std::fabs(land.cells()[k] - 0.5f) * kShareSpan * px;
        const float far = smoothstep(1.5f * px, 3.5f * px, across);
        float d = fine + (across - fine) * far;
        if (isLand && first > 0.0f) {
            d += (std::min(first, toWorn.cells()[k] * px) - d) * far;
        }
        d = std::max(0.5f, d);
        out.shore.cells()[k] = isLand ? d : -d;
    }
    return out;
}

void wearShore(Grid<float>& height, const WornCoast& coast) {
    for (std::size_t k = 0; k < height.cells().size(); ++k) {
        const float near = coast.toChange.cells()[k];
        if (near >= kNear) {
            continue;
        }
        const float d = coast.shore.cells()[k];
        float& h = height.cells()[k];
        const float fade = smoothstep(kNear, 0.5f * kNear, near);
        if (d <= 0.0f) {
            // The floor falls away from the new shore as it does from the first one.
            const float floor = d / 420.0f - 0.004f * smoothstep(0.0f, -8.0f, d);
            h = h > 0.0f ? floor : h + (floor - h) * fade;
        } else if (h <= 0.0f) {
            h = std::min(kIslandTop, d * kShoreRise * (0.5f + coast.hardness.cells()[k]));
        } else {
            h += (std::min(h, d * kShoreRise) - h) * fade;
        }
    }
}

}  // namespace marventa
