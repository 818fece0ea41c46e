#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/paint/lowland_marks.h"
#include "tools/paint/province_painter.h"

class QPainter;

namespace marventa {

enum class MoorMarkKind {
    Heather,   // a low cushion of heather, its tips in bloom
    Bristles,  // a short run of stiff upright strokes, the rough grass between
};

struct MoorMark {
    MoorMarkKind kind = MoorMarkKind::Heather;
    QPointF at;  // the mark's foot's middle
    double size = 1.0;
    std::uint64_t seed = 0;
};

// Whether a place's name says that it stands on a moor or a heath.
bool promisesMoor(std::string_view name);

// How far round such a place its moor reaches, by the place's rank.
double moorReach(PlaceKind kind);

// Whether `at` lies on the open heath of a place whose name promises a moor, within most of its
// reach: ground whose marks are the moor's own, not the lowland's swells.
bool onMoor(const ProvinceScene& scene, QPointF at);

// Heather and bristles in ragged patches round every place whose name promises a moor, thickest
// a little way out from it and thinning to its reach; none on water, in a wood or a marsh, none
// whose box touches `keepOut` (non-zero) or one of `swells`, and none crowding another.
std::vector<MoorMark> placeMoorMarks(const ProvinceScene& scene, const QImage& keepOut,
                                     const std::vector<LowlandMark>& swells);

// The box a mark's ink covers.
QRectF moorMarkBox(const MoorMark& mark);

void drawMoorMarks(QPainter& painter, const std::vector<MoorMark>& marks);

}  // namespace marventa
