#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <vector>

#include "tools/paint/named_ground.h"

class QPainter;

namespace marventa {

enum class GroundMarkKind {
    Stipple,  // a few dots of sand
    Dune,     // a low dune's crest with its lee shaded, a tuft of marram on it now and then
    Reeds,    // a stand of reeds, their heads dark, by the water
    Rock,     // a loose rock lying on the fell
    Brow,     // a broken stroke along a fell's brow
};

struct GroundMark {
    GroundMarkKind kind = GroundMarkKind::Stipple;
    QPointF at;  // the mark's foot's middle
    double size = 1.0;
    std::uint64_t seed = 0;
};

// The marks of every stretch the names promise beyond the moors (whose heather is their own):
// stippled sand and dunes along a beach, reeds on the banks by a reedy place, loose rocks and
// broken brows over the fells; in patches, none on water, none whose box touches `keepOut`
// (non-zero) and none crowding another.
std::vector<GroundMark> placeGroundMarks(const ProvinceScene& scene, const QImage& keepOut);

// The box a mark's ink covers.
QRectF groundMarkBox(const GroundMark& mark);

void drawGroundMarks(QPainter& painter, const std::vector<GroundMark>& marks);

}  // namespace marventa
