#include "city_buildings.h"

#include <QTransform>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/common/plane_geometry.h"

namespace marventa {

namespace {

constexpr double kDepth = 44.0;     // a hall reaches this far back from its doors
constexpr double kMargin = 16.0;    // frontage beyond the outermost doors
constexpr double kFrontOff = 26.0;  // doors further than this from a street face no street

QPointF unit(QPointF v) {
    return v / std::max(1e-9, length(v));
}
QPointF perpendicular(QPointF v) {
    return QPointF(-v.y(), v.x());
}

// A rectangle with one long side on the line through `front` along `along`, spanning
// [from, to] along it and `depth` toward `back`.
QPolygonF frontedBox(QPointF front, QPointF along, QPointF back, double from, double to,
                     double depth) {
    return QPolygonF({front + along * from, front + along * to, front + along * to + back * depth,
                      front + along * from + back * depth});
}

QPolygonF circle(QPointF centre, double r) {
    QPolygonF c;
    for (int i = 0; i < 32; ++i) {
        const double a = 2 * std::numbers::pi * i / 32;
        c << centre + r * QPointF(std::cos(a), std::sin(a));
    }
    return c;
}

QPointF centroid(const std::vector<MapPoint>& points) {
    QPointF c;
    for (const MapPoint& p : points) {
        c += QPointF(p.x, p.y);
    }
    return c / static_cast<double>(points.size());
}

bool contains(const QString& name, const char* word) {
    return name.contains(QLatin1String(word));
}

// The least crowded direction for `shapeAt(direction)`: square to the map if one of those four
// is clear (it sits better among the streets), else the best of sixteen.
template <class ShapeAt>
QPointF clearestDirection(const CityGround& ground, const std::vector<QPolygonF>& taken,
                          ShapeAt&& shapeAt) {
    QPointF best(0, 1);
    double bestScore = 1e9;
    const auto consider = [&](int i) {
        const double a = 2 * std::numbers::pi * i / 16;
        const QPointF dir(std::cos(a), std::sin(a));
        const double score = ground.crowding(shapeAt(dir), taken);
        if (score < bestScore - 1e-9) {
            bestScore = score;
            best = dir;
        }
    };
    for (int i = 0; i < 16; i += 4) {
        consider(i);
    }
    if (bestScore == 0.0) {
        return best;
    }
    for (int i = 0; i < 16; ++i) {
        consider(i);
    }
    return best;
}

Footprint gatehouse(const CityGround& ground, const CityBuilding& b) {
    const QPointF door = centroid(b.entrances);
    QPointF along;
    const QPointF onWall = ground.nearestWallPoint(door, &along);
    QPointF inward = perpendicular(along);
    if (!ground.insideWall(onWall + inward * 6.0)) {
        inward = -inward;
    }
    // The door lies on the gatehouse's inner face; the house reaches out across the wall.
    const double in = QPointF::dotProduct(door - onWall, inward);
    const QPointF front = onWall + inward * in;
    Footprint f{QString::fromStdString(b.name),
                b.number,
                BuildingShape::Gatehouse,
                frontedBox(front, along, -inward, -26.0, 26.0, std::max(26.0, in + 14.0)),
                {}};
    for (const MapPoint& p : b.entrances) {
        f.doors.push_back({QPointF(p.x, p.y), inward});
    }
    return f;
}

Footprint tower(const CityGround& ground, const CityBuilding& b,
                const std::vector<QPolygonF>& taken) {
    const QPointF door(b.entrances.front().x, b.entrances.front().y);
    const double r = contains(QString::fromStdString(b.name), "Lighthouse") ? 17.0 : 14.0;
    const QPointF dir =
        clearestDirection(ground, taken, [&](QPointF d) { return circle(door + d * r, r); });
    return {QString::fromStdString(b.name),
            b.number,
            BuildingShape::Tower,
            circle(door + dir * r, r),
            {{door, -dir}}};
}

// Whether the doors lie on one line (every door within a few pixels of the line through the
// two furthest apart).
bool inLine(const std::vector<QPointF>& doors) {
    if (doors.size() < 3) {
        return true;
    }
    std::size_t a = 0, b = 1;
    for (std::size_t i = 0; i < doors.size(); ++i) {
        for (std::size_t j = i + 1; j < doors.size(); ++j) {
            if (length(doors[i] - doors[j]) > length(doors[a] - doors[b])) {
                a = i;
                b = j;
            }
        }
    }
    return std::all_of(doors.begin(), doors.end(), [&](QPointF p) {
        return distanceToPolyline(p, {doors[a], doors[b]}) < 4.0;
    });
}

Footprint hallInLine(const CityGround& ground, const CityBuilding& b,
                     const std::vector<QPointF>& doors, const std::vector<QPolygonF>& taken) {
    const QPointF mid =
        std::accumulate(doors.begin(), doors.end(), QPointF()) / static_cast<double>(doors.size());
    QPointF along;
    QPointF back;
    if (ground.streetDistance(mid) < kFrontOff) {
        // The usual hall: fronting its street, reaching back away from it.
        const QPointF onStreet = ground.nearestStreetPoint(mid, &along);
        back = unit(mid - onStreet);
        along = perpendicular(back);
    } else if (doors.size() >= 2) {
        along = unit(doors.back() - doors.front());
        back = perpendicular(along);
        const auto box = [&](QPointF d) { return frontedBox(mid, along, d, -30.0, 30.0, kDepth); };
        if (ground.crowding(box(-back), taken) < ground.crowding(box(back), taken)) {
            back = -back;
        }
    } else {
        // A lone door away from the streets (a stair, a landing): judged on a small house, as
        // such places are often cramped between water and street.
        back = clearestDirection(ground, taken, [&](QPointF d) {
            return frontedBox(mid, perpendicular(d), d, -14.0, 14.0, kDepth * 0.5);
        });
        along = perpendicular(back);
    }
    double from = 0.0, to = 0.0;
    for (const QPointF& d : doors) {
        const double t = QPointF::dotProduct(d - mid, along);
        from = std::min(from, t);
        to = std::max(to, t);
    }
    // Full size if the ground allows; narrower and shallower where a neighbour already stands.
    QPolygonF body;
    for (const double shrink : {1.0, 0.85, 0.7, 0.55, 0.45}) {
        const double margin = (doors.size() == 1 ? 20.0 : kMargin) * std::max(0.6, shrink);
        body = frontedBox(mid, along, back, from - margin, to + margin, kDepth * shrink);
        const bool clear = ground.crowding(body, {}) == 0.0 &&
                           std::none_of(taken.begin(), taken.end(), [&](const QPolygonF& t) {
                               return t.intersected(body).boundingRect().width() > 0.5;
                           });
        if (clear) {
            break;
        }
    }
    Footprint f{QString::fromStdString(b.name), b.number, BuildingShape::Hall, body, {}};
    for (const QPointF& d : doors) {
        f.doors.push_back({d, -back});
    }
    return f;
}

// Doors round a great house: the box they span, with every side that holds only corner doors
// pushed out so that the house has body there.
Footprint hallAround(const CityBuilding& b, const std::vector<QPointF>& doors) {
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const QPointF& d : doors) {
        left = std::min(left, d.x());
        right = std::max(right, d.x());
        top = std::min(top, d.y());
        bottom = std::max(bottom, d.y());
    }
    double* sides[4] = {&top, &bottom, &left, &right};
    const double push[4] = {-kDepth, kDepth, -kDepth, kDepth};
    auto onSide = [&](QPointF d, int s) {
        return s < 2 ? std::fabs(d.y() - *sides[s]) < 1.0 : std::fabs(d.x() - *sides[s]) < 1.0;
    };
    bool moved[4] = {false, false, false, false};
    for (int s = 0; s < 4; ++s) {
        const bool free = std::all_of(doors.begin(), doors.end(), [&](QPointF d) {
            if (!onSide(d, s)) {
                return true;
            }
            for (int o = 0; o < 4; ++o) {
                if (o != s && !moved[o] && onSide(d, o)) {
                    return true;
                }
            }
            return false;
        });
        if (free) {
            moved[s] = true;
        }
    }
    for (int s = 0; s < 4; ++s) {
        if (moved[s]) {
            *sides[s] += push[s];
        }
    }
    Footprint f{QString::fromStdString(b.name),
                b.number,
                BuildingShape::Hall,
                QPolygonF(QRectF(QPointF(left, top), QPointF(right, bottom))),
                {}};
    const QPointF centre(0.5 * (left + right), 0.5 * (top + bottom));
    for (const QPointF& d : doors) {
        QPointF out(0, 0);
        if (std::fabs(d.x() - left) < 1.0) {
            out = QPointF(-1, 0);
        } else if (std::fabs(d.x() - right) < 1.0) {
            out = QPointF(1, 0);
        } else if (std::fabs(d.y() - top) < 1.0) {
            out = QPointF(0, -1);
        } else {
            out = QPointF(0, 1);
        }
        f.doors.push_back({d, out});
    }
    return f;
}

}  // namespace

std::vector<Footprint> planFootprints(const CityGround& ground,
                                      const std::vector<CityBuilding>& buildings) {
    std::vector<Footprint> out;
    std::vector<QPolygonF> taken;
    for (const CityBuilding& b : buildings) {
        const QString name = QString::fromStdString(b.name);
        std::vector<QPointF> doors;
        for (const MapPoint& p : b.entrances) {
            doors.emplace_back(p.x, p.y);
        }
        Footprint f;
        if (contains(name, "Gate") && ground.wallDistance(doors.front()) < 36.0) {
            f = gatehouse(ground, b);
        } else if (doors.size() == 1 && (contains(name, "Lighthouse") || contains(name, "Tower"))) {
            f = tower(ground, b, taken);
        } else if (inLine(doors)) {
            f = hallInLine(ground, b, doors, taken);
        } else {
            f = hallAround(b, doors);
        }
        taken.push_back(f.body);
        out.push_back(std::move(f));
    }
    return out;
}

}  // namespace marventa
