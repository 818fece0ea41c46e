#include "city_painter.h"

#include <QPainter>

#include "city_layers.h"

namespace marventa {

QImage paintCity(const CityGround& ground, const QString& title,
                 const std::vector<Footprint>& footprints) {
    const QSize size = ground.size().toSize();
    const TownFabric fabric = buildFabric(ground, footprints);

    QImage image = paintGround(ground, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawBanks(p, ground);
    drawStreets(p, ground, fabric);
    drawTrees(p, ground, fabric, footprints, size);
    p.end();
    drawHouses(image, fabric.houses);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawWall(p, ground, footprints);
    drawFootprints(p, footprints);

    // The title keeps clear of every building; names may lie over buildings but not over doors
    // or one another.
    LabelPlacer clear(QRectF(6, 6, size.width() - 12, size.height() - 12));
    for (const Footprint& f : footprints) {
        clear.reserve(f.body.boundingRect().adjusted(-2, -2, 2, 2));
    }
    LabelPlacer names(QRectF(6, 6, size.width() - 12, size.height() - 12));
    if (const auto box = drawTitle(p, title, size, ground.wall(), clear)) {
        names.reserve(*box);
    }
    for (const QPolygonF& square : fabric.squares) {
        names.reserve(QRectF(square.boundingRect().center() - QPointF(9, 9), QSizeF(18, 18)));
    }
    drawBuildingNames(p, footprints, names);
    drawStreetNames(p, ground, names);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kCityInk, 3.0));
    p.drawRect(QRectF(1.5, 1.5, size.width() - 3, size.height() - 3));
    p.end();
    return image;
}

}  // namespace marventa
