#include "terrain.h"

#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/portable_math.h"
#include "tools/water/terrain_water.h"

namespace marventa {

namespace {

float fx(double v) {
    return static_cast<float>(v);
}

// The filled land at full size: bicubic, so the shading shows no creases along the lattice, with
// a grain that grows with height (scree and crags up high, barely a ripple in the meadows).
Grid<float> fineGround(const Waterways& water, int width, int height) {
    const Noise grain(0x7E44'0001);
    Grid<float> h(width, height);
    const float cell = fx(water.cell);
    Grid<float> soft = water.ground;
    for (int j = 1; j + 1 < soft.height(); ++j) {
        for (int i = 1; i + 1 < soft.width(); ++i) {
            const float c = water.ground(i, j);
            const float mean = 0.25f * (water.ground(i - 1, j) + water.ground(i + 1, j) +
                                        water.ground(i, j - 1) + water.ground(i, j + 1));
            // The sea's edge stays where it is.
            soft(i, j) = c > 0.0f && mean > 0.0f ? 0.5f * (c + mean) : c;
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Seen back through the rivers' meander field, and softened a little, so that the
            // lattice's straight gullies bend and blur like the water running in them.
            const QPointF from = QPointF(x, y) * 2.0 - meander(QPointF(x, y));
            const float v = sampleBicubic(soft, fx(from.x()) / cell, fx(from.y()) / cell);
            if (v <= 0.0f) {
                h(x, y) = v;
                continue;
            }
            const float rough = 0.002f + 0.012f * smoothstep(0.2f, 0.8f, v);
            h(x, y) = std::max(0.002f, v + rough * grain.fbm(fx(x) / 28.0f, fx(y) / 28.0f, 4));
        }
    }
    return h;
}

// Per-pixel ground cover from lattice-sized fields, sampled smoothly.
struct Cover {
    Grid<float> woods;
    Grid<float> moor;
    Grid<float> ash;
    Grid<float> marsh;
};

Cover coverFields(const ProvinceLayout& layout, const Waterways& water) {
    const Noise grove(0x7E44'0002);
    const Grid<float>& g = water.ground;
    const int w = g.width();
    const int h = g.height();
    Cover c{Grid<float>(w, h), Grid<float>(w, h), Grid<float>(w, h), Grid<float>(w, h)};
    const float cell = fx(water.cell);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const float v = g(i, j);
            if (v <= 0.0f) {
                continue;
            }
            const float px = fx(i) * cell;
            const float py = fx(j) * cell;
            const float slope = std::hypot(g.clamped(i + 1, j) - g.clamped(i - 1, j),
                                           g.clamped(i, j + 1) - g.clamped(i, j - 1)) /
                                (2.0f * cell);
            // Wetness: more water gathers in valley floors than on ridges.
            const float wet = smoothstep(1.0f, 6.0f, fx(portableLog1p(water.area(i, j))));
            // Copses wherever the noise and the wet favour them, thinning on steep and high ground.
            const float n = grove.fbm(px / 230.0f, py / 230.0f, 5);
            const float copse = 0.42f + 0.9f * (n - 0.25f) + 0.12f * wet;
            const QPointF warped(px + 170.0f * grove.fbm(px / 300.0f + 17.0f, py / 300.0f, 4),
                                 py + 170.0f * grove.fbm(px / 300.0f, py / 300.0f + 23.0f, 4));
            double reach = 9.0;
            for (const Wood& wd : layout.woods) {
                reach = std::min(reach, wd.reach(warped));
            }
            const float glade =
                smoothstep(-0.35f, -0.15f, grove.fbm(px / 70.0f, py / 70.0f + 60.0f, 3));
            const float old = smoothstep(1.05f, 0.8f, fx(reach)) * (0.45f + 0.35f * glade);
            const float bare = smoothstep(0.5f, 0.66f, v) + smoothstep(0.0035f, 0.006f, slope);
            c.woods(i, j) = std::clamp(std::max(copse, old) - 0.6f * bare, 0.0f, 1.0f);
            // Heather on high ground that rolls rather than climbs.
            c.moor(i, j) = smoothstep(0.2f, 0.3f, v) * smoothstep(0.6f, 0.45f, v) *
                           smoothstep(0.004f, 0.0015f, slope) *
                           (0.6f + 0.5f * grove.fbm(px / 160.0f + 3.0f, py / 160.0f, 3));
            for (const Ridge& r : layout.ridges) {
                if (r.volcanic) {
                    c.ash(i, j) = std::max(
                        c.ash(i, j), smoothstep(fx(r.halfWidth) * 1.2f, fx(r.halfWidth) * 0.4f,
                                                fx(distanceToPolyline({px, py}, r.crest))));
                }
            }
        }
    }
    return c;
}

// Marsh: flat ground barely above the water, by the sea or a lake; reaching farther inland where
// the layout's shore rises slowly.
void wetFlats(const Waterways& water, const Grid<float>& h, Grid<float>& marsh) {
    const Noise reed(0x7E44'0003);
    for (int j = 0; j < marsh.height(); ++j) {
        for (int i = 0; i < marsh.width(); ++i) {
            const float v = water.ground(i, j);
            if (v <= 0.0f || water.lakeId(i, j) >= 0) {
                continue;
            }
            const float px = fx(i * water.cell);
            const float py = fx(j * water.cell);
            const float above = h.clamped(int(px), int(py));
            marsh(i, j) = smoothstep(0.035f, 0.012f, above) *
                          smoothstep(-0.2f, 0.25f, reed.fbm(px / 110.0f, py / 110.0f, 4));
        }
    }
}

Grid<unsigned char> toBytes(const Grid<float>& coarse, int cell, int width, int height) {
    Grid<unsigned char> out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float v = sampleBilinear(coarse, fx(x) / fx(cell), fx(y) / fx(cell));
            out(x, y) = static_cast<unsigned char>(std::clamp(v, 0.0f, 1.0f) * 255.0f);
        }
    }
    return out;
}

}  // namespace

Terrain buildTerrain(const ProvinceLayout& layout, const Land& land, const Waterways& water,
                     int width, int height) {
    Terrain t;
    t.height = fineGround(water, width, height);
    t.lake = lakeCover(water, width, height);
    fillLakes(water, t.lake, t.height);
    for (const RiverLine& river : water.rivers) {
        t.riverBeds.push_back(riverBed(river, t.height, water, t.riverBeds));
        cutValley(river, t.riverBeds.back(), river.widths.back() > 7.0f ? 60.0f : 36.0f, t.height);
    }
    for (const RiverLine& river : water.rivers) {
        openEstuary(river, t.height);
    }
    fillLakes(water, t.lake, t.height);
    hollowCraters(land.craters, land.height, water, t.height, t.lake);
    Cover c = coverFields(layout, water);
    wetFlats(water, t.height, c.marsh);
    t.woods = Grid<float>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            t.woods(x, y) = sampleBilinear(c.woods, fx(x) / fx(water.cell), fx(y) / fx(water.cell));
        }
    }
    t.moor = toBytes(c.moor, water.cell, width, height);
    t.ash = toBytes(c.ash, water.cell, width, height);
    t.marsh = toBytes(c.marsh, water.cell, width, height);
    return t;
}

}  // namespace marventa
