#pragma once

#include <QFont>
#include <QProxyStyle>
#include <QRect>
#include <QString>

class QPainter;

namespace marventa {

// Text on a scaled desktop. The window's face has bitmaps for one size only: on a device whose
// pixel ratio is not 1 its glyphs would come out at their device size (small, at logical
// spacing). There each line keeps the layout measured in that face, in logical pixels, and each
// glyph is drawn in a scalable face, centred in the cell the designed glyph takes. The choice is
// made for every paint from the device painted on, so a window moved to a screen of another
// ratio, or whose screen changes its scale, is drawn right without being told.

// Whether text in `font` must be drawn through a scalable face at this device pixel ratio.
bool needsScalableFace(const QFont& font, qreal devicePixelRatio);

// The same for text drawn by this painter, on its device.
bool needsScalableFace(const QFont& font, const QPainter& painter);

// The same as `painter.drawText(rect, flags, text)` in the painter's font, with the glyphs drawn
// in its scalable face.
void drawInDesignedLayout(QPainter& painter, const QRect& rect, int flags, const QString& text);

// The window's style: Fusion, whose item texts (radio buttons, tabs, group captions, labels,
// list rows) follow the rule above.
class TextStyle : public QProxyStyle {
  public:
    TextStyle();

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override;
};

}  // namespace marventa
