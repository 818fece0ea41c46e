#pragma once

#include <QImage>

#include "tools/paint/map_names.h"
#include "tools/paint/province_painter.h"

namespace marventa {

// Rivers, brooks and roads in white on a mask, each widened by its margin: what drawn cover
// keeps off.
void markWays(QPainter& painter, const ProvinceScene& scene, float riverMargin, float brookMargin,
              double roadWidth);

// Whether `box` lies on the sheet and nowhere on `keepOut` (non-zero where nothing may go).
bool clearOn(const QImage& keepOut, const QRect& box);

// Sea and lakes (any cover) in white.
QImage openWaterMask(const Terrain& terrain, QSize sheet);

// Every symbol's room (unless `symbols` is false), every name's box, the title, the compass rose
// and the key, drawn with the painter's pen and brush.
void markNamesAndFurniture(QPainter& painter, const NamePlan& names, bool symbols = true);

// Every crater's bowl and rim, a little wider than drawn, with the painter's pen and brush.
void markCraters(QPainter& painter, const ProvinceScene& scene);

// What drawn relief keeps off, as a mask of the sheet (non-zero where it may not go): open
// water, rivers and brooks with their banks, roads with their casing, every name and the
// sheet's furniture, and every symbol's room unless `symbols` is false (the peaks take those
// separately, to clear round them).
QImage reliefKeepOut(const ProvinceScene& scene, const NamePlan& names, QSize sheet,
                     bool symbols = true);

}  // namespace marventa
