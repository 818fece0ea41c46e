#pragma once

#include <QPainterPath>
#include <QPointF>
#include <vector>

namespace marventa {

// Corner cutting (Chaikin): rounds a lattice staircase into a flowing line, keeping both ends.
// `widths`, when not empty, holds one value per point and is carried along.
void cutCorners(std::vector<QPointF>& points, std::vector<float>& widths, int rounds);

// Replaces each bend of a polyline by a quadratic arc starting at most `maxCut` pixels before the
// bend, so the line stays within a few pixels of its bends; returns points about `step` apart.
std::vector<QPointF> roundBends(const std::vector<QPointF>& line, double maxCut, double step);

// An open path through the points, for stroking.
QPainterPath linePath(const std::vector<QPointF>& points);

}  // namespace marventa
