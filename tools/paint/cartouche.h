#pragma once

#include <QColor>
#include <QRectF>
#include <QSize>
#include <QSizeF>

class QPainter;

namespace marventa {

// A panel of the sheet's furniture (the title, the key): paper laid over the map inside a heavy
// outer rule and a fine inner one `inset` within it, both in a wavering pen, a small scroll
// turned into each inner corner.
void drawCartouche(QPainter& painter, const QRectF& panel, const QColor& ink, double inset);

// The title's panel as an unrolled scroll: a sheet framed as the panels are, held between a roll
// across its top and one across its bottom, each showing its curled ends, all inside `panel`.
void drawTitleScroll(QPainter& painter, const QRectF& panel, const QColor& ink);

// A ribbon for a title `width` by `height` round `centre`: its band bowed a little, its ends
// folded back behind it into swallow-tailed tails that reach `tail` beyond the band.
void drawBanner(QPainter& painter, QPointF centre, QSizeF size, double tail, const QColor& ink);

// A short strap of the panels' paper from `top` to `bottom`, by which one panel hangs from
// another.
void drawStrap(QPainter& painter, QPointF top, QPointF bottom, const QColor& ink);

// The sheet's border: a heavy outer rule and a fine inner one in the same wavering pen as the
// panels, with the same scrolls at its corners.
void drawBorder(QPainter& painter, QSize sheet, const QColor& ink);

}  // namespace marventa
