#pragma once

#include <QImage>
#include <QString>

#include "tools/city/buildings/town.h"
#include "tools/city/labels/city_names.h"

namespace marventa {

// Draws the town as a plan: fields and rises, water, roads, streets and blocks, the houses with
// their roofs, the named buildings, the wall, then the names and the title.
QImage paintCity(const plan::Town& town, const plan::NamePlan& names, const QString& title);

}  // namespace marventa
