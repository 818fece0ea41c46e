#include "land.h"

#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "coast_wear.h"
#include "erosion.h"
#include "lake_basins.h"
#include "tools/common/blend.h"
#include "tools/common/noise.h"
#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

float fx(double v) {
    return static_cast<float>(v);
}

QPolygonF seaPolygon(const Polyline& coast) {
    // The coast runs from the west edge to the east edge; the sea is what lies beyond it.
    QPolygonF sea;
    sea << QPointF(-1000, coast.front().y());
    for (const QPointF& p : coast) {
        sea << p;
    }
    sea << QPointF(5000, coast.back().y()) << QPointF(5000, 5000) << QPointF(-1000, 5000);
    return sea;
}

// Distance from the layout's coast, negative at sea, seen through a warp at three scales: broad
// bays and headlands, then coves, then a ragged edge. The warp fades out at the coast's held
// points (the ports the city maps were drawn for).
float coastDistance(QPointF p, const ProvinceLayout& layout, const QPolygonF& sea,
                    const Noise& warp) {
    double hold = 1.0;
    for (const QPointF& anchor : layout.heldShore) {
        hold =
            std::min(hold, static_cast<double>(smoothstep(120.0f, 420.0f, fx(length(p - anchor)))));
    }
    const float x = fx(p.x());
    const float y = fx(p.y());
    QPointF q = p;
    for (const auto& [scale, reach] :
         {std::pair{640.0f, 150.0f}, {200.0f, 55.0f}, {64.0f, 16.0f}}) {
        q += QPointF(reach * warp.fbm(x / scale, y / scale, 3),
                     reach * warp.fbm(x / scale + 31.7f, y / scale - 12.3f, 3)) *
             hold;
    }
    const double d = std::min(distanceToPolyline(q, layout.coast), 3000.0);
    return fx(sea.containsPoint(q, Qt::OddEvenFill) ? -d : d);
}

// How far inland the shore takes to rise: short under cliffs, long across marsh.
float shoreRise(const ProvinceLayout& layout, float x) {
    float rise = 220.0f;
    for (const ShoreStretch& s : layout.shores) {
        const float inside =
            smoothstep(-150, 150, x - fx(s.fromX)) * smoothstep(-150, 150, fx(s.toX) - x);
        rise += (fx(s.rise) - rise) * inside;
    }
    return rise;
}

struct Fields {
    Grid<float> height;
    Grid<float> uplift;
    WornCoast coast;
};

