#include "terrain.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

#include "terrain_water.h"
#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr int kCoarse = 8;  // the layout's smooth fields live on an 8-pixel lattice
constexpr int kHalf = 2;    // the noisy relief is worked out every other pixel

// Maximum with a rounded seam of width k.
float smoothMax(float a, float b, float k) {
    const float h = std::max(k - std::fabs(a - b), 0.0f) / k;
    return std::max(a, b) + h * h * k * 0.25f;
}

float fx(int v) {
    return static_cast<float>(v);
}

// Fields that vary slowly: distance to the coast (negative at sea), the coast's rise inland,
// the lift and crag of the ranges, and the old woods.
struct LayoutFields {
    Grid<float> shore;
    Grid<float> rise;
    Grid<float> ridge;
    Grid<float> jag;
    Grid<float> upland;
    Grid<float> ash;
};

QPolygonF seaPolygon(const Polyline& coast) {
    // The coast runs from the west edge to the east edge; the sea is what lies beyond it, south.
    QPolygonF sea;
    sea << QPointF(-1000, coast.front().y());
    for (const QPointF& p : coast) {
        sea << p;
    }
    sea << QPointF(5000, coast.back().y()) << QPointF(5000, 5000) << QPointF(-1000, 5000);
    return sea;
}

LayoutFields layoutFields(const ProvinceLayout& layout, int width, int height) {
    const int cw = width / kCoarse + 2;
    const int ch = height / kCoarse + 2;
    LayoutFields f{Grid<float>(cw, ch), Grid<float>(cw, ch), Grid<float>(cw, ch),
                   Grid<float>(cw, ch), Grid<float>(cw, ch), Grid<float>(cw, ch)};
    const QPolygonF sea = seaPolygon(layout.coast);
    for (int y = 0; y < ch; ++y) {
        for (int x = 0; x < cw; ++x) {
            const QPointF p(x * kCoarse, y * kCoarse);
            const double d = std::min(distanceToPolyline(p, layout.coast), 3000.0);
            f.shore(x, y) = static_cast<float>(sea.containsPoint(p, Qt::OddEvenFill) ? -d : d);
            float rise = 200.0f;
            for (const ShoreStretch& s : layout.shores) {
                const float inside = smoothstep(-150, 150, static_cast<float>(p.x() - s.fromX)) *
                                     smoothstep(-150, 150, static_cast<float>(s.toX - p.x()));
                rise += (static_cast<float>(s.rise) - rise) * inside;
            }
            f.rise(x, y) = rise;
            for (const Ridge& r : layout.ridges) {
                const float t = smoothstep(static_cast<float>(r.halfWidth), 0.0f,
                                           static_cast<float>(distanceToPolyline(p, r.crest)));
                if (static_cast<float>(r.height) * t > f.ridge(x, y)) {
                    f.ridge(x, y) = static_cast<float>(r.height) * t;
                    f.jag(x, y) = static_cast<float>(r.jagged);
                }
                if (r.volcanic) {
                    f.ash(x, y) = std::max(f.ash(x, y), smoothstep(0.0f, 0.5f, t));
                }
            }
            for (const Upland& u : layout.uplands) {
                f.upland(x, y) += static_cast<float>(u.height) *
                                  smoothstep(1.0f, 0.2f, static_cast<float>(u.shape.reach(p)));
            }
        }
    }
    return f;
}

float coarseAt(const Grid<float>& g, float x, float y) {
    return sampleBicubic(g, x / kCoarse, y / kCoarse);
}

QPointF at(MapPoint p) {
    return QPointF(p.x, p.y);
}

