#include "tools/paint/hill_marks.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/rng.h"
#include "tools/paint/ink.h"
#include "tools/paint/keep_out.h"
#include "tools/paint/spaced_points.h"

namespace marventa {

namespace {

constexpr int kStep = 15;           // one spot tried per cell of this size
constexpr int kReach = 4;           // pixels either side over which the slope is taken
constexpr float kLow = 0.1f;        // below this the lowland is left plain
constexpr float kFadeOut = 170.0f;  // how far below the heights the slope marks run out
constexpr double kPace = 13.5;      // pixels from one mark to the next along a run
constexpr double kRunGap = 40.0;    // bare ground kept between one run of marks and the next

QPointF across(const HillMark& m) {
    return {-m.down.y(), m.down.x()};
}

// Where each stroke starts and ends: a row of short ticks, their tops along a curve bowed uphill
// as the brow of a slope, the middle ones longest, fanning a little down the fall. So a mark
// reads as a break of the ground, not as a field's three straight furrows.
SlopeStrokes strokes(const HillMark& m) {
    Rng rng(m.seed);
    SlopeStrokes out;
    const QPointF side = across(m);
    const double mid = (m.strokes - 1) / 2.0;
    for (int i = 0; i < m.strokes; ++i) {
        const double off = (i - mid) / std::max(mid, 1.0);
        const QPointF top = m.at + side * (off * mid * 2.4) + m.down * (2.2 * off * off);
        const double turn = 0.22 * off;
        const QPointF way = m.down * std::cos(turn) + side * std::sin(turn);
        const double len = m.length * (1.0 - 0.45 * off * off) * rng.range(0.8, 1.1);
        out.emplace_back(top, top + way * len);
    }
    return out;
}

}  // namespace

std::vector<HillMark> placeHillMarks(const Terrain& t, const QImage& keepOut) {
    const Grid<float> ground = boxBlur(t.height, 5);
    const auto slopeAt = [&](int x, int y) { return marventa::slopeAt(ground, x, y, kReach); };
    const auto eligible = [&](int x, int y) {
        const float h = t.height(x, y);
        return h >= kLow && h < kHeightsHeight && t.lake(x, y) == 0 && t.woods(x, y) < 0.3f &&
               t.marsh(x, y) < 60;
    };
    // The slopes of the eligible ground, to set "rough" by how this land runs rather than by a
    // number that a change of the land would put out.
    std::vector<float> slopes;
    for (int y = 0; y < t.height.height(); y += 8) {
        for (int x = 0; x < t.height.width(); x += 8) {
            if (eligible(x, y)) {
                const QPointF g = slopeAt(x, y);
                slopes.push_back(static_cast<float>(std::hypot(g.x(), g.y())));
            }
        }
    }
    std::vector<HillMark> marks;
    if (slopes.size() < 20) {
        return marks;
    }
    std::sort(slopes.begin(), slopes.end());
    const auto percentile = [&](double q) {
        return slopes[static_cast<std::size_t>(q * (slopes.size() - 1))];
    };
    // Only the steepest of the lowland: marks strewn over gentler ground read as clutter.
    const float rough = percentile(0.96);
    const float steep = percentile(0.99);
    // Under a range the foothills take marks on gentler ground too, so that it rises out of the
    // lowland rather than standing on a flat.
    const float foothill = percentile(0.85);
    // How far each spot lies below the heights: the marks fall away from the range, fewer and
    // shorter the farther out, so that its foot fades into the lowland rather than ending in a
    // band of them.
    Grid<unsigned char> heights(t.height.width(), t.height.height(), 0);
    for (int y = 0; y < t.height.height(); ++y) {
        for (int x = 0; x < t.height.width(); ++x) {
            heights(x, y) = t.height(x, y) >= kHeightsHeight ? 1 : 0;
        }
    }
    const Grid<float> fromHeights = distanceTo(heights, kFadeOut);
    // Along the range's foot a few stretches are hachured and the rest left plain.
    const Noise patches(0x4A11'0002);
    Rng rng(0x4A11'0001);
    // Each spot's chance of a mark: the steeper and the nearer the heights, the likelier.
    struct Spot {
        QPointF at;
        double score = 0;
        std::uint64_t seed = 0;
    };
    const auto floorAt = [&](float near) {
        return foothill + (rough - foothill) * (1.0f - near * near);
    };
    const auto nearAt = [&](int x, int y) {
        return 1.0f - smoothstep(0.0f, kFadeOut, fromHeights(x, y));
    };
    std::vector<Spot> spots;
    for (int gy = 0; gy * kStep < t.height.height(); ++gy) {
        for (int gx = 0; gx * kStep < t.height.width(); ++gx) {
            const double jx = rng.range(0.0, kStep);
            const double jy = rng.range(0.0, kStep);
            const double roll = rng.uniform();
            const std::uint64_t seed = rng.next();
            const int x = std::min(gx * kStep + static_cast<int>(jx), t.height.width() - 1);
            const int y = std::min(gy * kStep + static_cast<int>(jy), t.height.height() - 1);
            if (!eligible(x, y)) {
                continue;
            }
            const QPointF g = slopeAt(x, y);
            const float s = static_cast<float>(std::hypot(g.x(), g.y()));
            const float near = nearAt(x, y);
            // Hachures gather on a few stretches of the steepest ground, with bare ground
            // between: an even sprinkle of them reads as a machine's texture.
            const float patch = smoothstep(0.08f, 0.34f, patches.fbm(x / 110.0f, y / 110.0f, 2));
            const float chance = smoothstep(floorAt(near), steep, s) * (0.3f + 0.7f * near) * patch;
            if (s <= 0 || roll >= (0.4 + 0.25 * near * near) * chance) {
                continue;
            }
            spots.push_back({QPointF(x + 0.5, y + 0.5), chance * (0.7 + 0.3 * roll), seed});
        }
    }
    // The steepest spots first: each starts a run of marks along the slope's brow, longer and
    // closer set where the ground falls harder, and no run starts near another, so that the
    // marks follow the ground in strings with bare ground between them rather than a fill.
    std::stable_sort(spots.begin(), spots.end(),
                     [](const Spot& a, const Spot& b) { return a.score > b.score; });
    SpacedPoints apart(QSize(t.height.width(), t.height.height()), kRunGap);
    // A mark at `at` if the ground there takes one.
    const auto markAt = [&](QPointF at, double from, std::uint64_t seed,
                            float floor) -> std::optional<HillMark> {
        const int ax = static_cast<int>(at.x());
        const int ay = static_cast<int>(at.y());
        if (!t.height.contains(ax, ay) || !eligible(ax, ay) || !apart.roomAt(at)) {
            return std::nullopt;
        }
        const QPointF g = slopeAt(ax, ay);
        const double s = std::hypot(g.x(), g.y());
        if (s < floor || s < 0.5 * from) {
            return std::nullopt;
        }
        const float near = nearAt(ax, ay);
        const double steepness = std::clamp((s - floor) / std::max(steep - floor, 1e-6f), 0.0, 1.0);
        HillMark m;
        m.at = at;
        m.down = -g / s;
        m.length = (4.5 + 4.0 * near + 3.0 * steepness) *
                   (0.85 + 0.3 * static_cast<double>((seed >> 8) % 100) / 100.0);
        m.strokes = 2 + static_cast<int>(std::lround(2.0 * near)) + static_cast<int>(seed % 2);
        m.seed = seed;
        if (!clearOn(keepOut, hillMarkBox(m).toAlignedRect())) {
            return std::nullopt;
        }
        return m;
    };
    for (const Spot& spot : spots) {
        const int x = static_cast<int>(spot.at.x());
        const int y = static_cast<int>(spot.at.y());
        const QPointF g = slopeAt(x, y);
        const double s = std::hypot(g.x(), g.y());
        const float floor = floorAt(nearAt(x, y));
        const auto first = markAt(spot.at, s, spot.seed, floor);
        if (!first) {
            continue;
        }
        const double steepness = std::clamp((s - floor) / std::max(steep - floor, 1e-6f), 0.0, 1.0);
        Rng walk(spot.seed);
        const int wanted =
            2 + static_cast<int>(std::lround(4.0 * steepness)) + static_cast<int>(walk.below(2));
        const double pace = kPace * (1.25 - 0.2 * steepness);
        std::vector<HillMark> run{*first};
        // Out along the brow both ways from the first, each step turning with the ground.
        for (const double way : {1.0, -1.0}) {
            HillMark last = *first;
            const int upTo = way > 0 ? (wanted + 1) / 2 : wanted;
            while (static_cast<int>(run.size()) < upTo) {
                const QPointF side(-last.down.y() * way, last.down.x() * way);
                const QPointF next = last.at + side * pace * walk.range(0.9, 1.15) +
                                     last.down * walk.range(-2.0, 2.0);
                const auto m = markAt(next, s, walk.next(), floor);
                if (!m) {
                    break;
                }
                run.push_back(*m);
                last = *m;
            }
        }
        // A lone mark reads as a speck, not a slope.
        if (run.size() < 2) {
            continue;
        }
        for (const HillMark& m : run) {
            apart.take(m.at);
            marks.push_back(m);
        }
    }
    return marks;
}

QPointF slopeAt(const Grid<float>& ground, int x, int y, int reach) {
    const float gx = ground.clamped(x + reach, y) - ground.clamped(x - reach, y);
    const float gy = ground.clamped(x, y + reach) - ground.clamped(x, y - reach);
    return QPointF(gx, gy) / (2.0 * reach);
}

QRectF slopeStrokesBox(const SlopeStrokes& strokes) {
    QRectF box;
    for (const auto& [a, b] : strokes) {
        box |= QRectF(a, b).normalized();
    }
    return box.adjusted(-1.5, -1.5, 1.5, 1.5);
}

void drawSlopeStrokes(QPainter& p, const SlopeStrokes& strokes, const QColor& ink, double top,
                      double foot, double split) {
    for (const auto& [a, b] : strokes) {
        const QPointF half = a + (b - a) * split;
        p.setPen(QPen(ink, top, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, half);
        p.setPen(QPen(ink, foot, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(half, b);
    }
}

QRectF hillMarkBox(const HillMark& m) {
    return slopeStrokesBox(strokes(m));
}

void drawHillMark(QPainter& p, const HillMark& m) {
    QColor ink = kReliefInk;
    ink.setAlpha(235);
    drawSlopeStrokes(p, strokes(m), ink, 1.15, 0.65, 0.4);
}

}  // namespace marventa
