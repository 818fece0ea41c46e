#include "tools/water/river_shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

// A moving average whose window shrinks toward the ends, so both ends stay put.
void average(std::vector<QPointF>& p, int reach) {
    const auto n = static_cast<int>(p.size());
    std::vector<QPointF> out = p;
    for (int i = 1; i + 1 < n; ++i) {
        const int k = std::min({reach, i, n - 1 - i});
        QPointF sum;
        for (int j = i - k; j <= i + k; ++j) {
            sum += p[static_cast<std::size_t>(j)];
        }
        out[static_cast<std::size_t>(i)] = sum / (2 * k + 1);
    }
    p = std::move(out);
}

// How far a meander may swing up its valley's side.
constexpr float kMeanderClimb = 0.003f;

QPointF unit(QPointF v) {
    const double l = length(v);
    return l > 0 ? v / l : QPointF(1, 0);
}

}  // namespace

void shapeCourse(Course& c, int reach, unsigned seed, const std::function<float(QPointF)>& ground) {
    if (c.points.size() < 3) {
        return;
    }
    const std::vector<QPointF> routed = c.points;
    average(c.points, reach);
    average(c.points, reach);
    const std::size_t n = c.points.size();
    // Averaging cuts across the inside of a tight bend; where that would lift the line onto the
    // bank, it keeps nearer its routed cells.
    float lowest = ground(c.points.front());
    for (std::size_t i = 0; i < n; ++i) {
        for (int k = 0; k < 4 && ground(c.points[i]) > lowest + kMeanderClimb; ++k) {
            c.points[i] = 0.5 * (c.points[i] + routed[i]);
        }
        lowest = std::min(lowest, ground(c.points[i]));
    }
    std::vector<double> along(n, 0.0);
    for (std::size_t i = 1; i < n; ++i) {
        along[i] = along[i - 1] + length(c.points[i] - c.points[i - 1]);
    }
    const double total = along.back();
    // Real meanders repeat every ten to fourteen channel widths and swing about one to two widths
    // either side; a wandering phase and amplitude keep them from looking ruled.
    static const Noise wander(0x5A1E'0004);
    const float lane = static_cast<float>(seed % 997) * 3.7f;
    std::vector<QPointF> out = c.points;
    double phase = 0.0;
    float swingLowest = ground(c.points.front());
    for (std::size_t i = 0; i < n; ++i) {
        const float s = static_cast<float>(along[i]);
        const float w = c.widths[i];
        const float wavelength = 44.0f + 13.0f * w;
        if (i > 0) {
            const float rate = 1.0f + 0.45f * wander.fbm(s / 160.0f, lane, 2);
            phase += 2.0 * std::numbers::pi * (along[i] - along[i - 1]) / wavelength * rate;
        }
        const float ends = smoothstep(0.0f, 0.25f * wavelength, s) *
                           smoothstep(0.0f, 0.25f * wavelength, static_cast<float>(total) - s);
        const float size = 0.75f + 0.45f * wander.fbm(s / 260.0f, lane + 50.0f, 2);
        float amplitude =
            std::min(0.22f * wavelength, (1.5f + 1.4f * w) * size) * c.flatness[i] * ends;
        const QPointF tangent =
            unit(c.points[std::min(i + 1, n - 1)] - c.points[i > 0 ? i - 1 : 0]);
        const QPointF normal(-tangent.y(), tangent.x());
        // A swing stays on the valley floor: it shrinks where it would climb the valley's side.
        const double side = std::sin(phase);
        const auto climbs = [&](float a, float by) {
            return ground(c.points[i] + normal * (a * side)) > swingLowest + by;
        };
        for (int k = 0; k < 5 && climbs(amplitude, kMeanderClimb); ++k) {
            amplitude *= 0.5f;
        }
        // Even a stream falling fast wanders a little: none runs ruler-straight.
        const float least = (0.9f + 0.15f * w) * ends;
        if (amplitude < least && !climbs(least, 2.0f * kMeanderClimb)) {
            amplitude = least;
        }
        out[i] = c.points[i] + normal * (amplitude * side);
        swingLowest = std::min(swingLowest, ground(out[i]));
    }
    c.points = std::move(out);
    cutCorners(c.points, c.widths, 2);
}

void runOutStraight(std::vector<QPointF>& points, double reach,
                    const std::function<float(QPointF)>& ground) {
    if (points.size() < 3 || reach <= 0.0) {
        return;
    }
    // How far each point lies from the end, along the line.
    std::vector<double> toEnd(points.size(), 0.0);
    for (std::size_t i = points.size() - 1; i-- > 0;) {
        toEnd[i] = toEnd[i + 1] + length(points[i + 1] - points[i]);
    }
    reach = std::min(reach, toEnd.front());
    std::size_t head = 0;
    while (head + 1 < points.size() && toEnd[head + 1] >= reach) {
        ++head;
    }
    const QPointF from = points[head];
    const QPointF to = points.back();
    const double span = toEnd[head];
    // Where the straight way would climb a bank the course went round, it keeps nearer that.
    float lowest = ground(from);
    for (std::size_t i = head + 1; i + 1 < points.size(); ++i) {
        const double s = toEnd[i];
        const QPointF onChord = to + (from - to) * (s / span);
        auto t = static_cast<double>(smoothstep(
            static_cast<float>(span), static_cast<float>(0.4 * span), static_cast<float>(s)));
        for (int k = 0; k < 6 && ground(points[i] + (onChord - points[i]) * t) >
                                     std::max(lowest, ground(points[i])) + kMeanderClimb;
             ++k) {
            t *= 0.5;
        }
        points[i] += (onChord - points[i]) * t;
        lowest = std::min(lowest, ground(points[i]));
    }
}

void joinDownstream(Course& tributary, const std::vector<QPointF>& main,
                    const std::vector<float>& mainWidths) {
    std::vector<QPointF>& p = tributary.points;
    if (p.size() < 3 || main.size() < 2) {
        return;
    }
    const Nearest at = nearestOnPolyline(p.back(), main);
    // A wider river takes its tributaries in over a longer bend.
    const double approach = std::min(44.0, 20.0 + 3.0 * mainWidths[at.segment]);
    // The join: a little downstream of where the tributary reaches the main line.
    double ahead = 0.45 * approach;
    std::size_t k = at.segment;
    QPointF join = main[k] + (main[k + 1] - main[k]) * at.along;
    while (k + 1 < main.size()) {
        const double left = length(main[k + 1] - join);
        if (left >= ahead) {
            join += unit(main[k + 1] - join) * ahead;
            break;
        }
        ahead -= left;
        join = main[k + 1];
        ++k;
    }
    k = std::min(k, main.size() - 2);
    const QPointF flow = unit(main[k + 1] - main[k]);
    // Where the bend starts: `approach` pixels up the tributary.
    std::size_t from = p.size() - 1;
    for (double run = 0.0; from > 0 && run < approach; --from) {
        run += length(p[from] - p[from - 1]);
    }
    const QPointF start = p[from];
    // The control point lies up the main line, so the curve turns downstream well before the bank
    // and crosses it slantwise.
    // It bows a little toward the side the tributary comes from, so even one already heading
    // downstream joins along a curve rather than a ruled line.
    const QPointF across(-flow.y(), flow.x());
    const double side = QPointF::dotProduct(start - join, across) >= 0.0 ? 1.0 : -1.0;
    const double span = length(join - start);
    const QPointF control = join - flow * (0.8 * span) + across * (side * 0.2 * span);
    const float w0 = tributary.widths[from];
    const float w1 = std::min(tributary.widths.back(), mainWidths[k]);
    p.resize(from + 1);
    tributary.widths.resize(from + 1);
    const int steps = std::max(3, static_cast<int>(length(join - start) / 3.0));
    for (int s = 1; s <= steps; ++s) {
        const double t = static_cast<double>(s) / steps;
        p.push_back((1 - t) * (1 - t) * start + 2 * (1 - t) * t * control + t * t * join);
        tributary.widths.push_back(w0 + (w1 - w0) * static_cast<float>(t));
    }
    // No channel is wider than the one it feeds.
    for (float& w : tributary.widths) {
        w = std::min(w, std::max(1.0f, 0.9f * mainWidths[k]));
    }
}

}  // namespace marventa
