#pragma once

#include <QPointF>
#include <vector>

#include "tools/water/waterways.h"

namespace marventa {

// How a line of running water is weighted from its source down.
struct Taper {
    double longest;            // px: at most this far down it reaches its full width
    double floor;              // its share of that width at the source
    bool wholeCourse = false;  // widening over its whole length instead
    float grow = 0.0f;         // px more drawn for each px of width gained since the source
    double rise = 0.0;         // px over which the thread at the source grows out of nothing
};

// A river's widths drawn from a thread at its source to its full width some way down: the
// drained area grows its width only slowly near the top, and a line never narrows on its way
// down, so the eye reads which way it runs. The growth (up to two px of it) is drawn `grow` times
// over, so that a brook steps up plainly where another joins it. One that flows out of a lake
// (`fromLake`) keeps its width from the start. The pen's weight wavers a little along it. Over
// its first `rise` px the thread itself fades in from nothing, so the brook has no blunt start.
std::vector<float> taperedFromSource(const RiverLine& r, bool fromLake, const Taper& taper);

// A line's widths held over its last `reach` px to its own width there: it ends on the cell of
// the line it runs into, whose drained area is the other's, and would swell to that one's width
// beside it as a second channel.
std::vector<float> ownWidthToTheEnd(const RiverLine& r, double reach);

// How far into its funnel each point of a river reaching the sea lies: 0 upstream, 1 where it has
// opened to several times the width it had some way up, fading back to 0 just at the mouth, where
// the banks meet the coast.
std::vector<float> funnelShare(const std::vector<QPointF>& pts, const std::vector<float>& widths);

}  // namespace marventa
