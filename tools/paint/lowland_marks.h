#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <vector>

#include "tools/land/terrain.h"

class QPainter;

namespace marventa {

enum class LowlandMarkKind {
    Swell,  // a soft low hump on the top of a rise
    Fall,   // a pair of faint short strokes down its side
};

// A faint mark of the lowland's own lie: lighter, smaller and far sparser than the hachures of
// the hills, so that the plain reads as rolling rather than flat.
struct LowlandMark {
    LowlandMarkKind kind = LowlandMarkKind::Swell;
    QPointF at;       // a swell's foot's middle; a fall's strokes' upper ends' middle
    QPointF down;     // the way the ground falls, a unit vector (a fall's)
    double size = 0;  // a swell's width, a fall's stroke length
    std::uint64_t seed = 0;
};

// Marks on the lowland's rises, away from the heights (which the hachures draw): swells on the
// tops that stand above the country round them, falls on their steeper sides, each set down in
// a run of a few along the rise with wide country between the runs; none on a flat
// valley floor, in woods, marsh or water, none whose box touches `keepOut` (non-zero: water,
// roads, symbols, names, trees, fields and hachures), and none crowding another.
std::vector<LowlandMark> placeLowlandMarks(const Terrain& terrain, const QImage& keepOut);

// The box a mark's ink covers.
QRectF lowlandMarkBox(const LowlandMark& mark);

void drawLowlandMark(QPainter& painter, const LowlandMark& mark);

}  // namespace marventa
