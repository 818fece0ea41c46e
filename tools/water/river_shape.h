#pragma once

#include <QPointF>
#include <functional>
#include <vector>

namespace marventa {

// A watercourse as routed on the lattice, turned into the curve it is drawn as.
struct Course {
    std::vector<QPointF> points;  // picture pixels
    std::vector<float> widths;    // one per point
    std::vector<float>
        flatness;  // one per point: 1 on a level floor, 0 where the ground falls fast
};

// Smooths away the lattice's steps (a moving average over `reach` points each side, ends kept),
// then swings the line into meanders across its flow: their size grows with the river's width
// and with the flatness of its floor, their phase wanders with `seed`, and a swing that would climb
// the `ground` beside the channel is held back. Both ends stay where they are.
void shapeCourse(Course& c, int reach, unsigned seed, const std::function<float(QPointF)>& ground);

// Lays the last `reach` pixels of a line toward the straight way from there to its end, wholly
// over the last 40 % of it: an estuary's funnel, as wide as a bay at its mouth, would draw every
// swing of its course as a hook curling back at the sea. A point whose straight way would climb
// the `ground` the course went round keeps nearer its course. Both ends stay where they are.
void runOutStraight(std::vector<QPointF>& points, double reach,
                    const std::function<float(QPointF)>& ground);

// Bends the last stretch of a tributary into the line it feeds so that it meets it at an acute
// angle pointing downstream: a curve from the tributary's point some way before its end to a point
// a little downstream on `main`, arriving along main's flow; and no wider than main there.
// `main` runs source to mouth.
void joinDownstream(Course& tributary, const std::vector<QPointF>& main,
                    const std::vector<float>& mainWidths);

}  // namespace marventa
