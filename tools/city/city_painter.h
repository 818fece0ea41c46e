#pragma once

#include <QImage>
#include <vector>

#include "city_buildings.h"
#include "city_ground.h"

namespace marventa {

// A city map: fields and roads outside the wall, the wall with its towers and gates, water with
// quays and bridges, paved streets and squares, rows of houses, and every building of the city's
// table drawn as a footprint with its doors exactly at the table's points and its name written by.
QImage paintCity(const CityGround& ground, const QString& title,
                 const std::vector<Footprint>& footprints);

}  // namespace marventa
