#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <optional>
#include <vector>

#include "city_buildings.h"
#include "city_fillers.h"
#include "city_ground.h"
#include "tools/common/label_placer.h"

namespace marventa {

// The layers of a city map, in the order paintCity lays them down.

inline const QColor kCityInk(52, 38, 28);
inline const QColor kCityHalo(255, 250, 238, 230);

// Ground and water (city_ground_layer.cpp): fields outside the wall, quarters inside, water with
// its banks and quays, marsh, trees.
QImage paintGround(const CityGround& ground, QSize size);
void drawBanks(QPainter& p, const CityGround& ground);
void drawTrees(QPainter& p, const CityGround& ground, const TownFabric& fabric,
               const std::vector<Footprint>& footprints, QSize size);

// Streets and buildings (city_built_layer.cpp).
void drawStreets(QPainter& p, const CityGround& ground, const TownFabric& fabric);
void drawHouses(QImage& image, const std::vector<QPolygonF>& houses);
void drawWall(QPainter& p, const CityGround& ground, const std::vector<Footprint>& footprints);
void drawFootprints(QPainter& p, const std::vector<Footprint>& footprints);

// Labels (city_label_layer.cpp): the title in a corner, building names, street names.
std::optional<QRectF> drawTitle(QPainter& p, const QString& title, QSize size,
                                const QPolygonF& wall, LabelPlacer& placer);
void drawBuildingNames(QPainter& p, const std::vector<Footprint>& footprints, LabelPlacer& placer);
void drawStreetNames(QPainter& p, const CityGround& ground, LabelPlacer& placer);

}  // namespace marventa
