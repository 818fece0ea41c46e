#pragma once

#include <QPointF>
#include <functional>
#include <vector>

#include "tools/water/waterways.h"

namespace marventa {

// A place that the water was sited by, and how near it the water must stay.
struct Settled {
    QPointF at;
    double room;
    // Beyond the room, how far round it only the first bend that keeps clear of every room may
    // change a course: a way was laid round the water there.
    double laidRound = 0.0;
};

// A brook that runs a long way close beside the line it feeds, or a short way hard by it, as two
// channels cut side by side on a plain do, is turned into that line where it first came near,
// unless the bend would climb the `ground`, leave a brook that ran into its lower stretch ending on
// dry land, leave a `settled` place (sited by the water as it ran) with no water within its room,
// or bring water to one that had none. Where the early bend would, the brook joins further down,
// past the place.
void joinWhereAlongside(std::vector<RiverLine>& brooks, const std::vector<RiverLine>& rivers,
                        const std::function<float(QPointF)>& ground,
                        const std::vector<Settled>& settled = {});

}  // namespace marventa