// The sea up an inlet, on the half-pixel lattice of the shore distance (negative at sea): a
// channel narrowing from its mouth to a rounded head, its banks a little ragged.
void carveInlet(const Inlet& inlet, const Noise& noise, Grid<float>& shore) {
    // Beyond the widest rise of a shore the distance to the coast no longer shapes the ground, so
    // the inlet may stop there without a seam.
    const double reach = inlet.mouthHalfWidth + 480.0;
    const QRectF box = QPolygonF(QList<QPointF>(inlet.course.begin(), inlet.course.end()))
                           .boundingRect()
                           .adjusted(-reach, -reach, reach, reach);
    double total = 0.0;
    for (std::size_t i = 1; i < inlet.course.size(); ++i) {
        total += length(inlet.course[i] - inlet.course[i - 1]);
    }
    for (int y = std::max(0, int(box.top() / kHalf));
         y <= std::min(shore.height() - 1, int(box.bottom() / kHalf)); ++y) {
        for (int x = std::max(0, int(box.left() / kHalf));
             x <= std::min(shore.width() - 1, int(box.right() / kHalf)); ++x) {
            const QPointF p(x * kHalf, y * kHalf);
            const Nearest n = nearestOnPolyline(p, inlet.course);
            double along = n.along * length(inlet.course[n.segment + 1] - inlet.course[n.segment]);
            for (std::size_t i = 0; i < n.segment; ++i) {
                along += length(inlet.course[i + 1] - inlet.course[i]);
            }
            const double half = inlet.mouthHalfWidth +
                                (inlet.headHalfWidth - inlet.mouthHalfWidth) * (along / total);
            const float water =
                static_cast<float>(n.distance - half) +
                3.0f * noise.fbm(fx(x * kHalf) / 30.0f, fx(y * kHalf) / 30.0f + 90.0f, 3);
            shore(x, y) = -smoothMax(-shore(x, y), -water, 8.0f);
        }
    }
}

