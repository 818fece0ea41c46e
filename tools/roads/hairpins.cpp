#include "tools/roads/hairpins.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr double kShortLeg = 30.0;        // px: a switchback's legs are longer than this
constexpr double kHairpin = -0.5;         // the cosine of a turn of 120 degrees
constexpr double kCornerTolerance = 2.5;  // px: a lattice line's wobble along one leg
constexpr double kJoin = 10.0;            // px either side over which new legs are joined in
constexpr double kRounding = 8.0;         // px: how far before a bend its arc starts
constexpr double kFine = 2.0;             // px between the points of a drawn line
constexpr double kSpan = 48.0;            // px of road over which a climb is judged
// Height per pixel over that span: a little short of what a laden cart can take.
constexpr double kSteepest = 0.00195;

// Douglas-Peucker: the corners strictly between `a` and `b`, in order.
void cornersBetween(const std::vector<QPointF>& line, std::size_t a, std::size_t b,
                    double tolerance, std::vector<std::size_t>& out) {
    if (b <= a + 1) {
        return;
    }
    double farthest = -1.0;
    std::size_t at = a;
    const std::vector<QPointF> chord{line[a], line[b]};
    for (std::size_t i = a + 1; i < b; ++i) {
        const double d = distanceToPolyline(line[i], chord);
        if (d > farthest) {
            farthest = d;
            at = i;
        }
    }
    if (farthest <= tolerance) {
        return;
    }
    cornersBetween(line, a, at, tolerance, out);
    out.push_back(at);
    cornersBetween(line, at, b, tolerance, out);
}

// The index of the point `run` pixels along the line from point `i` (back, where `run` is
// negative), or the line's end.
std::size_t walk(const std::vector<QPointF>& line, std::size_t i, double run) {
    for (double gone = 0.0; gone < std::abs(run);) {
        if (run < 0 ? i == 0 : i + 1 == line.size()) {
            break;
        }
        const std::size_t next = run < 0 ? i - 1 : i + 1;
        gone += length(line[next] - line[i]);
        i = next;
    }
    return i;
}

// The steepest climb over any span of the line within reach of the stretch between points
// `from` and `to`, on `ground`, the picture's own heights: the lattice's coarser ones miss a
// bank's steepest pitch.
double steepestNear(const Grid<float>& ground, const std::vector<QPointF>& line, std::size_t from,
                    std::size_t to) {
    const std::size_t a = walk(line, from, -kSpan);
    const std::size_t b = walk(line, to, kSpan);
    // Every 2 px, so that no span's ends fall either side of the steepest pitch unseen.
    constexpr auto kSpanSteps = static_cast<std::size_t>(kSpan / kFine);
    const std::vector<QPointF> stretch =
        resample(std::vector<QPointF>(line.begin() + std::ptrdiff_t(a),
                                      line.begin() + std::ptrdiff_t(b) + 1),
                 kFine);
    const auto height = [&](QPointF p) {
        return sampleBilinear(ground, static_cast<float>(p.x()), static_cast<float>(p.y()));
    };
    double worst = 0.0;
    for (std::size_t i = 0; i + kSpanSteps < stretch.size(); ++i) {
        worst = std::max<double>(
            worst, std::abs(height(stretch[i + kSpanSteps]) - height(stretch[i])) / kSpan);
    }
    return worst;
}

// How many of the cells along the line between points `from` and `to` hold running water, or
// -1 where it leaves dry land.
int wetCells(const CostLattice& l, const std::vector<QPointF>& line, std::size_t from,
             std::size_t to) {
    int wet = 0;
    const std::vector<QPointF> stretch =
        resample(std::vector<QPointF>(line.begin() + std::ptrdiff_t(from),
                                      line.begin() + std::ptrdiff_t(to) + 1),
                 2.0);
    for (const QPointF& q : stretch) {
        const int c = l.cellOf(q);
        if (!l.passable(c)) {
            return -1;
        }
        wet += l.running(c) ? 1 : 0;
    }
    return wet;
}

// A line with the stretch between two of its points laid anew.
struct Splice {
    std::vector<QPointF> line;
    std::size_t first = 0;    // the first point laid anew
    std::size_t oldLast = 0;  // the last, in the old line
    std::size_t newLast = 0;  // and in the new
};

