#pragma once

#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <vector>

#include "tools/common/labels.h"
#include "tools/paint/province_painter.h"

class QPainter;

namespace marventa {

// The sheet's furniture, stacked in the open sea of the south-west corner: the compass rose
// off the western shore, the title below it and the key (sized by its rows, provinceLegend())
// along the bottom edge, clear of the islands to the east.
inline constexpr QRectF kTitlePanel(24, 2098, 470, 250);
inline constexpr QRectF kRoseBox(40, 1876, 180, 210);

// The title, the rose and the key: what every name and mark keeps out of.
std::vector<QRectF> sheetFurniture();

struct PlacedName {
    QString text;
    TextStyle style;
    QPolygonF box;             // the ground the name covers, turned or bent with it
    QPainterPath glyphs;       // its letters' outlines on the sheet
    bool breaksWater = false;  // a range's, a wood's or a sea's: the water's lines stop short too
};

// Where every name goes on the province, worked out without painting.
struct NamePlan {
    std::vector<QRectF> symbols;  // the room each place's symbol takes
    std::vector<PlacedName> names;
    std::vector<QString> leftOut;  // names that found no clear spot
    // Names with water running through or round every spot they might take (a city between a
    // river and a brook), which may cross it.
    std::vector<QString> hemmedIn;
    // Land places' names with no spot by their symbol on dry land clear of running water (a
    // port between a river and the sea), which are set over the sea or a lake.
    std::vector<QString> offshore;
};

// Towns, villages and landmarks beside their symbols, then ranges, woods, lakes, rivers (set
// along a gentle stretch of their course) and seas; no name covers another, a symbol or the
// sheet's furniture, and none hides running water where any spot left keeps off it.
NamePlan planNames(const ProvinceScene& scene, QSize sheet);

// Each name inked straight onto the sheet (`sheet`, which `painter` draws on), the lines under
// and just round its letters broken off, the washes left.
void drawNames(QPainter& painter, const NamePlan& plan, const QImage& sheet);

}  // namespace marventa
