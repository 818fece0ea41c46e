#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;
class QPainterPath;

namespace marventa {

// The province is lettered in an old-style book face (its small sizes in the cut made for them),
// the city plans in a narrow sans under a plain bold title.
enum class TypeFace { Serif, SerifItalic, SerifBold, Sans, SansBold, PlanTitle };

// A font loaded from a fixed file (not whatever the system would substitute), so that the
// pictures come out the same on every machine with the same packages.
QFont mapFont(TypeFace face, double pixelSize, double letterSpacing = 0.0);

struct TextStyle {
    QFont font;
    QColor ink;
    QColor halo;
    double haloWidth;
};

// The rectangle the text would cover with its baseline starting at `origin`.
QRectF textBounds(const QString& text, const QFont& font, QPointF origin);

// Text filled over a soft outline of the halo colour.
void drawHaloText(QPainter& painter, const QString& text, QPointF origin, const TextStyle& style);

// Letters already set on the sheet, drawn the same way.
void drawHaloPath(QPainter& painter, const QPainterPath& glyphs, const TextStyle& style);

// The same, centred on `centre`.
void drawHaloTextCentred(QPainter& painter, const QString& text, QPointF centre,
                         const TextStyle& style);

// A parchment panel for a title or a key: a rounded box in `ink` with a thin inner frame
// `inset` pixels inside it.
void drawPanel(QPainter& painter, const QRectF& panel, const QColor& ink, double radius,
               double inset);

// The angle in degrees that writes text along `direction` without turning it upside down.
double uprightAngle(QPointF direction);

}  // namespace marventa
