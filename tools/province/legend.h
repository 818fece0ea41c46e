#pragma once

#include <QRectF>

class QPainter;

namespace marventa {

// The key to the province's symbols: a framed panel with each category's glyph and name, in
// two columns under a heading.
void drawLegend(QPainter& painter, const QRectF& panel);

}  // namespace marventa
