#include "tools/paint/ground_marks.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"
#include "tools/paint/keep_out.h"

namespace marventa {

namespace {

// Sand's ink a warm brown, a little transparent so that it sits in the sand's wash; the reeds
// the marsh's green with darker heads; the fells' rocks and brows the hills' brown-grey.
const QColor kSandInk(120, 92, 58, 225);
const QColor kReedInk(58, 80, 50, 240);
const QColor kReedHead(70, 50, 34, 235);
const QColor kRockInk(72, 62, 52, 225);
const QColor kRockShade(96, 84, 70, 110);

std::uint64_t cellSeed(std::uint64_t salt, int gx, int gy) {
    return mix64((static_cast<std::uint64_t>(gy & 0xFFFF) << 24) ^
                 static_cast<std::uint64_t>(gx & 0xFFFF) ^ salt);
}

double nearestCore(const NamedGround& g, QPointF at) {
    if (g.line && g.core.size() >= 2) {
        return distanceToPolyline(at, g.core);
    }
    double d = 1e9;
    for (const QPointF& q : g.core) {
        d = std::min(d, length(at - q));
    }
    return d;
}

// Marks are kept only where their box is clear; each taken box is marked so none crowds the
// next.
struct Placer {
    QImage taken;
    std::vector<GroundMark> marks;