Fields startingLand(const ProvinceLayout& layout, int w, int h, int cell) {
    const Noise warp(0x1A4D'0001);
    const Noise relief(0x1A4D'0002);
    const Noise crests(0x1A4D'0003);
    const QPolygonF sea = seaPolygon(layout.coast);
    Fields f{Grid<float>(w, h), Grid<float>(w, h), {}};
    const float width = fx(w * cell);
    // Each crest's length up to each of its points.
    std::vector<std::vector<double>> crestLengths;
    for (const Ridge& r : layout.ridges) {
        std::vector<double>& at = crestLengths.emplace_back(1, 0.0);
        for (std::size_t i = 1; i < r.crest.size(); ++i) {
            at.push_back(at.back() + length(r.crest[i] - r.crest[i - 1]));
        }
    }
    Grid<float> firstShore(w, h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            firstShore(i, j) = coastDistance(QPointF(i * cell, j * cell), layout, sea, warp);
        }
    }
    // The sea wears the coast once the rivers have cut the land, so it moves their mouths but
    // not the land's drainage far inland.
    f.coast = wearCoast(firstShore, cell, layout.heldShore, layout.openSea);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const QPointF p(i * cell, j * cell);
            const float x = fx(p.x());
            const float y = fx(p.y());
            const float d = firstShore(i, j);
            if (d <= 0.0f) {
                f.height(i, j) = std::max(-1.0f, d / 420.0f - 0.004f);
                continue;
            }
            const float rise = shoreRise(layout, x);
            const float inland = smoothstep(0.0f, rise, d);
            // Lowland rising gently inland, with rolling hills; the north and east edges rise so
            // the water runs to the sea rather than off the sheet.
            float ground =
                0.01f + 0.05f * std::sqrt(inland) + 0.10f * smoothstep(100.0f, 1700.0f, d) +
                inland * 0.12f * std::max(0.0f, relief.fbm(x / 380.0f, y / 380.0f, 5) + 0.2f) +
                0.09f * smoothstep(1400.0f, 0.0f, y) + 0.07f * smoothstep(2300.0f, width, x);
            // Cliff-top downs where the shore rises fast.
            ground += 0.16f * smoothstep(120.0f, 60.0f, rise) * smoothstep(0.0f, 40.0f, d) *
                      smoothstep(340.0f, 140.0f, d) *
                      (0.7f + 0.6f * relief.fbm(x / 90.0f, y / 90.0f, 3));
            float lift = 0.0f;
            for (const Ridge& r : layout.ridges) {
                // The range's edge wanders, so it is no sausage round its crest.
                const QPointF q = p + QPointF(90.0f * warp.fbm(x / 260.0f + 5.0f, y / 260.0f, 3),
                                              90.0f * warp.fbm(x / 260.0f, y / 260.0f + 9.0f, 3));
                const float peaked = r.peaked ? 1.0f : 0.0f;
                const Nearest n = nearestOnPolyline(q, r.crest);
                const float along =
                    fx(crestLengths[&r - layout.ridges.data()][n.segment] +
                       n.along * length(r.crest[n.segment + 1] - r.crest[n.segment]));
                // A peaked range's crest zigzags from side to side of its line, so that its faces
                // are spurs and corries rather than one long straight scarp.
                const float zigzag = peaked * 70.0f * crests.fbm(along / 90.0f, 3.5f, 3);
                const float across = fx(n.side > 0.0 ? n.distance : -n.distance) - zigzag;
                const float reach = std::fabs(across) / (fx(r.halfWidth) * 1.35f);
                if (reach >= 1.0f) {
                    continue;
                }
                // Most ranges swell to a broad top; a peaked one rises to a crest line, or its tops
                // join into one high plateau that the snow covers whole.
                const float fell = std::pow(smoothstep(1.0f, 0.0f, reach), 0.8f);
                const float crag = std::pow(1.0f - reach, 0.9f);
                const float profile = fell + (crag - fell) * peaked;
                // Peaks and saddles along the crest, a few hundred pixels apart and unevenly
                // spaced: the height rises and falls with the distance along it.
                const float swing =
                    std::sin(along / 38.0f + 2.5f * crests.fbm(along / 160.0f, 7.5f, 2));
                const float summit = 1.0f - peaked * 0.26f * (0.5f + 0.5f * swing);
                const float sharp = 0.35f + 0.65f * crests.ridged(x / 300.0f, y / 300.0f, 5);
                const float round = 0.6f + 0.4f * relief.fbm(x / 240.0f, y / 240.0f, 4);
                const float shape = round + (sharp - round) * fx(r.jagged);
                lift = std::max(lift, fx(r.height) * profile * summit * shape);
            }
            for (const Upland& u : layout.uplands) {
                lift = std::max(lift, fx(u.height) * smoothstep(1.0f, 0.2f, fx(u.shape.reach(p))) *
                                          (0.6f + 0.5f * relief.fbm(x / 150.0f, y / 150.0f, 4)));
            }
            lift *= smoothstep(0.0f, 120.0f, d);
            // Gentle troughs along the named rivers' courses steer the water where the towns
            // expect it; erosion then deepens whichever way the water really goes.
            float trough = 0.0f;
            for (const RiverCourse& r : layout.rivers) {
                const QPointF q = p + QPointF(45.0f * warp.fbm(x / 150.0f + 2.0f, y / 150.0f, 3),
                                              45.0f * warp.fbm(x / 150.0f, y / 150.0f + 7.0f, 3));
                const float dr = fx(distanceToPolyline(q, r.course));
                trough = std::max(trough, 0.5f * smoothstep(40.0f, 0.0f, dr) +
                                              0.5f * smoothstep(260.0f, 0.0f, dr));
            }
            const float floor = 0.004f + 0.02f * inland;
            f.height(i, j) = std::max(floor, ground + lift * 0.8f - 0.10f * trough * (1.0f - lift));
            f.uplift(i, j) = 0.006f * lift;
        }
    }
    return f;
}

