#include "tools/paint/crest_rank.h"

#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/box_blur.h"
#include "tools/common/plane_geometry.h"
#include "tools/land/terrain.h"

namespace marventa {

namespace {

constexpr int kCell = 8;
constexpr int kReach = 22;  // coarse cells: a range's half width and a little more
constexpr double kTraceStep = 8;

float sampleAt(const Grid<float>& g, QPointF p) {
    return g.clamped(static_cast<int>(p.x()), static_cast<int>(p.y()));
}

// Along the layout's line, the highest of the broad ground across it at each step; then
// smoothed along, so that the crest bends with the range and does not jump between spurs.
Crest traceCrest(const Ridge& r, const Grid<float>& broad) {
    Crest c;
    c.ridge = &r;
    std::vector<QPointF> found;
    for (std::size_t i = 0; i + 1 < r.crest.size(); ++i) {
        const QPointF a = r.crest[i];
        const QPointF ab = r.crest[i + 1] - a;
        const double len = length(ab);
        const QPointF across(-ab.y() / len, ab.x() / len);
        for (double s = 0; s < len; s += kTraceStep) {
            const QPointF on = a + ab * (s / len);
            QPointF best = on;
            float high = sampleAt(broad, on);
            for (double o = -0.9 * r.halfWidth; o <= 0.9 * r.halfWidth; o += 4) {
                const QPointF q = on + across * o;
                // A little favour to the line itself, so that level tops keep to it.
                const float v = sampleAt(broad, q) - 0.00002f * static_cast<float>(o * o);
                if (v > high) {
                    high = v;
                    best = q;
                }
            }
            found.push_back(best);
        }
    }
    found.push_back(r.crest.back());
    constexpr int kSmooth = 8;
    const int n = static_cast<int>(found.size());
    for (int i = 0; i < n; ++i) {
        QPointF sum;
        int count = 0;
        for (int j = std::max(0, i - kSmooth); j <= std::min(n - 1, i + kSmooth); ++j) {
            sum += found[static_cast<std::size_t>(j)];
            ++count;
        }
        c.points.push_back(sum / count);
    }
    c.length = polylineLength(c.points);
    return c;
}

// The running maximum over a (2r + 1) window, along rows or along columns.
Grid<float> runningMax(const Grid<float>& g, int r, bool rows) {
    Grid<float> out(g.width(), g.height());
    const int n = rows ? g.width() : g.height();
    for (int y = 0; y < g.height(); ++y) {
        for (int x = 0; x < g.width(); ++x) {
            const int at = rows ? x : y;
            float m = g(x, y);
            for (int i = std::max(0, at - r); i <= std::min(n - 1, at + r); ++i) {
                m = std::max(m, rows ? g(i, y) : g(x, i));
            }
            out(x, y) = m;
        }
    }
    return out;
}

}  // namespace

Grid<float> highestAround(const Grid<float>& ground, int cell, int reach) {
    Grid<float> coarse((ground.width() + cell - 1) / cell, (ground.height() + cell - 1) / cell);
    for (int j = 0; j < coarse.height(); ++j) {
        for (int i = 0; i < coarse.width(); ++i) {
            coarse(i, j) = ground.clamped(i * cell + cell / 2, j * cell + cell / 2);
        }
    }
    return runningMax(runningMax(coarse, reach, true), reach, false);
}

CrestRank::CrestRank(const Grid<float>& height, const std::vector<Ridge>& ridges)
    : mass_(boxBlur(boxBlur(height, 8), 8)) {
    const Grid<float> broad = boxBlur(boxBlur(height, 24), 24);
    for (const Ridge& r : ridges) {
        crests_.push_back(traceCrest(r, broad));
    }
    crest_ = highestAround(mass_, kCell, kReach);
}

double CrestRank::endTaper(const Crest& crest, double along) {
    const double inward = std::min(along, crest.length - along);
    return smoothstep(0.0f, static_cast<float>(0.25 * crest.length), static_cast<float>(inward));
}

CrestPlace CrestRank::at(int x, int y) const {
    CrestPlace c;
    const float top = crest_.clamped(x / kCell, y / kCell);
    const float span = top - kHeightsHeight;
    const float raised =
        span > 0.02f ? std::clamp((mass_.clamped(x, y) - kHeightsHeight) / span, 0.0f, 1.0f) : 0.0f;
    // Outside every range only the height counts, and never as high as a crest.
    c.rank = 0.6f * raised;
    double best = 1.4;
    for (const Crest& crest : crests_) {
        const Nearest n = nearestOnPolyline(QPointF(x, y), crest.points);
        const double reach = n.distance / crest.ridge->halfWidth;
        if (reach >= best) {
            continue;
        }
        best = reach;
        double along = n.along * length(crest.points[n.segment + 1] - crest.points[n.segment]);
        for (std::size_t i = 0; i < n.segment; ++i) {
            along += length(crest.points[i + 1] - crest.points[i]);
        }
        // Past an end the distance grows of itself; within, the crest lowers toward it.
        const double ends = 0.7 + 0.3 * endTaper(crest, along);
        // Ranks fall off fast from a crest of crags, so that its peaks gather along it even
        // where its heights spread broad; the volcanic range's cones spread their own way.
        const bool cones = crest.ridge->volcanic;
        const double near = std::pow(std::clamp(1.0 - reach / 1.05, 0.0, 1.0), cones ? 1.0 : 1.6);
        const double weight = cones ? 0.55 : 0.65;
        c.rank = static_cast<float>(
            std::clamp((weight * near + (1.0 - weight) * raised) * ends, 0.0, 1.0));
        c.jagged = static_cast<float>(crest.ridge->jagged);
        c.volcanic = crest.ridge->volcanic;
        c.rangeHeight = static_cast<float>(crest.ridge->height);
    }
    return c;
}

}  // namespace marventa