    bool put(const GroundMark& m) {
        const QRect box = groundMarkBox(m).toAlignedRect().adjusted(-1, -1, 1, 1);
        if (!clearOn(taken, box)) {
            return false;
        }
        QPainter(&taken).fillRect(box, Qt::white);
        marks.push_back(m);
        return true;
    }
};

// Over a stretch's box on a grid of `step`, a mark wherever `keep` says, in ragged patches.
template <class Make>
void scatter(const ProvinceScene& s, const NamedGround& g, int step, std::uint64_t salt,
             Placer& out, Make make) {
    const QRect box = groundBox(g, out.taken.size());
    const Noise patches(salt ^ 0x5A11'0001);
    for (int gy = box.top() / step; gy <= box.bottom() / step; ++gy) {
        for (int gx = box.left() / step; gx <= box.right() / step; ++gx) {
            Rng rng(cellSeed(salt, gx, gy));
            const QPointF at(gx * step + rng.range(0.0, step), gy * step + rng.range(0.0, step));
            const float share =
                groundShare(s, g, static_cast<int>(at.x()), static_cast<int>(at.y()));
            if (share <= 0.05f) {
                continue;
            }
            const float patch = patches.fbm(static_cast<float>(at.x()) / 55.0f,
                                            static_cast<float>(at.y()) / 55.0f, 2) +
                                0.3f * patches.fbm(static_cast<float>(at.x()) / 14.0f + 5.0f,
                                                   static_cast<float>(at.y()) / 14.0f, 2);
            make(at, share * smoothstep(-0.25f, 0.25f, patch), rng);
        }
    }
}

void placeSand(const ProvinceScene& s, const NamedGround& g, Placer& out) {
    scatter(s, g, 5, 0x5A4D'0001, out, [&](QPointF at, float keep, Rng& rng) {
        const double d = nearestCore(g, at);
        // Dots along the beach, thinning inland; dunes behind it.
        const bool dune = d > 10.0 && d < 40.0 && rng.chance(0.3);
        if (!rng.chance((dune ? 1.0 : std::exp(-d / 30.0)) * (0.4 + 0.6 * keep))) {
            return;
        }
        out.put({dune ? GroundMarkKind::Dune : GroundMarkKind::Stipple, at,
                 dune ? rng.range(0.8, 1.3) : rng.range(0.8, 1.2), rng.next()});
    });
}

void placeFell(const ProvinceScene& s, const NamedGround& g, Placer& out) {
    scatter(s, g, 15, 0x5A4D'0002, out, [&](QPointF at, float keep, Rng& rng) {
        if (s.terrain.woods(static_cast<int>(at.x()), static_cast<int>(at.y())) > 0.4f ||
            !rng.chance(0.55 * keep)) {
            return;
        }
        const bool rock = rng.chance(0.55);
        out.put({rock ? GroundMarkKind::Rock : GroundMarkKind::Brow, at,
                 rock ? rng.range(0.8, 1.5) : rng.range(0.8, 1.4), rng.next()});
    });
}

// Reeds on the banks of the running water near the place, and round the lakes' shores.
void placeReeds(const ProvinceScene& s, const NamedGround& g, Placer& out) {
    const QPointF home = g.core.front();
    std::uint64_t salt = 0x5A4D'0003;
    for (const std::vector<RiverLine>* lines : {&s.water.rivers, &s.water.brooks}) {
        for (const RiverLine& r : *lines) {
            double along = 0.0;
            for (std::size_t i = 1; i + 1 < r.points.size(); ++i) {
                along += length(r.points[i] - r.points[i - 1]);
                const double d = length(r.points[i] - home);
                if (d > g.reach || along < 5.0) {
                    continue;
                }
                along = 0.0;
                Rng rng(salt = mix64(salt ^ static_cast<std::uint64_t>(i)));
                const QPointF t = r.points[i + 1] - r.points[i - 1];
                const QPointF n = QPointF(-t.y(), t.x()) / std::max(1e-6, length(t));
                const double fade =
                    1.0 - smoothstep(0.4f * static_cast<float>(g.reach),
                                     static_cast<float>(g.reach), static_cast<float>(d));
                // A bed along each bank, a second row standing back from it here and there.
                for (const double side : {-1.0, 1.0, -1.6, 1.6, -2.2, 2.2}) {
                    if (!rng.chance((std::fabs(side) > 1.0 ? 0.5 : 0.95) * fade)) {
                        continue;
                    }
                    const double off = 0.5 * r.widths[i] + std::fabs(side) * rng.range(8.0, 12.0);
                    const QPointF at = r.points[i] + n * (std::copysign(off, side)) +
                                       t / std::max(1e-6, length(t)) * rng.range(-3.0, 3.0);
                    const int x = static_cast<int>(at.x());
                    const int y = static_cast<int>(at.y());
                    if (s.terrain.height.contains(x, y) && s.terrain.height(x, y) >= 0.0f &&
                        s.terrain.lake(x, y) == 0) {
                        out.put({GroundMarkKind::Reeds, at, rng.range(1.0, 1.4), rng.next()});
                    }
                }
            }
        }
    }
}

void drawStipple(QPainter& p, const GroundMark& m, Rng& rng) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSandInk);
    const int dots = 2 + rng.below(3);
    for (int i = 0; i < dots; ++i) {
        const QPointF q = m.at + QPointF(rng.range(-2.2, 2.2), rng.range(-1.5, 1.5)) * m.size;
        const double r = rng.range(0.4, 0.65);
        p.drawEllipse(q, r, r);
    }
}

void drawDune(QPainter& p, const GroundMark& m, Rng& rng) {
    // A crest drawn as a low arc a little off-round, heavier toward its middle, with a few short
    // strokes down its lee; now and then a tuft of marram on its top.
    const double w = m.size * rng.range(5.5, 8.0);
    const double h = m.size * rng.range(1.6, 2.6);
    const double skew = rng.range(-0.25, 0.25);
    QPainterPath crest(m.at + QPointF(-w, 0));
    crest.cubicTo(m.at + QPointF(-w * (0.5 - skew), -h * 1.3), m.at + QPointF(w * (0.2 + skew), -h),
                  m.at + QPointF(w, rng.range(-0.4, 0.4)));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSandInk, rng.range(0.85, 1.1), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(crest);
    p.setPen(QPen(kSandInk, 0.5, Qt::SolidLine, Qt::RoundCap));
    const int hatch = 2 + rng.below(3);
    for (int i = 0; i < hatch; ++i) {
        const double f = rng.range(0.45, 0.9);
        const QPointF top = crest.pointAtPercent(f);
        p.drawLine(top + QPointF(0.3, 0.4), top + QPointF(0.8, rng.range(1.4, 2.4) * m.size));
    }
    if (rng.chance(0.45)) {
        const QPointF foot = crest.pointAtPercent(rng.range(0.35, 0.6));
        p.setPen(QPen(kReedInk, 0.55, Qt::SolidLine, Qt::RoundCap));
        for (const double a : {-0.45, -0.1, 0.3}) {
            const double len = m.size * rng.range(2.2, 3.4);
            p.drawLine(foot, foot + QPointF(std::sin(a) * len, -std::cos(a) * len));
        }
    }
}

