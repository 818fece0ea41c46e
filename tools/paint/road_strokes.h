#pragma once

#include <QPointF>
#include <vector>

namespace marventa {

// A line as a hand lays it down: not one even sweep but a run of strokes, each a little
// straighter than the curve it follows, the turning gathered where one stroke meets the next.
struct StrokedLine {
    std::vector<QPointF> points;
    std::vector<float> press;  // the pen's weight at each point, about 1: heavier as a stroke sets
                               // off, easing as it runs out
};

// `line` in strokes a few tens of pixels long, none of its points moved more than `reach` px.
// The strokes' joints fall where the line crosses fixed marks of the sheet, so that two lines
// over one stretch are stroked alike there.
StrokedLine inStrokes(const std::vector<QPointF>& line, double reach);

}  // namespace marventa
