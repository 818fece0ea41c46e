#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <vector>

#include "tests/tools/flat_terrain.h"
#include "tools/common/grid.h"
#include "tools/land/terrain.h"
#include "tools/paint/brush_strokes.h"
#include "tools/paint/heights_tan.h"
#include "tools/paint/paper_grain.h"
#include "tools/paint/relief_raster.h"

using namespace marventa;

namespace {

double mean(const std::vector<double>& v) {
    double s = 0;
    for (double x : v) {
        s += x / static_cast<double>(v.size());
    }
    return s;
}

double spread(const std::vector<double>& v) {
    const double m = mean(v);
    double s = 0;
    for (double x : v) {
        s += (x - m) * (x - m) / static_cast<double>(v.size());
    }
    return std::sqrt(s);
}

}  // namespace

// The ground's wash laid in broad strokes: most of the sheet under at least one, some ground
// under two (darker than any one stroke lays), a few streaked dry skips; varying over a hundred
// pixels and more, not from pixel to pixel; the same strokes every time.
TEST(Washes, BrushStrokesAreBroadOverlappingAndRepeat) {
    constexpr int kW = 1400;
    constexpr int kH = 1000;
    const Grid<float> f = brushStrokes(kW, kH, 7);
    EXPECT_EQ(f.cells(), brushStrokes(kW, kH, 7).cells());
    EXPECT_NE(f.cells(), brushStrokes(kW, kH, 8).cells());
    double laid = 0;
    double crossed = 0;
    double skipped = 0;
    double step = 0;
    std::vector<double> pixels;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x + 1 < kW; ++x) {
            const float v = f(x, y);
            laid += v > 0.04f ? 1 : 0;
            // Past what one stroke lays with its streaks at their heaviest.
            crossed += v > 0.2f ? 1 : 0;
            skipped += v < -0.04f ? 1 : 0;
            step += std::fabs(f(x + 1, y) - v);
            pixels.push_back(v);
        }
    }
    const double n = static_cast<double>(pixels.size());
    EXPECT_GT(laid / n, 0.5) << "the strokes leave most of the ground bare";
    EXPECT_GT(crossed / n, 0.05) << "no strokes cross";
    // The skips are short flecks in broken clusters, so only a little of each lies bare.
    EXPECT_GT(skipped / n, 0.004) << "the brush never ran dry";
    EXPECT_LT(skipped / n, 0.3) << "more skips than strokes";
    // Block means 64 px across keep most of the field's spread: it varies broadly; and from one
    // pixel to the next it moves far less than across the sheet.
    std::vector<double> blocks;
    for (int by = 0; by + 64 <= kH; by += 64) {
        for (int bx = 0; bx + 64 <= kW; bx += 64) {
            double s = 0;
            for (int y = by; y < by + 64; ++y) {
                for (int x = bx; x < bx + 64; ++x) {
                    s += f(x, y) / (64.0 * 64.0);
                }
            }
            blocks.push_back(s);
        }
    }
    EXPECT_GT(spread(blocks), 0.6 * spread(pixels)) << "the strokes vary as noise";
    EXPECT_LT(step / n, 0.1 * spread(pixels)) << "the strokes vary from pixel to pixel";
}

// Ink skips on the paper's tooth: a broad stroke flecked with a little of the wash, a thin line
// weakened here and there but nowhere lost; the wash and a light fill laid over it untouched.
TEST(Washes, InkSkipsOnTheToothWithoutBreakingLines) {
    constexpr int kS = 240;
    QImage washes(kS, kS, QImage::Format_RGB32);
    washes.fill(qRgb(200, 205, 160));
    QImage sheet = washes.copy();
    {
        QPainter p(&sheet);
        p.fillRect(20, 20, 200, 40, QColor(40, 30, 20));      // a broad stroke
        p.fillRect(20, 100, 200, 1, QColor(40, 30, 20));      // a thin line
        p.fillRect(20, 140, 200, 40, QColor(245, 240, 225));  // a paper fill
    }
    const QImage before = sheet.copy();
    inkOnTooth(sheet, washes, paperGrain(kS, kS));
    double flecked = 0;
    double darkness = 0;
    for (int y = 20; y < 60; ++y) {
        for (int x = 20; x < 220; ++x) {
            const int g = qGray(sheet.pixel(x, y));
            flecked += g > qGray(before.pixel(x, y)) + 20 ? 1 : 0;
            darkness += (qGray(washes.pixel(x, y)) - g) / (200.0 * 40.0);
        }
    }
    const double ink = qGray(washes.pixel(0, 0)) - qGray(before.pixel(30, 30));
    std::cout << "flecked " << flecked / 8000.0 << ", darkness " << darkness << " of " << ink
              << "\n";
    EXPECT_GT(flecked / 8000.0, 0.02) << "the broad stroke shows no tooth";
    EXPECT_LT(flecked / 8000.0, 0.3) << "the broad stroke is broken up";
    EXPECT_GT(darkness, 0.85 * ink) << "the broad stroke is worn pale";
    int weakest = 255;
    for (int x = 20; x < 220; ++x) {
        weakest = std::min(weakest, qGray(washes.pixel(x, 100)) - qGray(sheet.pixel(x, 100)));
    }
    EXPECT_GT(weakest, 0.5 * ink) << "the thin line breaks";
    for (int y = 0; y < kS; ++y) {
        for (int x = 0; x < kS; ++x) {
            if ((y < 20 || y >= 60) && y != 100) {
                ASSERT_EQ(sheet.pixel(x, y), before.pixel(x, y)) << "at " << x << ", " << y;
            }
        }
    }
}

