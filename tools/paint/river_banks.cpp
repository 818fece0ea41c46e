#include "tools/paint/river_banks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/hand_line.h"
#include "tools/paint/ink.h"
#include "tools/paint/river_weights.h"

namespace marventa {

namespace {

constexpr double kBankDrift = 0.8;
// The deeper wash laid along the deep bank over the river's own tone.
const QColor kDeepWater(104, 142, 160, 30);
const QColor kSand(212, 200, 156, 88);
const QColor kGrit(120, 104, 78, 190);
const QColor kBarLine(50, 90, 140, 150);

// The course's normal (toward its left bank) and the distance along it at each point.
struct Frame {
    std::vector<QPointF> normal;
    std::vector<double> along;

    std::size_t indexAt(double s) const {
        const auto it = std::lower_bound(along.begin(), along.end(), s);
        return std::min(static_cast<std::size_t>(it - along.begin()), along.size() - 1);
    }
};

Frame frameOf(const std::vector<QPointF>& pts) {
    Frame f;
    double run = 0.0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const QPointF d = pts[std::min(i + 1, pts.size() - 1)] - pts[i > 0 ? i - 1 : 0];
        const double len = std::max(1e-6, length(d));
        f.normal.emplace_back(-d.y() / len, d.x() / len);
        run += i > 0 ? length(pts[i] - pts[i - 1]) : 0.0;
        f.along.push_back(run);
    }
    return f;
}

// Which bank the deep water keeps, from -1 (the right) to 1 (the left): the outside of a bend,
// crossing over between two bends, and on a straight reach the bank whose shadow falls on the
// water, the light coming from the north-west.
std::vector<float> deepSide(const std::vector<QPointF>& pts, const Frame& f) {
    constexpr std::size_t kSpan = 8;    // points either side: a bend over some 30 px
    constexpr std::size_t kSmooth = 6;  // points either side the turn is averaged over
    const std::size_t n = pts.size();
    std::vector<float> turn(n, 0.0f);
    for (std::size_t i = kSpan; i + kSpan < n; ++i) {
        const QPointF a = pts[i] - pts[i - kSpan];
        const QPointF b = pts[i + kSpan] - pts[i];
        const double la = length(a);
        const double lb = length(b);
        if (la > 1e-6 && lb > 1e-6) {
            turn[i] = static_cast<float>((a.x() * b.y() - a.y() * b.x()) / (la * lb));
        }
    }
    std::vector<float> side(n, 0.0f);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t lo = i > kSmooth ? i - kSmooth : 0;
        const std::size_t hi = std::min(n - 1, i + kSmooth);
        float sum = 0.0f;
        for (std::size_t j = lo; j <= hi; ++j) {
            sum += turn[j];
        }
        const float bend = sum / static_cast<float>(hi - lo + 1);
        const QPointF nrm = f.normal[i];
        const auto shadow =
            static_cast<float>(-(nrm.x() + nrm.y()) / std::numbers::sqrt2);  // + n toward NW
        side[i] = std::clamp(-2.5f * bend + 0.7f * std::tanh(3.0f * shadow), -1.0f, 1.0f);
    }
    return side;
}

// A bar or shoal lying with the flow: its middle line, the normal along it, its half breadth.
struct Bar {
    std::vector<QPointF> centre;
    std::vector<QPointF> across;
    std::vector<float> fat;
    int shaded = 1;       // the side (along `across` or against it) its fine line runs
    bool island = false;  // a braided river's bar, drawn round on both sides
};

