#include "tools/paint/brush_strokes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/rng.h"

namespace marventa {

namespace {

struct Stroke {
    float cx, cy;  // its middle
    float dx, dy;  // the way the brush moved
    float length;  // of its straight run, between the rounded ends
    float half;    // half its width
};

// One sweep of the brush: a rounded band whose sides wander as the bristles spread and close,
// the pigment dried darker along its rim (a dry skip has none: no water carried pigment there).
// Adds to `out` how much of the stroke covers each pixel times `strength`, with its rim. A `dry`
// sweep is laid as a brush running out of paint leaves it: in streaks along its way, barely at
// its start and broken most toward its end.
void lay(Grid<float>& out, const Stroke& s, float strength, float rim, const Noise& sides,
         const Noise& rag, float key, bool dry = false) {
    constexpr float kRag = 6.0f;
    // Each side's half width along the run, a pixel apart, both ends' caps included.
    const int runs = static_cast<int>(s.length + 2.0f * s.half) + 2;
    std::vector<float> left(static_cast<std::size_t>(runs));
    std::vector<float> right(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const float along = static_cast<float>(i) - 0.5f * static_cast<float>(runs);
        left[static_cast<std::size_t>(i)] =
            s.half * (1.0f + 0.22f * sides.fbm(along / 110.0f + key, 3.0f + key, 2));
        right[static_cast<std::size_t>(i)] =
            s.half * (1.0f + 0.22f * sides.fbm(along / 110.0f + key, -3.0f + key, 2));
    }
    const float widest = std::max(*std::max_element(left.begin(), left.end()),
                                  *std::max_element(right.begin(), right.end()));
    // The rotated band's box.
    const float ex = 0.5f * s.length * std::fabs(s.dx) + (widest + kRag) * std::fabs(s.dy);
    const float ey = 0.5f * s.length * std::fabs(s.dy) + (widest + kRag) * std::fabs(s.dx);
    const float pad = widest + kRag + 1.0f;
    const int x0 = std::max(0, static_cast<int>(s.cx - ex - pad));
    const int x1 = std::min(out.width() - 1, static_cast<int>(s.cx + ex + pad));
    const int y0 = std::max(0, static_cast<int>(s.cy - ey - pad));
    const int y1 = std::min(out.height() - 1, static_cast<int>(s.cy + ey + pad));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float px = static_cast<float>(x) - s.cx;
            const float py = static_cast<float>(y) - s.cy;
            const float along = px * s.dx + py * s.dy;
            const float across = -px * s.dy + py * s.dx;
            const float past = std::max(std::fabs(along) - 0.5f * s.length, 0.0f);
            const float off = std::hypot(past, across);
            if (off > widest + kRag + 1.0f) {
                continue;
            }
            const int i =
                std::clamp(static_cast<int>(along + 0.5f * static_cast<float>(runs)), 0, runs - 1);
            const float width = (across > 0.0f ? left : right)[static_cast<std::size_t>(i)];
            float inside = width - off;
            if (inside < -kRag - 1.0f) {
                continue;
            }
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            if (inside < kRag + 12.0f) {
                inside += kRag * rag.fbm(fx / 16.0f, fy / 16.0f, 2);
            }
            const float cover = smoothstep(-0.7f, 0.7f, inside);
            if (cover <= 0.0f) {
                continue;
            }
            // The bristles leave faint streaks along the stroke; a dry brush skips on the
            // paper's tooth, leaving short soft flecks of bare paper in broken clusters rather
            // than long combed lines, more of them as it goes.
            const float streak =
                dry ? smoothstep(-0.9f, 0.2f, along / (0.5f * s.length + s.half)) *
                          smoothstep(-0.15f, 0.12f,
                                     sides.fbm(along / 17.0f + key, across / 4.5f - key, 2)) *
                          smoothstep(-0.32f, 0.1f,
                                     rag.fbm(along / 52.0f - key, across / 15.0f + key, 2))
                    : 1.0f + 0.18f * sides.fbm(along / 160.0f + key, across / 9.0f - key, 2);
            const float pool = std::exp(-std::max(inside, 0.0f) / 2.2f);
            out(x, y) += cover * (strength * streak + rim * pool);
        }
    }
}

}  // namespace

Grid<float> brushStrokes(int width, int height, std::uint64_t seed) {
    Grid<float> out(width, height, 0.0f);
    const Noise sides(seed ^ 0x5A1D'0001ull);
    const Noise rag(seed ^ 0x5A1D'0002ull);
    Rng rng(seed);
    // One stroke to a cell, the cells' strokes overlapping their neighbours'; the hand swept
    // mostly one way, from upper left to lower right, turning a little from stroke to stroke.
    constexpr float kCell = 230.0f;
    constexpr float kSweep = 0.3f;
    // Where the brush ran dry it left the paper barer than the strokes round it, however many
    // crossed there.
    Grid<float> dry(width, height, 0.0f);
    int key = 0;
    for (float gy = -0.5f * kCell; gy < static_cast<float>(height) + kCell; gy += kCell) {
        for (float gx = -0.5f * kCell; gx < static_cast<float>(width) + kCell; gx += kCell) {
            const auto a = static_cast<float>(kSweep + rng.range(-0.4, 0.4));
            Stroke s{};
            s.cx = gx + static_cast<float>(rng.range(0.0, kCell));
            s.cy = gy + static_cast<float>(rng.range(0.0, kCell));
            s.dx = std::cos(a);
            s.dy = std::sin(a);
            const bool skip = rng.chance(0.25);
            s.length = static_cast<float>(skip ? rng.range(120.0, 280.0) : rng.range(200.0, 460.0));
            s.half = static_cast<float>(skip ? rng.range(22.0, 50.0) : rng.range(50.0, 140.0));
            const auto strength = static_cast<float>(rng.range(0.06, 0.15));
            const float k = 13.0f * static_cast<float>(++key % 97);
            if (skip) {
                lay(dry, s, 1.0f, 0.0f, sides, rag, k, true);
            } else {
                lay(out, s, strength, 0.9f * strength, sides, rag, k);
            }
        }
    }
    for (std::size_t i = 0; i < out.cells().size(); ++i) {
        const float d = std::min(dry.cells()[i], 1.0f);
        out.cells()[i] = out.cells()[i] * (1.0f - 0.7f * d) - 0.12f * d;
    }
    return out;
}

}  // namespace marventa