// A copse, a wood too small to have a body, lays its floor under its trees alone; a wood with a
// body runs its floor out between its trees.
TEST(Washes, ACopseHasNoFloorRoundItsTrees) {
    constexpr int kW = 400;
    constexpr int kH = 260;
    Terrain t = test::flatTerrain(kW, kH, 0.06f);
    // A copse 50 px across and a wood 200 px across, each with trees on a grid.
    const auto plant = [&](int x0, int y0, int size, QPainter& p) {
        for (int y = y0; y < y0 + size; ++y) {
            for (int x = x0; x < x0 + size; ++x) {
                t.woods(x, y) = 1.0f;
            }
        }
        for (int y = y0 + 6; y < y0 + size; y += 16) {
            for (int x = x0 + 6; x < x0 + size; x += 16) {
                p.drawEllipse(QPointF(x, y), 3.0, 3.0);
            }
        }
    };
    QImage cover(kW, kH, QImage::Format_Grayscale8);
    cover.fill(0);
    {
        QPainter p(&cover);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        plant(30, 100, 50, p);
        plant(170, 30, 200, p);
    }
    const QImage painted = paintRelief(t, &cover);
    // The green of the ground between the trees, against the open meadow.
    const auto between = [&](int x0, int y0, int size) {
        std::vector<double> g;
        for (int y = y0 + 4; y < y0 + size - 4; ++y) {
            for (int x = x0 + 4; x < x0 + size - 4; ++x) {
                const uchar* row = cover.constScanLine(y);
                if (row[x] == 0 && row[x - 3] == 0 && row[x + 3] == 0) {
                    g.push_back(qGray(painted.pixel(x, y)));
                }
            }
        }
        return mean(g);
    };
    std::vector<double> open;
    for (int y = 10; y < 80; ++y) {
        for (int x = 10; x < 130; ++x) {
            open.push_back(qGray(painted.pixel(x, y)));
        }
    }
    const double meadow = mean(open);
    EXPECT_LT(std::fabs(between(30, 100, 50) - meadow), 3.0) << "a copse lies on a floor";
    EXPECT_LT(between(200, 60, 140), meadow - 6.0) << "a wood's floor stops at its trees";
}

// The heights' tan lies over a group of peaks as one wash: across the gaps between its peaks,
// a little way past its outer ones and farther on their shaded side, its edge running smooth
// along the group rather than bulging round each peak; a peak standing alone gets none.
TEST(Washes, TheHeightsTanCoversAGroupOfPeaksAndLeavesALoneOne) {
    constexpr int kW = 700;
    constexpr int kH = 300;
    Grid<unsigned char> peaked(kW, kH, 0);
    // Six peaks 40 px wide in a row, 60 px apart, their bases on one line; a seventh alone.
    const auto peak = [&](int cx, int base) {
        for (int y = base - 36; y <= base; ++y) {
            const int half = (y - (base - 36)) * 20 / 36;
            for (int x = cx - half; x <= cx + half; ++x) {
                peaked(x, y) = 1;
            }
        }
    };
    for (int i = 0; i < 6; ++i) {
        peak(80 + 60 * i, 150);
    }
    peak(620, 150);
    const Grid<float> edge = heightsTan(peaked, Grid<float>(kW, kH, 0.06f)).edge;
    EXPECT_GT(edge(110, 140), 0.0f) << "the gap between two peaks is bare";
    EXPECT_LE(edge(620, 140), 0.0f) << "a lone peak has a wash of its own";
    // Past the row's ends, a little way on the shaded east, drawn in on the lit west.
    const auto reach = [&](int from, int way) {
        int x = from;
        while (x + way >= 0 && x + way < kW && edge(x + way, 140) > 0.0f) {
            x += way;
        }
        return std::abs(x - from);
    };
    const int east = reach(80 + 60 * 5, 1);
    const int west = reach(80, -1);
    std::cout << "the tan runs " << east << " px east of the row's last summit, " << west
              << " px west of its first\n";
    EXPECT_GT(east, 20) << "the wash stops at the outer peak's shaded flank";
    EXPECT_LT(east, 60) << "the wash runs far past the outer peak";
    EXPECT_GT(east, west + 8) << "the wash lies as far out on the lit side as on the shaded";
    // Below the row the edge lies about as far out under a gap as under a peak's base.
    const auto edgeBelow = [&](int x) {
        int y = 150;
        while (y + 1 < kH && edge(x, y + 1) > 0.0f) {
            ++y;
        }
        return y;
    };
    std::vector<double> depths;
    for (int x = 140; x <= 320; x += 5) {
        depths.push_back(edgeBelow(x));
    }
    const auto [lo, hi] = std::minmax_element(depths.begin(), depths.end());
    std::cout << "the tan's edge below the row from " << *lo << " to " << *hi << "\n";
    EXPECT_GT(*lo, 155.0) << "the wash does not reach past the peaks' bases";
    EXPECT_LT(*hi - *lo, 5.0) << "the wash's edge bulges round each peak";
}