// A pale wash laid three times smaller and smaller, so it fades to its edge, and a stipple
// thickest down its middle; a shoal has a broken fine line along its shaded side only, a bar
// standing out of a braided river one round both, broken where the pen lifted.
void drawBar(QPainter& p, const Bar& bar, Rng& rng) {
    const std::size_t n = bar.centre.size();
    if (n < 3) {
        return;
    }
    const auto outline = [&](float share) {
        QPolygonF poly;
        for (std::size_t k = 0; k < n; ++k) {
            poly << bar.centre[k] + bar.across[k] * (share * bar.fat[k]);
        }
        for (std::size_t k = n; k-- > 0;) {
            poly << bar.centre[k] - bar.across[k] * (share * bar.fat[k]);
        }
        return poly;
    };
    p.setPen(Qt::NoPen);
    p.setBrush(kSand);
    for (const float share : {1.05f, 0.75f, 0.45f, bar.island ? 0.8f : 0.2f}) {
        p.drawPolygon(outline(share));
    }
    double area = 0.0;
    for (const float f : bar.fat) {
        area += 2.0 * f * 2.0;
    }
    p.setBrush(kGrit);
    for (int k = 0; k < static_cast<int>(area * (bar.island ? 0.2 : 0.4)); ++k) {
        const std::size_t at = static_cast<std::size_t>(rng.below(static_cast<int>(n)));
        const double u = rng.range(-1.0, 1.0);
        if (rng.uniform() > 1.0 - 0.85 * u * u) {
            continue;
        }
        const double r = rng.range(0.28, 0.5);
        p.drawEllipse(bar.centre[at] + bar.across[at] * (u * bar.fat[at]), r, r);
    }
    // The fine line along the shaded side, broken where the pen lifted, off its thin ends.
    const float widest = *std::max_element(bar.fat.begin(), bar.fat.end());
    p.setPen(QPen(kBarLine, bar.island ? 0.6 : 0.45, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (const int side : {bar.shaded, -bar.shaded}) {
        if (side != bar.shaded && !bar.island) {
            break;
        }
        const double keep = bar.island ? 0.94 : 0.8;
        const float from = bar.island ? 0.12f : 0.45f;
        QPolygonF piece;
        for (std::size_t k = 0; k < n; ++k) {
            const bool inked = bar.fat[k] > from * widest && rng.chance(keep);
            if (inked) {
                piece << bar.centre[k] + bar.across[k] * (side * bar.fat[k]);
            }
            if ((!inked || k + 1 == n) && piece.size() > 1) {
                p.drawPolyline(piece);
            }
            if (!inked) {
                piece.clear();
            }
        }
    }
}

// The lens's half breadth `t` of the way along it (-1 upstream, 1 down): fuller upstream.
float lensFat(double t) {
    return static_cast<float>(std::sqrt(std::max(0.0, 1.0 - t * t)) * (1.0 - 0.3 * t));
}

// Where a bar lies: its middle `mid` px down the course, `half` px either way; off the
// channel's middle by `offset` of the river's width, `breadth` of it across.
struct BarPlace {
    double mid;
    double half;
    double offset;
    double breadth;
};

// A broad river braids where it runs slow and level: over long reaches of it, bars a few widths
// long, each to one side or the other, so the channels round them differ.
std::vector<BarPlace> braidBars(const std::vector<QPointF>& pts, const std::vector<float>& widths,
                                const std::vector<float>& funnel, const Frame& f, Rng& rng) {
    constexpr float kBroad = 7.0f;  // px: a narrower river keeps to one channel
    const Noise reach(0x1A4E'0031);
    std::vector<BarPlace> bars;
    const double total = f.along.back();
    double s = rng.range(0.0, 60.0);
    int side = rng.chance(0.5) ? 1 : -1;
    while (s < total) {
        const std::size_t i = f.indexAt(s);
        const float w = widths[i];
        const float braided = reach.fbm(static_cast<float>(pts[i].x() / 320.0) + 40.0f,
                                        static_cast<float>(pts[i].y() / 320.0) - 12.0f, 2);
        if (w >= kBroad && funnel[i] < 0.02f && braided > 0.08f && s > 5.0 * w &&
            total - s > 8.0 * w) {
            const double half = w * rng.range(1.6, 3.0);
            bars.push_back({s + half, half, side * rng.range(0.05, 0.16), rng.range(0.4, 0.62)});
            side = rng.chance(0.7) ? -side : side;
            s += 2.0 * half + w * rng.range(0.8, 3.0);
        } else {
            s += rng.range(16.0, 32.0);
        }
    }
    return bars;
}

}  // namespace

void drawRiver(QPainter& p, const std::vector<QPointF>& course, const std::vector<float>& along,
               bool toSea) {
    if (course.size() < 2) {
        return;
    }
    // Two pixels apart, so that each bank's wavering shows between the course's points.
    const std::vector<InkRun> runs = handDrawn(course, along, HandPen{});
    const std::vector<QPointF>& pts = runs.front().points;
    const std::vector<float>& widths = runs.front().widths;
    const std::size_t n = pts.size();
    if (n < 2) {
        return;
    }
    const std::vector<float> funnel =
        toSea ? funnelShare(pts, widths) : std::vector<float>(n, 0.0f);
    const Frame frame = frameOf(pts);
    const double total = frame.along.back();
    const std::vector<float> deep = deepSide(pts, frame);
    Rng rng(mix64((static_cast<std::uint64_t>(std::lround(pts.back().x())) << 20) ^
                  static_cast<std::uint64_t>(std::lround(pts.back().y())) ^ 0x1A4E'0021ull));
    const std::vector<BarPlace> bars = braidBars(pts, widths, funnel, frame, rng);
    const Noise hand(0x1A4E'0003);
    std::vector<QPointF> left;
    std::vector<QPointF> right;
    std::vector<float> leftInk;
    std::vector<float> rightInk;
    std::vector<double> leftReach;
    std::vector<double> rightReach;
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF nrm = frame.normal[i];
        const auto fx = static_cast<float>(pts[i].x() / 32.0);
        const auto fy = static_cast<float>(pts[i].y() / 32.0);
        // The width swells and narrows over a hundred pixels and more, as a hand's does.
        const float swell = 1.0f + 0.16f * hand.fbm(fx / 4.5f, fy / 4.5f + 19.0f, 2) +
                            0.07f * hand.fbm(fx / 1.6f - 23.0f, fy / 1.6f, 2);
        const double half = 0.5 * widths[i] * swell;
        // Each bank wanders on its own, so that the two never run as parallel rules.
        const double spread = std::min(0.36 * half, 3.6) + 0.25;
        // The funnel's banks only ever open outward from the channel the sea was let into, so
        // none of it shows past them: each in its own long sweeps as well as its bights, so
        // that the two never splay as a straight wedge.
        const auto opened = [&](float seed) {
            const float bight = 0.5f + 1.3f * hand.fbm(fx / 1.4f + seed, fy / 1.4f, 3);
            const float sweep = 0.5f + 1.1f * hand.fbm(fx / 4.5f - seed, fy / 4.5f + 7.0f, 2);
            return funnel[i] * half *
                   (0.55 * std::clamp(bight, 0.0f, 1.0f) + 0.75 * std::clamp(sweep, 0.0f, 1.0f));
        };
        // Round a bar the river spreads, so that a channel shows either side of it.
        double widen = 0.0;
        for (const BarPlace& b : bars) {
            const double t = (frame.along[i] - b.mid) / (1.3 * b.half);
            if (std::fabs(t) < 1.0) {
                widen +=
                    (0.5 + 0.5 * std::cos(std::numbers::pi * t)) * 0.85 * b.breadth * widths[i];
            }
        }
        const double l = half + spread * hand.fbm(fx * 0.8f, fy * 0.8f, 2) + opened(51.0f) + widen;
        const double r =
            half + spread * hand.fbm(fx * 0.8f + 17.0f, fy * 0.8f, 2) + opened(83.0f) + widen;
        leftReach.push_back(l);
        rightReach.push_back(r);
        const QPointF lq = pts[i] + nrm * l;
        const QPointF rq = pts[i] - nrm * r;
        left.push_back(lq + handShift(lq, kBankDrift));
        right.push_back(rq + handShift(rq, kBankDrift));
        float ink = std::clamp(0.5f + 0.09f * widths[i], 0.6f, 1.8f);
        // Toward the mouth the banks take the coast's weight, so that its line runs on into
        // them rather than stopping where a thinner pen takes over.
        if (toSea) {
            const float mouth =
                1.0f - smoothstep(0.0f, 110.0f, static_cast<float>(total - frame.along[i]));
            ink += mouth * std::max(0.0f, 2.1f - ink);
        }
        leftInk.push_back(ink * (1.0f + 0.6f * hand.fbm(fx / 2.0f + 5.0f, fy / 2.0f, 2)));
        rightInk.push_back(ink * (1.0f + 0.6f * hand.fbm(fx / 2.0f + 9.0f, fy / 2.0f, 2)));
    }
    QPolygonF water(QList<QPointF>(left.begin(), left.end()));
    for (auto it = right.rbegin(); it != right.rend(); ++it) {
        water << *it;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kRiverWater);
    p.drawPolygon(water, Qt::WindingFill);
    // The deeper wash: a broad band toward the deep bank and a narrower one hard along it,
    // coming in from nothing where the river takes its banks and gone where the funnel opens to
    // the sea's wash.
    QPainterPath inside;
    inside.addPolygon(water);
    inside.setFillRule(Qt::WindingFill);
    p.save();
    p.setClipPath(inside);
    for (const auto& [reach, breadth] : {std::pair{0.25, 0.62}, std::pair{0.42, 0.48},
                                         std::pair{0.58, 0.34}, std::pair{0.72, 0.2}}) {
        std::vector<QPointF> one;
        std::vector<QPointF> other;
        for (std::size_t i = 0; i < n; ++i) {
            const double halfWide = 0.5 * (leftReach[i] + rightReach[i]);
            const QPointF mid = pts[i] + frame.normal[i] * (0.5 * (leftReach[i] - rightReach[i]));
            const double fade = smoothstep(0.0f, 40.0f, static_cast<float>(frame.along[i])) *
                                (1.0f - smoothstep(0.0f, 0.6f, funnel[i]));
            const QPointF at = mid + frame.normal[i] * (deep[i] * reach * halfWide);
            const QPointF out = frame.normal[i] * (fade * breadth * halfWide);
            one.push_back(at + out);
            other.push_back(at - out);
        }
        QPolygonF band(QList<QPointF>(one.begin(), one.end()));
        for (auto it = other.rbegin(); it != other.rend(); ++it) {
            band << *it;
        }
        p.setBrush(kDeepWater);
        p.drawPolygon(band, Qt::WindingFill);
    }
    // The braided reaches' bars, each its own build, and the shoals kept inside the banks too.
    const auto barAlong = [&](double mid, double half, double offset, double breadth, bool island) {
        Bar bar;
        bar.island = island;
        const std::size_t i = frame.indexAt(mid);
        bar.shaded = deep[i] > 0.0f ? -1 : 1;
        const double lift = rng.range(0.0, 10.0);
        for (double s = mid - half; s <= mid + half; s += 2.0) {
            const std::size_t k = frame.indexAt(s);
            const double t = (s - mid) / half;
            const QPointF centre =
                pts[k] + frame.normal[k] * (0.5 * (leftReach[k] - rightReach[k]) +
                                            offset * (leftReach[k] + rightReach[k]));
            bar.centre.push_back(centre);
            bar.across.push_back(frame.normal[k]);
            const float uneven = 0.85f + 0.3f * hand.fbm(static_cast<float>(s / 9.0 + lift),
                                                         static_cast<float>(offset * 7.0), 2);
            bar.fat.push_back(static_cast<float>(lensFat(t) * uneven * 0.5 * breadth * widths[k]));
        }
        return bar;
    };
    for (const BarPlace& b : bars) {
        drawBar(p, barAlong(b.mid, b.half, b.offset, b.breadth, true), rng);
    }
    // In a funnel, sandbanks and mud left by the tide: long low shoals lying with the flow, in
    // the channel to one side or the other or along a bank.
    if (toSea) {
        double next = rng.range(0.0, 20.0);
        int side = rng.chance(0.5) ? 1 : -1;
        for (std::size_t i = 1; i + 1 < n; ++i) {
            const double w = widths[i];
            if (funnel[i] < 0.6f || w < 14.0 || frame.along[i] < next) {
                continue;
            }
            next = frame.along[i] + w * rng.range(0.9, 1.6);
            const double half = 0.5 * w * rng.range(0.8, 1.5);
            const double breadth = rng.range(0.3, 0.5);
            const double offset = side * (rng.chance(0.35) ? 0.3 : rng.range(0.12, 0.22));
            side = -side;
            drawBar(p, barAlong(frame.along[i], half, offset, breadth, false), rng);
        }
    }
    p.restore();
    inkLine(p, left, leftInk, kRiverBank);
    inkLine(p, right, rightInk, kRiverBank);
}

}  // namespace marventa
