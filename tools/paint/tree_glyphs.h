#pragma once

#include <QImage>
#include <QRectF>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/paint/map_names.h"
#include "tools/paint/province_painter.h"

class QPainter;

namespace marventa {

// Broadleaves: a rounded crown, a crown of a few deep lobes, a tall oval, a broad spreading crown
// high on its trunk, a crown heavy on one side, a wind-shorn crown with a flat top, a low bush.
// Conifers: a spire of tiers, a slim spike, a flat-topped pine on a bare stem.
enum class TreeShape {
    Broadleaf,
    Lobed,
    Tall,
    Spreading,
    Conifer,
    Spike,
    Pine,
    Lopsided,
    FlatTop,
    Bush
};
inline constexpr int kTreeShapes = 10;

inline bool isConifer(TreeShape s) {
    return s == TreeShape::Conifer || s == TreeShape::Spike || s == TreeShape::Pine;
}

// One tree drawn side on, standing on `at` (the foot of its trunk).
struct Tree {
    QPointF at;
    TreeShape shape = TreeShape::Broadleaf;
    double size = 1.0;  // 1 is an average tree
    double lean = 0.0;  // the crown's sideways drift, in its own widths
    int shade = 0;      // a small change of green, -12 .. 12
    std::uint64_t seed = 0;
    double stem = 1.0;    // the trunk's length against its kind's, longer where it shows
    double ink = 1.0;     // the pen's weight against the usual
    int footStrokes = 0;  // short strokes of ground drawn at its foot on the shaded side
};

// The box a tree's crown and trunk cover.
QRectF treeBox(const Tree& tree);

// A stream's value on the trees' keep-out mask, apart from every other thing's.
inline constexpr int kStreamMark = 200;

// The stream pixel on a trees' keep-out mask nearest `at`, within `reach` pixels, if any.
std::optional<QPointF> nearestStream(const QImage& keepOut, QPointF at, int reach);

// Where trees may not stand (non-zero): open water, rivers, brooks and roads with a margin,
// a clearing round every place, every name and the sheet's furniture.
QImage treeKeepOut(const ProvinceScene& scene, const NamePlan& names, QSize sheet);

// Trees wherever the woods cover the ground, fullest just inside each wood's edge, its body
// thinner with glades, thinning outside into copses, small clumps and a few single trees; old
// trees with broad crowns standing together in a wood's heart, younger ones towards its rim;
// broadleaves of many builds on low ground,
// conifers higher up and on the moors. None whose box touches `keepOut`. Farthest first (highest on
// the sheet), so that nearer crowns overlap farther ones.
std::vector<Tree> plantTrees(const Terrain& terrain, const QImage& keepOut);

// The wood cover at which a wood's floor and its drawn edge begin.
inline constexpr float kWoodEdgeCover = 0.54f;

// How far each pixel lies inside a wood's edge, in pixels; 0 outside. A strip of thinner cover
// only a few crowns wide counts as wood.
Grid<float> intoWoods(const Terrain& terrain);

// The size in pixels of the wood (the connected ground with `into` > 0) each pixel lies in; 0
// outside the woods.
Grid<int> woodAreas(const Grid<float>& into);

// The smallest wood whose edge is inked; smaller copses stand without an outline.
inline constexpr int kWoodEdgeArea = 4500;

// The wood's edge inked as a gently scalloped line (the outer arcs of a chain of small crowns) by
// a pen that lifts off it for stretches and presses harder between, broken too where water, a
// way, a place or a name crosses it (`keepOut`), on a transparent sheet.
// Given the trees' `cover`, only where trees stand behind it.
QImage woodEdgeLayer(const Terrain& terrain, const QImage& keepOut, const QImage* cover = nullptr);

// Where the trees stand, a little beyond their crowns (non-zero), on a sheet of `size`: the wood
// floor's wash and the edge's ink lie there alone, never round ground the trees left bare.
QImage treeCover(const std::vector<Tree>& trees, QSize size);

// Ink outline over a wash, darker on the side away from the north-western light, the pen heavier
// there and lifting on some crowns' lit tops; on some, a few strokes of ground at the foot, where
// a pen draws the shade a tree throws.
void drawTree(QPainter& painter, const Tree& tree);

}  // namespace marventa
