#include "craters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/portable_math.h"
#include "tools/water/waterways.h"

namespace marventa {

namespace {

constexpr float kRimLift = 0.045f;                   // the rim above the summit it crowns
constexpr double kSpacing = 170.0;                   // pixels between two craters' centres
constexpr std::array<double, 3> kRadii{40, 32, 26};  // largest on the highest ground

float fx(double v) {
    return static_cast<float>(v);
}

// The angle between two directions, 0 .. pi.
float turn(float a, float b) {
    const float d = std::fabs(std::remainder(a - b, 2.0f * std::numbers::pi_v<float>));
    return d;
}

// The crater's ground at `d` pixels from its centre in direction `angle`: a flat floor, a bowl
// rising to the rim, then the cone's outer flank falling away. `breach` is the direction of
// the rim's gap (ignored when the rim is whole); `ground` is the land there before.
float craterHeight(const Crater& c, float top, float ground, float d, float angle, float breach,
                   const Noise& wobble) {
    const float r = fx(c.radius) * (1.0f + 0.16f * wobble.fbm(3.0f + std::cos(angle) * 1.4f,
                                                              3.0f + std::sin(angle) * 1.4f, 3));
    const float depth = 0.02f + 0.06f * fx(c.radius) / 34.0f;
    float crest = top + 0.01f * wobble.fbm(std::cos(angle) * 3.0f, std::sin(angle) * 3.0f, 2);
    if (c.breached) {
        crest -= 0.85f * depth * std::exp(-std::pow(turn(angle, breach) / 0.3f, 2.0f));
    }
    const float floor = top - depth;
    if (d <= r) {
        return floor + (crest - floor) * std::pow(smoothstep(0.4f * r, r, d), 1.4f);
    }
    // Outside the rim the cone's flank comes down onto the ground round it.
    return crest + (ground - crest) * std::pow(smoothstep(r, 2.4f * r, d), 0.7f);
}

}  // namespace

std::vector<Crater> raiseCraters(const ProvinceLayout& layout, Grid<float>& height, int cell) {
    const Noise wobble(0xC4A7'0001);
    std::vector<Crater> craters;
    for (const Ridge& ridge : layout.ridges) {
        if (!ridge.volcanic) {
            continue;
        }
        // The highest cells near the crest, each far enough from those already taken.
        std::vector<int> near;
        for (int j = 0; j < height.height(); ++j) {
            for (int i = 0; i < height.width(); ++i) {
                if (distanceToPolyline(QPointF(i * cell, j * cell), ridge.crest) <
                    0.5 * ridge.halfWidth) {
                    near.push_back(j * height.width() + i);
                }
            }
        }
        std::stable_sort(near.begin(), near.end(), [&](int a, int b) {
            return height.cells()[static_cast<std::size_t>(a)] >
                   height.cells()[static_cast<std::size_t>(b)];
        });
        std::vector<Crater> here;
        for (const int c : near) {
            const QPointF at(c % height.width() * cell, c / height.width() * cell);
            const bool clear = std::all_of(here.begin(), here.end(), [&](const Crater& o) {
                return length(o.centre - at) >= kSpacing;
            });
            if (clear) {
                // The second crater keeps its rim whole and holds a tarn.
                here.push_back({at, kRadii[here.size()], here.size() != 1});
                if (here.size() == kRadii.size()) {
                    break;
                }
            }
        }
        craters.insert(craters.end(), here.begin(), here.end());
    }
    for (const Crater& c : craters) {
        const int ci = static_cast<int>(c.centre.x()) / cell;
        const int cj = static_cast<int>(c.centre.y()) / cell;
        const int reach = static_cast<int>(c.radius * 2.5) / cell + 1;
        // The summit it crowns, and the way the ground falls fastest (where a gap spills).
        float summit = 0.0f;
        float breach = 0.0f;
        float lowest = 2.0f;
        for (int j = cj - reach; j <= cj + reach; ++j) {
            for (int i = ci - reach; i <= ci + reach; ++i) {
                if (!height.contains(i, j)) {
                    continue;
                }
                const float d = fx(std::hypot(i - ci, j - cj) * cell);
                if (d <= fx(c.radius)) {
                    summit = std::max(summit, height(i, j));
                }
                if (d > fx(c.radius) * 2.0f && height(i, j) < lowest) {
                    lowest = height(i, j);
                    breach = fx(portableAtan2(j - cj, i - ci));
                }
            }
        }
        const float top = summit + kRimLift;
        for (int j = cj - reach; j <= cj + reach; ++j) {
            for (int i = ci - reach; i <= ci + reach; ++i) {
                if (!height.contains(i, j)) {
                    continue;
                }
                const float d = fx(std::hypot(i - ci, j - cj) * cell);
                const float v = craterHeight(c, top, height(i, j), d,
                                             fx(portableAtan2(j - cj, i - ci)), breach, wobble);
                height(i, j) = d <= fx(c.radius) * 1.2f ? v : std::max(height(i, j), v);
            }
        }
    }
    return craters;
}

void hollowCraters(const std::vector<Crater>& craters, const Grid<float>& land,
                   const Waterways& water, Grid<float>& fine, Grid<unsigned char>& lake) {
    const float cell = fx(water.cell);
    for (const Crater& c : craters) {
        const int reach = static_cast<int>(c.radius * 1.6);
        const int cx = static_cast<int>(c.centre.x());
        const int cy = static_cast<int>(c.centre.y());
        for (int y = cy - reach; y <= cy + reach; ++y) {
            for (int x = cx - reach; x <= cx + reach; ++x) {
                if (!fine.contains(x, y)) {
                    continue;
                }
                // Seen through the same meander field as the rest of the ground.
                const QPointF from = QPointF(x, y) * 2.0 - meander(QPointF(x, y));
                const float gx = fx(from.x()) / cell;
                const float gy = fx(from.y()) / cell;
                const float held = std::max(
                    0.0f, sampleBilinear(water.ground, gx, gy) - sampleBicubic(land, gx, gy));
                fine(x, y) -= held;
                if (!c.breached) {
                    const float cover = std::clamp((held - 0.004f) / 0.004f, 0.0f, 1.0f);
                    lake(x, y) = std::max(lake(x, y), static_cast<unsigned char>(255 * cover));
                }
            }
        }
    }
}

}  // namespace marventa
