#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "tools/common/plane_geometry.h"
#include "tools/paint/hand_line.h"

using namespace marventa;

namespace {

// A winding line some 1200 px long, its points a few pixels apart as the geometry gives them.
std::vector<QPointF> windingLine() {
    std::vector<QPointF> pts;
    for (int i = 0; i <= 400; ++i) {
        const double t = i * 3.0;
        pts.emplace_back(100.0 + t, 300.0 + 80.0 * std::sin(t / 150.0));
    }
    return pts;
}

double gapBetween(const InkRun& a, const InkRun& b) {
    return length(b.points.front() - a.points.back()) - 0.5 * (a.widths.back() + b.widths.front());
}

}  // namespace

// A drawn-through pen strays no more than its drift and swells no more than its pressure, keeps
// both ends, and never breaks the line.
TEST(HandLine, AnUnbrokenPenStaysOnItsLine) {
    const std::vector<QPointF> line = windingLine();
    const std::vector<float> widths(line.size(), 2.0f);
    const HandPen pen{.drift = 1.0, .pressure = 0.2};
    const std::vector<InkRun> runs = handDrawn(line, widths, pen);
    ASSERT_EQ(runs.size(), 1u);
    const InkRun& ink = runs.front();
    EXPECT_LE(length(ink.points.front() - line.front()), 1.5);
    EXPECT_LE(length(ink.points.back() - line.back()), 1.5);
    double strayed = 0.0;
    float thinnest = 9.0f;
    float widest = 0.0f;
    for (std::size_t i = 0; i < ink.points.size(); ++i) {
        EXPECT_LE(distanceToPolyline(ink.points[i], line), 1.5);
        strayed = std::max(strayed, distanceToPolyline(ink.points[i], line));
        if (i > 0) {
            EXPECT_LE(length(ink.points[i] - ink.points[i - 1]), 3.5) << "a jump in the ink";
        }
        thinnest = std::min(thinnest, ink.widths[i]);
        widest = std::max(widest, ink.widths[i]);
    }
    EXPECT_GE(thinnest, 2.0f * 0.79f);
    EXPECT_LE(widest, 2.0f * 1.21f);
    // It does waver, or it would read as a ruled curve again.
    EXPECT_GT(strayed, 0.3);
    EXPECT_GT(widest - thinnest, 0.3f);
}

// Two roads along one stretch, walked either way, lay their ink on the same place: a shift by
// the direction of travel would double a shared road.
TEST(HandLine, ALineWalkedBackwardsDrawsTheSameInk) {
    std::vector<QPointF> line = windingLine();
    const std::vector<float> widths(line.size(), 1.1f);
    const HandPen pen{.drift = 1.0, .pressure = 0.2};
    const InkRun there = handDrawn(line, widths, pen).front();
    std::reverse(line.begin(), line.end());
    const InkRun back = handDrawn(line, widths, pen).front();
    for (const QPointF& q : back.points) {
        EXPECT_LE(distanceToPolyline(q, there.points), 0.2);
    }
}

// A lifting pen leaves a few gaps of one to two pixels of paper, none near the ends where the
// line meets another and none across a line wider than its lifting width; a dashed pen breaks
// the line all along into dashes of about its length.
TEST(HandLine, ThePenLiftsOnlyWhereItMay) {
    const std::vector<QPointF> line = windingLine();
    std::vector<float> widths(line.size(), 1.2f);
    const HandPen brook{.drift = 0.8, .pressure = 0.2, .liftEvery = 150.0, .liftWidth = 2.4};
    const std::vector<InkRun> runs = handDrawn(line, widths, brook);
    ASSERT_GE(runs.size(), 4u);
    EXPECT_LE(runs.size(), 20u);
    for (std::size_t i = 1; i < runs.size(); ++i) {
        const double gap = gapBetween(runs[i - 1], runs[i]);
        EXPECT_GE(gap, 0.5);
        EXPECT_LE(gap, 2.6);
    }
    EXPECT_GE(polylineLength(runs.front().points), 7.0);
    EXPECT_GE(polylineLength(runs.back().points), 7.0);

    std::fill(widths.begin(), widths.end(), 3.0f);
    EXPECT_EQ(handDrawn(line, widths, brook).size(), 1u) << "a lift across a broad brook";

    std::fill(widths.begin(), widths.end(), 0.85f);
    const HandPen track{.drift = 0.8, .dash = 4.4, .gap = 2.75};
    const std::vector<InkRun> dashes = handDrawn(line, widths, track);
    const double total = polylineLength(line);
    EXPECT_GT(dashes.size(), static_cast<std::size_t>(total / 9.0));
    EXPECT_LT(dashes.size(), static_cast<std::size_t>(total / 5.0));
    for (const InkRun& d : dashes) {
        EXPECT_LE(polylineLength(d.points) + d.widths.front(), 6.5);
    }
}

// A thin line inked at an even width is evenly dark along its length, with no beads where its
// pieces would overlap.
TEST(HandLine, AThinLineInksEvenly) {
    QImage sheet(200, 20, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    std::vector<QPointF> pts;
    for (double x = 10; x <= 190; x += 2.0) {
        pts.emplace_back(x, 10.3);
    }
    {
        QPainter p(&sheet);
        p.setRenderHint(QPainter::Antialiasing);
        inkLine(p, pts, std::vector<float>(pts.size(), 1.1f), Qt::black);
    }
    int heaviest = 0;
    int faintest = 255 * 20;
    for (int x = 20; x < 180; ++x) {
        int ink = 0;
        for (int y = 0; y < 20; ++y) {
            ink += 255 - qGray(sheet.pixel(x, y));
        }
        heaviest = std::max(heaviest, ink);
        faintest = std::min(faintest, ink);
    }
    EXPECT_GT(faintest, 200);
    EXPECT_LE(heaviest - faintest, 12);
}
