#pragma once

#include <QPointF>
#include <functional>
#include <vector>

#include "tools/water/waterways.h"

namespace marventa {

// A place that the water was sited by, and how far round it a line's course may not change.
struct Settled {
    QPointF at;
    double room;
};

bool nearSettled(QPointF p, const std::vector<Settled>& settled);

// A brook that runs a long way close beside the line it feeds, as two channels cut side by side
// on a plain do, is turned into that line where it first came near, unless the bend would climb
// the `ground`, leave a brook that ran into its lower stretch ending on dry land, or move water
// near a `settled` place, which was sited by the water as it ran.
void joinWhereAlongside(std::vector<RiverLine>& brooks, const std::vector<RiverLine>& rivers,
                        const std::function<float(QPointF)>& ground,
                        const std::vector<Settled>& settled = {});

}  // namespace marventa
