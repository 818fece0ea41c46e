#include "tools/paint/named_ground.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"
#include "tools/paint/moor_marks.h"

namespace marventa {

namespace {

std::string lowered(std::string_view name) {
    std::string s(name);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool sea(const Terrain& t, int x, int y) {
    return t.height.contains(x, y) && t.height(x, y) < 0.0f && t.lake(x, y) < 128;
}

bool dry(const Terrain& t, int x, int y) {
    return t.height.contains(x, y) && t.height(x, y) >= 0.0f && t.lake(x, y) < 128;
}

// The shore's points within `reach` of `home`, a few pixels apart: where a beach would lie.
std::vector<QPointF> shoreNear(const Terrain& t, QPointF home, double reach) {
    constexpr int kStep = 4;
    std::vector<QPointF> out;
    const int r = static_cast<int>(reach);
    for (int y = static_cast<int>(home.y()) - r; y <= static_cast<int>(home.y()) + r; y += kStep) {
        for (int x = static_cast<int>(home.x()) - r; x <= static_cast<int>(home.x()) + r;
             x += kStep) {
            if (!dry(t, x, y) || std::hypot(x - home.x(), y - home.y()) > reach) {
                continue;
            }
            if (sea(t, x + kStep, y) || sea(t, x - kStep, y) || sea(t, x, y + kStep) ||
                sea(t, x, y - kStep)) {
                out.emplace_back(x, y);
            }
        }
    }
    return out;
}

struct Tone {
    Rgb colour;
    float strength;
};

// Each kind's tone as it lies over the ground's usual green, and how much of it the wash takes.
Tone toneOf(GroundKind kind) {
    switch (kind) {
        case GroundKind::Moor:
            return {{168, 134, 132}, 0.36f};
        case GroundKind::Fell:
            return {{170, 156, 128}, 0.36f};
        case GroundKind::Ash:
            return {{154, 144, 128}, 0.46f};
        case GroundKind::Sand:
            return {{234, 214, 168}, 0.5f};
        case GroundKind::Reed:
            break;
    }
    return {{150, 170, 130}, 0.0f};
}

constexpr float kGroundGrey = 190.0f;  // the lowland wash's usual lightness
// Where a stretch's wash ends, as a share of its reach: a crisp edge a few pixels across.
constexpr float kEdge = 0.82f;
constexpr float kCrisp = 0.018f;

}  // namespace

bool promisesSand(std::string_view name) {
    const std::string n = lowered(name);
    return n.find("sand") != std::string::npos || n.find("marram") != std::string::npos ||
           n.find("dune") != std::string::npos;
}

bool promisesReeds(std::string_view name) {
    return lowered(name).find("reed") != std::string::npos;
}

std::vector<NamedGround> namedGrounds(const ProvinceScene& s) {
    std::vector<NamedGround> out;
    for (const ProvincePlace& place : s.places) {
        const QPointF home(place.at.x, place.at.y);
        if (promisesMoor(place.name)) {
            out.push_back({GroundKind::Moor, {home}, false, 1.1 * moorReach(place.kind)});
        }
        if (promisesSand(place.name)) {
            std::vector<QPointF> shore = shoreNear(s.terrain, home, 170.0);
            if (!shore.empty()) {
                out.push_back({GroundKind::Sand, std::move(shore), false, 46.0});
            }
        }
        if (promisesReeds(place.name)) {
            out.push_back({GroundKind::Reed, {home}, false, 150.0});
        }
    }
    for (const Ridge& r : s.layout.ridges) {
        if (r.volcanic) {
            out.push_back({GroundKind::Ash, r.crest, true, 1.3 * r.halfWidth});
        } else if (lowered(r.name.toStdString()).find("fell") != std::string::npos) {
            out.push_back({GroundKind::Fell, r.crest, true, 1.3 * r.halfWidth});
        }
    }
    return out;
}

QRect groundBox(const NamedGround& g, QSize sheet) {
    // The edge's wander may carry the wash out to nearly twice its reach.
    const double r = 1.9 * g.reach;
    QRectF box;
    for (const QPointF& q : g.core) {
        box |= QRectF(q - QPointF(r, r), QSizeF(2 * r, 2 * r));
    }
    return box.toAlignedRect().intersected(QRect(QPoint(0, 0), sheet));
}

float insideBy(const ProvinceScene& s, const NamedGround& g, int x, int y) {
    if (!dry(s.terrain, x, y) || g.core.empty()) {
        return -1.0f;
    }
    const QPointF at(x, y);
    double d = 0;
    if (g.line && g.core.size() >= 2) {
        d = distanceToPolyline(at, g.core);
    } else {
        d = 1e9;
        for (const QPointF& q : g.core) {
            d = std::min(d, length(at - q));
        }
    }
    // The edge wanders over tens of pixels and frays finer along it, as a brush laid it; the
    // noise's seed by kind, so that two stretches of one kind meet without a seam.
    const Noise edge(0x6A0D'0001 + static_cast<std::uint64_t>(g.kind));
    const auto fx = static_cast<float>(x);
    const auto fy = static_cast<float>(y);
    const float ragged = 0.44f * edge.fbm(fx / 210.0f + 3.0f, fy / 210.0f, 2) +
                         0.2f * edge.fbm(fx / 64.0f, fy / 64.0f, 2) +
                         0.05f * edge.fbm(fx / 15.0f + 9.0f, fy / 15.0f, 2);
    // The ground's own lie draws the edge on: a moor reaches over the heather and draws back
    // off the low ground, an upland's wash runs up its spurs and stops short in its valleys.
    const float h = s.terrain.height(x, y);
    float lie = 0.0f;
    if (g.kind == GroundKind::Moor) {
        lie = 0.35f * static_cast<float>(s.terrain.moor(x, y)) / 255.0f - 0.1f -
              0.3f * (1.0f - smoothstep(0.04f, 0.12f, h));
    } else if (g.kind == GroundKind::Fell || g.kind == GroundKind::Ash) {
        lie = std::clamp(1.4f * (h - 0.2f), -0.4f, 0.3f);
    }
    return kEdge - static_cast<float>(d / g.reach) - ragged + lie;
}

float groundShare(const ProvinceScene& s, const NamedGround& g, int x, int y) {
    return smoothstep(-kCrisp, kCrisp, insideBy(s, g, x, y));
}

void washNamedGround(QImage& sheet, const ProvinceScene& s) {
    if (sheet.format() != QImage::Format_RGB32 && sheet.format() != QImage::Format_ARGB32 &&
        sheet.format() != QImage::Format_ARGB32_Premultiplied) {
        sheet = sheet.convertToFormat(QImage::Format_RGB32);
    }
    const Noise patchy(0x6A0D'0011);
    for (const NamedGround& g : namedGrounds(s)) {
        const Tone tone = toneOf(g.kind);
        if (tone.strength <= 0.0f) {
            continue;
        }
        const QRect box = groundBox(g, sheet.size());
        for (int y = box.top(); y <= box.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(y));
            for (int x = box.left(); x <= box.right(); ++x) {
                const float inside = insideBy(s, g, x, y);
                const float share = smoothstep(-kCrisp, kCrisp, inside);
                if (share <= 0.0f) {
                    continue;
                }
                const auto fx = static_cast<float>(x);
                const auto fy = static_cast<float>(y);
                // Thicker here and thinner there, a darker rim where the wash dried at its edge,
                // and less of it under a wood's own wash.
                const float body = 0.88f + 0.12f * patchy.fbm(fx / 120.0f, fy / 120.0f, 2);
                const float rim = 0.45f * std::exp(-std::max(0.0f, inside) / 0.03f);
                const float woods = 1.0f - 0.6f * std::clamp(s.terrain.woods(x, y), 0.0f, 1.0f);
                // A moor's heather stops short of the heights' own tan.
                const float below = g.kind == GroundKind::Moor
                                        ? 1.0f - smoothstep(0.3f, 0.4f, s.terrain.height(x, y))
                                        : 1.0f;
                const float k = std::clamp(
                    tone.strength * share * body * woods * below * (1.0f + rim), 0.0f, 0.95f);
                const QRgb c = row[x];
                // The pixel's own lightness against the usual ground's, kept: the paper's tooth
                // and the strokes show through the new tone.
                const float light = static_cast<float>(qGray(c)) / kGroundGrey;
                const auto toward = [&](int v, float t) {
                    const float goal = std::min(255.0f, t * light);
                    return std::clamp(static_cast<int>(std::lround(v + (goal - v) * k)), 0, 255);
                };
                row[x] = qRgb(toward(qRed(c), tone.colour.r), toward(qGreen(c), tone.colour.g),
                              toward(qBlue(c), tone.colour.b));
            }
        }
    }
}

}  // namespace marventa