// Over a range the tan follows the ground: whole along the crest with a darker stroke over it,
// broken into patches toward the foothills, where it keeps to the spurs and leaves the valleys
// between them bare.
TEST(Washes, TheHeightsTanBreaksUpTowardTheFoothills) {
    constexpr int kW = 640;
    constexpr int kH = 440;
    constexpr int kCrest = 220;
    // A ridge along the middle falling to either side, its flanks cut by valleys 64 px apart.
    Grid<float> height(kW, kH, 0.0f);
    const auto valley = [](int x) { return 0.5 + 0.5 * std::cos(2.0 * M_PI * x / 64.0); };
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const double out = std::abs(y - kCrest) / 220.0;
            height(x, y) = static_cast<float>(0.3 + 0.6 * (1.0 - out) - 0.07 * valley(x) * out);
        }
    }
    // Peaks drawn over the whole range, so that the group's own outline lies far off, thinning
    // down the flanks.
    Grid<unsigned char> peaked(kW, kH, 0);
    for (int base = 40; base < kH - 20; base += 30) {
        const int apart = std::abs(base - 12 - kCrest) < 80 ? 36 : 72;
        for (int cx = 20 + (base / 30 % 2) * 18; cx < kW - 20; cx += apart) {
            for (int y = base - 24; y <= base; ++y) {
                const int half = (y - (base - 24)) * 14 / 24;
                for (int x = cx - half; x <= cx + half; ++x) {
                    peaked(x, y) = 1;
                }
            }
        }
    }
    const HeightsTan tan = heightsTan(peaked, height);
    // The tan's and the crest stroke's share of the crest, the foothills' spurs and their
    // valleys, well inside the group.
    struct Share {
        double tan = 0;
        double crest = 0;
        double count = 0;
    };
    Share crest;
    Share foothills;
    Share spurs;
    Share valleys;
    for (int y = 60; y < kH - 60; ++y) {
        for (int x = 80; x < kW - 80; ++x) {
            const int out = std::abs(y - kCrest);
            Share* band = out < 40                 ? &crest
                          : out < 120 || out > 160 ? nullptr
                          : valley(x) > 0.8        ? &valleys
                          : valley(x) < 0.2        ? &spurs
                                                   : nullptr;
            const bool foot = out >= 120 && out <= 160;
            for (Share* s : {band, foot ? &foothills : nullptr}) {
                if (s != nullptr) {
                    s->tan += tan.edge(x, y) > 0.0f ? 1 : 0;
                    s->crest += tan.crest(x, y) > 0.0f ? 1 : 0;
                    s->count += 1;
                }
            }
        }
    }
    for (Share* s : {&crest, &foothills, &spurs, &valleys}) {
        s->tan /= s->count;
        s->crest /= s->count;
    }
    std::cout << "the tan covers " << crest.tan << " of the crest, " << foothills.tan
              << " of the foothills, " << spurs.tan << " of the foothills' spurs and "
              << valleys.tan << " of their valleys; the crest "
              << "stroke " << crest.crest << ", " << spurs.crest << ", " << valleys.crest << "\n";
    EXPECT_GT(crest.tan, 0.97) << "the tan breaks up along the crest";
    EXPECT_GT(crest.crest, 0.8) << "no darker stroke along the crest";
    EXPECT_LT(spurs.crest, 0.4) << "the crest's stroke runs down into the foothills";
    EXPECT_LT(foothills.tan, 0.85) << "the tan lies whole over the foothills";
    EXPECT_GT(foothills.tan, 0.2) << "the tan is gone from the foothills";
    EXPECT_LT(valleys.tan, 0.6 * spurs.tan) << "the tan lies in the valleys as on the spurs";
}

