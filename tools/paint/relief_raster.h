#pragma once

#include <QImage>
#include <QSize>
#include <vector>

#include "tools/land/terrain.h"
#include "tools/paint/mountain_glyphs.h"

namespace marventa {

// The painted ground of the province, pixel by pixel: meadow laid in broad brush strokes and
// faintly shaded from the north-west, the heights' tan, wood floors, the sea and lakes with
// shallows, ripple lines along the shore and an inked coastline of slowly varying weight; every
// colour laid as a wash on a grained paper, drying darker where it meets the shore and the woods.
// Given the trees' `cover` (non-zero where they stand), the wood floor lies only near them, out to
// the wood's edge, and under a copse's trees alone. Given the `ranges` (non-zero where peaks
// are drawn), the heights' tan lies a little way round them; without, nowhere. Given `inkGaps`
// (non-zero where a mark stands on the shore), the coast's ink is left out there.
QImage paintRelief(const Terrain& terrain, const QImage* cover = nullptr,
                   const QImage* ranges = nullptr, const QImage* inkGaps = nullptr);

// Where the peaks (not the foothills' humps) stand, non-zero, on a sheet of `size`.
QImage rangeCover(const std::vector<Peak>& peaks, QSize size);

// Inlets narrower than twice this are sheltered water: a river's funnel, a creek.
constexpr float kInletHalfWidth = 36.0f;

// How far each pixel lies from the open water (water farther than `kInletHalfWidth` from any
// land), read as just past `kInletHalfWidth` on land and deep in a sheltered inlet alike.
Grid<float> distanceToOpenWater(const Terrain& terrain);

}  // namespace marventa
