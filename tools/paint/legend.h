#pragma once

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

#include "tools/common/world_places.h"
#include "tools/roads/roads.h"

class QPainter;

namespace marventa {

// How the map draws its lines and cover, so the key shows them exactly as the map does.
struct MapMarks {
    std::function<void(QPainter&, const std::vector<QPointF>&, RoadClass)> road;
    std::function<void(QPainter&, const std::vector<QPointF>&, float width)> river;
    std::function<void(QPainter&, const std::vector<QPointF>&, float width)> brook;
    std::function<void(QPainter&, QPointF, bool conifer)> tree;
    std::function<void(QPainter&, QPointF)> reeds;
};

// Where the key's parts go: the framed panel, the frame's inner line, the heading, and per row
// the middle of its sample and where its name's baseline starts.
struct LegendLayout {
    QRectF panel;
    QRectF inner;
    QPointF heading;
    QFont font;  // the rows' names
    struct Row {
        QString text;
        QPointF sample;
        QPointF origin;
    };
    std::vector<Row> rows;
};

// A key for `names` (one row each, in order) whose panel's bottom-left corner is `corner`: the
// rows fill up to `columns` columns top to bottom, each column as wide as its longest name, and
// the panel grows upwards and rightwards to hold them all, `rowHeight` for each row.
LegendLayout layoutLegend(const std::vector<QString>& names, QPointF corner, int columns,
                          double rowHeight = 26.5);

// How much larger than on the map the key draws the places' marks: a pictogram of 10 to 13 px
// among the key's lettering would read smaller than it does among the map's ground.
inline constexpr double kKeySymbolScale = 1.45;

// The province's key, at its place out at sea in the south-west.
LegendLayout provinceLegend();

// The categories whose symbols head the province's key, in the order of its first rows.
std::vector<PlaceKind> keySymbols();

// Draws the province's key: the capital's mark, each category's glyph and name, then the
// relief, roads, water, bridges, woods and the lesser ground marks, under a heading.
void drawLegend(QPainter& painter, const MapMarks& marks);

}  // namespace marventa
