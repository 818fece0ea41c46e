#pragma once

#include <QPointF>
#include <QSize>
#include <vector>

namespace marventa {

// Points taken on a sheet, each keeping `room` pixels clear round it, found through cells of
// that size so that asking stays cheap however many are taken.
class SpacedPoints {
  public:
    SpacedPoints(QSize sheet, double room);

    // Whether `p` lies at least the room away from every point taken.
    bool roomAt(QPointF p) const;
    void take(QPointF p);

  private:
    std::size_t cellOf(int cx, int cy) const;

    double room_;
    int columns_;
    int rows_;
    std::vector<std::vector<QPointF>> cells_;
};

}  // namespace marventa
