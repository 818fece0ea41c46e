#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <utility>
#include <vector>

#include "tools/land/terrain.h"

class QPainter;

namespace marventa {

// A row of short ticks down a slope from its brow, as an engraver hachures steep ground.
struct HillMark {
    QPointF at;    // the middle of the strokes' upper ends
    QPointF down;  // the way the ground falls, a unit vector
    double length = 0;
    int strokes = 3;
    std::uint64_t seed = 0;
};

// Sparse marks on the steepest ground below the ranges' heights, where the ranges draw no
// glyphs: the steeper and the nearer the heights, the likelier and longer (so the range's foot
// fades into the lowland). Set in short runs along a slope's brow, more of them and closer set
// where the ground falls harder, with bare ground between the runs; none in woods, marsh or
// water, and none whose box touches `keepOut` (non-zero: water, roads, symbols, names, peaks,
// trees, fields).
std::vector<HillMark> placeHillMarks(const Terrain& terrain, const QImage& keepOut);

// The box a mark's ink covers.
QRectF hillMarkBox(const HillMark& mark);

void drawHillMark(QPainter& painter, const HillMark& mark);

// The slope of `ground` at a pixel, taken over `reach` pixels either side: uphill, per pixel.
QPointF slopeAt(const Grid<float>& ground, int x, int y, int reach);

// Short strokes down a slope, each from its top to its foot.
using SlopeStrokes = std::vector<std::pair<QPointF, QPointF>>;

// Each stroke `top` wide for the first `split` of its length, where the ground breaks, and
// `foot` wide below, thinning down the slope.
void drawSlopeStrokes(QPainter& painter, const SlopeStrokes& strokes, const QColor& ink, double top,
                      double foot, double split);

// The box the strokes' ink covers.
QRectF slopeStrokesBox(const SlopeStrokes& strokes);

}  // namespace marventa
