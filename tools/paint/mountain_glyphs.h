#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <cstdint>
#include <vector>

#include "tools/land/province_layout.h"
#include "tools/land/terrain.h"

class QPainter;

namespace marventa {

// A mountain or hill drawn side on: its base line on the ground, its summit above it.
struct Peak {
    QPointF foot;  // the middle of its base line
    double width = 0;
    double height = 0;
    bool hill = false;  // a low rounded hump of the foothills rather than a peak
    bool snow = false;  // capped with snow
    bool ash = false;   // on the volcanic range: dark cinder
    std::uint64_t seed = 0;
    QColor ground;      // the wash it stands on, which its lit flank takes
    bool held = false;  // asked for by a landmark: stands even without neighbours
    // How much of the outline, in pixels from each foot, is left uninked where the flank runs
    // down in front of a peak behind it, so that the two meet in a saddle of one ridge.
    double leftLift = 0;
    double rightLift = 0;
    bool tor = false;  // on the volcanic range: a low pile of blocky outcrops, not a peak
};

// The silhouette a peak covers, its base line along the bottom.
QPolygonF peakOutline(const Peak& peak);

// Each range drawn as a ridge: its largest peaks overlapping along the crest, smaller and
// sparser down the flanks, then scattered hills thinning to nothing at the heights' edge and
// toward the range's ends; rounded fells as humps in groups with paper between them. None whose
// outline touches a non-zero pixel of `keepOut` (water, roads, names) or stands in a wood, nor
// over a symbol's room in `symbols`: a crest summit there moves along the crest beside it or
// stands a size smaller, leaving the symbol in a saddle. Farthest first (highest on the sheet), so
// that drawing them in order lets nearer peaks overlap farther ones.
// `held` are peaks a landmark asks for, placed before all others where they keep clear.
std::vector<Peak> placePeaks(const Terrain& terrain, const std::vector<Ridge>& ridges,
                             const QImage& keepOut, const std::vector<QRectF>& symbols = {},
                             const std::vector<Peak>& held = {});

// For `peaks` in drawing order, farthest first: where a peak's flank runs down in front of one
// drawn before it, the ink of that leg stops a little below where the flanks meet.
void joinAlongRidges(std::vector<Peak>& peaks);

// Ink outline, lifted off short of the ground; the flank away from the north-western light
// washed and hatched; a snow cap left bare of wash under the outline, down to a ragged edge with
// no line round it, the hatching running up into it.
void drawPeak(QPainter& painter, const Peak& peak);

// The peaks' pen, for other rock drawn in their hand: an ink line that swells and wanders a
// little, its ends lifted off; a single stroke pressed at its start and lifted toward its end,
// `lift` its end's share of `nib`. Both in the relief's ink, the stroke with the painter's brush.
void inkReliefLine(QPainter& painter, const QPolygonF& line, double pen, std::uint64_t seed);
void inkTaperedStroke(QPainter& painter, const QLineF& stroke, double nib, double lift);

// The strokes that hatch a peak's shaded flank, each from its top end down (none for a hill).
std::vector<QLineF> peakShadeStrokes(const Peak& peak);

}  // namespace marventa