void drawReedStand(QPainter& p, const GroundMark& m, Rng& rng) {
    // Tall stems of uneven height and lean, a few carrying a dark head, the blades curving off
    // lower down; unlike the marsh's low tufts, they stand up from a bank.
    const int stems = 3 + rng.below(4);
    const double lean = rng.range(-0.15, 0.15);
    for (int i = 0; i < stems; ++i) {
        const QPointF foot = m.at + QPointF(rng.range(-2.6, 2.6) * m.size, rng.range(-0.4, 0.4));
        const double a = lean + rng.range(-0.18, 0.18);
        const double len = m.size * rng.range(4.5, 7.5);
        const QPointF tip = foot + QPointF(std::sin(a) * len, -std::cos(a) * len);
        p.setPen(QPen(kReedInk, rng.range(0.5, 0.7), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(foot, tip);
        if (rng.chance(0.5)) {
            const QPointF mid = foot + (tip - foot) * rng.range(0.3, 0.5);
            const double b = a + (rng.chance(0.5) ? 0.7 : -0.7);
            p.drawLine(mid, mid + QPointF(std::sin(b), -std::cos(b)) * (0.4 * len));
        }
        if (rng.chance(0.55)) {
            p.setPen(QPen(kReedHead, 1.3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(foot + (tip - foot) * 0.72, foot + (tip - foot) * 0.9);
        }
    }
}

void drawRock(QPainter& p, const GroundMark& m, Rng& rng) {
    // A loose rock: an uneven outline flat at its foot, its shaded side filled; a pebble beside
    // it now and then.
    const double w = m.size * rng.range(2.2, 3.4);
    const double h = m.size * rng.range(1.6, 2.6);
    QPolygonF rock;
    rock << m.at + QPointF(-w, 0);
    for (int k = 1; k < 6; ++k) {
        const double a = std::numbers::pi * (1.0 - k / 6.0);
        rock << m.at + QPointF(std::cos(a) * w * rng.range(0.8, 1.1),
                               -std::sin(a) * h * rng.range(0.75, 1.15));
    }
    rock << m.at + QPointF(w, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(kRockShade);
    p.drawPolygon(QPolygonF{rock[3], rock[4], rock[5], rock[6], m.at + QPointF(w * 0.1, 0)});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRockInk, rng.range(0.65, 0.9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(rock);
    if (rng.chance(0.4)) {
        const QPointF pebble = m.at + QPointF((rng.chance(0.5) ? 1 : -1) * (w + 2.0), 0.2);
        p.drawArc(QRectF(pebble - QPointF(1.0, 1.0), QSizeF(2.0, 1.6)), 0, 180 * 16);
    }
}

void drawBrow(QPainter& p, const GroundMark& m, Rng& rng) {
    // A fell's brow as the pen skipped along it: a low arc in two or three pieces with gaps, its
    // ends trailing off, and a stroke or two down the slope below.
    const double w = m.size * rng.range(6.0, 9.0);
    const double h = m.size * rng.range(1.5, 2.6);
    QPainterPath brow(m.at + QPointF(-w, 0));
    brow.quadTo(m.at + QPointF(rng.range(-0.3, 0.3) * w, -2.0 * h), m.at + QPointF(w, 0));
    p.setBrush(Qt::NoBrush);
    const int pieces = 2 + rng.below(2);
    double from = 0.0;
    for (int i = 0; i < pieces; ++i) {
        const double to = std::min(1.0, from + rng.range(0.22, 0.45));
        p.setPen(QPen(kRockInk, rng.range(0.6, 0.9), Qt::SolidLine, Qt::RoundCap));
        QPainterPath piece(brow.pointAtPercent(from));
        for (double f = from + 0.05; f < to; f += 0.05) {
            piece.lineTo(brow.pointAtPercent(f));
        }
        piece.lineTo(brow.pointAtPercent(to));
        p.drawPath(piece);
        from = to + rng.range(0.06, 0.16);
        if (from >= 0.95) {
            break;
        }
    }
    p.setPen(QPen(kRockInk, 0.5, Qt::SolidLine, Qt::RoundCap));
    const int falls = 1 + rng.below(2);
    for (int i = 0; i < falls; ++i) {
        const QPointF top = brow.pointAtPercent(rng.range(0.55, 0.85));
        p.drawLine(top + QPointF(0.2, 0.8), top + QPointF(0.9, 0.8 + m.size * rng.range(1.4, 2.2)));
    }
}

}  // namespace

std::vector<GroundMark> placeGroundMarks(const ProvinceScene& s, const QImage& keepOut) {
    Placer out{keepOut.convertToFormat(QImage::Format_Grayscale8), {}};
    for (const NamedGround& g : namedGrounds(s)) {
        switch (g.kind) {
            case GroundKind::Sand:
                placeSand(s, g, out);
                break;
            case GroundKind::Fell:
                placeFell(s, g, out);
                break;
            case GroundKind::Reed:
                placeReeds(s, g, out);
                break;
            case GroundKind::Moor:  // the heather is the moor's own marks
            case GroundKind::Ash:   // the tors and their cinders stand on it
                break;
        }
    }
    return std::move(out.marks);
}

QRectF groundMarkBox(const GroundMark& m) {
    const QPointF a = m.at;
    switch (m.kind) {
        case GroundMarkKind::Stipple:
            return {a.x() - 2.9 * m.size, a.y() - 2.2 * m.size, 5.8 * m.size, 4.4 * m.size};
        case GroundMarkKind::Dune:
            return {a.x() - 8.5 * m.size, a.y() - 8.0 * m.size, 17.0 * m.size, 11.0 * m.size};
        case GroundMarkKind::Reeds:
            return {a.x() - 5.5 * m.size, a.y() - 8.0 * m.size, 11.0 * m.size, 8.6 * m.size};
        case GroundMarkKind::Rock:
            return {a.x() - 3.8 * m.size - 3.0, a.y() - 3.2 * m.size, 7.6 * m.size + 6.0,
                    3.2 * m.size + 1.0};
        case GroundMarkKind::Brow:
            return {a.x() - 9.5 * m.size, a.y() - 3.0 * m.size, 19.0 * m.size, 6.0 * m.size};
    }
    return {};
}

void drawGroundMarks(QPainter& p, const std::vector<GroundMark>& marks) {
    for (const GroundMark& m : marks) {
        Rng rng(m.seed);
        switch (m.kind) {
            case GroundMarkKind::Stipple:
                drawStipple(p, m, rng);
                break;
            case GroundMarkKind::Dune:
                drawDune(p, m, rng);
                break;
            case GroundMarkKind::Reeds:
                drawReedStand(p, m, rng);
                break;
            case GroundMarkKind::Rock:
                drawRock(p, m, rng);
                break;
            case GroundMarkKind::Brow:
                drawBrow(p, m, rng);
                break;
        }
    }
}

}  // namespace marventa
