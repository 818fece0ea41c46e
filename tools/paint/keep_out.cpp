#include "tools/paint/keep_out.h"

#include <QPainter>

#include "tools/common/path_smoothing.h"
#include "tools/paint/landmark_features.h"
#include "tools/paint/legend.h"

namespace marventa {

void markWays(QPainter& p, const ProvinceScene& s, float riverMargin, float brookMargin,
              double roadWidth) {
    for (const RiverLine& r : s.water.rivers) {
        strokeVarying(p, r.points, r.widths, Qt::white, riverMargin);
    }
    for (const RiverLine& b : s.water.brooks) {
        strokeVarying(p, b.points, b.widths, Qt::white, brookMargin);
    }
    p.setPen(QPen(Qt::white, roadWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const RoadLine& r : s.roads) {
        p.drawPath(linePath(r.points));
    }
}

bool clearOn(const QImage& keepOut, const QRect& box) {
    if (!keepOut.rect().contains(box)) {
        return false;
    }
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const uchar* row = keepOut.constScanLine(y);
        for (int x = box.left(); x <= box.right(); ++x) {
            if (row[x] != 0) {
                return false;
            }
        }
    }
    return true;
}

QImage openWaterMask(const Terrain& t, QSize sheet) {
    QImage mask(sheet, QImage::Format_Grayscale8);
    mask.fill(0);
    for (int y = 0; y < sheet.height(); ++y) {
        uchar* row = mask.scanLine(y);
        for (int x = 0; x < sheet.width(); ++x) {
            if (t.height(x, y) < 0.0f || t.lake(x, y) > 0) {
                row[x] = 255;
            }
        }
    }
    return mask;
}

void markNamesAndFurniture(QPainter& p, const NamePlan& names, bool symbols) {
    if (symbols) {
        for (const QRectF& r : names.symbols) {
            p.drawRect(r);
        }
    }
    for (const PlacedName& n : names.names) {
        p.drawPolygon(n.box);
    }
    for (const QRectF& r : sheetFurniture()) {
        p.drawRect(r);
    }
}

void markCraters(QPainter& p, const ProvinceScene& s) {
    for (const Crater& c : s.craters) {
        p.drawEllipse(c.centre, c.radius * 1.45, c.radius * 1.1);
    }
}

QImage reliefKeepOut(const ProvinceScene& s, const NamePlan& names, QSize sheet, bool symbols) {
    QImage mask = openWaterMask(s.terrain, sheet);
    QPainter p(&mask);
    markWays(p, s, 6.0f, 3.0f, 8.0);
    p.setPen(QPen(Qt::white, 4.0));
    p.setBrush(Qt::white);
    markNamesAndFurniture(p, names, symbols);
    markCraters(p, s);
    markLandmarkClearings(p, s);
    return mask;
}

}  // namespace marventa
