#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QSizeF>
#include <vector>

#include "city_layout.h"

namespace marventa {

// What lies where on a city map: water, streets, the wall. Answers the questions that decide
// where a building may stand.
class CityGround {
  public:
    CityGround(const CityLayout& layout, QSizeF size);

    const CityLayout& layout() const { return layout_; }
    QSizeF size() const { return size_; }
    const QPolygonF& wall() const { return wall_; }

    bool inMap(QPointF p) const;
    bool isWater(QPointF p) const;
    bool insideWall(QPointF p) const { return wall_.containsPoint(p, Qt::OddEvenFill); }

    // Distance to the nearest street's centre line, and that street's direction there.
    double streetDistance(QPointF p) const;
    QPointF nearestStreetPoint(QPointF p, QPointF* direction = nullptr) const;

    // Distance to the wall line, and its nearest point and direction there.
    double wallDistance(QPointF p) const;
    QPointF nearestWallPoint(QPointF p, QPointF* direction = nullptr) const;

    // How badly a building would sit on `area`: water, streets, the map's edge and the wall
    // count against it; 0 is clear ground.
    double crowding(const QPolygonF& area, const std::vector<QPolygonF>& taken) const;

  private:
    const CityLayout& layout_;
    QSizeF size_;
    QPolygonF wall_;
    std::vector<QPolygonF> waters_;
};

}  // namespace marventa
