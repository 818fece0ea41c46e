#include "tools/paint/landmark_features.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string_view>
#include <utility>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/ink.h"
#include "tools/paint/mountain_glyphs.h"

namespace marventa {

namespace {

const QColor kRockInk(58, 46, 36);
const QColor kWaterEdge(50, 90, 140);

// A ring of `count` points of radius `r` round `c`, starting at `phase` radians.
std::vector<QPointF> ring(QPointF c, double r, int count, double phase = 0.0) {
    std::vector<QPointF> out;
    for (int i = 0; i < count; ++i) {
        const double a = phase + 2 * std::numbers::pi * i / count;
        out.push_back(c + r * QPointF(std::cos(a), std::sin(a)));
    }
    return out;
}

// An irregular boulder: a ring whose radius swings by a fixed pattern.
QPolygonF boulder(QPointF c, double r, int seed) {
    QPolygonF out;
    for (int i = 0; i < 9; ++i) {
        const double a = 2 * std::numbers::pi * i / 9;
        const double k = 0.8 + 0.2 * std::sin(3.1 * i + seed);
        out << c + r * k * QPointF(std::cos(a), std::sin(a));
    }
    return out;
}

// A long low mound seen from the side, a few hachures down its shadowed flank, on a short
// stretch of ground line; no wider than the name beside its symbol leaves paper for.
void barrow(QPainter& p, QPointF at, const Waterways&) {
    const QColor ink(58, 40, 26);
    // Its foot lies left of the point, where the name beside the symbol does not reach.
    const QPointF foot = at + QPointF(-3.5, 5.5);
    QPainterPath mound;
    mound.moveTo(foot + QPointF(-12.0, 0.0));
    mound.cubicTo(foot + QPointF(-8.0, -6.5), foot + QPointF(6.0, -6.5), foot + QPointF(11.0, 0.0));
    // Filled as closed along its foot, inked along its crown only.
    p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(150, 150, 100, 120));
    p.drawPath(mound);
    p.setPen(QPen(ink, 0.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot + QPointF(-15.0, 0.3), foot + QPointF(-13.0, 0.3));
    // Its flank away from the light from the north-west.
    p.setPen(QPen(ink, 0.6, Qt::SolidLine, Qt::RoundCap));
    for (const double x : {3.0, 5.5, 8.0}) {
        const double t = (x + 12.0) / 23.0;
        const double top = -4.9 * 4.0 * t * (1.0 - t);
        p.drawLine(foot + QPointF(x, top + 0.9), foot + QPointF(x - 0.5, -0.6));
    }
}

// Salt pans along the shore: low-walled beds of uneven size, their banks leaning with the lie of
// the flats. Each is a thin wash over the ground inside an inked bank, some holding brine (a few
// ruled ripples), the dried ones a crust of stipple, so that they read as drawn, not as cut paper.
void saltPans(QPainter& p, QPointF at, const Waterways&) {
    Rng rng(0x5A17'0001);
    const QColor bank(70, 78, 84, 215);
    for (int i = 0; i < 9; ++i) {
        const QPointF c = at + QPointF(-70 + (i % 4) * 15 + rng.range(-3, 3) + (i / 4) * 6,
                                       -18 + (i / 4) * 11 + rng.range(-2, 2));
        const double w = rng.range(7, 14);
        const double h = rng.range(5, 8);
        const double lean = rng.range(-2.5, 2.5);
        const bool brine = rng.chance(0.4);
        // The corners a little off true, as a hand rules a small box.
        QPolygonF bed;
        for (const QPointF corner : {QPointF(-w / 2 + lean, -h / 2), QPointF(w / 2 + lean, -h / 2),
                                     QPointF(w / 2 - lean, h / 2), QPointF(-w / 2 - lean, h / 2)}) {
            bed << c + corner + QPointF(rng.range(-0.5, 0.5), rng.range(-0.4, 0.4));
        }
        QPainterPath body;
        body.addPolygon(bed);
        body.closeSubpath();
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(brine ? QColor(150, 186, 204, 95) : QColor(250, 248, 240, 110));
        p.drawPath(body);
        p.setClipPath(body);
        if (brine) {
            p.setPen(QPen(QColor(80, 110, 130, 150), 0.5, Qt::SolidLine, Qt::RoundCap));
            for (double y = -h / 2 + 1.8; y < h / 2 - 0.8; y += 2.2) {
                const double x0 = rng.range(-0.4, 0.0) * w;
                p.drawLine(c + QPointF(x0, y), c + QPointF(x0 + rng.range(0.3, 0.55) * w, y));
            }
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(110, 104, 92, 150));
            const int dots = static_cast<int>(w * h / 7);
            for (int d = 0; d < dots; ++d) {
                p.drawEllipse(c + QPointF(rng.range(-w / 2, w / 2), rng.range(-h / 2, h / 2)), 0.35,
                              0.35);
            }
        }
        p.restore();
        // The bank heavier on its lower and right sides, away from the light.
        for (int e = 0; e < 4; ++e) {
            const bool shaded = e == 1 || e == 2;
            p.setPen(QPen(bank, shaded ? 0.95 : 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(bed[e], bed[(e + 1) % 4]);
        }
    }
}

// The way from `at` out to the sea within `reach` pixels, as a unit vector; none inland.
std::optional<QPointF> seaward(QPointF at, const Waterways& water, double reach) {
    QPointF sum;
    int wet = 0;
    for (const QPointF& q : ring(at, reach, 24)) {
        const int x = static_cast<int>(q.x() / water.cell);
        const int y = static_cast<int>(q.y() / water.cell);
        if (water.ground.contains(x, y) && water.ground(x, y) < 0.0f && water.lakeId(x, y) < 0) {
            sum += q - at;
            ++wet;
        }
    }
    if (wet == 0 || length(sum) < 1e-6) {
        return std::nullopt;
    }
    return sum / length(sum);
}

// The rock under the landmark's own star, so that the two read as one mark: the beacon on it;
// by the water, the rock itself standing off the shore as a stack, the surf broken round it.
void lanternRock(QPainter& p, QPointF at, const Waterways& water) {
    p.setPen(QPen(kRockInk, 0.9));
    p.setBrush(QColor(150, 140, 128));
    p.drawPolygon(boulder(at + QPointF(0, 1), 4.8, 2));
    p.setPen(QPen(QColor(240, 190, 60), 1.2));
    for (const QPointF& q : ring(at, 12.5, 8, 0.39)) {
        p.drawLine(at + (q - at) * 0.72, q);  // the beacon's rays
    }
    const std::optional<QPointF> out = seaward(at, water, 18.0);
    if (!out) {
        return;
    }
    // A stack seen from the side: a steep lit face, the shaded one hatched, and a lesser rock
    // beside it, both standing in the water off the beacon's point.
    const QPointF foot = at + *out * 17.0 + QPointF(0, 3.0);
    const QPolygonF stack{foot + QPointF(-5.0, 0.0),  foot + QPointF(-4.0, -4.5),
                          foot + QPointF(-2.2, -8.0), foot + QPointF(0.4, -9.0),
                          foot + QPointF(2.6, -6.5),  foot + QPointF(4.0, -3.2),
                          foot + QPointF(5.4, 0.0)};
    const QPolygonF lesser{foot + QPointF(5.0, 0.5), foot + QPointF(6.4, -2.6),
                           foot + QPointF(8.2, -3.0), foot + QPointF(9.6, 0.5)};
    p.setPen(Qt::NoPen);
    for (const QPolygonF* rock : {&stack, &lesser}) {
        p.setBrush(QColor(128, 118, 106));
        p.drawPolygon(*rock);
    }
    p.setBrush(QColor(58, 46, 36, 150));
    p.drawPolygon(QPolygonF{foot + QPointF(0.4, -9.0), foot + QPointF(2.6, -6.5),
                            foot + QPointF(4.0, -3.2), foot + QPointF(5.4, 0.0),
                            foot + QPointF(1.2, 0.0)});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRockInk, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(stack);
    p.drawPolyline(lesser);
    p.setPen(QPen(kRockInk, 0.6, Qt::SolidLine, Qt::RoundCap));
    for (const double x : {1.6, 2.8, 3.9}) {
        p.drawLine(foot + QPointF(x, -7.0 + 1.5 * x), foot + QPointF(x + 0.4, -1.0));
    }
    // The surf: short broken strokes along the water at the rocks' foot.
    p.setPen(QPen(kWaterEdge, 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot + QPointF(-8.5, 1.6), foot + QPointF(-4.0, 1.4));
    p.drawLine(foot + QPointF(-1.5, 1.8), foot + QPointF(4.0, 1.7));
    p.drawLine(foot + QPointF(6.0, 2.0), foot + QPointF(11.0, 1.6));
    p.drawLine(foot + QPointF(-5.5, 3.6), foot + QPointF(-2.0, 3.8));
    p.drawLine(foot + QPointF(3.0, 4.0), foot + QPointF(7.5, 3.8));
}

// The old bridge across the nearest river, fallen in at mid-stream, and its causeway from the
// landmark to the bank.
void brokenSpan(QPainter& p, QPointF at, const Waterways& water) {
    const RiverLine* river = nullptr;
    Nearest best;
    for (const RiverLine& r : water.rivers) {
        const Nearest n = nearestOnPolyline(at, r.points);
        if (n.distance < best.distance) {
            best = n;
            river = &r;
        }
    }
    if (river == nullptr) {
        return;
    }
    const QPointF a = river->points[best.segment];
    const QPointF b = river->points[best.segment + 1];
    const QPointF on = a + (b - a) * best.along;
    const QPointF flow = (b - a) / length(b - a);
    const QPointF across(-flow.y(), flow.x());
    const double half = river->widths[best.segment] / 2 + 5;
    p.setPen(QPen(kRockInk, 1.0, Qt::DotLine));
    p.drawLine(at, on + (at - on) * (half / length(at - on)));
    p.setPen(QPen(kRockInk, 1.0));
    p.setBrush(QColor(196, 184, 160));
    for (const double side : {-1.0, 1.0}) {
        const QPointF from = on + across * (side * half);
        const QPointF to = on + across * (side * 2.0);
        p.drawPolygon(
            QPolygonF({from + flow * 3.0, to + flow * 3.0, to - flow * 3.0, from - flow * 3.0}));
    }
}

// The stretch of running water within `reach` either way along its line of the point on it
// nearest `at`, if some runs close by; its mean width in `width`.
std::vector<QPointF> nearbyCourse(QPointF at, const Waterways& water, double reach, double& width) {
    const RiverLine* line = nullptr;
    Nearest best;
    for (const auto* lines : {&water.brooks, &water.rivers}) {
        for (const RiverLine& r : *lines) {
            const Nearest n = nearestOnPolyline(at, r.points);
            if (n.distance < best.distance && r.points.size() > 1) {
                best = n;
                line = &r;
            }
        }
    }
    if (line == nullptr || best.distance > 30) {
        return {};
    }
    const std::vector<QPointF>& pts = line->points;
    const QPointF on = pts[best.segment] + (pts[best.segment + 1] - pts[best.segment]) * best.along;
    std::vector<QPointF> back{on};
    double run = 0;
    for (std::size_t i = best.segment + 1; i-- > 0 && run < reach;) {
        run += length(pts[i] - back.back());
        back.push_back(pts[i]);
    }
    std::vector<QPointF> course(back.rbegin(), back.rend());
    run = 0;
    for (std::size_t i = best.segment + 1; i < pts.size() && run < reach; ++i) {
        run += length(pts[i] - course.back());
        course.push_back(pts[i]);
    }
    width = line->widths[best.segment];
    return course;
}

// The gorge's course: its brook's stretch either side of its point. Where the brook rises at the
// point, the cleft runs up from it into the slope the brook came down, past its head, and only a
// little way down onto the level ground below, where no cleft is cut.
std::vector<QPointF> gorgeCourse(QPointF at, const Waterways& water, double& width) {
    constexpr double kReach = 60;
    constexpr double kBelow = 16;  // px of the cleft below the point where the brook rises there
    std::vector<QPointF> course = nearbyCourse(at, water, kReach, width);
    if (course.size() < 3) {
        return course;
    }
    const bool headFirst = length(course.front() - at) < length(course.back() - at);
    if (headFirst) {
        std::reverse(course.begin(), course.end());
    }
    const QPointF head = course.back();
    const QPointF run = head - course[course.size() - 3];
    if (length(head - at) < 24 && length(run) > 1e-6) {
        const Nearest on = nearestOnPolyline(at, course);
        double below = 0;
        std::size_t from = on.segment;
        while (from > 0 && below < kBelow) {
            below += length(course[from] - course[from - 1]);
            --from;
        }
        course.erase(course.begin(), course.begin() + static_cast<std::ptrdiff_t>(from));
        for (double d = 6; d <= 0.7 * kReach; d += 6) {
            course.push_back(head + run * (d / length(run)));
        }
    }
    if (headFirst) {
        std::reverse(course.begin(), course.end());
    }
    return course;
}

// A gorge: its two cliff edges inked along the brook that cut it, each with hachures falling
// inward to the water, closing at either end. Where no water runs by (the key), a short
// stretch of brook of its own between them.
void gorge(QPainter& p, QPointF at, const Waterways& water) {
    double width = 1.6;
    std::vector<QPointF> course = gorgeCourse(at, water, width);
    if (course.size() < 3) {
        const QPointF dir(0.94, 0.34);
        course.clear();
        for (int i = -4; i <= 4; ++i) {
            course.push_back(at + dir * (i * 4.5) + QPointF(-dir.y(), dir.x()) * std::sin(i * 1.3));
        }
        p.setBrush(Qt::NoBrush);
        const QPolygonF brook(QList<QPointF>(course.begin(), course.end()));
        p.setPen(QPen(kWaterEdge, width + 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(brook);
        p.setPen(QPen(kRiverWater, width - 0.4, Qt::SolidLine, Qt::RoundCap));
        p.drawPolyline(brook);
    }
    // Resampled evenly, so that the rims and their strokes do not bunch where the line's points do.
    std::vector<QPointF> even{course.front()};
    double total = 0;
    for (std::size_t i = 1; i < course.size(); ++i) {
        total += length(course[i] - course[i - 1]);
    }
    const double step = 2.4;
    const int n = std::max(4, static_cast<int>(total / step));
    {
        std::size_t seg = 0;
        double into = 0;
        for (int i = 1; i <= n; ++i) {
            double want = total / n;
            while (seg + 1 < course.size()) {
                const double left = length(course[seg + 1] - course[seg]) - into;
                if (want <= left) {
                    into += want;
                    break;
                }
                want -= left;
                into = 0;
                ++seg;
            }
            if (seg + 1 >= course.size()) {
                even.push_back(course.back());
                continue;
            }
            const QPointF d = course[seg + 1] - course[seg];
            even.push_back(course[seg] + d * (into / length(d)));
        }
    }
    Rng rng(0x6A0E'0001);
    const double inner = width / 2 + 1.6;
    for (const double side : {-1.0, 1.0}) {
        // Each wall its own: how far it stands back and how it wanders, slowly along its run.
        const double phase = rng.range(0.0, 6.3);
        const double depth = rng.range(4.5, 6.5);
        std::vector<QPointF> rim;
        std::vector<double> opens;
        std::vector<QPointF> inward;
        for (std::size_t i = 0; i < even.size(); ++i) {
            const QPointF a = even[i == 0 ? 0 : i - 1];
            const QPointF b = even[std::min(i + 1, even.size() - 1)];
            const QPointF d = (b - a) / std::max(1e-6, length(b - a));
            const QPointF across(-d.y(), d.x());
            const double t = static_cast<double>(i) / (even.size() - 1);
            // Deepest mid-way; toward the mouths the walls sink into the slope.
            const double open = std::pow(std::sin(std::numbers::pi * t), 0.6);
            const double wander =
                0.22 * std::sin(phase + 9.0 * t) + 0.12 * std::sin(2 * phase + 23.0 * t);
            rim.push_back(even[i] + across * (side * (inner + open * depth * (1.0 + wander))));
            opens.push_back(open);
            inward.push_back(-across * side);
        }
        p.setBrush(Qt::NoBrush);
        // The walls' strokes: from the edge down toward the water, long where the wall is high
        // and uneven as a hand spaces them, the edge itself heavier on the side away from the
        // north-western light.
        QColor hatch = kRockInk;
        hatch.setAlpha(210);
        for (std::size_t i = 0; i < rim.size(); ++i) {
            if (opens[i] < 0.35 || rng.chance(0.15)) {
                continue;
            }
            const double wall = length(rim[i] - even[i]) - inner;
            const double fall = wall * rng.range(0.45, 0.95);
            const QPointF top =
                rim[i] + (rim[std::min(i + 1, rim.size() - 1)] - rim[i]) * rng.range(-0.25, 0.25);
            p.setPen(QPen(hatch, rng.range(0.5, 0.75), Qt::SolidLine, Qt::RoundCap));
            p.drawLine(top, top + inward[i] * fall);
        }
        for (std::size_t i = 0; i + 1 < rim.size(); ++i) {
            const double open = std::min(opens[i], opens[i + 1]);
            if (open < 0.3) {
                continue;
            }
            const double pen = (side > 0 ? 0.85 : 1.35) * (0.55 + 0.45 * open);
            p.setPen(QPen(kRockInk, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(rim[i], rim[i + 1]);
        }
    }
}

// Nine standing stones in a ring seen from a little above: pale upright slabs in ink, each with
// its shaded side and a short shadow at its foot, a few leaning or tipped, drawn back to front.
void nineShards(QPainter& p, QPointF at, const Waterways&) {
    struct Stone {
        QPointF foot;
        double width;
        double height;
        double lean;
    };
    Rng rng(0x5A4D'0009);
    std::vector<Stone> stones;
    for (const QPointF& q : ring(QPointF(0, 0), 1.0, 9, 0.35)) {
        Stone st;
        st.foot = at + QPointF(q.x() * 24.0, q.y() * 15.0 + 3.0);
        st.width = rng.range(3.6, 5.0);
        st.height = rng.range(7.5, 11.0);
        st.lean = rng.chance(0.35) ? rng.range(0.18, 0.42) * (rng.chance(0.5) ? 1 : -1)
                                   : rng.range(-0.06, 0.06);
        stones.push_back(st);
    }
    std::stable_sort(stones.begin(), stones.end(),
                     [](const Stone& a, const Stone& b) { return a.foot.y() < b.foot.y(); });
    for (const Stone& st : stones) {
        const QPointF up(std::sin(st.lean), -std::cos(st.lean));
        const QPointF across(-up.y(), up.x());
        const double w = st.width / 2;
        const QPointF top = st.foot + up * st.height;
        // A slab: square at the foot, its top narrower and a little off square.
        const QPolygonF slab({st.foot - across * w, st.foot + across * w,
                              top + across * (0.7 * w) - up * 0.8, top - across * (0.8 * w)});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 60, 44, 70));
        p.drawEllipse(st.foot + QPointF(2.5, 0.3), w + 2.5, 1.4);
        p.setBrush(QColor(226, 220, 204));
        p.setPen(QPen(kRockInk, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolygon(slab);
        // The side away from the north-western light.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 110, 96, 170));
        p.drawPolygon(
            QPolygonF({st.foot + across * (0.15 * w), st.foot + across * (w - 0.4),
                       top + across * (0.7 * w - 0.4) - up * 0.8, top + across * (0.1 * w)}));
    }
}

// The outline's height over `x` along its part from `from` on, or `fallback` where it does not
// pass over it.
double outlineTop(const QPolygonF& outline, int from, double x, double fallback) {
    for (int j = from; j + 1 < outline.size(); ++j) {
        const QPointF a = outline[j];
        const QPointF b = outline[j + 1];
        if (std::min(a.x(), b.x()) <= x && std::max(a.x(), b.x()) >= x && a.x() != b.x()) {
            return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
        }
    }
    return fallback;
}

// One spire of rock side on, in the peaks' hand: the lit flank paper-pale, the flank beyond its
// summit (outline point `summit`) washed thin and hatched down its fall, the outline inked over.
void spire(QPainter& p, const QPolygonF& outline, int summit, const QColor& ground,
           std::uint64_t seed) {
    QPainterPath body;
    body.addPolygon(outline);
    body.closeSubpath();
    const QPointF top = outline[summit];
    const double foot = outline.front().y();
    // The lit rock paper-pale over the ground's tone, fading to the ground at the foot.
    const QColor lit = QColor::fromRgbF(0.55f * ground.redF() + 0.45f * 0.98f,
                                        0.55f * ground.greenF() + 0.45f * 0.955f,
                                        0.55f * ground.blueF() + 0.45f * 0.88f);
    QLinearGradient rock(top, QPointF(top.x(), foot));
    rock.setColorAt(0.0, lit);
    rock.setColorAt(0.6, lit);
    rock.setColorAt(1.0, ground);
    p.setPen(Qt::NoPen);
    p.setBrush(rock);
    p.drawPath(body);
    // The shade: from a spine under the summit round the far flank.
    QPolygonF shadePoly;
    for (int i = summit; i < outline.size(); ++i) {
        shadePoly << outline[i];
    }
    shadePoly << QPointF(top.x() + 2.5, foot)
              << QPointF(top.x() + 1.0, top.y() + 0.45 * (foot - top.y()));
    QPainterPath shade;
    shade.addPolygon(shadePoly);
    shade.closeSubpath();
    shade = shade.intersected(body);
    p.setBrush(QColor(78, 56, 38, 105));
    p.drawPath(shade);
    Rng rng(seed);
    QColor hatch = kReliefInk;
    hatch.setAlpha(225);
    p.setBrush(hatch);
    // A few cracks down the lit face, short strokes from under its outline.
    for (int i = 0; i < 3; ++i) {
        const double x = outline.front().x() + (top.x() - outline.front().x()) * (0.35 + 0.2 * i);
        const double y = outlineTop(outline, 0, x, foot) + 2.0;
        const double len = (foot - y) * rng.range(0.25, 0.45);
        inkTaperedStroke(p, QLineF(QPointF(x, y), QPointF(x + 0.3 * len, y + len)), 0.7, 0.2);
    }
    p.save();
    p.setClipPath(shade);
    const double right = outline.back().x();
    for (double x = top.x() + rng.range(0.4, 1.0); x < right; x += rng.range(1.4, 1.9)) {
        const double y = outlineTop(outline, summit, x, foot) + 0.8;
        const double len = (foot - y) * rng.range(0.5, 0.85);
        if (len > 2.0) {
            inkTaperedStroke(p, QLineF(QPointF(x, y), QPointF(x + 0.12 * len, y + len)), 0.85, 0.3);
        }
    }
    p.restore();
    p.setBrush(Qt::NoBrush);
    inkReliefLine(p, outline, 1.35, seed);
    p.setBrush(kReliefInk);
    inkTaperedStroke(p, QLineF(top, top + QPointF(1.0, 0.4 * (foot - top.y()))), 0.9, 0.3);
}

// Two rock spires side on, in the peaks' own hand, split to their foot by a narrow cleft: its
// shaded wall hatched close, its depth a thin wash, so that the symbol standing at its mouth
// still reads over it and the crag does not close into one dark blot.
void splitCrag(QPainter& p, QPointF at, const Waterways&) {
    const QPointF base = at + QPointF(0, 10);
    // The rock takes the wash it stands on, as the peaks do; the key's a pale ground.
    QColor ground(226, 214, 180);
    if (const auto* sheet = dynamic_cast<const QImage*>(p.device())) {
        const QPoint under = (base + QPointF(0, 3)).toPoint();
        if (sheet->rect().contains(under) && p.transform().isIdentity()) {
            ground = sheet->pixelColor(under);
        }
    }
    const auto shape = [&](std::initializer_list<QPointF> pts) {
        QPolygonF out;
        for (const QPointF& q : pts) {
            out << base + q;
        }
        return out;
    };
    // The taller spire behind on the left, its cleft wall falling sheer; the lower one before it
    // on the right. Both lean a little apart, as halves of one rock that split.
    const QPolygonF far = shape({{-29, 0},
                                 {-26, -7},
                                 {-23, -12},
                                 {-20, -21},
                                 {-17, -25},
                                 {-13, -35},
                                 {-10, -44},
                                 {-7, -39},
                                 {-5, -30},
                                 {-4, -19},
                                 {-3.5, -9},
                                 {-1.5, 0}});
    const QPolygonF near = shape({{1.5, 0},
                                  {2.5, -8},
                                  {3.5, -17},
                                  {6, -25},
                                  {8.5, -33},
                                  {11, -29},
                                  {13, -21},
                                  {14.5, -17},
                                  {17, -9},
                                  {20, 0}});
    // The cleft's depth between the walls, lit from above, dark only at its foot.
    QPolygonF slot;
    slot << base + QPointF(-5, -30) << base + QPointF(-4, -19) << base + QPointF(-3.5, -9)
         << base + QPointF(-1.5, 0) << base + QPointF(1.5, 0) << base + QPointF(2.5, -8)
         << base + QPointF(3.5, -17) << base + QPointF(6, -25);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QLinearGradient depth(base + QPointF(0, -30), base);
    depth.setColorAt(0.0, QColor(78, 56, 38, 20));
    depth.setColorAt(1.0, QColor(60, 44, 32, 110));
    p.setBrush(depth);
    p.drawPolygon(slot);
    spire(p, far, 6, ground, 0xC4A6'0001);
    spire(p, near, 5, ground, 0xC4A6'0007);
    // The cleft's far wall hatched close across its width, in short strokes, fewer up high.
    Rng rng(0xC4A6'0003);
    QPainterPath cleft;
    cleft.addPolygon(slot);
    cleft.closeSubpath();
    p.setClipPath(cleft);
    QColor hatch = kReliefInk;
    hatch.setAlpha(200);
    p.setBrush(hatch);
    for (double y = -27; y < -1; y += rng.range(1.6, 2.2)) {
        const double x = -4.4 + 0.09 * (y + 27) + rng.range(-0.3, 0.3);
        inkTaperedStroke(p, QLineF(base + QPointF(x, y), base + QPointF(x + 2.4, y + 1.6)), 0.8,
                         0.4);
    }
    p.setClipping(false);
    // The ground at the foot: a short line either side and a few fallen stones.
    p.setPen(QPen(kReliefInk, 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base + QPointF(-34, 0.5), base + QPointF(-30, 0.3));
    p.drawLine(base + QPointF(20.5, 0.3), base + QPointF(23, 0.6));
    p.setPen(QPen(kReliefInk, 0.6));
    p.setBrush(Qt::NoBrush);
    for (const QPointF q : {QPointF(-22, 2.5), QPointF(-17, 3.2), QPointF(16, 2.8)}) {
        p.drawEllipse(base + q, 1.1, 0.8);
    }
    p.restore();
}

void sunkenBelfry(QPainter& p, QPointF at, const Waterways& water) {
    const QPointF pool = at + QPointF(22, 12);
    // By a lake the tower stands out of the lake's own water; a pool of its own there would
    // read as a second water lying on the first.
    if (water.lakeAt(pool) < 0) {
        p.setPen(QPen(kWaterEdge, 1.2));
        p.setBrush(QColor(120, 168, 206));
        p.drawEllipse(pool, 20, 13);
    }
    p.setPen(QPen(kRockInk, 1.0));
    p.setBrush(QColor(176, 164, 150));
    p.drawRect(QRectF(pool.x() - 3.5, pool.y() - 8, 7, 8));
    p.drawPolygon(
        QPolygonF({pool + QPointF(-5, -8), pool + QPointF(5, -8), pool + QPointF(0, -15)}));
}

// The tor's boulders, inked as the peaks are: a pale stone tone inside an outline heavier on the
// side away from the north-western light, that side hatched; a few large ones heaped with small
// ones fallen round them.
void tor(QPainter& p, QPointF at, const Waterways&) {
    Rng rng(0x70E1'0001);
    struct Stone {
        QPointF c;
        double r;
    };
    std::vector<Stone> stones;
    for (const QPointF& q : ring(at, 14, 5, 0.6)) {
        stones.push_back({q + QPointF(rng.range(-2, 2), rng.range(-2, 2)), rng.range(5.0, 7.5)});
    }
    for (const QPointF& q : ring(at, 22, 3, 1.3)) {
        stones.push_back({q, rng.range(2.2, 3.2)});
    }
    // Back to front, so that nearer stones overlap farther ones.
    std::stable_sort(stones.begin(), stones.end(),
                     [](const Stone& a, const Stone& b) { return a.c.y() < b.c.y(); });
    // The lit face a stone tone a little lighter than the heights' ground: a paper fill stood
    // out of them as white blobs. Opaque, so that a nearer stone hides the one behind.
    const QColor stone(226, 218, 192);
    int seed = 0;
    for (const Stone& st : stones) {
        // Settled on the ground: the lower half flattened.
        QPolygonF outline = boulder(st.c, st.r, ++seed);
        for (QPointF& q : outline) {
            if (q.y() > st.c.y()) {
                q.setY(st.c.y() + 0.7 * (q.y() - st.c.y()));
            }
        }
        QPainterPath body;
        body.addPolygon(outline);
        body.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(stone);
        p.drawPath(body);
        // The shaded side: strokes falling to the lower right, clipped to the stone's far half.
        p.save();
        QPainterPath shade;
        shade.addPolygon(QPolygonF({st.c + QPointF(-st.r * 1.5, st.r * 1.5),
                                    st.c + QPointF(st.r * 1.5, -st.r * 1.5),
                                    st.c + QPointF(st.r * 1.5, st.r * 1.5)}));
        p.setClipPath(body.intersected(shade));
        p.setPen(QPen(kRockInk, 0.7, Qt::SolidLine, Qt::FlatCap));
        for (double d = -st.r; d < 2 * st.r; d += 1.5) {
            const QPointF a = st.c + QPointF(d - st.r * 0.2, -st.r);
            p.drawLine(a, a + QPointF(st.r * 0.6, 2.2 * st.r));
        }
        p.restore();
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < outline.size(); ++i) {
            const QPointF a = outline[i];
            const QPointF b = outline[(i + 1) % outline.size()];
            const QPointF mid = (a + b) / 2 - st.c;
            // Light from the north-west: the lower right of the outline inked heaviest.
            const double away = (mid.x() + mid.y()) / (std::sqrt(2.0) * st.r);
            const double pen = std::clamp(0.9 + 0.55 * away, 0.55, 1.45) * (st.r < 4 ? 0.75 : 1.0);
            p.setPen(QPen(kRockInk, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(a, b);
        }
    }
}

}  // namespace

void drawLandmarkFeature(QPainter& p, std::string_view name, QPointF at, const Waterways& water) {
    using Feature = void (*)(QPainter&, QPointF, const Waterways&);
    static constexpr std::pair<std::string_view, Feature> kFeatures[] = {
        {"Barrow of the First Crown", barrow},
        {"Greywhite Salt Pans", saltPans},
        {"Lantern Rock", lanternRock},
        {"The Broken Span", brokenSpan},
        {"The Hollering Gorge", gorge},
        {"The Nine Shards", nineShards},
        {"The Split Crag", splitCrag},
        {"The Sunken Belfry", sunkenBelfry},
        {"The Thimble Tor", tor},
    };
    for (const auto& [known, draw] : kFeatures) {
        if (known == name) {
            draw(p, at, water);
        }
    }
}

bool standsOffShore(std::string_view name) {
    return name == "Lantern Rock";
}

void drawLandmarkFeatures(QPainter& p, const ProvinceScene& scene) {
    for (const ProvincePlace& place : scene.places) {
        if (place.kind == PlaceKind::Landmark) {
            drawLandmarkFeature(p, place.name, QPointF(place.at.x, place.at.y), scene.water);
        }
    }
}

namespace {

// How far the gorge's clearing reaches either side of its brook.
constexpr double kGorgeClear = 17.0;

// The gorge's point and the stretch of its brook either side (empty where none runs by).
struct GorgeCourse {
    QPointF at;
    std::vector<QPointF> course;
};

std::vector<GorgeCourse> gorgeCourses(const ProvinceScene& scene) {
    std::vector<GorgeCourse> out;
    for (const ProvincePlace& place : scene.places) {
        if (place.kind == PlaceKind::Landmark && place.name == "The Hollering Gorge") {
            const QPointF at(place.at.x, place.at.y);
            double width = 1.6;
            out.push_back({at, gorgeCourse(at, scene.water, width)});
        }
    }
    return out;
}

}  // namespace

void markLandmarkClearings(QPainter& p, const ProvinceScene& scene) {
    for (const auto& [at, course] : gorgeCourses(scene)) {
        p.save();
        p.setPen(
            QPen(p.brush().color(), 2 * kGorgeClear, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (course.size() >= 2) {
            p.drawPolyline(QPolygonF(QList<QPointF>(course.begin(), course.end())));
        }
        p.setPen(Qt::NoPen);
        p.drawEllipse(at, 22.0, 18.0);
        p.restore();
    }
}

std::vector<Peak> gorgeSidePeaks(const ProvinceScene& scene) {
    std::vector<Peak> peaks;
    for (const auto& [at, course] : gorgeCourses(scene)) {
        if (course.size() < 2) {
            continue;
        }
        const Nearest mid = nearestOnPolyline(at, course);
        const QPointF a = course[mid.segment];
        const QPointF b = course[mid.segment + 1];
        const QPointF flow = (b - a) / std::max(length(b - a), 1e-6);
        Rng rng(0x6A0E'0002);
        // Along the brook either side of the point, a peak each side of the cleft: the one on
        // the far (upper) side standing back from the clearing's edge, the near one with its
        // summit below it. More places than will fit; the relief keeps those that do.
        for (const double along : {-50.0, -43.0, -36.0, -29.0, -22.0, -15.0, -8.0, 6.0, 20.0}) {
            const Nearest n = nearestOnPolyline(at + flow * along, course);
            const QPointF on =
                course[n.segment] + (course[n.segment + 1] - course[n.segment]) * n.along;
            // Each side a fuller peak close by the cleft, then a smaller one standing farther
            // back, for where the first would meet a symbol or a name. The near side's stand
            // clear of the round clearing at the point as well, and low, so that they stay short
            // of what lies below the gorge.
            for (const double side : {-1.0, 1.0}) {
                const bool near = side > 0;
                for (const bool fuller : {true, false}) {
                    Peak k;
                    k.width = fuller ? rng.range(near ? 16.0 : 19.0, near ? 21.0 : 26.0)
                                     : rng.range(14.0, near ? 17.0 : 19.0);
                    k.height = k.width * (near ? rng.range(0.6, 0.7) : rng.range(0.62, 0.8));
                    k.seed = rng.next();
                    const double edge =
                        kGorgeClear + (near ? (fuller ? 9.0 : 12.0) : (fuller ? 5.0 : 12.0));
                    k.foot = side < 0 ? on + QPointF(0, -edge) : on + QPointF(0, edge + k.height);
                    peaks.push_back(k);
                }
            }
        }
    }
    return peaks;
}

}  // namespace marventa
