#pragma once

#include <QPointF>
#include <functional>
#include <vector>

namespace marventa {

// `line` with its corners drawn round into curves some tens of pixels across, as a surveyor
// lays a road, where every point of the curve stands on `clear` ground. Within a short way of
// one of `anchors` (a place's symbol, a road ending on this one) and at its ends the line keeps
// its course, easing back onto it.
std::vector<QPointF> roundCorners(const std::vector<QPointF>& line,
                                  const std::function<bool(QPointF)>& clear,
                                  const std::vector<QPointF>& anchors);

}  // namespace marventa
