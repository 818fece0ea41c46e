#pragma once

#include <QPointF>
#include <vector>

class QColor;
class QPainter;

namespace marventa {

// How a hand's pen runs along a line that the geometry gives as a perfect curve.
struct HandPen {
    double drift = 0.0;      // px, the most the ink strays from the line, slowly over tens of px
    double pressure = 0.0;   // the share by which the pen's weight swells and thins along it
    double liftEvery = 0.0;  // px between the pen's lifts on average; 0 for an unbroken line
    double dash = 0.0;       // px of each inked dash of a broken line; 0 for a drawn-through one
    double gap = 0.0;        // px of open paper between dashes
    double liftWidth = 1e9;  // px: the pen lifts only where the line is thinner, not across water
    double bend = 0.0;       // the share by which the line swells on the outside of a 20 px bend
};

// A stretch of ink between two lifts of the pen, a point every two pixels or so.
struct InkRun {
    std::vector<QPointF> points;
    std::vector<float> widths;
};

// Where the hand set the ink at `at`: at most `reach` px off, the same for every line through
// the same place, so that roads sharing a stretch stay one line.
QPointF handShift(QPointF at, double reach);

// `line` (with a width at each point) as `pen` draws it: drifting, swelling and thinning, broken
// where the pen lifts. Everything follows from the line's own points, so it draws the same each
// time; the gaps are measured in the open paper they leave between round-capped ends.
std::vector<InkRun> handDrawn(const std::vector<QPointF>& line, const std::vector<float>& widths,
                              const HandPen& pen);

// `line` stopped `atStart` and `atEnd` px short of its ends (0 leaves an end where it is): a pen
// lifted just before the line it runs into. A line shorter than both together is left whole.
std::vector<QPointF> stoppedShort(const std::vector<QPointF>& line, double atStart, double atEnd);

// Inks a line of `widths` along `pts` as one shape with round ends: stroked a piece at a time,
// the pieces' overlapping soft edges would bead a thin line.
void inkLine(QPainter& p, const std::vector<QPointF>& pts, const std::vector<float>& widths,
             const QColor& colour);

}  // namespace marventa
