#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

namespace marventa {

// The hand-set shape of the province that the noise then roughens, in province pixels: the
// coast, the ranges, rivers, lakes and woods the catalogue's places were laid out on.
using Polyline = std::vector<QPointF>;

struct Ellipse {
    QPointF centre;
    double rx;
    double ry;

    // 0 at the centre, 1 on the outline.
    double reach(QPointF p) const {
        const double dx = (p.x() - centre.x()) / rx;
        const double dy = (p.y() - centre.y()) / ry;
        return dx * dx + dy * dy;
    }
};

struct Ridge {
    QString name;
    Polyline crest;
    double halfWidth;       // from the crest to where the rise fades out
    double height;          // of the highest peaks, 0 .. 1
    double jagged;          // 0 rounded fells .. 1 sharp crags
    bool volcanic = false;  // dark ash and cinder rather than grass and rock
    bool peaked = false;    // a zigzag crest of peaks and saddles rather than one long ridge
};

struct Upland {
    Ellipse shape;
    double height;
};

struct RiverCourse {
    QString name;
    Polyline course;  // source to mouth
    float sourceWidth;
    float mouthWidth;
    bool labelled;
};

struct Lake {
    QString name;
    Ellipse shape;
};

// A bulge of a wood's outline: `count` of them round it, each reaching `depth` of the radius
// out (and as far in between), turned by `turn` radians.
struct OutlineLobes {
    int count;
    double depth;
    double turn;
};

struct Wood {
    QString name;
    Ellipse shape;
    // Bulges and bays laid over the ellipse, of the same area, so the wood is no clean oval.
    std::vector<OutlineLobes> lobes = {};
    // The arc of the outline kept on the ellipse (radians round it as a stretched circle, y
    // down), where a road and the places beside it were laid along the wood's edge.
    double keptFrom = 0.0;
    double keptTo = 0.0;

    // As the ellipse's reach: below 1 inside the outline, 1 on it.
    double reach(QPointF p) const;
};

// A stretch of coast between two x positions with its own rise inland: short for cliffs, long
// for marsh.
struct ShoreStretch {
    double fromX;
    double toX;
    double rise;  // pixels from the waterline to full land height
};

struct AreaName {
    QString text;
    QPointF anchor;
    double angleDegrees;
    bool water;
};

struct ProvinceLayout {
    Polyline coast;  // sea lies to the left of it, walking from its first point
    std::vector<ShoreStretch> shores;
    std::vector<QPointF> heldShore;  // the coast stays on the layout's line here (ports)
    // Cities whose own maps show a lake's shore beside them: the water stops short of them.
    std::vector<QPointF> lakeTowns;
    std::vector<QRectF> openSea;  // the title, rose and key lie on this water: no islands
    std::vector<Ridge> ridges;
    std::vector<Upland> uplands;
    std::vector<RiverCourse> rivers;  // a river ending on another comes after it
    std::vector<Lake> lakes;
    std::vector<Wood> woods;
    std::vector<AreaName> seaNames;
    std::vector<QString> hillTowns;  // towns on a hill of their own rather than level ground
};

const ProvinceLayout& provinceLayout();

}  // namespace marventa