// The paper's tooth is not one even filter: over broad stretches it stands rougher than over
// others.
TEST(Washes, ThePapersToothVariesInBroadStretches) {
    const PaperGrain g = paperGrain(1600, 1600);
    std::vector<double> roughness;
    for (int by = 0; by + 64 <= 1600; by += 160) {
        for (int bx = 0; bx + 64 <= 1600; bx += 160) {
            double s = 0;
            for (int y = by; y < by + 64; ++y) {
                for (int x = bx; x < bx + 64; ++x) {
                    s += std::fabs(g.tooth(x, y));
                }
            }
            roughness.push_back(s / (64.0 * 64.0));
        }
    }
    const auto [lo, hi] = std::minmax_element(roughness.begin(), roughness.end());
    std::cout << "the tooth's roughness from " << *lo << " to " << *hi << " by stretch\n";
    EXPECT_GT(*hi, 2.5 * *lo) << "the tooth is one even texture";
    // Soft, broad patches: side by side, stretches differ far less than the sheet does as a
    // whole, so the change never reads as blotches.
    std::vector<double> steps;
    for (int y = 0; y + 64 <= 1600; y += 320) {
        double last = -1.0;
        for (int x = 0; x + 64 <= 1600; x += 64) {
            double s = 0;
            for (int yy = y; yy < y + 64; ++yy) {
                for (int xx = x; xx < x + 64; ++xx) {
                    s += std::fabs(g.tooth(xx, yy));
                }
            }
            s /= 64.0 * 64.0;
            if (last >= 0.0) {
                steps.push_back(std::fabs(s - last));
            }
            last = s;
        }
    }
    std::cout << "side by side the roughness steps " << mean(steps) << " against a spread of "
              << spread(roughness) << "\n";
    EXPECT_LT(mean(steps), 0.5 * spread(roughness)) << "the tooth changes in blotches";
}

// The heights' tan is laid with a brush: across its edge it goes from the meadow's green to its
// own tone within a pixel or two, never graded over a broad band as an airbrush leaves it, but
// running a little softer in places.
TEST(Washes, TheHeightsTanEndsInACrispEdge) {
    constexpr int kW = 700;
    constexpr int kH = 420;
    const Terrain t = test::flatTerrain(kW, kH, 0.06f);
    // A block of peaks in rows, enough for a wash of its own, in the middle of the sheet.
    QImage ranges(kW, kH, QImage::Format_Grayscale8);
    ranges.fill(0);
    {
        QPainter p(&ranges);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (int row = 0; row < 4; ++row) {
            for (int i = 0; i < 7; ++i) {
                const double cx = 200 + 50 * i + 25 * (row % 2);
                const double base = 150 + 45 * row;
                p.drawPolygon(QPolygonF{{cx - 20, base}, {cx, base - 36}, {cx + 20, base}});
            }
        }
    }
    const QImage painted = paintRelief(t, nullptr, &ranges);
    const auto warmth = [&](int x, int y) {
        const QRgb c = painted.pixel(x, y);
        return static_cast<double>(qRed(c) - qGreen(c));
    };
    // The tones well inside the tan and well out on the meadow, along the middle rows.
    std::vector<double> inside;
    std::vector<double> outside;
    for (int y = 170; y < 250; ++y) {
        for (int x = 330; x < 400; ++x) {
            inside.push_back(warmth(x, y));
        }
        for (int x = 10; x < 60; ++x) {
            outside.push_back(warmth(x, y));
        }
    }
    const double in = mean(inside);
    const double out = mean(outside);
    ASSERT_GT(in, out + 12.0) << "no tan over the peaks";
    // Along each row, leaving the tan westward and eastward to the meadow: the steepest fall
    // over three pixels, as a share of the whole. A brush's edge falls in a step or two, an
    // airbrush's evenly over a broad band; here and there a brush's edge ran soft on damp paper.
    std::vector<double> steepest;
    for (int y = 160; y < 260; y += 2) {
        for (const int way : {-1, 1}) {
            double most = 0;
            for (int x = 360; x > 4 && x < kW - 5 && warmth(x, y) > out + 0.1 * (in - out);
                 x += way) {
                most = std::max(most, (warmth(x, y) - warmth(x + 3 * way, y)) / (in - out));
            }
            steepest.push_back(most);
        }
    }
    std::sort(steepest.begin(), steepest.end());
    const double typical = steepest[steepest.size() / 2];
    const double softest = steepest[steepest.size() / 10];
    std::cout << "the tan's edge falls " << typical << " of its tone in 3 px, " << softest
              << " at the softest tenth, " << steepest[steepest.size() * 9 / 10]
              << " at the crispest\n";
    EXPECT_GT(typical, 0.35) << "the tan's edge is blurred";
    EXPECT_GT(softest, 0.12) << "the tan's edge blurs in stretches";
    EXPECT_GT(steepest[steepest.size() * 9 / 10], 1.4 * softest)
        << "the tan's edge is one even pen line all round";
}
