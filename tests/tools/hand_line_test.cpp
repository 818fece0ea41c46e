#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

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

// Round a bend the pen presses outward: the line swells on the outside while its inside edge keeps
// to the bend, and the straight stretches either side keep their width and place.
TEST(HandLine, ALineSwellsOnTheOutsideOfItsBends) {
    const QPointF centre(100.0, 20.0);
    constexpr double kRadius = 20.0;
    std::vector<QPointF> line;
    for (double x = 0.0; x < 100.0; x += 2.0) {
        line.emplace_back(x, 0.0);
    }
    for (int i = 0; i <= 30; ++i) {
        const double a = -std::numbers::pi / 2 + std::numbers::pi * i / 30.0;
        line.push_back(centre + kRadius * QPointF(std::cos(a), std::sin(a)));
    }
    for (double x = 98.0; x >= 0.0; x -= 2.0) {
        line.emplace_back(x, 40.0);
    }
    const std::vector<InkRun> runs =
        handDrawn(line, std::vector<float>(line.size(), 2.0f), HandPen{.bend = 0.5});
    ASSERT_EQ(runs.size(), 1u);
    const InkRun& ink = runs.front();
    std::size_t apex = 0;
    for (std::size_t i = 0; i < ink.points.size(); ++i) {
        const QPointF q = ink.points[i];
        if (q.x() > ink.points[apex].x()) {
            apex = i;
        }
        if (q.x() > 10.0 && q.x() < 70.0) {
            EXPECT_NEAR(ink.widths[i], 2.0f, 0.01f) << "a straight stretch swollen";
            EXPECT_LE(std::min(std::fabs(q.y()), std::fabs(q.y() - 40.0)), 0.01);
        }
    }
    const double reach = length(ink.points[apex] - centre);
    const double half = 0.5 * ink.widths[apex];
    EXPECT_GE(ink.widths[apex], 2.0f * 1.35f) << "the bend drawn at the line's width";
    EXPECT_NEAR(reach - half, kRadius - 1.0, 0.3) << "the inside edge moved";
    EXPECT_GT(reach + half, kRadius + 1.0 + 0.6);
}

// A pen lifted before the line it meets stops short by what was asked, on the line's own course;
// a line too short for the lift is left whole.
TEST(HandLine, ALineStoppedShortKeepsItsCourse) {
    const std::vector<QPointF> line = windingLine();
    const std::vector<QPointF> cut = stoppedShort(line, 3.0, 2.0);
    EXPECT_NEAR(polylineLength(cut), polylineLength(line) - 5.0, 0.1);
    for (const QPointF& q : cut) {
        EXPECT_LE(distanceToPolyline(q, line), 1e-6);
    }
    EXPECT_NEAR(length(cut.front() - line.front()), 3.0, 0.1);
    EXPECT_EQ(stoppedShort(line, 0.0, 4.0).front(), line.front());
    const std::vector<QPointF> shortLine{{0.0, 0.0}, {4.0, 0.0}};
    EXPECT_EQ(stoppedShort(shortLine, 2.5, 2.5), shortLine);
}
