#pragma once

#include <QPointF>
#include <vector>

class QPainter;

namespace marventa {

// A river as a hand draws it: two inked banks, each wandering on its own, the width swelling and
// narrowing along the course, and the water between a wash that lies darker along its deep bank
// (the outside of a bend, or the one in shadow) and lighter over the middle. Where a broad river
// runs slow it braids round bars of gravel; in a funnel to the sea (`toSea`) the banks open wider,
// each in its own bights and sweeps, heavier toward the mouth, where they run on into the coast's
// line, with stippled shoals lying with the flow between them.
void drawRiver(QPainter& p, const std::vector<QPointF>& course, const std::vector<float>& widths,
               bool toSea = false);

}  // namespace marventa