// The relief every other pixel: coast, plains, hills, ranges and uplands with their noise.
Grid<float> roughRelief(const LayoutFields& f, const ProvinceLayout& layout,
                        const std::vector<ProvincePlace>& places, int width, int height) {
    const Noise warp(0x5EA5'0001);
    const Noise relief(0x5EA5'0002);
    const Noise crests(0x5EA5'0003);
    const int hw = width / kHalf + 1;
    const int hh = height / kHalf + 1;
    Grid<float> shore(hw, hh);
    for (int y = 0; y < hh; ++y) {
        for (int x = 0; x < hw; ++x) {
            const float px = fx(x * kHalf);
            const float py = fx(y * kHalf);
            shore(x, y) = coarseAt(f.shore, px, py) +
                          22.0f * warp.fbm(px / 260.0f, py / 260.0f, 4) +
                          7.0f * warp.fbm(px / 55.0f + 50.0f, py / 55.0f, 3);
        }
    }
    for (const Inlet& inlet : layout.inlets) {
        carveInlet(inlet, warp, shore);
    }
    // Whatever the noise did to the coast, a place by the sea keeps a few pixels of dry ground
    // and every other place stands well inland.
    for (const ProvincePlace& p : places) {
        const bool bySea = livesBySea(layout, QString::fromStdString(p.name));
        const float pad = bySea ? 6.0f : 28.0f;
        around(shore, at(p.at) / kHalf, 2.0 * pad / kHalf, [&](int x, int y, float d) {
            shore(x, y) = smoothMax(shore(x, y), pad - d * kHalf, pad / 2);
        });
    }
    Grid<float> h(hw, hh);
    for (int y = 0; y < hh; ++y) {
        for (int x = 0; x < hw; ++x) {
            const float px = fx(x * kHalf);
            const float py = fx(y * kHalf);
            const float c = shore(x, y);
            if (c <= 0.0f) {
                h(x, y) = std::max(-1.0f, c / 420.0f - 0.003f);
                continue;
            }
            const float rise = coarseAt(f.rise, px, py);
            const float inland = smoothstep(0.0f, rise, c);
            const float plains = 0.05f + 0.04f * (relief.fbm(px / 900.0f, py / 900.0f, 3) + 1.0f);
            const float hills =
                0.13f * std::max(0.0f, relief.fbm(px / 330.0f + 7.0f, py / 330.0f, 5) + 0.1f) +
                0.02f * relief.fbm(px / 130.0f, py / 130.0f + 21.0f, 4);
            const float upland = coarseAt(f.upland, px, py) *
                                 (0.55f + 0.8f * relief.fbm(px / 150.0f, py / 150.0f, 5));
            // Where the shore rises fast, a band of cliff-top downs follows the coast.
            const float cliffs = 0.2f * smoothstep(120.0f, 60.0f, rise) *
                                 smoothstep(0.0f, 50.0f, c) * smoothstep(320.0f, 120.0f, c) *
                                 (0.7f + 0.6f * relief.fbm(px / 90.0f, py / 90.0f, 3));
            const float lift = coarseAt(f.ridge, px, py);
            float peaks = 0.0f;
            if (lift > 0.0f) {
                const float jag = coarseAt(f.jag, px, py);
                const float rounded = 0.55f + 0.45f * relief.fbm(px / 260.0f, py / 260.0f, 4);
                const float sharp = 0.2f + 0.8f * crests.ridged(px / 380.0f, py / 380.0f, 6);
                peaks = lift * (rounded + (sharp - rounded) * jag);
            }
            h(x, y) = std::sqrt(inland) * (plains + hills + upland) + cliffs +
                      peaks * smoothstep(0.0f, 160.0f, c);
        }
    }
    return h;
}

// Full resolution: the rough relief sampled smoothly, with a fine grain on land.
Grid<float> fineRelief(const Grid<float>& rough, int width, int height) {
    const Noise grain(0x5EA5'0004);
    Grid<float> h(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float v = sampleBicubic(rough, fx(x) / kHalf, fx(y) / kHalf);
            h(x, y) =
                v > 0.0f ? std::max(0.004f, v + 0.005f * grain.fbm(fx(x) / 40.0f, fx(y) / 40.0f, 3))
                         : v;
        }
    }
    return h;
}

// Raises a rough hill whose top at the point reaches at least `target`: a gaussian stretched
// along a direction of its own and broken up by noise, so neighbouring hills merge into ridges.
void raiseHill(Grid<float>& h, const Noise& noise, MapPoint p, float target, float radius) {
    const float deficit = target - h(p.x, p.y);
    if (deficit <= 0.0f) {
        return;
    }
    const float angle = 3.14159f * (noise.at(fx(p.x) / 37.0f, fx(p.y) / 37.0f) + 1.0f);
    const float ca = std::cos(angle);
    const float sa = std::sin(angle);
    auto texture = [&](int x, int y) {
        return 0.7f + 0.3f * noise.fbm(fx(x) / 45.0f, fx(y) / 45.0f, 4);
    };
    const float atPoint = texture(p.x, p.y);
    // Far enough out that the gaussian has died away: a cut-off would show as an arc.
    around(h, at(p), radius * 3.3, [&](int x, int y, float) {
        const float u = (fx(x - p.x) * ca + fx(y - p.y) * sa) / (radius * 1.5f);
        const float v = (-fx(x - p.x) * sa + fx(y - p.y) * ca) / (radius * 0.8f);
        if (h(x, y) > 0.0f) {  // a hill by the sea rises from the shore as a headland
            h(x, y) += deficit * std::exp(-1.6f * (u * u + v * v)) * texture(x, y) / atPoint;
        }
    });
}

// Eases the ground round a town toward the level at its centre (never raises it). The lowering
// is capped, so a town in the hills sits on a gentle shelf rather than in a levelled crater
// whose rim the hill shading would show as a ring.
void levelGround(Grid<float>& h, MapPoint p, float ceiling, float radius) {
    const float level = std::min(h(p.x, p.y), ceiling);
    around(h, at(p), radius, [&](int x, int y, float d) {
        const float w = smoothstep(radius, 0.0f, d);
        h(x, y) -= std::min(std::max(0.0f, h(x, y) - level), 0.05f) * w * w;
    });
}

void shapeRoundPlaces(const ProvinceLayout& layout, const std::vector<ProvincePlace>& places,
                      Grid<float>& h) {
    const Noise wobble(0x5EA5'0005);
    for (const ProvincePlace& place : places) {
        switch (place.kind) {
            case PlaceKind::Cave:
            case PlaceKind::Mine:
                raiseHill(h, wobble, place.at, kHillHeight + 0.08f, 60.0f);
                break;
            case PlaceKind::FortRuin:
                raiseHill(h, wobble, place.at, kHeightsHeight + 0.06f, 45.0f);
                break;
            default:
                break;
        }
    }
    for (const ProvincePlace& place : places) {
        if (place.kind != PlaceKind::City && place.kind != PlaceKind::Town) {
            continue;
        }
        const QString name = QString::fromStdString(place.name);
        if (std::find(layout.hillTowns.begin(), layout.hillTowns.end(), name) !=
            layout.hillTowns.end()) {
            raiseHill(h, wobble, place.at, kHeightsHeight + 0.04f, 70.0f);
        } else {
            levelGround(h, place.at, 0.3f, 90.0f);
        }
    }
}

Grid<float> woodland(const ProvinceLayout& layout, int width, int height) {
    const Noise grove(0x5EA5'0006);
    const int hw = width / kHalf + 1;
    const int hh = height / kHalf + 1;
    Grid<float> half(hw, hh);
    for (int y = 0; y < hh; ++y) {
        for (int x = 0; x < hw; ++x) {
            const float px = fx(x * kHalf);
            const float py = fx(y * kHalf);
            const float n = grove.fbm(px / 230.0f, py / 230.0f, 5);
            const float copse = 0.5f + 0.9f * (n - 0.32f);  // scattered copses
            // The old forests: their ellipses seen through a warp, for a ragged edge.
            const QPointF warped(px + 170.0f * grove.fbm(px / 300.0f + 17.0f, py / 300.0f, 4),
                                 py + 170.0f * grove.fbm(px / 300.0f, py / 300.0f + 23.0f, 4));
            double reach = 9.0;
            for (const Wood& w : layout.woods) {
                reach = std::min(reach, w.shape.reach(warped));
            }
            const float glade =
                smoothstep(-0.3f, -0.15f, grove.fbm(px / 70.0f, py / 70.0f + 60.0f, 3));
            const float old =
                smoothstep(1.05f, 0.85f, static_cast<float>(reach)) * (0.45f + 0.3f * glade);
            half(x, y) = std::clamp(std::max(copse, old), 0.0f, 1.0f);
        }
    }
    Grid<float> woods(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            woods(x, y) = sampleBilinear(half, fx(x) / kHalf, fx(y) / kHalf);
        }
    }
    return woods;
}

}  // namespace

Terrain buildTerrain(const ProvinceLayout& layout, const Waterways& water,
                     const std::vector<ProvincePlace>& places, int width, int height) {
    const LayoutFields fields = layoutFields(layout, width, height);
    Terrain t;
    t.height = fineRelief(roughRelief(fields, layout, places, width, height), width, height);
    t.lake = lakeCover(water, width, height);
    const std::vector<float> levels = lakeLevels(water, t.height);
    fillLakes(water, levels, t.lake, t.height);
    for (const RiverLine& river : water.rivers) {
        t.riverBeds.push_back(riverBed(river, t.height, water, levels, t.riverBeds));
        cutValley(river, t.riverBeds.back(), river.widths.back() > 8.0f ? 110.0f : 70.0f, t.height);
    }
    shapeRoundPlaces(layout, places, t.height);
    for (std::size_t i = 0; i < water.rivers.size(); ++i) {
        recutChannel(water.rivers[i], t.riverBeds[i], t.height);
    }
    fillLakes(water, levels, t.lake, t.height);
    t.woods = woodland(layout, width, height);
    t.moor = Grid<unsigned char>(width, height);
    t.ash = Grid<unsigned char>(width, height);
    auto byte = [](float v) {
        return static_cast<unsigned char>(std::clamp(v, 0.0f, 1.0f) * 255.0f);
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            t.moor(x, y) = byte(coarseAt(fields.upland, fx(x), fx(y)) / 0.2f);
            t.ash(x, y) = byte(coarseAt(fields.ash, fx(x), fx(y)));
        }
    }
    return t;
}

}  // namespace marventa
