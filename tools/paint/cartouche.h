#pragma once

#include <QColor>
#include <QRectF>
#include <QSize>

class QPainter;

namespace marventa {

// A panel of the sheet's furniture (the title, the key): paper laid over the map inside a heavy
// outer rule and a fine inner one `inset` within it, the band between them hatched, a diamond at
// each inner corner.
void drawCartouche(QPainter& painter, const QRectF& panel, const QColor& ink, double inset);

// The sheet's border: a heavy outer line, and within it a band of alternating ink and paper
// between two fine lines, as a graduated atlas border.
void drawBorder(QPainter& painter, QSize sheet, const QColor& ink);

}  // namespace marventa
