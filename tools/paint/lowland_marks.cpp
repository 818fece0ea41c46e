#include "tools/paint/lowland_marks.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <optional>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/distance_transform.h"
#include "tools/common/noise.h"
#include "tools/common/rng.h"
#include "tools/paint/ground_rise.h"
#include "tools/paint/hill_marks.h"
#include "tools/paint/ink.h"
#include "tools/paint/keep_out.h"
#include "tools/paint/spaced_points.h"

namespace marventa {

namespace {

constexpr int kStep = 24;                 // one run's start tried per cell of this size
constexpr int kReach = 5;                 // pixels either side over which the slope is taken
constexpr double kRunRoom = 150.0;        // between two groups: open country reads bare
constexpr double kClose = 22.0;           // no two marks nearer: knots read as dirt
constexpr float kClearOfHeights = 60.0f;  // nearer the heights their hachures draw the ground

// One low hump of a run: its outline's ends and the top of the arc between them.
struct Hump {
    QPointF left;
    QPointF right;
    QPointF top;  // the arc's control point
};

// A swell is a run of two to four low humps seen from the side, each a little lower down the
// sheet than the one behind it and overlapping it, as low hills stand one before another.
std::vector<Hump> swellRun(const LowlandMark& m) {
    Rng rng(m.seed);
    // A single hump as often as a long run: the count weighted toward two or three.
    static constexpr int kCounts[] = {1, 1, 2, 2, 2, 3, 3, 4, 5};
    const int count = kCounts[rng.below(static_cast<int>(std::size(kCounts)))];
    const double side = rng.chance(0.5) ? 1.0 : -1.0;
    std::vector<Hump> run;
    double x = -0.5 * m.size;
    for (int i = 0; i < count; ++i) {
        const double width = m.size * (i == 0 ? 1.0 : rng.range(0.45, 0.95));
        const double half = width / 2.0;
        // The first stands farthest back; each next one comes forward a little.
        const QPointF foot = m.at + QPointF(side * (x + half), i * rng.range(1.0, 2.6));
        const double rise = width * rng.range(0.18, 0.34);
        const double lean = rng.range(-0.15, 0.15) * width;
        run.push_back({foot - QPointF(half, 0), foot + QPointF(half, rng.range(-0.5, 0.5)),
                       foot + QPointF(lean, -2.0 * rise)});
        // Some overlap deep, some barely touch.
        x += width * rng.range(0.4, 0.8);
    }
    return run;
}

// The ground a hump covers, which hides the part of any hump behind it.
QPainterPath humpGround(const Hump& h) {
    QPainterPath path;
    path.moveTo(h.left);
    path.quadTo(h.top, h.right);
    path.closeSubpath();
    return path;
}

// A run's outlines, each a low arc fuller in its middle and thinning to its ends, cut where a
// hump in front of it stands.
QPainterPath swellPath(const LowlandMark& m) {
    const std::vector<Hump> run = swellRun(m);
    QPainterPath all;
    for (std::size_t i = 0; i < run.size(); ++i) {
        const Hump& h = run[i];
        const double thick = 1.1 + 0.1 * static_cast<double>((m.seed >> (4 * i)) % 3);
        QPainterPath arc;
        arc.setFillRule(Qt::WindingFill);
        arc.moveTo(h.left);
        arc.quadTo(h.top, h.right);
        arc.quadTo(h.top + QPointF(0, 2.0 * thick), h.left);
        for (std::size_t j = i + 1; j < run.size(); ++j) {
            arc = arc.subtracted(humpGround(run[j]));
        }
        all.addPath(arc);
    }
    return all;
}

// A stroke or two of shade under each hump's flank away from the light, which falls from the
// north-west.
SlopeStrokes swellShade(const LowlandMark& m) {
    Rng rng(m.seed ^ 0x5EADu);
    SlopeStrokes out;
    for (const Hump& h : swellRun(m)) {
        const int strokes = rng.chance(0.5) ? 2 : 1;
        for (int k = 0; k < strokes; ++k) {
            const double u = 0.62 + 0.14 * k + rng.range(0.0, 0.06);
            // A point on the arc, then down toward the foot, a little inside it.
            const QPointF on =
                (1 - u) * (1 - u) * h.left + 2 * u * (1 - u) * h.top + u * u * h.right;
            const QPointF foot = QPointF(on.x() - 0.8, 0.5 * (h.left.y() + h.right.y()) - 0.6);
            if (foot.y() - on.y() > 1.5) {
                out.emplace_back(on + QPointF(0, 1.6), foot);
            }
        }
    }
    return out;
}

// A fall's strokes, side by side, each falling down the slope from its top.
SlopeStrokes fallStrokes(const LowlandMark& m) {
    Rng rng(m.seed);
    const QPointF side(-m.down.y(), m.down.x());
    SlopeStrokes out;
    // One stroke or two, drawn apart by a varying hand, the second often shorter.
    const double apart = rng.range(1.1, 2.0);
    const int strokes = rng.chance(0.4) ? 1 : 2;
    for (int i = 0; i < strokes; ++i) {
        const double off = strokes == 1 ? 0.0 : (i == 0 ? -apart : apart);
        const QPointF top = m.at + side * off + m.down * rng.range(-0.8, 0.8);
        out.emplace_back(top, top + m.down * (m.size * rng.range(i == 0 ? 0.8 : 0.5, 1.1)));
    }
    return out;
}

}  // namespace

std::vector<LowlandMark> placeLowlandMarks(const Terrain& t, const QImage& keepOut) {
    const int w = t.height.width();
    const int ht = t.height.height();
    const Grid<float> ground = boxBlur(boxBlur(t.height, 6), 6);
    const Grid<float> rise = groundRise(t.height);
    Grid<unsigned char> heights(w, ht, 0);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) {
            heights(x, y) = t.height(x, y) >= kHeightsHeight ? 1 : 0;
        }
    }
    const Grid<float> fromHeights = distanceTo(heights, kClearOfHeights + 1.0f);
    // The ground's folds at a hill's breadth: the backs of ridges and the brows where an upland
    // breaks stand above the ground round them, a plain or an even slope level with it.
    const Grid<float> folds = groundFolds(t.height, 6, 30);
    const auto slopeAt = [&](int x, int y) { return marventa::slopeAt(ground, x, y, kReach); };
    const auto eligible = [&](int x, int y) {
        const float h = t.height(x, y);
        return h > 0.012f && h < kHeightsHeight && fromHeights(x, y) > kClearOfHeights &&
               t.lake(x, y) == 0 && t.woods(x, y) < 0.3f && t.marsh(x, y) < 40;
    };
    const auto aboveItsRing = [&](int x, int y) {
        double sum = 0;
        int count = 0;
        for (int i = 0; i < 24; ++i) {
            const double a = i * 2.0 * M_PI / 24.0;
            const float g = ground.clamped(x + static_cast<int>(90.0 * std::cos(a)),
                                           y + static_cast<int>(90.0 * std::sin(a)));
            if (g > 0.0f) {
                sum += g;
                ++count;
            }
        }
        return count == 0 || ground(x, y) > sum / count + 0.002;
    };
    // Where a spot's rise and slope stand among the lowland's own, so that "a rise" is set by
    // how this land runs rather than by a number a change of the land would put out.
    std::vector<float> rises;
    std::vector<float> slopes;
    std::vector<float> foldsSeen;
    for (int y = 0; y < ht; y += 8) {
        for (int x = 0; x < w; x += 8) {
            if (eligible(x, y)) {
                const QPointF g = slopeAt(x, y);
                rises.push_back(rise(x, y));
                slopes.push_back(static_cast<float>(std::hypot(g.x(), g.y())));
                foldsSeen.push_back(folds(x, y));
            }
        }
    }
    std::vector<LowlandMark> marks;
    if (rises.size() < 20) {
        return marks;
    }
    std::sort(rises.begin(), rises.end());
    std::sort(slopes.begin(), slopes.end());
    std::sort(foldsSeen.begin(), foldsSeen.end());
    const auto at = [](const std::vector<float>& v, double q) {
        return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
    };
    // A valley floor, however wide, stands below the country round it: only ground clearly
    // above it is a rise. The steepest of the lowland is the hachures'.
    const float riseFrom = std::max(at(rises, 0.52), 0.002f);
    const float crest = at(rises, 0.6);
    const float crestTop = at(rises, 0.8);
    const float gentle = at(slopes, 0.6);
    const float sideFrom = at(slopes, 0.55);
    const float sideTop = at(slopes, 0.97);
    // A ridge's back: ground standing above its fold as the top tenth of the lowland does.
    const float foldTop = std::max(at(foldsSeen, 0.9), 1e-4f);
    const auto ridgeAt = [&](int x, int y) { return folds(x, y) / foldTop; };
    // The rises are marked in stretches, with plain country between.
    const Noise patches(0x10E1'0002);
    Rng rng(0x10E1'0001);
    // A hand sets the marks down in runs along a rise, a few together with wide country between
    // the runs: a run's first spot keeps well away from every other run's, its marks each a
    // little way on from the last.
    SpacedPoints runs(QSize(w, ht), kRunRoom);
    SpacedPoints taken(QSize(w, ht), kClose);
    // What a spot takes, if anything: a swell on a gentle top, a fall on a steeper side.
    const auto markAt = [&](QPointF spot, std::uint64_t seed,
                            std::optional<LowlandMarkKind> want) -> std::optional<LowlandMark> {
        const int x = static_cast<int>(spot.x());
        const int y = static_cast<int>(spot.y());
        if (!t.height.contains(x, y) || !eligible(x, y) || rise(x, y) <= riseFrom) {
            return std::nullopt;
        }
        const QPointF g = slopeAt(x, y);
        const float s = static_cast<float>(std::hypot(g.x(), g.y()));
        LowlandMark m;
        m.seed = seed;
        m.at = QPointF(x + 0.5, y + 0.5);
        const double spread = static_cast<double>((seed >> 8) % 100) / 100.0;
        if (s < gentle && want != LowlandMarkKind::Fall) {
            // The broad rise measure blurs over the coast's and valleys' shapes: a swell must
            // also stand above the land right round it.
            // And on a ridge's back or an upland's brow: a broad even rise is left bare.
            const float ridge = ridgeAt(x, y);
            if (rise(x, y) < crest || ridge < 0.3f || !aboveItsRing(x, y)) {
                return std::nullopt;
            }
            m.kind = LowlandMarkKind::Swell;
            // Mostly small humps, now and then the broad back of a whole rise; larger on the
            // boldest ridges.
            const double bold = 0.7 + 0.5 * std::clamp(static_cast<double>(ridge) - 0.3, 0.0, 1.0);
            m.size = bold *
                     ((seed >> 20) % 100 < 9 ? 28.0 + 14.0 * spread : 8.0 + 20.0 * spread * spread);
        } else if (s > sideFrom && s < sideTop && want != LowlandMarkKind::Swell) {
            m.kind = LowlandMarkKind::Fall;
            m.down = -g / s;
            m.size = 3.0 + 5.5 * spread;
        } else {
            return std::nullopt;
        }
        if (!taken.roomAt(m.at) || !clearOn(keepOut, lowlandMarkBox(m).toAlignedRect())) {
            return std::nullopt;
        }
        return m;
    };
    // Where a run may start: sparse, and thickest where the ground stands highest and folds
    // boldest, so that the marks gather along the ridges and an upland's brows; a hand draws
    // the rises it sees, not every spot it could, so no two stretches are marked at one spacing.
    struct Start {
        int x = 0;
        int y = 0;
        float score = 0;
        std::uint64_t seed = 0;
    };
    std::vector<Start> starts;
    for (int gy = 0; gy * kStep < ht; ++gy) {
        for (int gx = 0; gx * kStep < w; ++gx) {
            const int x = std::min(gx * kStep + static_cast<int>(rng.range(0.0, kStep)), w - 1);
            const int y = std::min(gy * kStep + static_cast<int>(rng.range(0.0, kStep)), ht - 1);
            const double roll = rng.uniform();
            const std::uint64_t seed = rng.next();
            if (!eligible(x, y) || rise(x, y) <= riseFrom) {
                continue;
            }
            const float patch = smoothstep(-0.3f, 0.15f, patches.fbm(x / 190.0f, y / 190.0f, 3));
            const float high = smoothstep(riseFrom, crestTop, rise(x, y));
            const float ridge = smoothstep(0.2f, 1.2f, ridgeAt(x, y));
            const float chance = 0.4f * patch * high * (0.25f + 0.75f * ridge);
            if (roll < chance) {
                starts.push_back(
                    {x, y, ridge + 0.5f * high + 0.1f * static_cast<float>(roll), seed});
            }
        }
    }
    std::stable_sort(starts.begin(), starts.end(),
                     [](const Start& a, const Start& b) { return a.score > b.score; });
    for (const Start& from : starts) {
        const int x = from.x;
        const int y = from.y;
        Rng hand(from.seed);
        const QPointF start(x + 0.5, y + 0.5);
        if (!runs.roomAt(start)) {
            continue;
        }
        const std::optional<LowlandMark> first = markAt(start, hand.next(), std::nullopt);
        if (!first) {
            continue;
        }
        // The run follows the rise's lie, across its fall; on a flat top, any way the
        // country turns it.
        const QPointF g = slopeAt(x, y);
        const double s = std::hypot(g.x(), g.y());
        const double turn = patches.fbm(x / 300.0f + 9.0f, y / 300.0f, 2) * M_PI;
        const QPointF way =
            s > 1e-6 ? QPointF(-g.y(), g.x()) / s : QPointF(std::cos(turn), std::sin(turn));
        const int wanted =
            first->kind == LowlandMarkKind::Swell ? 3 + hand.below(4) : 2 + hand.below(4);
        // Falls keep close to their slope's line; swells wander more along a broad top, a
        // broad one standing farther from the next.
        const bool swell = first->kind == LowlandMarkKind::Swell;
        const double reach = swell ? std::max(34.0, 0.8 * first->size + 12.0) : 28.0;
        std::vector<LowlandMark> run{*first};
        for (const double side : {1.0, -1.0}) {
            QPointF at = start;
            QPointF along = side * way;
            for (int tries = 0; tries < 5 && static_cast<int>(run.size()) < wanted; ++tries) {
                // Each step clears the last mark, so the run keeps its own marks apart; a
                // spot that takes none is tried again from the last mark, so the run never
                // gapes.
                const double step = hand.range(std::max(kClose + 1.0, reach - 14.0), reach);
                const QPointF across(-along.y(), along.x());
                QPointF next =
                    at + along * step + across * hand.range(swell ? -5.0 : -2.0, swell ? 5.0 : 2.0);
                // A swell keeps to the ridge's back as it bends.
                if (swell) {
                    QPointF best = next;
                    for (const double o : {-8.0, -4.0, 4.0, 8.0}) {
                        const QPointF q = next + across * o;
                        if (ground.clamped(static_cast<int>(q.x()), static_cast<int>(q.y())) >
                            ground.clamped(static_cast<int>(best.x()),
                                           static_cast<int>(best.y()))) {
                            best = q;
                        }
                    }
                    next = best;
                }
                if (const auto m = markAt(next, hand.next(), first->kind)) {
                    run.push_back(*m);
                    // The next step follows the run's own line.
                    const QPointF went = next - at;
                    const double len = std::hypot(went.x(), went.y());
                    if (len > 1e-6) {
                        along = 0.5 * along + 0.5 * went / len;
                        along /= std::max(1e-6, std::hypot(along.x(), along.y()));
                    }
                    at = next;
                }
            }
        }
        // A mark alone is a stray tick on the plain, however many humps it has, unless it is
        // the broad back of a rise, which stands on its own now and then.
        const bool broad = swell && first->size >= 28.0 && hand.chance(0.6);
        if (run.size() < (swell ? 3u : 2u)) {
            if (!broad) {
                continue;
            }
            run.resize(1);
        }
        for (const LowlandMark& m : run) {
            taken.take(m.at);
            runs.take(m.at);
        }
        marks.insert(marks.end(), run.begin(), run.end());
    }
    return marks;
}

QRectF lowlandMarkBox(const LowlandMark& m) {
    if (m.kind == LowlandMarkKind::Swell) {
        return swellPath(m).boundingRect().adjusted(-1.5, -1.5, 1.5, 1.5);
    }
    return slopeStrokesBox(fallStrokes(m));
}

void drawLowlandMark(QPainter& p, const LowlandMark& m) {
    QColor ink = kReliefInk;
    // Each mark of a run pressed a little harder or lighter than its neighbours.
    const double press = 0.8 + 0.4 * static_cast<double>((m.seed >> 40) % 64) / 63.0;
    if (m.kind == LowlandMarkKind::Swell) {
        ink.setAlpha(static_cast<int>(std::min(255.0, 185 * press)));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(swellPath(m));
        ink.setAlpha(static_cast<int>(120 * press));
        drawSlopeStrokes(p, swellShade(m), ink, 0.8 * press, 0.5, 0.5);
        return;
    }
    ink.setAlpha(static_cast<int>(140 * press));
    drawSlopeStrokes(p, fallStrokes(m), ink, 0.9 * press, 0.55, 0.45);
}

}  // namespace marventa
