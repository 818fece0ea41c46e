#pragma once

#include <QImage>
#include <QRectF>
#include <cstdint>
#include <vector>

#include "tools/common/grid.h"
#include "tools/paint/province_painter.h"

class QPainter;

namespace marventa {

enum class FieldMarkKind { Furrows, Hedge, Tuft };

// A small ink mark on the open lowland: a ploughed strip, a stretch of hedgerow, a tuft of
// pasture grass.
struct FieldMark {
    QPointF at;  // the mark's middle
    FieldMarkKind kind = FieldMarkKind::Tuft;
    double angle = 0.0;   // radians, the way a strip's furrows or a hedge runs
    double length = 0.0;  // pixels along that way
    std::uint64_t seed = 0;
};

// How much the ground round each 8 px cell is farmed, 0 .. 1: fullest beside the towns, cities
// and villages, fading out a few fields away from them.
Grid<float> farmedLand(const ProvinceScene& scene, QSize sheet);

// Marks on the open lowland and the rough pasture: fields and hedges in blocks where the land is
// farmed, tufts in small clumps on heather and a marsh's fringe. None on the heights, woods or
// open water, and none whose box touches `keepOut` (non-zero: water, roads, symbols, names,
// trees and the sheet's furniture).
std::vector<FieldMark> placeFieldMarks(const Terrain& terrain, const QImage& keepOut,
                                       const Grid<float>& farmed);

// The box a mark's ink covers.
QRectF fieldMarkBox(const FieldMark& mark);

void drawFieldMark(QPainter& painter, const FieldMark& mark);

}  // namespace marventa
