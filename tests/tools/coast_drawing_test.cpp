#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <optional>
#include <vector>

#include "tests/tools/flat_terrain.h"
#include "tests/tools/province_world.h"
#include "tools/paint/drawn_coast.h"
#include "tools/paint/relief_raster.h"
#include "tools/paint/symbols.h"

using namespace marventa;
using marventa::world_test::World;
using marventa::world_test::world;

namespace {

// Where the sea's edge crosses row `y` going east from `from`, to a fraction of a pixel.
std::optional<double> shoreAcross(const Grid<float>& h, int y, int from, int to) {
    for (int x = from + 1; x < to; ++x) {
        if (h(x - 1, y) < 0.0f && h(x, y) >= 0.0f) {
            return x - 1 + h(x - 1, y) / (h(x - 1, y) - h(x, y));
        }
    }
    return std::nullopt;
}

// The most the shore's crossing turns from one row to the next over `rows`: a lattice's jog
// down a nearly straight shore turns it by the jog's width.
double sharpestTurn(const Grid<float>& h, int y0, int y1, int from, int to) {
    double sharpest = 0;
    std::optional<double> before;
    std::optional<double> last;
    for (int y = y0; y < y1; ++y) {
        const std::optional<double> x = shoreAcross(h, y, from, to);
        if (x && last && before) {
            sharpest = std::max(sharpest, std::fabs(*x - 2 * *last + *before));
        }
        before = last;
        last = x;
    }
    return sharpest;
}

// The darkest grey in the ring between `inner` and `outer` round `at`.
int darkestInRing(const QImage& image, QPointF at, double inner, double outer) {
    int darkest = 255;
    for (int y = static_cast<int>(at.y() - outer); y <= at.y() + outer; ++y) {
        for (int x = static_cast<int>(at.x() - outer); x <= at.x() + outer; ++x) {
            const double d = std::hypot(x + 0.5 - at.x(), y + 0.5 - at.y());
            if (d >= inner && d <= outer && image.valid(x, y)) {
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
            }
        }
    }
    return darkest;
}

}  // namespace

// Down the long west coast either side of Tolvane's estuary the drawn shore runs as one line,
// with no jog of the land's lattice left in it; and every place stands on the side of it the
// land puts it.
TEST(CoastDrawing, TheShoreRunsWithoutTheLatticesJogsAndKeepsEveryPlaceOnItsSide) {
    const World& w = world();
    const Terrain coast = drawnCoast(w.terrain, w.water, w.places);
    const double before = std::max(sharpestTurn(w.terrain.height, 1370, 1520, 150, 420),
                                   sharpestTurn(w.terrain.height, 1630, 1890, 150, 420));
    const double drawn = std::max(sharpestTurn(coast.height, 1370, 1520, 150, 420),
                                  sharpestTurn(coast.height, 1630, 1890, 150, 420));
    std::cout << "sharpest turn of the west coast " << drawn << " px a row, " << before
              << " on the land's lattice\n";
    EXPECT_LT(drawn, 2.5) << "the drawn shore steps in the lattice's jogs";
    for (const ProvincePlace& p : w.places) {
        EXPECT_EQ(coast.height(p.at.x, p.at.y) < 0.0f, w.terrain.height(p.at.x, p.at.y) < 0.0f)
            << p.name << " lies across the drawn shore";
    }
}

// A town standing on a shore that steps as a coarse lattice does: the drawn shore runs smooth,
// and its ink stops short of the town's ring while it runs on along the rest of the coast.
TEST(CoastDrawing, TheShoresInkStopsShortOfAMarkOnIt) {
    const int width = 260;
    const int height = 180;
    Terrain t = test::flatTerrain(width, height, 0.05f);
    // The sea to the south-west of a shore falling a lattice cell every ten pixels.
    const auto shoreAt = [](int x) { return 50 + 4 * (x / 10); };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (y > shoreAt(x)) {
                t.height(x, y) = -0.05f;
            }
        }
    }
    const std::vector<ProvincePlace> places{{"Quayside", {150, shoreAt(150)}, PlaceKind::Town}};
    const Terrain coast = drawnCoast(t, Waterways{}, places);
    // Column by column down the slanting shore, where it crosses each one.
    double sharpest = 0;
    std::vector<double> crossing;
    std::vector<int> column;
    // Away from the town, round whose point the shore keeps a little ground.
    for (int x = 20; x < width - 20; ++x) {
        if (std::abs(x - 150) < 14) {
            continue;
        }
        for (int y = 1; y < height; ++y) {
            if (coast.height(x, y - 1) >= 0.0f && coast.height(x, y) < 0.0f) {
                crossing.push_back(
                    y - 1 + coast.height(x, y - 1) / (coast.height(x, y - 1) - coast.height(x, y)));
                column.push_back(x);
                break;
            }
        }
    }
    ASSERT_GT(crossing.size(), 180u);
    for (std::size_t i = 1; i < crossing.size(); ++i) {
        if (column[i] == column[i - 1] + 1) {
            sharpest = std::max(sharpest, std::fabs(crossing[i] - crossing[i - 1]));
        }
    }
    EXPECT_LT(sharpest, 1.6) << "the drawn shore keeps the lattice's steps";

    const std::vector<InkGap> gaps = harbourGaps(coast, places);
    ASSERT_EQ(gaps.size(), 1u) << "the town on the shore leaves no gap in its line";
    QImage mask(width, height, QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(gaps[0].at, gaps[0].radius, gaps[0].radius);
    }
    const QImage painted = paintRelief(coast, nullptr, nullptr, &mask);
    const double ring = symbolRadius(PlaceKind::Town);
    const int underMark = darkestInRing(painted, gaps[0].at, ring, gaps[0].radius - 0.8);
    const int alongCoast =
        darkestInRing(painted, QPointF(60, shoreAt(60) + 0.5), ring, gaps[0].radius - 0.8);
    std::cout << "darkest grey round the town " << underMark << ", along the coast " << alongCoast
              << "\n";
    EXPECT_LT(alongCoast, 95) << "the coast is not inked";
    EXPECT_GT(underMark, alongCoast + 30) << "the coast's ink runs on under the town's mark";
}
