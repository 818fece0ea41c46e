#include "tools/paint/moor_marks.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/rng.h"
#include "tools/paint/keep_out.h"
#include "tools/sites/site_rules.h"

namespace marventa {

namespace {

constexpr int kStep = 8;  // one mark at most in each step × step of the sheet

// Heather's ink a brown with a little purple in it, its bloom a touch brighter; the grass a dry
// olive. A little transparent, so the marks sit in the wash, yet firm enough to read at 1:1.
const QColor kHeatherInk(78, 52, 58, 232);
const QColor kBloomInk(118, 62, 100, 215);
const QColor kBristleInk(74, 68, 38, 222);

// Heath grows on open dry ground: not in the sea, a lake, a wood or a marsh, nor up on the crags.
bool openHeath(const Terrain& t, int x, int y) {
    const float h = t.height(x, y);
    return h > 0.015f && h < 0.5f && t.lake(x, y) == 0 && t.woods(x, y) < 0.45f &&
           t.marsh(x, y) < 60;
}

QPointF upward(double angle, double len) {
    return {std::sin(angle) * len, -std::cos(angle) * len};
}

void drawHeather(QPainter& p, const MoorMark& m, Rng& rng) {
    // A cushion: stems fanning from a short foot, the middle ones tallest, bloom dotted on a few
    // tips; its own count, breadth and lean, so that no two read as one stamp.
    const int stems = 4 + rng.below(4);
    const double breadth = m.size * rng.range(2.4, 3.6);
    const double tall = m.size * rng.range(2.2, 3.2);
    const double lean = rng.range(-0.2, 0.2);
    p.setPen(QPen(kHeatherInk, rng.range(0.7, 0.95), Qt::SolidLine, Qt::RoundCap));
    std::vector<QPointF> tips;
    for (int i = 0; i < stems; ++i) {
        const double f = -1.0 + 2.0 * i / (stems - 1);
        const QPointF foot = m.at + QPointF(f * breadth * 0.35, rng.range(-0.2, 0.3));
        const double a = lean + f * 0.75 + rng.range(-0.12, 0.12);
        const double len = tall * (1.0 - 0.45 * f * f) * rng.range(0.8, 1.1);
        const QPointF tip = foot + upward(a, len);
        p.drawLine(foot, tip);
        tips.push_back(tip);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kBloomInk);
    for (const QPointF& tip : tips) {
        if (rng.chance(0.45)) {
            p.drawEllipse(tip, 0.65, 0.65);
        }
    }
}

void drawBristles(QPainter& p, const MoorMark& m, Rng& rng) {
    // Stiff strokes leaning together along a slightly tilted run, of uneven height.
    const int strokes = 3 + rng.below(4);
    const double gap = m.size * rng.range(1.3, 1.8);
    const double tilt = rng.range(-0.15, 0.15);
    const double lean = rng.range(-0.35, 0.35);
    p.setPen(QPen(kBristleInk, rng.range(0.65, 0.85), Qt::SolidLine, Qt::RoundCap));
    const double start = -0.5 * gap * (strokes - 1);
    for (int i = 0; i < strokes; ++i) {
        const double dx = start + gap * i + rng.range(-0.3, 0.3);
        const QPointF foot = m.at + QPointF(dx, dx * tilt);
        const double len = m.size * rng.range(1.4, 2.7);
        p.drawLine(foot, foot + upward(lean + rng.range(-0.15, 0.15), len));
    }
}

}  // namespace

bool promisesMoor(std::string_view name) {
    return (groundWordsOf(std::string(name)) & kMoorWord) != 0;
}

double moorReach(PlaceKind kind) {
    switch (kind) {
        case PlaceKind::City:
            return 250.0;
        case PlaceKind::Town:
            return 200.0;
        default:
            return 150.0;
    }
}

bool onMoor(const ProvinceScene& s, QPointF at) {
    const int x = static_cast<int>(at.x());
    const int y = static_cast<int>(at.y());
    if (!s.terrain.height.contains(x, y) || !openHeath(s.terrain, x, y)) {
        return false;
    }
    return std::any_of(s.places.begin(), s.places.end(), [&](const ProvincePlace& place) {
        return promisesMoor(place.name) &&
               std::hypot(at.x() - place.at.x, at.y() - place.at.y) < 0.85 * moorReach(place.kind);
    });
}

QRectF moorMarkBox(const MoorMark& m) {
    const double w = 4.8 * m.size;
    const double h = 3.8 * m.size;
    return {m.at.x() - w, m.at.y() - h, 2 * w, h + 1.0};
}

std::vector<MoorMark> placeMoorMarks(const ProvinceScene& s, const QImage& keepOut,
                                     const std::vector<LowlandMark>& swells) {
    const Terrain& t = s.terrain;
    // What is taken grows as marks go down, so that none crowds the last.
    QImage taken = keepOut.convertToFormat(QImage::Format_Grayscale8);
    QPainter tp(&taken);
    for (const LowlandMark& m : swells) {
        tp.fillRect(lowlandMarkBox(m).toAlignedRect().adjusted(-1, -1, 1, 1), Qt::white);
    }
    const Noise patches(0x300E'0001);
    const Noise kinds(0x300E'0002);
    std::vector<MoorMark> marks;
    for (const ProvincePlace& place : s.places) {
        if (!promisesMoor(place.name)) {
            continue;
        }
        const QPointF home(place.at.x, place.at.y);
        const double reach = moorReach(place.kind);
        const int lo = static_cast<int>(std::floor((home.x() - reach) / kStep));
        const int hi = static_cast<int>(std::ceil((home.x() + reach) / kStep));
        const int top = static_cast<int>(std::floor((home.y() - reach) / kStep));
        const int bottom = static_cast<int>(std::ceil((home.y() + reach) / kStep));
        for (int gy = top; gy <= bottom; ++gy) {
            for (int gx = lo; gx <= hi; ++gx) {
                // Each cell's own draw, so that two moors that meet agree where they overlap.
                Rng rng(mix64((static_cast<std::uint64_t>(gy & 0xFFFF) << 24) ^
                              static_cast<std::uint64_t>(gx & 0xFFFF) ^ 0x300E'0003ull));
                const QPointF at(gx * kStep + rng.range(0.0, kStep),
                                 gy * kStep + rng.range(0.0, kStep));
                const int x = static_cast<int>(at.x());
                const int y = static_cast<int>(at.y());
                if (!t.height.contains(x, y) || !openHeath(t, x, y)) {
                    continue;
                }
                const auto d = static_cast<float>(std::hypot(at.x() - home.x(), at.y() - home.y()));
                const float fx = static_cast<float>(at.x());
                const float fy = static_cast<float>(at.y());
                // Ragged patches with bare ground between, fewer towards the moor's reach.
                const float patch = patches.fbm(fx / 46.0f, fy / 46.0f, 2) +
                                    0.3f * patches.fbm(fx / 13.0f + 41.0f, fy / 13.0f + 7.0f, 2);
                const double fade = 1.0 - smoothstep(0.45f * static_cast<float>(reach),
                                                     static_cast<float>(reach), d);
                // Close within a patch and none between, so the heath reads as growing in
                // clumps rather than strewn at one density.
                const double keep = fade * smoothstep(0.0f, 0.3f, patch);
                if (!rng.chance(0.85 * keep)) {
                    continue;
                }
                MoorMark m;
                m.at = at;
                // Heather in the patches' hearts, bristly grass round their rims and between.
                const float heart = patch + 0.25f * kinds.fbm(fx / 20.0f, fy / 20.0f, 2);
                m.kind = heart > 0.18f && rng.chance(0.8) ? MoorMarkKind::Heather
                                                          : MoorMarkKind::Bristles;
                // Heather in cushions big enough to read as heather at 1:1.
                m.size =
                    m.kind == MoorMarkKind::Heather ? rng.range(1.15, 1.7) : rng.range(0.9, 1.35);
                m.seed = rng.next();
                const QRect box = moorMarkBox(m).toAlignedRect().adjusted(-1, -1, 1, 1);
                if (!clearOn(taken, box)) {
                    continue;
                }
                tp.fillRect(box, Qt::white);
                marks.push_back(m);
            }
        }
    }
    return marks;
}

void drawMoorMarks(QPainter& p, const std::vector<MoorMark>& marks) {
    for (const MoorMark& m : marks) {
        Rng rng(m.seed);
        if (m.kind == MoorMarkKind::Heather) {
            drawHeather(p, m, rng);
        } else {
            drawBristles(p, m, rng);
        }
    }
}

}  // namespace marventa
