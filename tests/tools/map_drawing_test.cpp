#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <array>
#include <iostream>

#include "catalogue/city_directory.h"
#include "tools/common/path_smoothing.h"
#include "tools/common/world_places.h"
#include "tools/land/land.h"
#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"
#include "tools/paint/keep_out.h"
#include "tools/paint/map_names.h"
#include "tools/paint/mountain_glyphs.h"
#include "tools/paint/province_painter.h"
#include "tools/roads/roads.h"
#include "tools/water/waterways.h"

using namespace marventa;

namespace {

// The province as the generator makes it, with the committed tables' places, and where its
// names go; built once.
struct World {
    const ProvinceLayout& layout = provinceLayout();
    Land land = raiseLand(layout, kProvinceWidth, kProvinceHeight);
    Waterways water = drainLand(land, layout);
    Terrain terrain = buildTerrain(layout, land, water, kProvinceWidth, kProvinceHeight);
    std::vector<ProvincePlace> places = provincePlaces();
    std::vector<RoadLine> roads = planRoads(places, terrain, water);
    ProvinceScene scene{layout, terrain, water, roads, places};
    QSize sheet{kProvinceWidth, kProvinceHeight};
    NamePlan names = planNames(scene, sheet);
};

const World& world() {
    static const World built;
    return built;
}

// The roads and running water exactly as wide as they are drawn, every symbol's room and every
// name's box.
QImage drawnMarks(const World& w) {
    QImage mask(w.sheet, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const RoadLine& r : w.roads) {
        p.drawPath(linePath(r.points));
    }
    for (const auto* lines : {&w.water.rivers, &w.water.brooks}) {
        for (const RiverLine& r : *lines) {
            strokeVarying(p, r.points, r.widths, Qt::white, 0.0f);
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const QRectF& r : w.names.symbols) {
        p.drawRect(r);
    }
    for (const PlacedName& n : w.names.names) {
        p.drawPolygon(n.box);
    }
    return mask;
}

}  // namespace

// Every peak and hill stands on the heights, and no pixel of its outline lies on water, a road,
// a river, a symbol or a name; the higher the ground, the more of it the peaks cover.
TEST(MapDrawing, PeaksStandOnHighGroundClearOfWhatTheMapMustShow) {
    const World& w = world();
    const std::vector<Peak> peaks = placePeaks(w.terrain, reliefKeepOut(w.scene, w.names, w.sheet));
    ASSERT_GT(peaks.size(), 500u);
    const QImage marks = drawnMarks(w);
    std::array<double, 3> count{};
    std::size_t hits = 0;
    for (const Peak& k : peaks) {
        const QPointF ridge = k.foot - QPointF(0, 0.3 * k.height);
        const float hv = w.terrain.height(static_cast<int>(ridge.x()), static_cast<int>(ridge.y()));
        EXPECT_GE(hv, kHeightsHeight)
            << "a peak on low ground at " << ridge.x() << ", " << ridge.y();
        const QPolygonF outline = peakOutline(k);
        if (!k.hill) {
            count[hv < 0.5f ? 0 : hv < 0.65f ? 1 : 2] += k.width * k.height / 2;
        }
        const QRect box = outline.boundingRect().toAlignedRect().intersected(QRect({}, w.sheet));
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const QPointF q(x + 0.5, y + 0.5);
                if (!outline.containsPoint(q, Qt::OddEvenFill)) {
                    continue;
                }
                hits += w.terrain.height(x, y) < 0.0f || w.terrain.lake(x, y) > 127 ||
                                qGray(marks.pixel(x, y)) > 0
                            ? 1
                            : 0;
            }
        }
    }
    EXPECT_EQ(hits, 0u) << "pixels of peaks over water, roads, symbols or names";
    // The share of each band of height that peaks cover (as triangles of their width and height).
    std::array<double, 3> ground{};
    for (int y = 0; y < w.sheet.height(); y += 4) {
        for (int x = 0; x < w.sheet.width(); x += 4) {
            const float hv = w.terrain.height(x, y);
            if (hv >= kHillHeight) {
                ground[hv < 0.5f ? 0 : hv < 0.65f ? 1 : 2] += 16;
            }
        }
    }
    for (std::size_t i = 0; i < 3; ++i) {
        count[i] /= std::max(1.0, ground[i]);
    }
    std::cout << "peaks cover " << count[0] << ", " << count[1] << ", " << count[2] << "\n";
    EXPECT_LT(count[0], count[1]);
    EXPECT_LT(count[1], count[2]);
}
