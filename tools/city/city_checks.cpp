#include "city_checks.h"

#include "tools/common/plane_geometry.h"

namespace marventa {

using namespace plan;

namespace {

std::string at(QPointF p) {
    return QStringLiteral("(%1, %2)").arg(std::lround(p.x())).arg(std::lround(p.y())).toStdString();
}

double toOutline(const Area& body, QPointF p) {
    double d = 1e9;
    for (const Poly& poly : body) {
        const QPolygonF ring = outer(poly);
        d = std::min(d, distanceToPolyline(p, std::vector<QPointF>(ring.begin(), ring.end())));
    }
    return d;
}

bool nearBridge(const TownPlan& plan, QPointF p) {
    for (const Bridge& b : plan.bridges) {
        if (distanceToPolyline(p, {b.from, b.to}) < kRoad) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> checkTown(const Town& town, const NamePlan& names) {
    std::vector<std::string> faults;
    const TownPlan& plan = town.plan;
    Area blocks;
    for (std::size_t i = 0; i < plan.blocks.size(); ++i) {
        if (plan.cells[i].ward == Ward::Houses) {
            blocks = unite(blocks, plan.blocks[i]);
        }
    }
    Area open = unite(subtract(plan.town, blocks), plan.roadGround);
    for (const auto& m : plan.site->moles) {
        open = unite(open, band(m, 7));
    }
    for (const Grounds& g : town.grounds) {
        open = unite(open, g.area);
    }
    for (const Building& b : town.named) {
        const std::string name = b.name.toStdString();
        for (const Door& d : b.doors) {
            const QSize size = plan.size;
            if (d.at.x() < 30 || d.at.y() < 30 || d.at.x() >= size.width() - 30 ||
                d.at.y() >= size.height() - 30) {
                faults.push_back(name + ": door " + at(d.at) + " is within 30 px of the edge");
            }
            if (toOutline(b.body, d.at) > 1.0) {
                faults.push_back(name + ": door " + at(d.at) + " is off its outline");
            }
            const QPointF step = d.at + d.outward * 4;
            const bool onPier =
                std::any_of(plan.site->moles.begin(), plan.site->moles.end(),
                            [&](const auto& m) { return distanceToPolyline(step, m) < 7; });
            const bool inBuilding =
                std::any_of(town.houses.begin(), town.houses.end(),
                            [&](const Lot& h) { return contains(h.body, step); }) ||
                std::any_of(town.named.begin(), town.named.end(),
                            [&](const Building& o) { return contains(o.body, step); });
            if (inBuilding || (contains(plan.water, step) && !onPier) ||
                (!contains(open, step) && !nearBridge(plan, step))) {
                faults.push_back(name + ": door " + at(d.at) + " opens onto no street");
            }
        }
    }
    for (const Gate& g : plan.gates) {
        const std::string name = g.name.toStdString();
        const bool onWall = std::any_of(plan.wall.begin(), plan.wall.end(), [&](const auto& run) {
            return distanceToPolyline(g.at, run) < 1.5;
        });
        const bool street =
            std::any_of(plan.mainStreets.begin(), plan.mainStreets.end(),
                        [&](const auto& s) { return length(s.front() - g.at) < 1; });
        const bool road = std::any_of(plan.roads.begin(), plan.roads.end(),
                                      [&](const auto& r) { return length(r.front() - g.at) < 1; });
        if (!onWall || !street || !road) {
            faults.push_back(name + " " + at(g.at) + ": " + (!onWall ? "off the wall" : "") +
                             (!street ? " no street inside" : "") +
                             (!road ? " no road outside" : ""));
        }
    }
    auto dry = [&](const std::vector<QPointF>& line, const char* what) {
        for (const QPointF& p : resample(line, 4)) {
            if (contains(plan.water, p) && !nearBridge(plan, p)) {
                faults.push_back(std::string(what) + " in the water at " + at(p));
                return;
            }
        }
    };
    for (const auto& s : plan.mainStreets) {
        dry(s, "a main street");
    }
    for (const auto& s : plan.lanes) {
        dry(s, "a lane");
    }
    for (const auto& r : plan.roads) {
        dry(r, "a road");
    }
    Area wall;
    for (const auto& run : plan.wall) {
        wall = unite(wall, band(run, kWallWidth / 2));
    }
    for (const NamePlacement& n : names.names) {
        const Building& own = town.named[static_cast<std::size_t>(n.building)];
        const Area box = toArea({n.box.topLeft(), n.box.topRight(), n.box.bottomRight(),
                                 n.box.bottomLeft(), n.box.topLeft()});
        if (areaOf(intersect(box, wall)) > 0.5) {
            faults.push_back(own.name.toStdString() + ": its name crosses the wall");
        }
        auto over = [&](const Area& body) { return overlaps(box, body, 0.5); };
        const bool onHouse = std::any_of(town.houses.begin(), town.houses.end(),
                                         [&](const Lot& h) { return over(h.body); });
        const bool onNamed =
            std::any_of(town.named.begin(), town.named.end(),
                        [&](const Building& b) { return &b != &own && over(b.body); });
        if (onHouse || onNamed) {
            faults.push_back(own.name.toStdString() + ": its name lies over another building at " +
                             at(n.box.center()));
        }
    }
    return faults;
}

}  // namespace marventa
