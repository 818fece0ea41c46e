#include "tools/paint/hand_line.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa {

namespace {

constexpr double kStep = 2.0;  // px between the points of a run

// A line measured along its length, to find the point and width at any distance.
class Measured {
  public:
    Measured(const std::vector<QPointF>& pts, const std::vector<float>& widths)
        : pts_(pts), widths_(widths) {
        along_.push_back(0.0);
        for (std::size_t i = 1; i < pts.size(); ++i) {
            along_.push_back(along_.back() + length(pts[i] - pts[i - 1]));
        }
    }

    double total() const { return along_.back(); }

    std::pair<QPointF, double> at(double s) const {
        const auto it = std::upper_bound(along_.begin(), along_.end(), s);
        const std::size_t i = std::clamp<std::size_t>(static_cast<std::size_t>(it - along_.begin()),
                                                      1, pts_.size() - 1);
        const double span = along_[i] - along_[i - 1];
        const double t = span > 1e-9 ? std::clamp((s - along_[i - 1]) / span, 0.0, 1.0) : 0.0;
        return {pts_[i - 1] + t * (pts_[i] - pts_[i - 1]),
                widths_[i - 1] + t * (widths_[i] - widths_[i - 1])};
    }

  private:
    const std::vector<QPointF>& pts_;
    const std::vector<float>& widths_;
    std::vector<double> along_;
};

// One line's own seed: from both its ends, the same whichever way it is walked.
std::uint64_t lineSeed(const std::vector<QPointF>& pts) {
    const auto end = [](QPointF q) {
        return mix64((static_cast<std::uint64_t>(std::lround(q.x() * 4.0)) << 32) ^
                     static_cast<std::uint64_t>(std::lround(q.y() * 4.0)) ^ 0x4A4D'0003ull);
    };
    return end(pts.front()) ^ end(pts.back());
}

// A slow swell over a hundred pixels or so, and a quicker press and ease within it, as a hand
// that neither holds its weight nor lets it go at once.
float pressureAt(QPointF q, double share) {
    const Noise hand(0x4A4D'0002);
    const auto fx = static_cast<float>(q.x());
    const auto fy = static_cast<float>(q.y());
    const float slow = hand.fbm(fx / 55.0f, fy / 55.0f + 23.0f, 2);
    const float quick = hand.fbm(fx / 17.0f + 61.0f, fy / 17.0f, 1);
    return static_cast<float>(1.0 + share * std::clamp(1.5 * slow + 0.9 * quick, -1.0, 1.0));
}

// A pen carried round a bend is pressed outward: the line swells on the outside of the bend
// while its inside edge keeps its place. `share` is the swell at a bend of 20 px radius.
void swellBends(InkRun& run, double share) {
    constexpr std::size_t kSpan = 4;  // points either side: the bend over some 16 px
    const std::vector<QPointF>& p = run.points;
    const std::size_t n = p.size();
    if (n < 2 * kSpan + 1) {
        return;
    }
    std::vector<double> swell(n, 0.0);
    std::vector<QPointF> outward(n);
    for (std::size_t i = kSpan; i + kSpan < n; ++i) {
        const QPointF in = p[i] - p[i - kSpan];
        const QPointF out = p[i + kSpan] - p[i];
        const double a = length(in);
        const double b = length(out);
        if (a < 1e-6 || b < 1e-6) {
            continue;
        }
        const double turn =
            std::acos(std::clamp(QPointF::dotProduct(in, out) / (a * b), -1.0, 1.0));
        const double curvature = turn / (0.5 * (a + b));
        const QPointF toCentre = out / b - in / a;
        const double c = length(toCentre);
        if (c < 1e-9) {
            continue;
        }
        // Only a real bend: the hand's own wavering turns the line a little everywhere.
        swell[i] = share * std::clamp(30.0 * curvature - 0.5, 0.0, 1.5);
        outward[i] = -toCentre / c;
    }
    // Eased along the line, so the swell grows and fades through the bend.
    std::vector<double> eased(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        double sum = 0.0;
        double weight = 0.0;
        for (std::size_t k = i >= kSpan ? i - kSpan : 0; k <= std::min(n - 1, i + kSpan); ++k) {
            sum += swell[k];
            weight += 1.0;
        }
        eased[i] = sum / weight;
    }
    for (std::size_t i = kSpan; i + kSpan < n; ++i) {
        const double extra = eased[i] * run.widths[i];
        run.points[i] += outward[i] * (0.5 * extra);
        run.widths[i] += static_cast<float>(extra);
    }
}

}  // namespace

QPointF handShift(QPointF at, double reach) {
    const Noise hand(0x4A4D'0001);
    const auto fx = static_cast<float>(at.x() / 34.0);
    const auto fy = static_cast<float>(at.y() / 34.0);
    return {reach * std::clamp(1.6 * hand.fbm(fx, fy, 2), -1.0, 1.0),
            reach * std::clamp(1.6 * hand.fbm(fx + 41.0f, fy + 7.0f, 2), -1.0, 1.0)};
}

std::vector<InkRun> handDrawn(const std::vector<QPointF>& line, const std::vector<float>& widths,
                              const HandPen& pen) {
    if (line.size() < 2 || widths.size() != line.size()) {
        return {};
    }
    const Measured m(line, widths);
    const double total = m.total();
    Rng rng(lineSeed(line));
    // The stretches the pen touches the paper, as [from, to) along the line.
    std::vector<std::pair<double, double>> touches;
    if (pen.dash > 0.0) {
        double s = 0.0;
        while (s < total) {
            const double w = m.at(s).second;
            const double inked = std::max(0.5, pen.dash * rng.range(0.75, 1.25) - w);
            touches.emplace_back(s, std::min(total, s + inked));
            s += inked + pen.gap * rng.range(0.75, 1.3) + w;
        }
    } else if (pen.liftEvery > 0.0) {
        constexpr double kEndRoom = 8.0;  // no lift at a line's ends, where it joins another
        double from = 0.0;
        double lift = pen.liftEvery * rng.range(0.4, 1.6);
        while (lift < total - kEndRoom) {
            const double w = m.at(lift).second;
            const double open = rng.range(1.0, 2.0) + w;
            if (lift > kEndRoom && w < pen.liftWidth) {
                touches.emplace_back(from, lift);
                from = lift + open;
            }
            lift += open + pen.liftEvery * rng.range(0.4, 1.6);
        }
        touches.emplace_back(from, total);
    } else {
        touches.emplace_back(0.0, total);
    }
    std::vector<InkRun> runs;
    for (const auto& [from, to] : touches) {
        InkRun run;
        const int n = std::max(1, static_cast<int>(std::ceil((to - from) / kStep)));
        for (int k = 0; k <= n; ++k) {
            const auto [q, w] = m.at(from + (to - from) * k / n);
            run.points.push_back(q + handShift(q, pen.drift));
            run.widths.push_back(static_cast<float>(w) * pressureAt(q, pen.pressure));
        }
        if (pen.bend > 0.0) {
            swellBends(run, pen.bend);
        }
        runs.push_back(std::move(run));
    }
    return runs;
}

std::vector<QPointF> stoppedShort(const std::vector<QPointF>& line, double atStart, double atEnd) {
    if (line.size() < 2 || atStart + atEnd <= 0.0 || polylineLength(line) <= atStart + atEnd) {
        return line;
    }
    std::vector<float> none(line.size(), 0.0f);
    const Measured m(line, none);
    const double to = m.total() - atEnd;
    std::vector<QPointF> out{m.at(atStart).first};
    double along = 0.0;
    for (std::size_t i = 1; i < line.size(); ++i) {
        along += length(line[i] - line[i - 1]);
        if (along > atStart && along < to) {
            out.push_back(line[i]);
        }
    }
    out.push_back(m.at(to).first);
    return out;
}

void inkLine(QPainter& p, const std::vector<QPointF>& pts, const std::vector<float>& widths,
             const QColor& colour) {
    if (pts.size() < 2 || widths.size() != pts.size()) {
        return;
    }
    QPolygonF outline;
    std::vector<QPointF> other;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const QPointF d = pts[std::min(i + 1, pts.size() - 1)] - pts[i > 0 ? i - 1 : 0];
        const double len = length(d);
        const QPointF n = len > 1e-9 ? QPointF(-d.y() / len, d.x() / len) : QPointF(0, 0);
        const double half = 0.5 * widths[i];
        outline << pts[i] + half * n;
        other.push_back(pts[i] - half * n);
    }
    for (auto it = other.rbegin(); it != other.rend(); ++it) {
        outline << *it;
    }
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    shape.addPolygon(outline);
    shape.closeSubpath();
    for (const std::size_t i : {std::size_t{0}, pts.size() - 1}) {
        const double r = 0.5 * widths[i];
        shape.addEllipse(pts[i], r, r);
    }
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(shape);
    p.restore();
}

}  // namespace marventa
