#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <vector>

// Areas of a town plan: blocks, lots, footprints, water and the town's ground, cut from one
// another. Held as Boost.Geometry polygons (outer rings one way round, holes the other, each
// ring closed); the cuts are made exactly, on a grid of 1/256 px, so that a plan comes out the
// same to the last bit wherever it is made.
namespace marventa::plan {

namespace bg = boost::geometry;
using Pt = bg::model::d2::point_xy<double>;
using Poly = bg::model::polygon<Pt>;
using Area = bg::model::multi_polygon<Poly>;

Poly toPoly(const std::vector<QPointF>& ring);
Poly toPoly(const QPolygonF& ring);
Area toArea(const std::vector<QPointF>& ring);
// The ground a closed ring encloses, whether or not its outline crosses itself.
Area filledArea(const std::vector<QPointF>& ring);
QPolygonF outer(const Poly& p);
std::vector<QPolygonF> outers(const Area& a);
// For drawing: every ring, holes left open.
QPainterPath pathOf(const Area& a);

Area unite(const Area& a, const Area& b);
Area intersect(const Area& a, const Area& b);
Area subtract(const Area& a, const Area& b);
// Grown by `d` (shrunk when negative), corners kept sharp.
Area grow(const Area& a, double d);
// The band of half-width `halfWidth` round a polyline, its ends rounded.
Area band(const std::vector<QPointF>& line, double halfWidth);
// The runs of a polyline that lie in the area, in the polyline's order.
std::vector<std::vector<QPointF>> clip(const std::vector<QPointF>& line, const Area& a);

double areaOf(const Area& a);
double areaOf(const Poly& p);
bool contains(const Area& a, QPointF p);
double distanceTo(const Area& a, QPointF p);
QRectF boundsOf(const Area& a);
// Whether the two share more than `minArea` of ground.
bool overlaps(const Area& a, const Area& b, double minArea);
// The largest piece, or an empty polygon.
Poly largest(const Area& a);
QPointF centroidOf(const Poly& p);

}  // namespace marventa::plan
