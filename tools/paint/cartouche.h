#pragma once

#include <QColor>
#include <QRectF>
#include <QSize>

class QPainter;

namespace marventa {

// A panel of the sheet's furniture (the title, the key): paper laid over the map inside a heavy
// outer rule and a fine inner one `inset` within it, both in a wavering pen, a small scroll
// turned into each inner corner.
void drawCartouche(QPainter& painter, const QRectF& panel, const QColor& ink, double inset);

// The sheet's border: a heavy outer rule and a fine inner one in the same wavering pen as the
// panels, with the same scrolls at its corners.
void drawBorder(QPainter& painter, QSize sheet, const QColor& ink);

}  // namespace marventa
