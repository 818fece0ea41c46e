#include "city_fillers.h"

#include <algorithm>
#include <cmath>

#include "tools/common/plane_geometry.h"
#include "tools/common/rng.h"

namespace marventa {

namespace {

constexpr double kDoorClear = 14.0;  // houses keep off the named buildings' doors by this much

QPointF unit(QPointF v) {
    return v / std::max(1e-9, length(v));
}

QPolygonF grown(const QPolygonF& p, double by) {
    const QPointF c = p.boundingRect().center();
    QPolygonF out;
    for (const QPointF& v : p) {
        out << v + unit(v - c) * by;
    }
    return out;
}

class Plot {
  public:
    Plot(const CityGround& ground, const std::vector<Footprint>& footprints) : ground_(ground) {
        for (const Footprint& f : footprints) {
            blocked_.push_back(grown(f.body, 5.0));
            for (const Door& d : f.doors) {
                doors_.push_back(d.at);
            }
        }
    }

    // Whether a house may stand on `house`: inside the wall, on dry ground, off the streets, clear
    // of the named buildings, their doors and the houses already built.
    bool fits(const QPolygonF& house) const {
        for (const QPointF& v : house) {
            if (!ground_.insideWall(v) || ground_.wallDistance(v) < 8.0) {
                return false;
            }
        }
        const QPointF c = house.boundingRect().center();
        for (const QPointF& d : doors_) {
            if (length(d - c) < kDoorClear + house.boundingRect().width() / 2) {
                return false;
            }
        }
        for (const QPolygonF& b : blocked_) {
            if (b.intersects(house)) {
                return false;
            }
        }
        // Neighbours may share a wall, not overlap.
        const QPolygonF inner = grown(house, -1.5);
        for (const QPolygonF& h : built_) {
            if (h.boundingRect().intersects(inner.boundingRect()) && h.intersects(inner)) {
                return false;
            }
        }
        return ground_.crowding(house, {}) == 0.0;
    }

    void build(const QPolygonF& house) { built_.push_back(house); }
    const std::vector<QPolygonF>& built() const { return built_; }

