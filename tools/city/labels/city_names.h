#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "tools/city/buildings/town.h"

namespace marventa::plan {

// Where a building's name is written: over or beside it, with a leader line to it when the
// name had to stand off.
struct NamePlacement {
    int building = -1;  // index into Town::named
    QRectF box;
    bool leader = false;
    QPointF leaderFrom;  // on the box's edge
    QPointF leaderTo;    // on the building
};

struct NamePlan {
    QRectF title;
    std::vector<NamePlacement> names;
};

// The name style's box for `text`.
QSizeF nameSize(const QString& text);
QSizeF titleSize(const QString& title);

// Finds a spot for the title and every name, clear of walls, of every other building and of one
// another. Where a building has no clear spot near it, the plain houses under the nearest spot
// give way to a garden, so every name finds room.
NamePlan placeNames(Town& town, const QString& title);

}  // namespace marventa::plan