// The shore as no ruler draws it: the ground within reach of the coast seen through a warp at two
// scales, coves and small headlands of a few dozen pixels, bights of a dozen and a ragged edge
// of a few, islands
// and all. It moves nothing inland, and fades out round the held ports. A warp may fold a sliver
// of sea into a pool inland, which is filled to the lowland again: the sea joins the sheet's edge.
void raggedShore(Grid<float>& height, const Grid<float>& shore, int cell,
                 const std::vector<QPointF>& held) {
    const Noise warp(0x1A4D'0004);
    const Grid<float> before = height;
    const int w = height.width();
    const int h = height.height();
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const float off = std::fabs(shore(i, j));
            if (off > 150.0f) {
                continue;
            }
            const QPointF p(i * cell, j * cell);
            float fade = smoothstep(150.0f, 60.0f, off);
            for (const QPointF& anchor : held) {
                fade *= smoothstep(70.0f, 220.0f, fx(length(p - anchor)));
            }
            if (fade <= 0.0f) {
                continue;
            }
            const float x = fx(p.x());
            const float y = fx(p.y());
            const auto [dx, dy] =
                raggedShift(warp, x, y, {18.0f, 9.0f, 3.0f}, {120.0f, 40.0f, 14.0f});
            height(i, j) =
                sampleBilinear(before, (x + fade * dx) / fx(cell), (y + fade * dy) / fx(cell));
        }
    }
    Grid<unsigned char> open(w, h, 0);
    std::vector<int> edge;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (height(i, j) <= 0.0f && (i == 0 || j == 0 || i == w - 1 || j == h - 1)) {
                open(i, j) = 1;
                edge.push_back(j * w + i);
            }
        }
    }
    while (!edge.empty()) {
        const int c = edge.back();
        edge.pop_back();
        for (const auto& [di, dj] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int i = c % w + di;
            const int j = c / w + dj;
            if (height.contains(i, j) && height(i, j) <= 0.0f && !open(i, j)) {
                open(i, j) = 1;
                edge.push_back(j * w + i);
            }
        }
    }
    for (std::size_t k = 0; k < open.cells().size(); ++k) {
        if (height.cells()[k] <= 0.0f && !open.cells()[k]) {
            height.cells()[k] = 0.004f;
        }
    }
}

}  // namespace

Land raiseLand(const ProvinceLayout& layout, int width, int height) {
    Land land;
    const int w = width / land.cell + 2;
    const int h = height / land.cell + 2;
    Fields f = startingLand(layout, w, h, land.cell);
    erode(f.height, f.uplift, {});
    // Heights back to the painting's scale: the highest crest near 0.95.
    float top = 0.0f;
    for (float v : f.height.cells()) {
        top = std::max(top, v);
    }
    for (float& v : f.height.cells()) {
        if (v > 0.0f) {
            v *= 0.95f / top;
        }
    }
    wearShore(f.height, f.coast);
    raggedShore(f.height, f.coast.shore, land.cell, layout.heldShore);
    land.craters = raiseCraters(layout, f.height, land.cell);
    land.lakeSeeds = holdLakes(layout, f.height, land.cell);
    land.height = std::move(f.height);
    return land;
}

}  // namespace marventa