  private:
    const CityGround& ground_;
    std::vector<QPolygonF> blocked_;
    std::vector<QPointF> doors_;
    std::vector<QPolygonF> built_;
};

// Rows of houses fronting each side of each street, a second row behind where there is room.
void lineStreets(const CityGround& ground, Plot& plot, Rng& rng) {
    for (const Street& s : ground.layout().streets) {
        const std::vector<QPointF> line = resample(s.line, 2.0);
        for (const double side : {1.0, -1.0}) {
            for (const double setback : {10.0, 48.0}) {
                double next = rng.range(0.0, 10.0);
                double walked = 0.0;
                for (std::size_t i = 1; i < line.size(); ++i) {
                    walked += length(line[i] - line[i - 1]);
                    if (walked < next) {
                        continue;
                    }
                    const QPointF along =
                        unit(line[std::min(i + 1, line.size() - 1)] - line[i - 1]);
                    const QPointF out = QPointF(-along.y(), along.x()) * side;
                    const double w = rng.range(22.0, 40.0);
                    const double d = rng.range(24.0, 34.0);
                    const QPointF front = line[i] + out * setback;
                    const QPolygonF house(
                        {front, front + along * w, front + along * w + out * d, front + out * d});
                    if (plot.fits(house)) {
                        plot.build(house);
                        // Terraces, broken now and then by an alley.
                        next = walked + w + (rng.chance(0.2) ? rng.range(6.0, 12.0) : 0.0);
                    } else {
                        next = walked + 4.0;
                    }
                }
            }
        }
    }
}

// Segment crossing of two street lines, if any.
std::vector<QPointF> crossings(const Street& a, const Street& b) {
    std::vector<QPointF> out;
    for (std::size_t i = 0; i + 1 < a.line.size(); ++i) {
        for (std::size_t j = 0; j + 1 < b.line.size(); ++j) {
            QPointF at;
            if (QLineF(a.line[i], a.line[i + 1])
                    .intersects(QLineF(b.line[j], b.line[j + 1]), &at) ==
                QLineF::BoundedIntersection) {
                out.push_back(at);
            }
        }
    }
    return out;
}

std::vector<QPolygonF> squares(const CityGround& ground, const std::vector<Footprint>& footprints) {
    std::vector<QPolygonF> out;
    const auto& streets = ground.layout().streets;
    for (std::size_t i = 0; i < streets.size() && out.size() < 3; ++i) {
        for (std::size_t j = i + 1; j < streets.size() && out.size() < 3; ++j) {
            for (const QPointF& c : crossings(streets[i], streets[j])) {
                const QPolygonF sq(QRectF(c.x() - 30, c.y() - 30, 60, 60));
                const bool clear =
                    std::none_of(footprints.begin(), footprints.end(), [&](const Footprint& f) {
                        return f.body.intersects(sq) ||
                               std::any_of(f.doors.begin(), f.doors.end(), [&](const Door& d) {
                                   return sq.boundingRect().adjusted(-6, -6, 6, 6).contains(d.at);
                               });
                    });
                if (clear && ground.insideWall(c) && ground.wallDistance(c) > 60 &&
                    std::none_of(out.begin(), out.end(), [&](const QPolygonF& o) {
                        return length(o.boundingRect().center() - c) < 300;
                    })) {
                    out.push_back(sq);
                }
            }
        }
    }
    return out;
}

// From a street end close to water, straight on across it to the far bank.
std::vector<QLineF> bridges(const CityGround& ground) {
    std::vector<QLineF> out;
    for (const Street& s : ground.layout().streets) {
        for (const bool atEnd : {false, true}) {
            const QPointF end = atEnd ? s.line.back() : s.line.front();
            const QPointF inner = atEnd ? s.line[s.line.size() - 2] : s.line[1];
            const QPointF dir = unit(end - inner);
            bool wet = false;
            for (double t = 2.0; t <= 260.0; t += 2.0) {
                const QPointF p = end + dir * t;
                if (!ground.inMap(p)) {
                    break;
                }
                if (ground.isWater(p)) {
                    wet = true;
                } else if (wet) {
                    const QLineF bridge(end, p + dir * 6.0);
                    const bool seen = std::any_of(out.begin(), out.end(), [&](const QLineF& b) {
                        return length(b.center() - bridge.center()) < 60;
                    });
                    if (!seen) {
                        out.push_back(bridge);
                    }
                    break;
                } else if (t > 30.0) {
                    break;  // not at the water's edge
                }
            }
        }
    }
    return out;
}

// Straight on from `from` along `dir` until the map's edge or water.
std::vector<QPointF> roadOnward(const CityGround& ground, QPointF from, QPointF dir) {
    std::vector<QPointF> road{from};
    for (double t = 8.0; t < 3000.0; t += 8.0) {
        const QPointF p = from + dir * t;
        if (!ground.inMap(p) || ground.isWater(p)) {
            break;
        }
        road.push_back(p);
    }
    return road;
}

// Streets that end at the wall carry on through the gate to the edge of the map, and so do the
// roads over the bridges.
std::vector<std::vector<QPointF>> roadsOut(const CityGround& ground,
                                           const std::vector<QLineF>& bridges) {
    std::vector<std::vector<QPointF>> out;
    for (const QLineF& b : bridges) {
        const QPointF dir = unit(b.p2() - b.p1());
        const std::vector<QPointF> road = roadOnward(ground, b.p2(), dir);
        if (road.size() > 3 && !ground.insideWall(road[2])) {
            out.push_back(road);
        }
    }
    for (const Street& s : ground.layout().streets) {
        for (const bool atEnd : {false, true}) {
            const QPointF end = atEnd ? s.line.back() : s.line.front();
            const QPointF inner = atEnd ? s.line[s.line.size() - 2] : s.line[1];
            if (ground.wallDistance(end) > 22.0) {
                continue;
            }
            const QPointF dir = unit(end - inner);
            const std::vector<QPointF> road = roadOnward(ground, end, dir);
            if (road.size() > 3 && !ground.isWater(road.back() + dir * 8.0)) {
                out.push_back(road);
            }
        }
    }
    return out;
}

}  // namespace

TownFabric buildFabric(const CityGround& ground, const std::vector<Footprint>& footprints) {
    Rng rng(0xC171'0001 + static_cast<std::uint64_t>(ground.size().width()));
    TownFabric fabric;
    fabric.squares = squares(ground, footprints);
    std::vector<Footprint> withSquares = footprints;
    for (const QPolygonF& sq : fabric.squares) {
        withSquares.push_back({{}, 0, BuildingShape::Hall, sq, {}});
    }
    Plot plot(ground, withSquares);
    lineStreets(ground, plot, rng);
    fabric.houses = plot.built();
    fabric.bridges = bridges(ground);
    fabric.roadsOut = roadsOut(ground, fabric.bridges);
    return fabric;
}

}  // namespace marventa
