#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <vector>

#include "tools/land/terrain.h"

namespace marventa {

// An island the sea left off the coast, to be named on the map.
struct Island {
    QString name;
    QPointF centre;  // the middle of its land
    double radius;   // pixels: about as far as its shore reaches from the middle
    // Where its name's middle may go, nearest the island first: the name wholly on the water,
    // clear of the shore, and nearer this island than any other land, so it names no other.
    std::vector<QPointF> spots;
};

// The largest islands off the coast, largest first, each with a name of its own: land the
// mainland (the largest stretch of land) does not reach, at least `fewestPixels` of it.
// `nameSize` gives the room a name takes.
std::vector<Island> namedIslands(const Terrain& terrain,
                                 const std::function<QSizeF(const QString&)>& nameSize,
                                 int fewestPixels = 1200);

// How much of the compass round a point at sea meets land within `reach` pixels, 0 .. 1: more
// than a half where the coast wraps round it (a bay, a gulf), under a half off a straight or
// jutting shore. The sheet's edge is open sea.
double landAround(const Terrain& terrain, QPointF at, double reach);

// A line `span` pixels long through `anchor`, heading `degrees`, bent to keep as far off the
// nearer coast across it as the anchor is: a sea's name set along it follows the shore's sweep.
// Empty where no coast lies within `reach` of the anchor across the heading.
std::vector<QPointF> alongCoast(const Terrain& terrain, QPointF anchor, double degrees, double span,
                                double reach = 400.0);

}  // namespace marventa
