#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include "tools/city/buildings/town.h"
#include "tools/city/labels/city_names.h"

namespace marventa {

// Every door of a named building is marked with a leaf of this colour, this wide along the
// building's edge and this deep across it.
inline const QColor kDoor(236, 176, 48);
inline constexpr double kDoorWidth = 8.0;
inline constexpr double kDoorDepth = 6.0;

// Draws the town as a plan: fields and rises, water, roads, streets and blocks, the houses with
// their roofs, the named buildings, the wall, then the names, the doors and the title.
QImage paintCity(const plan::Town& town, const plan::NamePlan& names, const QString& title);

}  // namespace marventa