// The line with its stretch between points `from` and `to` laid as straight legs through
// `corner` (or none), their bends rounded, from a little before `from` to a little after `to`
// so that they join the rest without a kink.
Splice joined(const std::vector<QPointF>& line, std::size_t from, std::optional<QPointF> corner,
              std::size_t to) {
    Splice s;
    s.first = walk(line, from, -kJoin);
    s.oldLast = walk(line, to, kJoin);
    std::vector<QPointF> legs{line[s.first]};
    if (from != s.first) {
        legs.push_back(line[from]);
    }
    if (corner) {
        legs.push_back(*corner);
    }
    if (to != s.oldLast) {
        legs.push_back(line[to]);
    }
    legs.push_back(line[s.oldLast]);
    const std::vector<QPointF> rounded = roundBends(legs, kRounding, kFine);
    s.line.assign(line.begin(), line.begin() + std::ptrdiff_t(s.first));
    s.line.insert(s.line.end(), rounded.begin(), rounded.end());
    s.newLast = s.line.size() - 1;
    s.line.insert(s.line.end(), line.begin() + std::ptrdiff_t(s.oldLast) + 1, line.end());
    return s;
}

// Whether the stretch laid anew keeps to dry land, crosses no running water the old one did
// not, and climbs no faster than the old one or kSteepest.
bool keeps(const CostLattice& l, const Grid<float>& ground, const std::vector<QPointF>& line,
           const Splice& s) {
    const int wetBefore = wetCells(l, line, s.first, s.oldLast);
    const int wetAfter = wetCells(l, s.line, s.first, s.newLast);
    const double steepBefore = steepestNear(ground, line, s.first, s.oldLast);
    const double steepAfter = steepestNear(ground, s.line, s.first, s.newLast);
    return wetAfter >= 0 && wetAfter <= std::max(wetBefore, 0) &&
           steepAfter <= std::max(kSteepest, steepBefore);
}

}  // namespace

std::vector<std::size_t> legCorners(const std::vector<QPointF>& line, double tolerance) {
    if (line.empty()) {
        return {};
    }
    std::vector<std::size_t> out{0};
    cornersBetween(line, 0, line.size() - 1, tolerance, out);
    if (line.size() > 1) {
        out.push_back(line.size() - 1);
    }
    return out;
}

void easeShortHairpins(const CostLattice& l, const Grid<float>& ground,
                       std::vector<QPointF>& line) {
    // Each change takes a corner away, so this ends; the bound is only a guard.
    for (int round = 0; round < 64; ++round) {
        const std::vector<std::size_t> c = legCorners(line, kCornerTolerance);
        bool changed = false;
        for (std::size_t k = 1; k + 1 < c.size() && !changed; ++k) {
            const QPointF in = line[c[k]] - line[c[k - 1]];
            const QPointF out = line[c[k + 1]] - line[c[k]];
            const double a = length(in);
            const double b = length(out);
            if (a == 0.0 || b == 0.0 || QPointF::dotProduct(in, out) >= kHairpin * a * b ||
                std::min(a, b) >= kShortLeg) {
                continue;
            }
            // The short leg runs from corner s to corner s + 1; it is drawn together into one
            // corner at its middle, or, where it reaches an end of the line, which stays, its
            // other corner is dropped.
            const std::size_t s = b < a ? k : k - 1;
            const bool atStart = s == 0;
            const bool atEnd = s + 2 == c.size();
            const std::size_t from = atStart ? c[s] : c[s - 1];
            const std::size_t to = atEnd ? c[s + 1] : c[s + 2];
            // The short leg drawn together into one corner: at its middle, else at the end
            // that keeps more of the road's length for the climb.
            std::vector<std::optional<QPointF>> corners;
            if (atStart || atEnd) {
                corners.emplace_back();
            } else {
                const QPointF p = line[c[s]];
                const QPointF q = line[c[s + 1]];
                const std::vector<QPointF> chord{line[from], line[to]};
                const bool pFarther = distanceToPolyline(p, chord) > distanceToPolyline(q, chord);
                corners = {0.5 * (p + q), pFarther ? p : q, pFarther ? q : p};
            }
            for (const std::optional<QPointF>& corner : corners) {
                Splice eased = joined(line, from, corner, to);
                if (keeps(l, ground, line, eased)) {
                    line = std::move(eased.line);
                    changed = true;
                    break;
                }
            }
        }
        if (!changed) {
            return;
        }
    }
}

}  // namespace marventa
