#include "tools/paint/shore_marks.h"

#include <QPainter>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa {

namespace {

const QColor kCliffInk(74, 62, 52);
constexpr float kTickSpacing = 2.8f;   // px along the shore
constexpr float kNamedReach = 130.0f;  // px of coast a cliff's name stands for

bool isSea(const Terrain& t, int x, int y) {
    return t.height.contains(x, y) && t.height(x, y) < 0.0f && t.lake(x, y) == 0;
}

bool namesACliff(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("scar") != std::string::npos || lower.find("crag") != std::string::npos ||
           lower.find("cliff") != std::string::npos;
}

bool seaWithin(const Terrain& t, MapPoint at, int reach) {
    for (int dy = -reach; dy <= reach; dy += 3) {
        for (int dx = -reach; dx <= reach; dx += 3) {
            if (dx * dx + dy * dy <= reach * reach && isSea(t, at.x + dx, at.y + dy)) {
                return true;
            }
        }
    }
    return false;
}

bool blocked(const QImage& keepOut, QPointF q) {
    const int x = static_cast<int>(q.x());
    const int y = static_cast<int>(q.y());
    return !keepOut.valid(x, y) || qGray(keepOut.pixel(x, y)) != 0;
}

}  // namespace

ShoreMarks placeShoreMarks(const Terrain& terrain, const std::vector<ProvincePlace>& places,
                           const QImage& keepOut) {
    const Grid<float>& h = terrain.height;
    std::vector<QPointF> named;
    for (const ProvincePlace& p : places) {
        if (namesACliff(p.name) && seaWithin(terrain, p.at, 40)) {
            named.emplace_back(p.at.x, p.at.y);
        }
    }
    Grid<unsigned char> taken(h.width(), h.height(), 0);
    Rng rng(0xC11F'0001);
    const Noise runs(0xC11F'0002);
    ShoreMarks marks;
    for (int y = 1; y + 1 < h.height(); ++y) {
        for (int x = 1; x + 1 < h.width(); ++x) {
            if (isSea(terrain, x, y) || taken(x, y) != 0 || terrain.lake(x, y) != 0 ||
                !(isSea(terrain, x + 1, y) || isSea(terrain, x - 1, y) ||
                  isSea(terrain, x, y + 1) || isSea(terrain, x, y - 1))) {
                continue;
            }
            // Inland: away from the sea round the pixel.
            QPointF out;
            for (int dy = -4; dy <= 4; ++dy) {
                for (int dx = -4; dx <= 4; ++dx) {
                    if (isSea(terrain, x + dx, y + dy)) {
                        out += QPointF(dx, dy);
                    }
                }
            }
            const double len = length(out);
            if (len < 1e-3) {
                continue;
            }
            const QPointF in = -out / len;
            const QPointF at(x + 0.5, y + 0.5);
            const QPointF back = at + in * 14.0;
            const float rise = h.clamped(static_cast<int>(back.x()), static_cast<int>(back.y()));
            float cliff = smoothstep(0.03f, 0.07f, rise);
            for (const QPointF& n : named) {
                cliff = std::max(cliff, 1.0f - smoothstep(0.55f * kNamedReach, kNamedReach,
                                                          static_cast<float>(length(at - n))));
            }
            // In runs along the coast with plain shore between, as a hand breaks its hatching.
            const auto fx = static_cast<float>(x);
            const auto fy = static_cast<float>(y);
            const float run = runs.fbm(fx / 70.0f, fy / 70.0f, 2);
            cliff *= smoothstep(-0.2f, 0.08f, run);
            if (cliff < 0.05f) {
                continue;
            }
            const int r = static_cast<int>(std::ceil(kTickSpacing));
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    if (taken.contains(x + dx, y + dy) &&
                        static_cast<float>(dx * dx + dy * dy) <= kTickSpacing * kTickSpacing) {
                        taken(x + dx, y + dy) = 1;
                    }
                }
            }
            if (rng.uniform() > cliff) {
                continue;
            }
            // Each stroke leaning a little its own way, longer where the face stands higher.
            const double tilt = rng.range(-0.18, 0.18);
            const QPointF dir(in.x() * std::cos(tilt) - in.y() * std::sin(tilt),
                              in.x() * std::sin(tilt) + in.y() * std::cos(tilt));
            const double reach = (3.0 + 4.0 * cliff) * rng.range(0.65, 1.2);
            const QPointF foot = at + in * 1.4;
            const QPointF brow = foot + dir * reach;
            if (blocked(keepOut, brow) || blocked(keepOut, 0.5 * (brow + foot))) {
                continue;
            }
            marks.cliffs.push_back(
                {brow, foot, static_cast<float>((0.5 + 0.35 * cliff) * rng.range(0.8, 1.15))});
        }
    }
    return marks;
}

void drawShoreMarks(QPainter& p, const ShoreMarks& marks) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (const CliffTick& t : marks.cliffs) {
        // Pressed at the brow, lifting off toward the water.
        const QPointF mid = 0.55 * t.brow + 0.45 * t.foot;
        p.setPen(QPen(kCliffInk, t.weight, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(t.brow, mid);
        p.setPen(QPen(kCliffInk, 0.6 * t.weight, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(mid, t.foot);
    }
    p.restore();
}

}  // namespace marventa
