#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <vector>

// Areas of a town plan as Boost.Geometry polygons: blocks, lots, footprints, water and the
// town's ground are cut from one another with its set operations and buffers.
namespace marventa::plan {

namespace bg = boost::geometry;
using Pt = bg::model::d2::point_xy<double>;
using Poly = bg::model::polygon<Pt>;
using Area = bg::model::multi_polygon<Poly>;
using Line = bg::model::linestring<Pt>;

Poly toPoly(const std::vector<QPointF>& ring);
Poly toPoly(const QPolygonF& ring);
Area toArea(const std::vector<QPointF>& ring);
// The ground a closed ring encloses, whether or not its outline crosses itself.
Area filledArea(const std::vector<QPointF>& ring);
QPolygonF outer(const Poly& p);
std::vector<QPolygonF> outers(const Area& a);
Line toLine(const std::vector<QPointF>& pts);
// For drawing: every ring, holes left open.
QPainterPath pathOf(const Area& a);

Area unite(const Area& a, const Area& b);
Area intersect(const Area& a, const Area& b);
Area subtract(const Area& a, const Area& b);
// Grown by `d` (shrunk when negative), corners kept sharp.
Area grow(const Area& a, double d);
// The band of half-width `halfWidth` round a polyline, its ends rounded.
Area band(const std::vector<QPointF>& line, double halfWidth);

double areaOf(const Area& a);
double areaOf(const Poly& p);
bool contains(const Area& a, QPointF p);
double distanceTo(const Area& a, QPointF p);
// The largest piece, or an empty polygon.
Poly largest(const Area& a);
QPointF centroidOf(const Poly& p);

}  // namespace marventa::plan
