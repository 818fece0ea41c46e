#pragma once

#include <QPointF>
#include <QRect>
#include <string_view>
#include <vector>

#include "tools/paint/province_painter.h"

class QImage;

namespace marventa {

// What a name promises of the ground round it, beyond the moor's heather: upland fells, a
// volcano's ash, sand along the shore, reeds by the water.
enum class GroundKind { Moor, Fell, Ash, Sand, Reed };

// Whether a place's name says its ground is sand (a beach, dunes, marram grass) or reeds.
bool promisesSand(std::string_view name);
bool promisesReeds(std::string_view name);

// A stretch of ground of one kind: round a place, or along a range's crest.
struct NamedGround {
    GroundKind kind = GroundKind::Moor;
    std::vector<QPointF> core;  // a place's point, a crest's line or a strip of shore's points
    bool line = false;          // whether `core` is a line rather than separate points
    double reach = 0;           // how far from the core the ground reaches
};

// Every stretch the map's names promise: the moors, sands and reed beds round the places
// named for them, and the fells and the ash along the ranges named or made so.
std::vector<NamedGround> namedGrounds(const ProvinceScene& scene);

// How far inside `ground`'s wandering edge the pixel at (x, y) lies, as a share of its reach
// (below 0 outside it, and on water).
float insideBy(const ProvinceScene& scene, const NamedGround& ground, int x, int y);

// How much of `ground`'s own wash a pixel at (x, y) takes, in [0, 1]: full inside its edge,
// none past it or on water.
float groundShare(const ProvinceScene& scene, const NamedGround& ground, int x, int y);

// The box `ground` may cover on the sheet.
QRect groundBox(const NamedGround& ground, QSize sheet);

// Each stretch's own tone laid over the ground's wash: a brown with purple in it over a moor,
// a brown-grey over the fells, grey ash under the volcano, pale sand along a beach; the tooth
// and strokes of the wash under it still showing.
void washNamedGround(QImage& sheet, const ProvinceScene& scene);

}  // namespace marventa
